#include "NullOutput.h"

#include <algorithm>
#include <thread>

namespace {

// Like a typical sound server stream: about a fifth of a second ahead.
constexpr long BufferMilliseconds = 200;

}  // namespace

NullOutput::NullOutput(const AudioFormat& format, const NullOutputSettings& settings)
    : format_(format), settings_(settings), bufferFrames_(format.rate * BufferMilliseconds / 1000), clock_(format.rate)
{
}

std::size_t NullOutput::play(unsigned char*, std::size_t bytes)
{
    std::int64_t frames = static_cast<std::int64_t>(bytes / format_.bytesPerFrame());
    if (settings_.failAfterFrames >= 0)
        frames = std::clamp<std::int64_t>(settings_.failAfterFrames - takenFrames_, 0, frames);
    takenFrames_ += frames;
    if (!settings_.timed) {
        untimedHeard_ += frames;
        return static_cast<std::size_t>(frames) * format_.bytesPerFrame();
    }
    std::this_thread::sleep_for(clock_.timeUntilDelay(std::max<std::int64_t>(bufferFrames_ - frames, 0)));
    clock_.handedOver(frames);
    return static_cast<std::size_t>(frames) * format_.bytesPerFrame();
}

void NullOutput::drain()
{
    if (!settings_.timed)
        return;
    std::this_thread::sleep_for(clock_.timeUntilDelay(0));
    clock_.drained();
}

void NullOutput::drop()
{
    untimedHeard_ = 0;
    clock_.reset();
}

std::int64_t NullOutput::heardFrames() const { return settings_.timed ? clock_.heard() : untimedHeard_.load(); }
