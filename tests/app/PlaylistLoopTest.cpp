// The real player under the X display, heard on the sink's monitor: a
// saved playlist of three short files, play pressed by a real click, the
// playlist moving on at the end of each track and wrapping to the first,
// stop pressed by a real click, and the index it stopped on saved at close.
#include "tests/support/FileBytes.h"
#include "tests/support/HeardTracks.h"
#include "tests/support/Mp3Fixture.h"
#include "tests/support/executable/PlayerProcess.h"

#include <QElapsedTimer>
#include <QThread>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

const std::string CrCrLf = "\r\r\n";

void click(const XWindow& window, int x, int y)
{
    runXdotool({"mousemove", QString::number(window.x + x), QString::number(window.y + y)});
    runXdotool({"click", "1"});
}

// Listens until condition holds or a generous limit has passed.
template <typename Condition>
bool listenUntil(HeardTracks& listener, Condition condition)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 40000) {
        listener.heard();
        if (condition())
            return true;
        QThread::msleep(20);
    }
    return false;
}

TEST(PlaylistLoop, ThePlaylistPlaysOnAndWrapsUntilStopAndTheIndexIsSaved)
{
    const char* sink = std::getenv("KOLVI_TEST_SINK");
    if (sink == nullptr)
        GTEST_SKIP() << "needs the test environment (scripts/with-test-env.sh)";
    PlayerProcess player;
    std::vector<std::string> tracks;
    std::vector<double> pitches;
    for (int i = 0; i < 3; ++i) {
        Mp3Spec settings;
        settings.seconds = 1.2;
        settings.frequencyHz = 440.0 + 110.0 * i;
        tracks.push_back(player.folder() + "tone " + std::to_string(i) + ".mp3");
        pitches.push_back(settings.frequencyHz);
        makeMp3(tracks.back(), settings);
    }
    std::string entries;
    for (const std::string& track : tracks)
        entries += track + CrCrLf;
    writeFileBytes(player.listFile(), "1" + CrCrLf + entries);

    MonitorRecorder recorder(sink);
    ASSERT_TRUE(recorder.start());
    HeardTracks listener(recorder, pitches);
    player.start();
    const auto window = waitForWindow("KolviPlayer");
    ASSERT_TRUE(window.has_value());
    listener.heard();
    EXPECT_EQ(listener.heard(), std::vector<int>{}) << "nothing plays before play is pressed";

    // Play starts the entry saved as current; the timer moves on and wraps.
    click(*window, 57 + 25, 8 + 12);
    const std::vector<int> loop{1, 2, 0};
    ASSERT_TRUE(listenUntil(listener, [&] { return listener.heard().size() >= 3 && listener.lastRunMs() >= 300; }))
        << "heard " << ::testing::PrintToString(listener.heard());
    EXPECT_EQ(listener.heard(), loop);

    // Stop in the middle of the first entry: it is the one saved.
    click(*window, 157 + 25, 8 + 12);
    ASSERT_TRUE(listenUntil(listener, [&] { return listener.silentMs() >= 1500; }));
    EXPECT_EQ(listener.heard(), loop) << "nothing plays after stop";

    runHelper({"close", QString::number(window->id)});
    ASSERT_TRUE(player.waitForExit());
    EXPECT_EQ(player.exitCode(), 0);
    EXPECT_EQ(readFileBytes(player.listFile()), "0" + CrCrLf + entries);
}

}  // namespace
