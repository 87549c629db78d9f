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
    std::unique_ptr<SoundOutput> output;
};

SoundOutputOpener::SoundOutputOpener(const AudioFormat& format) : format_(format) {}

SoundOutputOpener::~SoundOutputOpener() = default;

SoundOutputOpener::Outcome SoundOutputOpener::await(Clock::time_point deadline)
{
    if (!running_) {
        running_ = std::make_shared<Attempt>();
        std::thread([attempt = running_, format = format_] {
            auto output = openSoundOutput(format);
            std::lock_guard lock(attempt->mutex);
            attempt->output = std::move(output);
            attempt->finished = true;
            attempt->done.notify_all();
        }).detach();
    }
    Outcome outcome;
    {
        std::unique_lock lock(running_->mutex);
        if (!running_->done.wait_until(lock, deadline, [&] { return running_->finished; })) {
            outcome.pending = true;
            return outcome;
        }
        outcome.output = std::move(running_->output);
    }
    running_.reset();
    return outcome;
}
