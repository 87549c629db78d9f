#include "platform/audio_out/SampleClock.h"

#include <algorithm>

SampleClock::SampleClock(long rate, Now now) : rate_(rate), now_(now) {}

std::int64_t SampleClock::heardAt(Clock::time_point now) const
{
    if (!running_)
        return heardAtStart_;
    const auto elapsed = std::chrono::duration_cast<std::chrono::nanoseconds>(now - start_).count();
    const auto consumed = static_cast<std::int64_t>(static_cast<long double>(elapsed) * rate_ / 1e9L);
    return std::min(heardAtStart_ + consumed, handedOver_);
}

void SampleClock::reset()
{
    std::lock_guard lock(mutex_);
    handedOver_ = 0;
    heardAtStart_ = 0;
    running_ = false;
}

void SampleClock::handedOver(std::int64_t frames)
{
    std::lock_guard lock(mutex_);
    const auto now = now_();
    const std::int64_t heard = heardAt(now);
    if (!running_ || heard >= handedOver_) {
        heardAtStart_ = heard;
        start_ = now;
        running_ = true;
    }
    handedOver_ += frames;
}

void SampleClock::drained()
{
    std::lock_guard lock(mutex_);
    heardAtStart_ = handedOver_;
    running_ = false;
}

std::int64_t SampleClock::heard() const
{
    std::lock_guard lock(mutex_);
    return heardAt(now_());
}

std::int64_t SampleClock::delay() const
{
    std::lock_guard lock(mutex_);
    return handedOver_ - heardAt(now_());
}

SampleClock::Clock::duration SampleClock::timeUntilDelay(std::int64_t target) const
{
    const std::int64_t excess = delay() - target;
    if (excess <= 0)
        return Clock::duration::zero();
    return std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(excess * 1'000'000'000LL / rate_));
}
