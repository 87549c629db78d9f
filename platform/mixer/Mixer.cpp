// The mixer calls, and nothing else: a test binary that defines all of them
// itself (a stand-in mixer) never pulls this file out of the library.
#include "Mixer.h"

#include "MixerAlsa.h"
#include "MixerRecords.h"

#include <map>
#include <mutex>

namespace {

// Handles are serial numbers, never addresses, so a stale or made-up handle
// is refused rather than followed.
struct OpenMixers {
    std::mutex mutex;
    std::map<std::uintptr_t, std::unique_ptr<AlsaMasterVolume>> devices;
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

} // namespace

UINT mixerGetNumDevs()
{
    return AlsaMasterVolume::open() ? 1 : 0;
}

MMRESULT mixerOpen(LPHMIXER phmx, UINT uMxId, DWORD_PTR, DWORD_PTR, DWORD fdwOpen)
{
    if (phmx != nullptr)
        *phmx = nullptr;
    if (const MMRESULT refused = checkOpenRequest(phmx, fdwOpen))
        return refused;
    if (uMxId != 0)
        return MMSYSERR_BADDEVICEID;
    std::unique_ptr<AlsaMasterVolume> device = AlsaMasterVolume::open();
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
    const std::unique_ptr<AlsaMasterVolume> device = AlsaMasterVolume::open();
    if (!device)
        return MMSYSERR_BADDEVICEID;
    describeDevice(*pmxcaps, device->info());
    return MMSYSERR_NOERROR;
}

MMRESULT mixerGetDevCapsA(HMIXER hmx, LPMIXERCAPSA pmxcaps, UINT cbmxcaps)
{
    if (const MMRESULT refused = checkCapsRequest(pmxcaps, cbmxcaps))
        return refused;
    return withDevice(hmx, [&](AlsaMasterVolume& device) {
        describeDevice(*pmxcaps, device.info());
        return MMSYSERR_NOERROR;
    });
}

MMRESULT mixerGetLineInfoA(HMIXEROBJ hmxobj, LPMIXERLINEA pmxl, DWORD fdwInfo)
{
    if (const MMRESULT refused = checkLineInfoRequest(pmxl, fdwInfo))
        return refused;
    return withDevice(hmxobj, [&](AlsaMasterVolume& device) { return describeSpeakersLine(*pmxl, fdwInfo, device.info()); });
}

MMRESULT mixerGetLineControlsA(HMIXEROBJ hmxobj, LPMIXERLINECONTROLSA pmxlc, DWORD fdwControls)
{
    if (const MMRESULT refused = checkLineControlsRequest(pmxlc, fdwControls))
        return refused;
    return withDevice(hmxobj,
                      [&](AlsaMasterVolume& device) { return describeVolumeControl(*pmxlc, fdwControls, device.info()); });
}

MMRESULT mixerGetControlDetailsA(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails)
{
    if (const MMRESULT refused = checkVolumeRequest(pmxcd, fdwDetails))
        return refused;
    return withDevice(hmxobj, [&](AlsaMasterVolume& device) {
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
    return withDevice(hmxobj, [&](AlsaMasterVolume& device) {
        if (const MMRESULT unknown = checkVolumeControlID(*pmxcd))
            return unknown;
        return device.write(requestedVolume(*pmxcd)) ? MMSYSERR_NOERROR : MMSYSERR_ERROR;
    });
}
