// The sound server missing at start-up or going away later: the mixer
// answers errors at once (no hang, no crash) and works again once a server
// is back.
#include "tests/support/MixerRequests.h"
#include "tests/support/PulseDaemon.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/SinkVolume.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

TEST(MixerServerLoss, ReadsAndWritesFailWhileTheServerIsGoneAndWorkOnceItIsBack)
{
    PulseDaemon daemon("kolvi_mixer_loss");
    ASSERT_TRUE(daemon.start());
    const ScopedEnvironment toDaemon("PULSE_SERVER", daemon.server());

    ASSERT_EQ(mixerGetNumDevs(), 1u);
    HMIXER mixer = nullptr;
    ASSERT_EQ(mixerOpen(&mixer, 0, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
    const DWORD id = speakersVolumeControl(mixer).dwControlID;
    ASSERT_NE(id, 0u);
    ASSERT_EQ(writeVolume(mixer, id, 30000), MMSYSERR_NOERROR);
    EXPECT_EQ(sinkVolumes(daemon.server(), daemon.sinkName()), (std::vector<long>{30000, 30000}));

    daemon.kill();
    for (int attempt = 0; attempt < 3; ++attempt) {
        SCOPED_TRACE("attempt " + std::to_string(attempt));
        DWORD value = 0xA5A5A5A5;
        EXPECT_EQ(readVolume(mixer, id, value), MMSYSERR_ERROR);
        EXPECT_EQ(value, 0xA5A5A5A5u) << "a failed read reported a value";
        EXPECT_EQ(writeVolume(mixer, id, 20000 + attempt), MMSYSERR_ERROR);
    }
    // What was learnt at open still answers; only the volume needs the server.
    EXPECT_EQ(speakersVolumeControl(mixer).dwControlID, id);
    EXPECT_EQ(mixerGetNumDevs(), 0u);
    HMIXER none = nullptr;
    EXPECT_EQ(mixerOpen(&none, 0, 0, 0, CALLBACK_NULL), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(none, nullptr);

    ASSERT_TRUE(daemon.start());
    DWORD value = 0;
    EXPECT_EQ(readVolume(mixer, id, value), MMSYSERR_NOERROR);
    EXPECT_EQ(value, 65536u) << "a new server starts at full volume";
    EXPECT_EQ(writeVolume(mixer, id, 25000), MMSYSERR_NOERROR);
    EXPECT_EQ(sinkVolumes(daemon.server(), daemon.sinkName()), (std::vector<long>{25000, 25000}));
    EXPECT_EQ(mixerClose(mixer), MMSYSERR_NOERROR);
}

TEST(MixerServerLoss, AWriteRightAfterTheServerRestartedReachesTheNewServer)
{
    PulseDaemon daemon("kolvi_mixer_restart");
    ASSERT_TRUE(daemon.start());
    const ScopedEnvironment toDaemon("PULSE_SERVER", daemon.server());
    HMIXER mixer = nullptr;
    ASSERT_EQ(mixerOpen(&mixer, 0, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
    const DWORD id = speakersVolumeControl(mixer).dwControlID;
    ASSERT_EQ(writeVolume(mixer, id, 30000), MMSYSERR_NOERROR);

    // Nothing is asked of the mixer while the server is away.
    daemon.kill();
    ASSERT_TRUE(daemon.start());
    EXPECT_EQ(writeVolume(mixer, id, 30000), MMSYSERR_NOERROR);
    EXPECT_EQ(sinkVolumes(daemon.server(), daemon.sinkName()), (std::vector<long>{30000, 30000}));
    EXPECT_EQ(mixerClose(mixer), MMSYSERR_NOERROR);
}

// ALSA reads its configuration once per process, so this runs in a process
// of its own whose first use of ALSA finds no server. It reports on stderr.
[[noreturn]] void countDevicesBeforeAndAfterAServerStarts(const std::string& deadServer)
{
    int status = 0;
    {
        const ScopedEnvironment nowhere("PULSE_SERVER", deadServer);
        HMIXER mixer = nullptr;
        MIXERCAPSA caps{};
        const UINT before = mixerGetNumDevs();
        const MMRESULT open = mixerOpen(&mixer, 0, 0, 0, CALLBACK_NULL);
        const MMRESULT capsResult = mixerGetDevCapsA(UINT_PTR{0}, &caps, sizeof caps);
        std::fprintf(stderr, "no server: %u devices, open %u, caps %u\n", before, open, capsResult);

        PulseDaemon daemon("kolvi_mixer_late");
        if (daemon.start()) {
            const ScopedEnvironment toDaemon("PULSE_SERVER", daemon.server());
            std::fprintf(stderr, "server started: %u devices\n", mixerGetNumDevs());
        } else {
            std::fprintf(stderr, "the private server did not start\n");
            status = 2;
        }
    }
    std::fflush(stderr);
    std::exit(status);
}

TEST(MixerWithoutServer, HasNoDeviceUntilAServerStarts)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string deadServer = "unix:" + folder.filePath("no-server-here").toStdString();
    EXPECT_EXIT(countDevicesBeforeAndAfterAServerStarts(deadServer), ::testing::ExitedWithCode(0),
                "no server: 0 devices, open 2, caps 2\n(.|\n)*server started: 1 devices\n");
}

} // namespace
