#pragma once
// The volume of the sound server's default sink, asked of PulseAudio (or
// PipeWire's PulseAudio server) directly, so the slider works without an
// ALSA route to the server. The range is the server's own: 0 to 65536
// (100%), as ALSA's "Master" element over the server shows it.
//
// Every request waits on the server for a short, bounded time at most: a
// server that does not answer makes the call fail, never hang.
#include "platform/mixer/MixerDevice.h"

#include <memory>

class PulseSinkVolume : public MixerDevice {
public:
    // nullptr when no server answers or it has no default sink.
    static std::unique_ptr<PulseSinkVolume> open();
    ~PulseSinkVolume() override;
    PulseSinkVolume(const PulseSinkVolume&) = delete;
    PulseSinkVolume& operator=(const PulseSinkVolume&) = delete;

    const MixerDeviceInfo* describe(MixerPart) override { return &info_; }
    // Asked of the server afresh: another program's change is seen at once.
    bool read(DWORD& value) override;
    bool write(DWORD value) override;

    class Connection;

private:
    PulseSinkVolume(std::unique_ptr<Connection> connection, MixerDeviceInfo info);

    // Runs request on the open connection; when it fails there, once more on
    // a new one (the server may have restarted). A failed connection is dropped.
    template <typename Request>
    bool withServer(Request request);

    std::unique_ptr<Connection> connection_;
    MixerDeviceInfo info_;
};
