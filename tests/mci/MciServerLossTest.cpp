// The sound server going away under an open device, and coming back.
#include "MciTesting.h"
#include "Mp3Encoder.h"
#include "PulseDaemon.h"

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
        // Every connection of this process goes to the private server.
        server.exportToEnvironment();
    }

    bool hasNotice(WPARAM code) const
    {
        const auto codes = catcher.codes();
        return std::find(codes.begin(), codes.end(), code) != codes.end();
    }

    QTemporaryDir dir;
    std::string file;
    PulseDaemon server;
    NoticeCatcher catcher;
};

TEST_F(MciServerLoss, WithoutAServerOpenFailsWithAClearError)
{
    TestDevice device(file);
    EXPECT_EQ(device.openError(), MCIERR_WAVE_OUTPUTSUNSUITABLE);
    EXPECT_EQ(mciText(device.openError()).rfind("소리를 낼 출력 장치가 없습니다.", 0), 0u) << mciText(device.openError());
    EXPECT_EQ(device.id(), 0u);
}

TEST_F(MciServerLoss, ServerKilledWhilePlayingStopsTheDeviceAndPlayTriesAgainLater)
{
    ASSERT_TRUE(server.start());
    TestDevice device(file, catcher.handle());
    ASSERT_EQ(device.openError(), 0u) << mciText(device.openError());
    ASSERT_EQ(device.play(), 0u);
    ASSERT_TRUE(waitUntil([&] { return device.position() > 300; }));

    server.kill();
    ASSERT_TRUE(waitUntil([&] { return device.mode() == MCI_MODE_STOP; })) << "it does not play on into nothing";
    ASSERT_TRUE(waitUntil([&] { return hasNotice(MCI_NOTIFY_FAILURE); }));
    const DWORD stoppedAt = device.position();
    EXPECT_GT(stoppedAt, 300u);
    EXPECT_LT(stoppedAt, device.length());
    pumpFor(300ms);
    EXPECT_EQ(device.position(), stoppedAt);
    EXPECT_EQ(device.stop(), 0u);

    // With the server still gone, a play fails at once instead of pretending.
    ASSERT_EQ(device.play(), 0u);
    ASSERT_TRUE(waitUntil([&] { return catcher.codes().size() >= 2 && catcher.codes().back() == MCI_NOTIFY_FAILURE; }));
    EXPECT_EQ(device.mode(), MCI_MODE_STOP);
    EXPECT_EQ(device.position(), stoppedAt);

    ASSERT_TRUE(server.start());
    ASSERT_EQ(device.play(), 0u);
    ASSERT_TRUE(waitUntil([&] { return device.position() > stoppedAt + 200; })) << "it plays again on the new server";
    EXPECT_EQ(device.mode(), MCI_MODE_PLAY);
    EXPECT_EQ(device.close(), 0u);
}

TEST_F(MciServerLoss, ServerGoneWhileStoppedFailsTheNextPlay)
{
    ASSERT_TRUE(server.start());
    TestDevice device(file, catcher.handle());
    ASSERT_EQ(device.openError(), 0u) << mciText(device.openError());
    server.kill();
    ASSERT_EQ(device.play(), 0u);
    ASSERT_TRUE(waitUntil([&] { return hasNotice(MCI_NOTIFY_FAILURE); }));
    EXPECT_EQ(device.mode(), MCI_MODE_STOP);
    EXPECT_EQ(device.position(), 0u);
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

}  // namespace
