#include "FakeMixer.h"

#include "MixerRecords.h"

#include <map>

namespace {

struct State {
    FakeMixer::Setup setup;
    DWORD volume = FakeMixer::Setup{}.volume;
    std::set<std::uintptr_t> handles;
    std::uintptr_t nextHandle = 0x100;
    std::vector<DWORD> writes;
    std::map<FakeMixer::Call, int> calls;
    std::vector<FakeMixer::OpenRequest> opens;
};

State& state()
{
    static State fake;
    return fake;
}

// Counts the call and tells whether the setup makes it fail.
bool failing(FakeMixer::Call call)
{
    ++state().calls[call];
    return state().setup.failing.count(call) != 0;
}

bool known(HMIXER handle)
{
    return state().handles.count(reinterpret_cast<std::uintptr_t>(handle)) != 0;
}

MixerDeviceInfo device()
{
    MixerDeviceInfo info;
    info.name = "Stand-in mixer";
    info.driverVersion = 0x0100;
    info.lineName = "Master";
    info.channels = 2;
    info.minimum = state().setup.minimum;
    info.maximum = state().setup.maximum;
    return info;
}

} // namespace

namespace FakeMixer {

void reset(const Setup& setup)
{
    state() = State{};
    state().setup = setup;
    state().volume = setup.volume;
}

DWORD volume() { return state().volume; }

const std::vector<DWORD>& writes() { return state().writes; }

int calls(Call call)
{
    const auto found = state().calls.find(call);
    return found == state().calls.end() ? 0 : found->second;
}

const std::vector<OpenRequest>& opens() { return state().opens; }

} // namespace FakeMixer

using FakeMixer::Call;

UINT mixerGetNumDevs()
{
    return failing(Call::GetNumDevs) ? 0 : 1;
}

MMRESULT mixerOpen(LPHMIXER phmx, UINT uMxId, DWORD_PTR dwCallback, DWORD_PTR dwInstance, DWORD fdwOpen)
{
    if (phmx != nullptr)
        *phmx = nullptr;
    if (const MMRESULT refused = checkOpenRequest(phmx, fdwOpen))
        return refused;
    state().opens.push_back({uMxId, dwCallback, dwInstance, fdwOpen});
    if (failing(Call::Open))
        return MMSYSERR_ERROR;
    if (uMxId != 0 || state().setup.failing.count(Call::GetNumDevs) != 0)
        return MMSYSERR_BADDEVICEID;
    const std::uintptr_t handle = state().nextHandle++;
    state().handles.insert(handle);
    *phmx = reinterpret_cast<HMIXER>(handle);
    return MMSYSERR_NOERROR;
}

MMRESULT mixerClose(HMIXER hmx)
{
    return state().handles.erase(reinterpret_cast<std::uintptr_t>(hmx)) == 1 ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE;
}

MMRESULT mixerGetDevCapsA(UINT_PTR uMxId, LPMIXERCAPSA pmxcaps, UINT cbmxcaps)
{
    if (const MMRESULT refused = checkCapsRequest(pmxcaps, cbmxcaps))
        return refused;
    if (failing(Call::GetDevCaps))
        return MMSYSERR_ERROR;
    if (uMxId != 0 || state().setup.failing.count(Call::GetNumDevs) != 0)
        return MMSYSERR_BADDEVICEID;
    describeDevice(*pmxcaps, device());
    return MMSYSERR_NOERROR;
}

MMRESULT mixerGetDevCapsA(HMIXER hmx, LPMIXERCAPSA pmxcaps, UINT cbmxcaps)
{
    if (const MMRESULT refused = checkCapsRequest(pmxcaps, cbmxcaps))
        return refused;
    if (!known(hmx))
        return MMSYSERR_INVALHANDLE;
    if (failing(Call::GetDevCaps))
        return MMSYSERR_ERROR;
    describeDevice(*pmxcaps, device());
    return MMSYSERR_NOERROR;
}

MMRESULT mixerGetLineInfoA(HMIXEROBJ hmxobj, LPMIXERLINEA pmxl, DWORD fdwInfo)
{
    if (const MMRESULT refused = checkLineInfoRequest(pmxl, fdwInfo))
        return refused;
    if (!known(hmxobj))
        return MMSYSERR_INVALHANDLE;
    if (failing(Call::GetLineInfo))
        return MIXERR_INVALLINE;
    return describeSpeakersLine(*pmxl, fdwInfo, device());
}

MMRESULT mixerGetLineControlsA(HMIXEROBJ hmxobj, LPMIXERLINECONTROLSA pmxlc, DWORD fdwControls)
{
    if (const MMRESULT refused = checkLineControlsRequest(pmxlc, fdwControls))
        return refused;
    if (!known(hmxobj))
        return MMSYSERR_INVALHANDLE;
    if (failing(Call::GetLineControls))
        return MIXERR_INVALCONTROL;
    return describeVolumeControl(*pmxlc, fdwControls, device());
}

MMRESULT mixerGetControlDetailsA(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails)
{
    if (const MMRESULT refused = checkVolumeRequest(pmxcd, fdwDetails))
        return refused;
    if (!known(hmxobj))
        return MMSYSERR_INVALHANDLE;
    if (const MMRESULT unknown = checkVolumeControlID(*pmxcd))
        return unknown;
    if (failing(Call::GetControlDetails))
        return MMSYSERR_ERROR;
    reportVolume(*pmxcd, state().volume);
    return MMSYSERR_NOERROR;
}

MMRESULT mixerSetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails)
{
    if (const MMRESULT refused = checkVolumeRequest(pmxcd, fdwDetails))
        return refused;
    if (!known(hmxobj))
        return MMSYSERR_INVALHANDLE;
    if (const MMRESULT unknown = checkVolumeControlID(*pmxcd))
        return unknown;
    state().writes.push_back(requestedVolume(*pmxcd));
    if (failing(Call::SetControlDetails))
        return MMSYSERR_ERROR;
    state().volume = clampVolume(requestedVolume(*pmxcd), device());
    return MMSYSERR_NOERROR;
}
