// Opening a sound output on the opener's thread: a server that took the
// connection but does not answer is told apart from one that is missing.
#include "platform/audio_out/SoundOutputOpener.h"
#include "tests/support/PulseDaemon.h"
#include "tests/support/ScopedBackends.h"
#include "tests/support/ScopedEnvironment.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

enum class Server { Stopped, Missing };

struct OpenerCase {
    const char* name;
    Server server;
    bool opened;
    bool pending;  // still trying when the wait for a silent server ended
};

class SoundOutputOpening : public ::testing::TestWithParam<OpenerCase> {};

TEST_P(SoundOutputOpening, WaitsForASilentServerOnlyUntilItsOwnDeadline)
{
    const OpenerCase& row = GetParam();
    PulseDaemon server;
    const ScopedEnvironment toServer{"PULSE_SERVER", server.server()};
    const ScopedSoundOutput pulseOnly("pulse");
    if (row.server == Server::Stopped) {
        ASSERT_TRUE(server.start());
        server.freeze();
    }

    SoundOutputOpener opener(AudioFormat{});
    const auto now = SoundOutputOpener::Clock::now();
    // Far beyond the output's own deadline of a second: only the silent
    // server's deadline (now) can end the wait while the output still tries.
    const SoundOutputOpener::Outcome outcome = opener.await(now + 60s, now);
    EXPECT_EQ(outcome.output != nullptr, row.opened);
    EXPECT_EQ(outcome.pending, row.pending);
    if (row.server == Server::Stopped)
        server.thaw();
}

INSTANTIATE_TEST_SUITE_P(Servers, SoundOutputOpening,
                         ::testing::Values(OpenerCase{"Stopped", Server::Stopped, false, true},
                                           OpenerCase{"Missing", Server::Missing, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
