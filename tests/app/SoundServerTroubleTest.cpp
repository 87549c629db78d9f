// The real player under the X display, with a sound server of its own: the
// server killed and started again under the playing window (the sound comes
// back by itself where it stopped, heard on the new server's sink), and the
// server frozen while the window closes (the process still ends, its
// playlist saved).
#include "tests/support/FileBytes.h"
#include "tests/support/mci/MciTesting.h"
#include "tests/support/MonitorRecorder.h"
#include "tests/support/Mp3Fixture.h"
#include "tests/support/executable/PlayerProcess.h"
#include "tests/support/PulseDaemon.h"
#include "tests/support/ScopedEnvironment.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

constexpr long Rate = 44100;
constexpr int LoudLevel = 1000;
// Stereo samples compared to find where a piece of recorded sound lies in
// the track: long enough to occur once.
constexpr std::size_t WindowSamples = 2 * 4096;

void clickPlay(const XWindow& window) { clickInWindow(window, 57 + 25, 8 + 12); }

// Polls until condition holds or a generous limit has passed.
template <typename Condition>
bool pollUntil(Condition condition, int limitMs = 30000)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > limitMs)
            return false;
        QThread::msleep(20);
    }
    return true;
}

// Counts the loud frames a recording hands over while it records.
class LoudCount {
public:
    explicit LoudCount(MonitorRecorder& recorder) : recorder_(recorder) {}
    std::size_t frames()
    {
        const Samples arrived = recorder_.arrived();
        for (std::size_t i = 0; i + 1 < arrived.size(); i += 2)
            if (std::abs(arrived[i]) >= LoudLevel || std::abs(arrived[i + 1]) >= LoudLevel)
                ++frames_;
        return frames_;
    }

private:
    MonitorRecorder& recorder_;
    std::size_t frames_ = 0;
};

// The frame of the track at which window (stereo samples) begins.
std::optional<std::size_t> frameInTrack(const Samples& track, const Samples& window)
{
    for (auto from = track.begin();;) {
        const auto found = std::search(from, track.end(), window.begin(), window.end());
        if (found == track.end())
            return std::nullopt;
        const auto index = static_cast<std::size_t>(found - track.begin());
        if (index % 2 == 0)
            return index / 2;
        from = found + 1;
    }
}

std::string socketOf(const PulseDaemon& server) { return server.server().substr(std::string("unix:").size()); }

class SoundServerTrouble : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
            GTEST_SKIP() << "needs the test environment (scripts/with-test-env.sh)";
    }

    // The player started from now on plays to server; the suite's server
    // comes back after the test.
    void pointSoundAt(const std::string& server)
    {
        if (soundServer_)
            soundServer_->set(server);
        else
            soundServer_.emplace("PULSE_SERVER", server);
    }

    // The player's one entry, current; its List.lst with bare line feeds,
    // which the player's own save turns into its line ends.
    std::string writePlaylist(const std::string& track)
    {
        writeFileBytes(player_.listFile(), "0\n" + track + "\n");
        return "0\r\r\n" + track + "\r\r\n";
    }

    std::string tone(double seconds)
    {
        Mp3Spec settings;
        settings.seconds = seconds;
        settings.frequencyHz = 330.0;
        const std::string path = player_.folder() + "tone.mp3";
        makeMp3(path, settings);
        return path;
    }

    std::optional<ScopedEnvironment> soundServer_;
    PlayerProcess player_;
};

