#pragma once
// One mixer device behind the mixer calls (Mixer.h): it tells what it is,
// what its speakers line and that line's volume control are, and reads and
// writes the volume. The calls check every record a caller hands in before
// a device is asked anything, so callers get the same answers whatever the
// back end. Devices are opened through MixerDeviceFactory.h.
#include "platform/mixer/Mixer.h"

#include <string>

struct MixerDeviceInfo {
    std::string name;
    MMVERSION driverVersion = 0;
    std::string lineName;  // of the speakers line
    DWORD channels = 0;
    DWORD minimum = 0;  // the bounds of the volume control
    DWORD maximum = 0;
};

// What a call asks a device to describe.
enum class MixerPart { Device, SpeakersLine, VolumeControl };

class MixerDevice {
public:
    virtual ~MixerDevice() = default;

    // The description, asked for part; nullptr when the device lacks that
    // part (no speakers line, no volume control on it) or cannot describe
    // itself now.
    virtual const MixerDeviceInfo* describe(MixerPart part) = 0;
    // The loudest channel's volume; false when it cannot be read.
    virtual bool read(DWORD& value) = 0;
    // Sets every channel to value clamped into the bounds; false when that fails.
    virtual bool write(DWORD value) = 0;
};
