#pragma once
// An output that plays into nothing. Timed, it behaves like a sound card on
// the system clock with a fixed buffer; untimed, it takes everything at once.
// It can also be told to fail after a number of frames, as a broken card would.
#include "platform/audio_out/SampleClock.h"
#include "platform/audio_out/SoundOutput.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string_view>

struct NullOutputSettings {
    bool timed = true;
    std::int64_t failAfterFrames = -1;  // negative: never fails
};

class NullOutput : public SoundOutput {
public:
    // options: "" or colon-separated "untimed" and "fail-after=N" (N frames,
    // N >= 0); nullptr for any other option.
    static std::unique_ptr<NullOutput> open(std::string_view options, const AudioFormat& format);

    NullOutput(const AudioFormat& format, const NullOutputSettings& settings);

    std::size_t play(unsigned char* data, std::size_t bytes) override;
    void drain() override;
    void drop() override;
    std::int64_t heardFrames() const override;

private:
    const AudioFormat format_;
    const NullOutputSettings settings_;
    const std::int64_t bufferFrames_;
    SampleClock clock_;
    std::int64_t takenFrames_ = 0;
    std::atomic<std::int64_t> untimedHeard_{0};
};
