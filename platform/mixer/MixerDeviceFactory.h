#pragma once
// Opens the mixer device behind the mixer calls. The back end is chosen by
// name, as a player's mixer option chooses it:
//   pulse  the sound server's default sink volume (MixerPulse.h)
//   alsa   the master playback volume of ALSA's "default" mixer (MixerAlsa.h)
//   auto   pulse when a server answers, else alsa
// The choice is "auto" until changed. More back ends can be added, each
// under a name of its own.
#include "platform/mixer/MixerDevice.h"

#include <functional>
#include <memory>
#include <string>

// What mixerOpen was asked, handed to the back end as Windows hands it to a
// mixer driver. A back end that reports changes would post them to the
// window of a CALLBACK_WINDOW request; ALSA's reports none.
struct MixerOpenRequest {
    UINT device = 0;
    DWORD_PTR callback = 0;
    DWORD_PTR instance = 0;
    DWORD flags = 0;
};

// Opens a back end's device for the caller of mixerOpen who made request,
// or, with no request, only to see whether there is a device and what it is
// (mixerGetNumDevs, mixerGetDevCapsA by identifier). nullptr when there is
// none or it does not open.
using MixerDeviceOpener = std::function<std::unique_ptr<MixerDevice>(const MixerOpenRequest* request)>;

// The chosen back end's device, as its opener gives it; nullptr as well
// when no back end has the chosen name.
std::unique_ptr<MixerDevice> openMixerDevice(const MixerOpenRequest* request);

// Devices opened from now on come from the back end of that name; answers
// the name chosen before.
std::string chooseMixerDevice(std::string name);

// Makes opener the back end of that name (an empty opener removes it);
// answers the opener the name had before, empty when it had none.
MixerDeviceOpener setMixerBackEnd(const std::string& name, MixerDeviceOpener opener);
