// The session ends while the real player plays an edited playlist: SIGTERM
// (logout, kill), SIGINT (Ctrl+C) or SIGHUP (the terminal closed) close the
// window the normal way, so List.lst holds the edit and the current entry,
// and the exit code is 0. No session bus here: the player runs as before.
#include "tests/support/EventLoopWait.h"
#include "tests/support/FileBytes.h"
#include "tests/support/HeardTracks.h"
#include "tests/support/Mp3Fixture.h"
#include "tests/support/executable/PlayerProcess.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/SinkVolume.h"
#include "tests/support/executable/WindowFacts.h"

#include <csignal>
#include <gtest/gtest.h>

namespace {

const std::string CrCrLf = "\r\r\n";

class SessionEnd : public ::testing::TestWithParam<int> {};

TEST_P(SessionEnd, ClosesTheWindowTheNormalWaySavingThePlaylist)
{
    if (sharedSinkName().empty())
        GTEST_SKIP() << "needs the test environment (scripts/with-test-env.sh)";
    // A bus address that leads nowhere: no media controls, and no word about it.
    const ScopedEnvironment noBus("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/kolvi-no-bus");
    PlayerProcess player;
    const std::vector<std::string> tracks{player.folder() + "a.mp3", player.folder() + "b.mp3",
                                          player.folder() + "c.mp3"};
    const std::vector<double> pitches{440.0, 660.0, 880.0};
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        Mp3Spec settings;
        settings.seconds = 20.0;
        settings.frequencyHz = pitches[i];
        makeMp3(tracks[i], settings);
    }
    writeFileBytes(player.listFile(), "1" + CrCrLf + tracks[0] + CrCrLf + tracks[1] + CrCrLf + tracks[2] + CrCrLf);

    MonitorRecorder recorder(sharedSinkName());
    ASSERT_TRUE(recorder.start());
    HeardTracks listener(recorder, pitches);
    player.start();
    const auto window = waitForWindow("KolviPlayer");
    ASSERT_TRUE(window.has_value());
    const int pid = windowPid(*window);
    ASSERT_GT(pid, 0);

    // The saved entry b is selected: delete takes it out. Next after index 1
    // of the two left wraps to a.
    clickAt(*window, 57 + 25, 356 + 12);
    clickAt(*window, 207 + 25, 8 + 12);
    ASSERT_TRUE(waitUntil([&] { return listener.heard() == std::vector<int>{0} && listener.lastRunMs() >= 300; }))
        << ::testing::PrintToString(listener.heard());

    ASSERT_EQ(::kill(pid, GetParam()), 0);
    ASSERT_TRUE(player.waitForExit());
    EXPECT_FALSE(player.crashed());
    EXPECT_EQ(player.exitCode(), 0);
    EXPECT_EQ(readFileBytes(player.listFile()), "0" + CrCrLf + tracks[0] + CrCrLf + tracks[2] + CrCrLf);
}

INSTANTIATE_TEST_SUITE_P(Signals, SessionEnd, ::testing::Values(SIGTERM, SIGINT, SIGHUP),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(info.param == SIGTERM ? "SIGTERM"
                                                : info.param == SIGINT ? "SIGINT"
                                                                       : "SIGHUP");
                         });

}  // namespace
