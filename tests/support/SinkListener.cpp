#include "SinkListener.h"

#include "ToneAnalysis.h"

#include <QElapsedTimer>
#include <cmath>

namespace {

constexpr int Rate = 44100;
constexpr int Channels = 2;
constexpr int WindowMs = 50;
constexpr int WindowFrames = Rate * WindowMs / 1000;
constexpr int WindowBytes = WindowFrames * Channels * 2;
constexpr double QuietRms = 300.0;

}  // namespace

SinkListener::SinkListener(std::string sink, std::vector<double> pitches)
    : sink_(std::move(sink)), pitches_(std::move(pitches))
{
}

SinkListener::~SinkListener()
{
    if (parec_.state() != QProcess::NotRunning) {
        parec_.terminate();
        if (!parec_.waitForFinished(5000))
            parec_.kill();
        parec_.waitForFinished(5000);
    }
}

bool SinkListener::start()
{
    parec_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    parec_.start("parec", {"-d", QString::fromStdString(sink_ + ".monitor"), "--raw", "--format=s16le", "--rate=44100",
                           "--channels=2", "--latency-msec=20"});
    if (!parec_.waitForStarted(5000))
        return false;
    QElapsedTimer clock;
    clock.start();
    while (parec_.bytesAvailable() == 0 && clock.elapsed() < 10000)
        if (!parec_.waitForReadyRead(100) && parec_.state() != QProcess::Running)
            return false;
    return parec_.bytesAvailable() > 0;
}

const std::vector<int>& SinkListener::heard()
{
    parec_.waitForReadyRead(0);
    pending_ += parec_.readAllStandardOutput();
    while (pending_.size() >= WindowBytes) {
        std::vector<std::int16_t> window(WindowFrames * Channels);
        for (std::size_t i = 0; i < window.size(); ++i) {
            const auto low = static_cast<std::uint8_t>(pending_[static_cast<qsizetype>(2 * i)]);
            const auto high = static_cast<std::uint8_t>(pending_[static_cast<qsizetype>(2 * i + 1)]);
            window[i] = static_cast<std::int16_t>(static_cast<std::uint16_t>(low | (high << 8)));
        }
        pending_.remove(0, WindowBytes);
        take(window);
    }
    return heard_;
}

void SinkListener::take(const std::vector<std::int16_t>& window)
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
