// TMediaPlayer over the real MCI layer, decoder and sound server, driven the
// way the main window drives it.
#include "media/MPlayer.h"
#include "tests/support/mci/MciTesting.h"
#include "tests/support/mci/Mp3Encoder.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace {

class MediaPlayerPlayback : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("PULSE_SERVER") == nullptr)
            GTEST_SKIP() << "needs the test sound server (scripts/with-test-env.sh)";
        player = std::make_unique<TMediaPlayer>();
    }

    std::string mp3(const std::string& name, double seconds)
    {
        Mp3Spec settings;
        settings.seconds = seconds;
        const std::string file = dir.filePath(QString::fromStdString(name)).toStdString();
        encodeMp3(file, settings);
        return file;
    }

    // What the main window does to start a track.
    void start(const std::string& file)
    {
        player->SetFileName(file);
        player->Open();
        player->Play();
    }

    static bool deviceIsOpen(MCIDEVICEID id)
    {
        MCI_STATUS_PARMS status{};
        status.dwItem = MCI_STATUS_MODE;
        return mciSendCommandA(id, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&status)) == 0;
    }

    std::string openFailure(const std::string& file)
    {
        player->SetFileName(file);
        try {
            player->Open();
        } catch (const EMCIDeviceError& error) {
            return error.Message();
        }
        return "(opened)";
    }

    QTemporaryDir dir;
    std::unique_ptr<TMediaPlayer> player;
};

TEST_F(MediaPlayerPlayback, TrackPlaysToItsLengthAndPlayingAgainStartsOver)
{
    start(mp3("track.mp3", 1.2));
    EXPECT_EQ(player->Mode(), mdPlaying);
    const DWORD length = player->TrackLength(1);
    EXPECT_EQ(length, 1200u);
    EXPECT_EQ(player->Length(), length);
    ASSERT_TRUE(waitUntil([&] { return player->Mode() == mdStopped; }));
    EXPECT_EQ(player->Position(), player->TrackLength(1)) << "what the main window's timer waits for";
    ASSERT_TRUE(waitUntil([&] { return player->NotifyValue() == nvSuccessful && player->Error() == 0; }));

    player->Play();
    EXPECT_EQ(player->Mode(), mdPlaying);
    EXPECT_LT(player->Position(), 300u) << "a finished track starts again from its beginning";
    player->Stop();
    EXPECT_EQ(player->Mode(), mdStopped);
}

TEST_F(MediaPlayerPlayback, PauseTogglesAndSeekPlaysFromTheSliderPosition)
{
    start(mp3("seek.mp3", 2.5));
    ASSERT_TRUE(waitUntil([&] { return player->Position() > 200; }));
    player->Pause();
    EXPECT_EQ(player->Mode(), mdPaused);
    const DWORD paused = player->Position();
    player->Pause();
    EXPECT_EQ(player->Mode(), mdPlaying);
    EXPECT_GE(player->Position(), paused);

    // The position slider's seek.
    player->Pause();
    player->SetFrom(2000);
    player->Play();
    EXPECT_EQ(player->Mode(), mdPlaying);
    EXPECT_GE(player->Position(), 2000u);
    ASSERT_TRUE(waitUntil([&] { return player->Mode() == mdStopped; }));
    EXPECT_EQ(player->Position(), player->Length());

    // The slider pulled to its right end: at the end at once.
    player->Pause();
    player->SetFrom(player->Length());
    player->Play();
    ASSERT_TRUE(waitUntil([&] { return player->Mode() == mdStopped; }));
    EXPECT_EQ(player->Position(), player->TrackLength(1));
}

TEST_F(MediaPlayerPlayback, StartingAnotherTrackClosesThePlayingOne)
{
    start(mp3("first.mp3", 3.0));
    const MCIDEVICEID first = player->DeviceID();
    ASSERT_TRUE(waitUntil([&] { return player->Position() > 100; }));
    start(mp3("second.mp3", 1.0));
    EXPECT_FALSE(deviceIsOpen(first));
    EXPECT_TRUE(deviceIsOpen(player->DeviceID()));
    EXPECT_EQ(player->TrackLength(1), 1000u);
    ASSERT_TRUE(waitUntil([&] { return player->Mode() == mdStopped; }));
    EXPECT_EQ(player->Position(), 1000u);
}

TEST_F(MediaPlayerPlayback, FilesThatCannotBePlayedRaiseTheirTextAndLeaveNothingOpen)
{
    start(mp3("playing.mp3", 3.0));
    const MCIDEVICEID playing = player->DeviceID();
    EXPECT_EQ(openFailure(dir.filePath("gone.mp3").toStdString()), mciText(MCIERR_FILE_NOT_FOUND));
    EXPECT_FALSE(deviceIsOpen(playing)) << "the track that played before was closed";
    EXPECT_EQ(player->Error(), MCIERR_FILE_NOT_FOUND);
    EXPECT_THROW(player->Play(), EMCIDeviceError);
    EXPECT_THROW(player->TrackLength(1), EMCIDeviceError);
    EXPECT_NO_THROW(player->Position());

    const std::string text = dir.filePath("text.mp3").toStdString();
    FILE* file = std::fopen(text.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fputs("not a song\n", file);
    std::fclose(file);
    EXPECT_EQ(openFailure(text), mciText(MCIERR_INVALID_FILE));
    EXPECT_EQ(openFailure(""), mciText(MCIERR_FILENAME_REQUIRED));
}

TEST_F(MediaPlayerPlayback, DestroyingThePlayerWhilePlayingClosesTheDevice)
{
    start(mp3("destroy.mp3", 3.0));
    const MCIDEVICEID id = player->DeviceID();
    ASSERT_TRUE(waitUntil([&] { return player->Position() > 100; }));
    player.reset();
    EXPECT_FALSE(deviceIsOpen(id));
    pumpFor(std::chrono::milliseconds(100));
}

}  // namespace
