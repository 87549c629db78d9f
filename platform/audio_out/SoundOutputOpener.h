#pragma once
// Opens sound outputs on a thread of its own, so that whoever needs one
// waits no longer than they choose: a sound server that accepts a connection
// and never answers holds up only that thread. An attempt not done when the
// wait ends goes on, and the next wait takes up the same attempt rather than
// starting another.
#include "platform/audio_out/SoundOutput.h"

#include <chrono>
#include <memory>

// Said by a back end opening on an opener's thread once it has reached its
// sound server, before the server has answered: a server that is missing or
// refuses fails the back end at once instead. Nothing on other threads.
void reportServerReached();

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
    // Starts an attempt when none is running, and waits for it until
    // deadline; once a back end has reached a sound server that has not
    // answered yet, no longer than serverSilentDeadline.
    Outcome await(Clock::time_point deadline, Clock::time_point serverSilentDeadline = Clock::time_point::max());

private:
    friend void reportServerReached();
    struct Attempt;
    // The attempt the thread opens outputs for, on an opener's thread.
    static thread_local Attempt* currentAttempt_;
    const AudioFormat format_;
    std::shared_ptr<Attempt> running_;
};
