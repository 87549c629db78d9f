#pragma once
// Opens the mixer device behind the mixer calls. The back end is chosen by
// name (platform/BackEnds.h), as a player's mixer option chooses it:
//   pulse  the sound server's default sink volume (MixerPulse.h)
//   alsa   the master playback volume of ALSA's "default" mixer (MixerAlsa.h)
// The choice is "pulse,alsa" until changed: the sound server when one
// answers, else ALSA. More back ends can be added, each
// under a name of its own.
#include "platform/BackEnds.h"
#include "platform/mixer/MixerDevice.h"

#include <memory>

// What mixerOpen was asked, handed to the back end as Windows hands it to a
// mixer driver. A back end that reports changes would post them to the
// window of a CALLBACK_WINDOW request; ALSA's reports none.
struct MixerOpenRequest {
    UINT device = 0;
    DWORD_PTR callback = 0;
    DWORD_PTR instance = 0;
    DWORD flags = 0;
};

// The mixer devices by name (platform/BackEnds.h). A back end's opener gets
// the caller of mixerOpen's request, or, with none, opens only to see
// whether there is a device and what it is (mixerGetNumDevs,
// mixerGetDevCapsA by identifier); nullptr when there is none or it does
// not open.
using MixerDevices = BackEnds<std::unique_ptr<MixerDevice>, const MixerOpenRequest*>;

MixerDevices& mixerDevices();

inline std::unique_ptr<MixerDevice> openMixerDevice(const MixerOpenRequest* request)
{
    return mixerDevices().open(request);
}
