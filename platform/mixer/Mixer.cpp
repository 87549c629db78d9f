#include "platform/mixer/Mixer.h"

#include "platform/mixer/MixerDeviceFactory.h"
#include "platform/mixer/MixerRecords.h"

#include <map>
#include <memory>
#include <mutex>

namespace {

// Handles are serial numbers, never addresses, so a stale or made-up handle
// is refused rather than followed.
struct OpenMixers {
    std::mutex mutex;
    std::map<std::uintptr_t, std::unique_ptr<MixerDevice>> devices;
    std::uintptr_t next = 1;
};

OpenMixers& openMixers()
{
    static OpenMixers mixers;
    return mixers;
}

template <typename Action>
MMRESULT withDevice(HMIXER handle, Action action)
{
    OpenMixers& mixers = openMixers();
    std::lock_guard lock(mixers.mutex);
    const auto found = mixers.devices.find(reinterpret_cast<std::uintptr_t>(handle));
    if (found == mixers.devices.end())
        return MMSYSERR_INVALHANDLE;
    return action(*found->second);
}

MMRESULT reportCaps(MixerDevice& device, MIXERCAPSA& caps)
{
    const MixerDeviceInfo* info = device.describe(MixerPart::Device);
    if (info == nullptr)
        return MMSYSERR_ERROR;
    describeDevice(caps, *info);
    return MMSYSERR_NOERROR;
}

} // namespace

UINT mixerGetNumDevs()
{
    return openMixerDevice(nullptr) ? 1 : 0;
}

MMRESULT mixerOpen(LPHMIXER phmx, UINT uMxId, DWORD_PTR dwCallback, DWORD_PTR dwInstance, DWORD fdwOpen)
{
    if (phmx != nullptr)
        *phmx = nullptr;
    if (const MMRESULT refused = checkOpenRequest(phmx, fdwOpen))
        return refused;
    if (uMxId != 0)
        return MMSYSERR_BADDEVICEID;
    const MixerOpenRequest request{uMxId, dwCallback, dwInstance, fdwOpen};
    std::unique_ptr<MixerDevice> device = openMixerDevice(&request);
    if (!device)
        return MMSYSERR_BADDEVICEID;
    OpenMixers& mixers = openMixers();
    std::lock_guard lock(mixers.mutex);
    const std::uintptr_t handle = mixers.next++;
    mixers.devices.emplace(handle, std::move(device));
    *phmx = reinterpret_cast<HMIXER>(handle);
    return MMSYSERR_NOERROR;
}

MMRESULT mixerClose(HMIXER hmx)
{
    OpenMixers& mixers = openMixers();
    std::lock_guard lock(mixers.mutex);
    return mixers.devices.erase(reinterpret_cast<std::uintptr_t>(hmx)) == 1 ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE;
}

MMRESULT mixerGetDevCapsA(UINT_PTR uMxId, LPMIXERCAPSA pmxcaps, UINT cbmxcaps)
{
    if (const MMRESULT refused = checkCapsRequest(pmxcaps, cbmxcaps))
        return refused;
    if (uMxId != 0)
        return MMSYSERR_BADDEVICEID;
    const std::unique_ptr<MixerDevice> device = openMixerDevice(nullptr);
    if (!device)
        return MMSYSERR_BADDEVICEID;
    return reportCaps(*device, *pmxcaps);
}

MMRESULT mixerGetDevCapsA(HMIXER hmx, LPMIXERCAPSA pmxcaps, UINT cbmxcaps)
{
    if (const MMRESULT refused = checkCapsRequest(pmxcaps, cbmxcaps))
        return refused;
    return withDevice(hmx, [&](MixerDevice& device) { return reportCaps(device, *pmxcaps); });
}

MMRESULT mixerGetLineInfoA(HMIXEROBJ hmxobj, LPMIXERLINEA pmxl, DWORD fdwInfo)
{
    if (const MMRESULT refused = checkLineInfoRequest(pmxl, fdwInfo))
        return refused;
    return withDevice(hmxobj, [&](MixerDevice& device) {
        const MixerDeviceInfo* info = device.describe(MixerPart::SpeakersLine);
        return info != nullptr ? describeSpeakersLine(*pmxl, fdwInfo, *info) : MIXERR_INVALLINE;
    });
}

MMRESULT mixerGetLineControlsA(HMIXEROBJ hmxobj, LPMIXERLINECONTROLSA pmxlc, DWORD fdwControls)
{
    if (const MMRESULT refused = checkLineControlsRequest(pmxlc, fdwControls))
        return refused;
    return withDevice(hmxobj, [&](MixerDevice& device) {
        const MixerDeviceInfo* info = device.describe(MixerPart::VolumeControl);
        return info != nullptr ? describeVolumeControl(*pmxlc, fdwControls, *info) : MIXERR_INVALCONTROL;
    });
}

MMRESULT mixerGetControlDetailsA(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails)
{
    if (const MMRESULT refused = checkVolumeRequest(pmxcd, fdwDetails))
        return refused;
    return withDevice(hmxobj, [&](MixerDevice& device) {
        if (const MMRESULT unknown = checkVolumeControlID(*pmxcd))
            return unknown;
        DWORD value = 0;
        if (!device.read(value))
            return MMSYSERR_ERROR;
        reportVolume(*pmxcd, value);
        return MMSYSERR_NOERROR;
    });
}

MMRESULT mixerSetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails)
{
    if (const MMRESULT refused = checkVolumeRequest(pmxcd, fdwDetails))
        return refused;
    return withDevice(hmxobj, [&](MixerDevice& device) {
        if (const MMRESULT unknown = checkVolumeControlID(*pmxcd))
            return unknown;
        return device.write(requestedVolume(*pmxcd)) ? MMSYSERR_NOERROR : MMSYSERR_ERROR;
    });
}
