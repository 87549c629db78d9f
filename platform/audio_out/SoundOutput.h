#pragma once
// Where decoded sound goes: one small interface, one implementation per back
// end (out123's modules, the null output), each opened by name through
// SoundOutputFactory.h. Samples are signed 16-bit, native byte order,
// channels interleaved.
#include <cstddef>
#include <cstdint>

struct AudioFormat {
    long rate = 44100;
    int channels = 2;
    std::size_t bytesPerFrame() const { return static_cast<std::size_t>(channels) * 2; }
};

class SoundOutput {
public:
    virtual ~SoundOutput() = default;

    // Hands samples over, blocking while the output's buffer is full; the
    // output may convert them in place. Answers the bytes taken; fewer than
    // given means the output has failed.
    virtual std::size_t play(unsigned char* data, std::size_t bytes) = 0;
    // Blocks until everything handed over has been heard.
    virtual void drain() = 0;
    // Discards what was handed over and not yet heard; the count of heard
    // frames starts again from 0.
    virtual void drop() = 0;
    // Frames heard since the last drop: handed over minus the output's delay.
    // The only call that may come from another thread than the one playing.
    virtual std::int64_t heardFrames() const = 0;
};
