#include "platform/audio_out/SoundOutputOpener.h"

#include "platform/audio_out/SoundOutputFactory.h"

#include <condition_variable>
#include <mutex>
#include <thread>

// Shared by the opener and the attempt's thread: whichever lets go last
// closes an output nobody took.
struct SoundOutputOpener::Attempt {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    bool serverReached = false;
    std::unique_ptr<SoundOutput> output;
};

thread_local SoundOutputOpener::Attempt* SoundOutputOpener::currentAttempt_ = nullptr;

void reportServerReached()
{
    SoundOutputOpener::Attempt* attempt = SoundOutputOpener::currentAttempt_;
    if (attempt == nullptr)
        return;
    std::lock_guard lock(attempt->mutex);
    attempt->serverReached = true;
    attempt->done.notify_all();
}

SoundOutputOpener::SoundOutputOpener(const AudioFormat& format) : format_(format) {}

SoundOutputOpener::~SoundOutputOpener() = default;

SoundOutputOpener::Outcome SoundOutputOpener::await(Clock::time_point deadline, Clock::time_point serverSilentDeadline)
{
    if (!running_) {
        running_ = std::make_shared<Attempt>();
        std::thread([attempt = running_, format = format_] {
            currentAttempt_ = attempt.get();
            auto output = openSoundOutput(format);
            currentAttempt_ = nullptr;
            std::lock_guard lock(attempt->mutex);
            attempt->output = std::move(output);
            attempt->finished = true;
            attempt->done.notify_all();
        }).detach();
    }
    Outcome outcome;
    {
        std::unique_lock lock(running_->mutex);
        const Attempt& attempt = *running_;
        running_->done.wait_until(lock, std::min(deadline, serverSilentDeadline), [&] { return attempt.finished; });
        if (!attempt.finished)
            running_->done.wait_until(lock, deadline, [&] {
                return attempt.finished || (attempt.serverReached && Clock::now() >= serverSilentDeadline);
            });
        if (!attempt.finished) {
            outcome.pending = true;
            return outcome;
        }
        outcome.output = std::move(running_->output);
    }
    running_.reset();
    return outcome;
}
