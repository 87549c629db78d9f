#include "tests/support/HeardTracks.h"

#include <cmath>

namespace {

constexpr int Rate = 44100;
constexpr int Channels = 2;
constexpr int WindowMs = 50;
constexpr std::size_t WindowSamples = Rate * WindowMs / 1000 * Channels;
constexpr double QuietRms = 300.0;

}  // namespace

HeardTracks::HeardTracks(MonitorRecorder& recorder, std::vector<double> pitches)
    : recorder_(recorder), pitches_(std::move(pitches))
{
}

const std::vector<int>& HeardTracks::heard()
{
    const Samples arrived = recorder_.arrived();
    pending_.insert(pending_.end(), arrived.begin(), arrived.end());
    std::size_t used = 0;
    for (; pending_.size() - used >= WindowSamples; used += WindowSamples)
        take(Samples(pending_.begin() + static_cast<std::ptrdiff_t>(used),
                     pending_.begin() + static_cast<std::ptrdiff_t>(used + WindowSamples)));
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(used));
    return heard_;
}

void HeardTracks::take(const Samples& window)
{
    const Samples left = channelOf(window, Channels, 0);
    if (rms(left, 0, left.size()) < QuietRms) {
        silentMs_ += WindowMs;
        lastRunMs_ = 0;
        return;
    }
    silentMs_ = 0;
    const double frequency = toneFrequency(left, 0, left.size(), Rate);
    for (std::size_t track = 0; track < pitches_.size(); ++track) {
        if (std::abs(frequency - pitches_[track]) > pitches_[track] * 0.04)
            continue;
        const int index = static_cast<int>(track);
        if (heard_.empty() || heard_.back() != index) {
            heard_.push_back(index);
            lastRunMs_ = 0;
        }
        lastRunMs_ += WindowMs;
        return;
    }
    // A window across two tones, or the edge of one: not a track of its own.
    lastRunMs_ = 0;
}
