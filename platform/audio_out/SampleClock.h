#pragma once
// The delay model of an output that cannot report its own: the device is
// taken to consume frames at its sample rate from the moment it was given
// the first of them, and never more than it was given. When it has run dry,
// the clock starts again at the next hand-over. Thread-safe.
#include <chrono>
#include <cstdint>
#include <mutex>

class SampleClock {
public:
    using Clock = std::chrono::steady_clock;
    using Now = Clock::time_point (*)();

    explicit SampleClock(long rate, Now now = &Clock::now);

    // Nothing handed over, nothing heard.
    void reset();
    // frames were just accepted by the device.
    void handedOver(std::int64_t frames);
    // Everything handed over has been heard (the device has drained).
    void drained();

    std::int64_t heard() const;
    // Handed over and not yet heard: the output's delay.
    std::int64_t delay() const;
    // How long until the delay has fallen to target frames.
    Clock::duration timeUntilDelay(std::int64_t target) const;

private:
    std::int64_t heardAt(Clock::time_point now) const;

    const long rate_;
    const Now now_;
    mutable std::mutex mutex_;
    std::int64_t handedOver_ = 0;
    std::int64_t heardAtStart_ = 0;
    Clock::time_point start_{};
    bool running_ = false;
};
