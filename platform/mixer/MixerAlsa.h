#pragma once
// The master playback volume of ALSA's "default" mixer: the element
// "Master", else the first element with a playback volume. On a desktop with
// PulseAudio or PipeWire that is the sound server's own volume.
#include "platform/mixer/MixerDevice.h"

#include <memory>

class AlsaMasterVolume : public MixerDevice {
public:
    // nullptr when "default" does not open as a mixer or has no playback volume.
    static std::unique_ptr<AlsaMasterVolume> open();
    ~AlsaMasterVolume() override;
    AlsaMasterVolume(const AlsaMasterVolume&) = delete;
    AlsaMasterVolume& operator=(const AlsaMasterVolume&) = delete;

    // Every part: the device opens only with a playback volume.
    const MixerDeviceInfo* describe(MixerPart) override { return &info_; }
    // Asked of the mixer afresh, so that a change made by another program is
    // seen by the next read.
    bool read(DWORD& value) override;
    bool write(DWORD value) override;

    struct Connection;
    struct Element;

private:
    // Only open() makes one.
    struct Key {
        explicit Key() = default;
    };

public:
    AlsaMasterVolume(Key, std::unique_ptr<Connection> connection, std::unique_ptr<Element> element, MixerDeviceInfo info);

private:
    std::unique_ptr<Connection> reconnect() const;

    // Null after a failure; the next call connects again.
    std::unique_ptr<Connection> connection_;
    std::unique_ptr<Element> element_;
    MixerDeviceInfo info_;
};
