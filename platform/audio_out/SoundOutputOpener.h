#pragma once
// Opens sound outputs on a thread of its own, so that whoever needs one
// waits no longer than they choose: a sound server that accepts a connection
// and never answers holds up only that thread. An attempt not done when the
// wait ends goes on, and the next wait takes up the same attempt rather than
// starting another.
#include "platform/audio_out/SoundOutput.h"

#include <chrono>
#include <memory>

class SoundOutputOpener {
public:
    using Clock = std::chrono::steady_clock;

    explicit SoundOutputOpener(const AudioFormat& format);
    ~SoundOutputOpener();
    SoundOutputOpener(const SoundOutputOpener&) = delete;
    SoundOutputOpener& operator=(const SoundOutputOpener&) = delete;

    struct Outcome {
        std::unique_ptr<SoundOutput> output;  // opened, or nullptr
        bool pending = false;                 // without output: still trying, else every back end failed
    };
    // Starts an attempt when none is running, and waits for it until deadline.
    Outcome await(Clock::time_point deadline);

private:
    struct Attempt;
    const AudioFormat format_;
    std::shared_ptr<Attempt> running_;
};
