// The sound server going away under an open device, and coming back.
#include "tests/support/mci/MciTesting.h"
#include "tests/support/mci/Mp3Encoder.h"
#include "tests/support/PulseDaemon.h"
#include "tests/support/ScopedEnvironment.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace std::chrono_literals;

class MciServerLoss : public ::testing::Test {
protected:
    void SetUp() override
    {
        Mp3Spec settings;
        settings.seconds = 4.0;
        file = dir.filePath("song.mp3").toStdString();
        encodeMp3(file, settings);
    }

    bool hasNotice(WPARAM code) const
    {
        const auto codes = catcher.codes();
        return std::find(codes.begin(), codes.end(), code) != codes.end();
    }

    QTemporaryDir dir;
    std::string file;
    PulseDaemon server;
    // Every connection of this process goes to the private server.
    const ScopedEnvironment toServer{"PULSE_SERVER", server.server()};
    NoticeCatcher catcher;
};

TEST_F(MciServerLoss, WithoutAServerOpenFailsWithAClearError)
{
    TestDevice device(file);
    EXPECT_EQ(device.openError(), MCIERR_WAVE_OUTPUTSUNSUITABLE);
    EXPECT_EQ(mciText(device.openError()).rfind("소리를 낼 출력 장치가 없습니다.", 0), 0u) << mciText(device.openError());
    EXPECT_EQ(device.id(), 0u);
}

TEST_F(MciServerLoss, ServerKilledWhilePlayingTheDeviceHoldsItsPlaceAndPlaysOnOnceTheServerIsBack)
{
    ASSERT_TRUE(server.start());
    TestDevice device(file, catcher.handle());
    ASSERT_EQ(device.openError(), 0u) << mciText(device.openError());
    ASSERT_EQ(device.play(), 0u);
    ASSERT_TRUE(waitUntil([&] { return device.position() > 300; }));

    server.kill();
    // The position stops where the sound stopped, while the device goes on
    // answering that it plays.
    DWORD heldAt = 0;
    ASSERT_TRUE(waitUntil([&] {
        const DWORD before = device.position();
        pumpFor(300ms);
        heldAt = device.position();
        return heldAt == before;
    }));
    EXPECT_GT(heldAt, 300u);
    EXPECT_LT(heldAt, device.length());
    EXPECT_EQ(device.mode(), MCI_MODE_PLAY);
    EXPECT_FALSE(hasNotice(MCI_NOTIFY_FAILURE));

    ASSERT_TRUE(server.start());
    ASSERT_TRUE(waitUntil([&] { return device.position() > heldAt + 200; })) << "it plays on by itself";
    EXPECT_EQ(device.mode(), MCI_MODE_PLAY);
    EXPECT_TRUE(catcher.codes().empty()) << "the play command is still the one running";
    EXPECT_EQ(device.close(), 0u);
}

TEST_F(MciServerLoss, PlayWhileTheServerIsGoneWaitsAtItsPlaceAndPauseHoldsThere)
{
    ASSERT_TRUE(server.start());
    TestDevice device(file, catcher.handle());
    ASSERT_EQ(device.openError(), 0u) << mciText(device.openError());
    server.kill();
    ASSERT_EQ(device.play(1000), 0u);
    pumpFor(500ms);
    EXPECT_EQ(device.mode(), MCI_MODE_PLAY);
    EXPECT_EQ(device.position(), 1000u);
    ASSERT_EQ(device.pause(), 0u);
    EXPECT_EQ(device.mode(), MCI_MODE_PAUSE);

    // Back, the server plays nothing for a paused device; resumed, it plays on from there.
    ASSERT_TRUE(server.start());
    pumpFor(500ms);
    EXPECT_EQ(device.position(), 1000u);
    ASSERT_EQ(device.resume(), 0u);
    ASSERT_TRUE(waitUntil([&] { return device.position() > 1200; }));
    EXPECT_EQ(device.mode(), MCI_MODE_PLAY);
    EXPECT_EQ(device.close(), 0u);
}

TEST_F(MciServerLoss, ClosingWhileTheServerIsGoneDoesNotHang)
{
    ASSERT_TRUE(server.start());
    TestDevice device(file, catcher.handle());
    ASSERT_EQ(device.openError(), 0u) << mciText(device.openError());
    ASSERT_EQ(device.play(), 0u);
    ASSERT_TRUE(waitUntil([&] { return device.position() > 100; }));
    server.kill();
    EXPECT_EQ(device.close(), 0u);
}

// A server that takes the connection and never answers must not hold up the
// open: the device opens and plays while the server is still stopped (a
// hang here is the fault), and is heard once it answers.
TEST_F(MciServerLoss, OpenOnAFrozenServerReturnsAndPlaysOnceTheServerAnswers)
{
    ASSERT_TRUE(server.start());
    server.freeze();
    TestDevice device(file, catcher.handle());
    ASSERT_EQ(device.openError(), 0u) << mciText(device.openError());
    ASSERT_EQ(device.play(), 0u);
    EXPECT_EQ(device.mode(), MCI_MODE_PLAY);
    EXPECT_EQ(device.position(), 0u) << "nothing heard yet";

    server.thaw();
    ASSERT_TRUE(waitUntil([&] { return device.position() > 300; }));
    EXPECT_EQ(device.mode(), MCI_MODE_PLAY);
    EXPECT_TRUE(catcher.codes().empty());
    EXPECT_EQ(device.close(), 0u);
}

// A server that hangs holds up the device's thread inside the output; the
// close must not wait for it, and the thread must find nothing gone when
// the server answers again.
TEST_F(MciServerLoss, ClosingWhileTheServerIsFrozenReturnsAndTheThreadEndsLater)
{
    ASSERT_TRUE(server.start());
    {
        TestDevice device(file, catcher.handle());
        ASSERT_EQ(device.openError(), 0u) << mciText(device.openError());
        ASSERT_EQ(device.play(), 0u);
        ASSERT_TRUE(waitUntil([&] { return device.position() > 100; }));
        server.freeze();
        // Long enough for the output to fill and the thread to block in it.
        pumpFor(2500ms);
        EXPECT_EQ(device.close(), 0u);
    }
    // The close aborts the pending notice; nothing may come after it.
    ASSERT_TRUE(waitUntil([&] { return hasNotice(MCI_NOTIFY_ABORTED); }));
    const auto closed = catcher.codes().size();
    server.thaw();
    server.kill();
    pumpFor(300ms);
    EXPECT_EQ(catcher.codes().size(), closed) << "a closed device posts nothing";
}

}  // namespace