// The player reaches its server through a link the test controls, so that
// the restarted server is being recorded before the player can find it.
TEST_F(SoundServerTrouble, KilledAndStartedAgainUnderThePlayingWindowTheSoundResumesWhereItStopped)
{
    const std::string track = tone(30.0);
    const Samples decoded = decodeWhole(track);
    writePlaylist(track);
    QTemporaryDir linkDir;
    const std::string link = linkDir.filePath("native").toStdString();

    auto first = std::make_unique<PulseDaemon>();
    ASSERT_TRUE(first->start());
    ASSERT_EQ(::symlink(socketOf(*first).c_str(), link.c_str()), 0);
    pointSoundAt("unix:" + link);
    MonitorRecorder before(first->sinkName());
    ASSERT_TRUE(before.start());
    player_.start();
    const auto window = waitForWindow("KolviPlayer");
    ASSERT_TRUE(window.has_value());
    clickPlay(*window);
    LoudCount loudBefore(before);
    ASSERT_TRUE(pollUntil([&] { return loudBefore.frames() > Rate; })) << "the track plays";

    ::unlink(link.c_str());
    first->kill();
    const Samples heardBefore = before.stop();
    first.reset();

    PulseDaemon second;
    ASSERT_TRUE(second.start());
    pointSoundAt(second.server());
    MonitorRecorder after(second.sinkName());
    ASSERT_TRUE(after.start());
    ASSERT_EQ(::symlink(socketOf(second).c_str(), link.c_str()), 0);
    LoudCount loudAfter(after);
    ASSERT_TRUE(pollUntil([&] { return loudAfter.frames() > Rate / 2; })) << "the sound comes back by itself";
    const Samples heardAfter = after.stop();

    const std::size_t lastEnd = endOfLoud(heardBefore, LoudLevel) / 2 * 2;
    ASSERT_GE(lastEnd, WindowSamples);
    const auto stoppedAt = frameInTrack(decoded, Samples(heardBefore.begin() + static_cast<long>(lastEnd - WindowSamples),
                                                         heardBefore.begin() + static_cast<long>(lastEnd)));
    const std::size_t firstStart = *firstLoud(heardAfter, LoudLevel) / 2 * 2;
    ASSERT_GE(heardAfter.size(), firstStart + WindowSamples);
    const auto resumedAt = frameInTrack(decoded, Samples(heardAfter.begin() + static_cast<long>(firstStart),
                                                         heardAfter.begin() + static_cast<long>(firstStart + WindowSamples)));
    ASSERT_TRUE(stoppedAt && resumedAt) << "both pieces are the track's own samples";
    const double stoppedMs = (static_cast<double>(*stoppedAt) + WindowSamples / 2.0) * 1000.0 / Rate;
    const double resumedMs = static_cast<double>(*resumedAt) * 1000.0 / Rate;
    std::printf("sound stopped at %.0f ms of the track, resumed at %.0f ms\n", stoppedMs, resumedMs);
    EXPECT_NEAR(resumedMs, stoppedMs, 300.0) << "it plays on from where the sound stopped";

    runHelper({"close", QString::number(window->id)});
    ASSERT_TRUE(player_.waitForExit());
    EXPECT_EQ(player_.exitCode(), 0);
}

TEST_F(SoundServerTrouble, FrozenWhileTheWindowClosesTheProcessStillEndsWithItsPlaylistSaved)
{
    const std::string saved = writePlaylist(tone(30.0));
    PulseDaemon server;
    ASSERT_TRUE(server.start());
    pointSoundAt(server.server());
    player_.start();
    const auto window = waitForWindow("KolviPlayer");
    ASSERT_TRUE(window.has_value());
    clickPlay(*window);
    ASSERT_TRUE(pollUntil([&] { return pactl(server.server(), {"list", "short", "sink-inputs"}).size() > 1; }));

    server.freeze();
    QElapsedTimer clock;
    clock.start();
    runHelper({"close", QString::number(window->id)});
    // A generous limit against a hang; the time is printed, and kept in the README.
    ASSERT_TRUE(player_.waitForExit(15000)) << "the process waits on the frozen server";
    std::printf("closed and gone %lld ms after the close request\n", static_cast<long long>(clock.elapsed()));
    EXPECT_EQ(player_.exitCode(), 0);
    EXPECT_EQ(readFileBytes(player_.listFile()), saved);
}

}  // namespace
