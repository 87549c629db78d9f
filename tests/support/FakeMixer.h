#pragma once
// A mixer device for tests of what the player does when the sound card's
// mixer is missing or fails. Chosen with ScopedMixerDevice
// (ScopedBackends.h), its devices sit behind the real mixer calls, which
// check every record before a device is asked anything.
#include "platform/mixer/MixerDeviceFactory.h"

#include <memory>
#include <set>
#include <vector>

class FakeMixer {
public:
    // The mixer calls, each standing for what it asks of the device.
    enum class Call { GetNumDevs, Open, GetDevCaps, GetLineInfo, GetLineControls, GetControlDetails, SetControlDetails };

    struct Setup {
        // These fail: GetNumDevs finds no device (so nothing opens), Open
        // cannot open it, GetDevCaps gets no description of it, GetLineInfo
        // finds no speakers line, GetLineControls no volume control on it,
        // GetControlDetails cannot read the volume, SetControlDetails cannot
        // write it.
        std::set<Call> failing = {};
        DWORD minimum = 0;
        DWORD maximum = 65535;
        DWORD volume = 32768;
    };

    FakeMixer();
    explicit FakeMixer(const Setup& setup);
    // Forgets every call and write and takes the new setup. Devices opened
    // before answer from the old one.
    void reset(const Setup& setup);

    // The volume now: the setup's, then the last successful write, clamped.
    DWORD volume() const;
    // Every value a device was asked to write, failed writes included, in order.
    const std::vector<DWORD>& writes() const;
    // How often the device was asked something for call: GetNumDevs counts
    // the looks without a caller (mixerGetNumDevs, mixerGetDevCapsA by
    // identifier), Open the opens for one.
    int calls(Call call) const;
    // The requests of the opens for a caller, in order.
    const std::vector<MixerOpenRequest>& opens() const;

    // The back end's opener (see MixerDeviceFactory.h).
    std::unique_ptr<MixerDevice> open(const MixerOpenRequest* request);

private:
    struct State;
    class Device;
    // Shared with the devices, which may outlive this.
    std::shared_ptr<State> state_;
};
