// What TMediaPlayer sends to the MCI layer, against a recording stand-in.
#include "media/MPlayer.h"
#include "tests/support/recording_mci/RecordingMci.h"
#include "tests/support/ScopedBackends.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <memory>
#include <sstream>

namespace {

// "PLAY 0x5 from=300 dev=7": enough of a call to tell the cases apart.
std::string describe(const MciCall& call)
{
    std::ostringstream text;
    text << mciCommandName(call.message);
    text << " 0x" << std::hex << call.flags << std::dec;
    if (call.message == MCI_STATUS || call.message == MCI_GETDEVCAPS)
        text << " item=" << call.item;
    if (call.message == MCI_STATUS && (call.flags & MCI_TRACK))
        text << " track=" << call.track;
    if (call.message == MCI_PLAY && (call.flags & MCI_FROM))
        text << " from=" << call.from;
    text << " dev=" << call.device;
    return text.str();
}

std::vector<std::string> describeAll(const std::vector<MciCall>& calls)
{
    std::vector<std::string> texts;
    for (const auto& call : calls)
        texts.push_back(describe(call));
    return texts;
}

using Calls = std::vector<std::string>;

class MediaPlayerLogic : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetRecordingMci();
        recordingMci().statusAnswers[MCI_STATUS_MODE] = MCI_MODE_STOP;
        recordingMci().statusAnswers[MCI_STATUS_LENGTH] = 5000;
        recordingMci().statusAnswers[MCI_STATUS_POSITION] = 0;
        player = std::make_unique<TMediaPlayer>();
        player->SetFileName("/music/song.mp3");
    }

    void openAndForget()
    {
        player->Open();
        recordingMci().calls.clear();
    }

    Calls sent() const { return describeAll(recordingMci().calls); }

    std::string openCheckMessage(void (TMediaPlayer::*operation)())
    {
        try {
            (player.get()->*operation)();
        } catch (const EMCIDeviceError& error) {
            return error.Message();
        }
        return "(nothing raised)";
    }

    const ScopedMciDriver recording{recordingMciDriver()};
    std::unique_ptr<TMediaPlayer> player;
};

TEST_F(MediaPlayerLogic, OpenSendsTheFileWithWaitAndElementThenQueriesTheDevice)
{
    player->Open();
    const auto& calls = recordingMci().calls;
    ASSERT_FALSE(calls.empty());
    const MciCall& open = calls.front();
    EXPECT_EQ(describe(open), "OPEN 0x202 dev=0");
    EXPECT_EQ(open.element, "/music/song.mp3");
    EXPECT_EQ(open.deviceType, "");
    EXPECT_EQ(open.callback, reinterpret_cast<DWORD_PTR>(player->Handle()));
    EXPECT_EQ(player->DeviceID(), 7u);
    EXPECT_EQ(sent(), (Calls{"OPEN 0x202 dev=0", "STATUS 0x102 item=1 dev=7", "GETDEVCAPS 0x102 item=8 dev=7",
                             "GETDEVCAPS 0x102 item=1 dev=7", "GETDEVCAPS 0x102 item=7 dev=7", "GETDEVCAPS 0x102 item=3 dev=7",
                             "GETDEVCAPS 0x102 item=4 dev=7", "WHERE 0x20002 dev=7", "STATUS 0x102 item=4 dev=7"}));
}

TEST_F(MediaPlayerLogic, OpenLeavesTheModeQueryResultInError)
{
    recordingMci().statusResults[MCI_STATUS_LENGTH] = MCIERR_HARDWARE;
    recordingMci().statusResults[MCI_STATUS_MODE] = MCIERR_DEVICE_NOT_READY;
    player->Open();
    EXPECT_EQ(player->Error(), MCIERR_DEVICE_NOT_READY);
}

TEST_F(MediaPlayerLogic, FailedOpenRaisesThePlatformTextAndLeavesThePlayerClosed)
{
    recordingMci().results[MCI_OPEN] = MCIERR_FILE_NOT_FOUND;
    try {
        player->Open();
        FAIL() << "no exception";
    } catch (const EMCIDeviceError& error) {
        EXPECT_EQ(error.Message(), RecordingMci::textOf(MCIERR_FILE_NOT_FOUND));
    }
    EXPECT_EQ(player->Error(), MCIERR_FILE_NOT_FOUND);
    EXPECT_EQ(player->DeviceID(), 0u);
    EXPECT_EQ(sent(), Calls{"OPEN 0x202 dev=0"});
    EXPECT_EQ(openCheckMessage(&TMediaPlayer::Play), "No MCI device open");
}

TEST_F(MediaPlayerLogic, FailedOpenWithoutPlatformTextSaysUnknownErrorCode)
{
    recordingMci().results[MCI_OPEN] = 999;
    recordingMci().errorTextsKnown = false;
    try {
        player->Open();
        FAIL() << "no exception";
    } catch (const EMCIDeviceError& error) {
        EXPECT_EQ(error.Message(), "Unknown error code");
    }
}

TEST_F(MediaPlayerLogic, OpeningAgainClosesTheOpenDeviceFirst)
{
    openAndForget();
    recordingMci().nextDeviceId = 8;
    player->SetFileName("/music/second.mp3");
    player->Open();
    ASSERT_GE(recordingMci().calls.size(), 2u);
    EXPECT_EQ(describe(recordingMci().calls[0]), "CLOSE 0x2 dev=7");
    EXPECT_EQ(describe(recordingMci().calls[1]), "OPEN 0x202 dev=0");
    EXPECT_EQ(recordingMci().calls[1].element, "/music/second.mp3");
    EXPECT_EQ(player->DeviceID(), 8u);
}

TEST_F(MediaPlayerLogic, FailedSecondOpenLeavesNothingOpen)
{
    openAndForget();
    recordingMci().results[MCI_OPEN] = MCIERR_INVALID_FILE;
    EXPECT_THROW(player->Open(), EMCIDeviceError);
    EXPECT_EQ(player->DeviceID(), 0u);
    EXPECT_EQ(openCheckMessage(&TMediaPlayer::Stop), "No MCI device open");
    recordingMci().calls.clear();
    player.reset();
    EXPECT_TRUE(recordingMci().calls.empty()) << "destroying a closed player sends nothing";
}

TEST_F(MediaPlayerLogic, OpenGoesOnWhenClosingThePreviousDeviceFails)
{
    openAndForget();
    recordingMci().results[MCI_CLOSE] = MCIERR_HARDWARE;
    recordingMci().nextDeviceId = 9;
    player->Open();
    EXPECT_EQ(player->DeviceID(), 9u);
}

TEST_F(MediaPlayerLogic, OperationsNeedingAnOpenDeviceRaiseAndSendNothing)
{
    for (auto operation : {&TMediaPlayer::Play, &TMediaPlayer::Stop, &TMediaPlayer::Pause, &TMediaPlayer::Resume})
        EXPECT_EQ(openCheckMessage(operation), "No MCI device open");
    EXPECT_THROW(player->Length(), EMCIDeviceError);
    EXPECT_THROW(player->TrackLength(1), EMCIDeviceError);
    EXPECT_TRUE(recordingMci().calls.empty());
    EXPECT_EQ(player->Error(), 0u);
}

TEST_F(MediaPlayerLogic, PositionModeAndCloseNeedNoOpenDevice)
{
    recordingMci().statusResults[MCI_STATUS_POSITION] = MCIERR_INVALID_DEVICE_ID;
    recordingMci().statusResults[MCI_STATUS_MODE] = MCIERR_INVALID_DEVICE_ID;
    EXPECT_EQ(player->Position(), 0u);
    EXPECT_EQ(player->Mode(), mdNotReady);
    player->Close();
    EXPECT_EQ(sent(), (Calls{"STATUS 0x102 item=2 dev=0", "STATUS 0x102 item=4 dev=0"}));
    EXPECT_EQ(player->Error(), MCIERR_INVALID_DEVICE_ID);
}

TEST_F(MediaPlayerLogic, PlayAfterOpenRunsTheRewindTestThenPlaysWithNotify)
{
    recordingMci().statusAnswers[MCI_STATUS_POSITION] = 0;
    recordingMci().statusAnswers[MCI_STATUS_LENGTH] = 5000;
    openAndForget();
    player->Play();
    EXPECT_EQ(sent(), (Calls{"STATUS 0x102 item=2 dev=7", "STATUS 0x102 item=1 dev=7", "PLAY 0x1 dev=7"}));
    EXPECT_EQ(recordingMci().calls.back().callback, reinterpret_cast<DWORD_PTR>(player->Handle()));
}

TEST_F(MediaPlayerLogic, PlayAtTheEndRewindsFirst)
{
    openAndForget();
    recordingMci().statusAnswers[MCI_STATUS_POSITION] = 5000;
    recordingMci().results[MCI_SEEK] = MCIERR_HARDWARE;
    player->Play();
    EXPECT_EQ(sent(), (Calls{"STATUS 0x102 item=2 dev=7", "STATUS 0x102 item=1 dev=7", "SEEK 0x102 dev=7", "PLAY 0x1 dev=7"}));
    EXPECT_EQ(player->Error(), 0u) << "the rewind's result is not recorded";
}

TEST_F(MediaPlayerLogic, EmptyMediumRewindsOnPlay)
{
    recordingMci().statusAnswers[MCI_STATUS_LENGTH] = 0;
    openAndForget();
    player->Play();
    EXPECT_EQ(recordingMci().callsOf(MCI_SEEK).size(), 1u);
}

TEST_F(MediaPlayerLogic, PlayWithoutAutoRewindQueriesNothing)
{
    openAndForget();
    player->SetAutoRewind(false);
    recordingMci().statusAnswers[MCI_STATUS_POSITION] = 5000;
    player->Play();
    EXPECT_EQ(sent(), Calls{"PLAY 0x1 dev=7"});
}

TEST_F(MediaPlayerLogic, FromIsUsedByTheNextPlayOnlyAndSkipsTheRewind)
{
    openAndForget();
    recordingMci().statusAnswers[MCI_STATUS_POSITION] = 5000;
    player->SetFrom(1200);
    player->SetFrom(2400);
    player->Play();
    EXPECT_EQ(sent(), (Calls{"STATUS 0x102 item=2 dev=7", "STATUS 0x102 item=1 dev=7", "PLAY 0x5 from=2400 dev=7"}));
    EXPECT_EQ(player->From(), 2400u);

    recordingMci().calls.clear();
    recordingMci().statusAnswers[MCI_STATUS_POSITION] = 3000;
    player->Play();
    EXPECT_EQ(recordingMci().calls.back().flags, MCI_NOTIFY) << "From was spent by the first play";
}

TEST_F(MediaPlayerLogic, FromIsSpentEvenWhenPlayFails)
{
    openAndForget();
    recordingMci().results[MCI_PLAY] = MCIERR_HARDWARE;
    player->SetFrom(100);
    EXPECT_NO_THROW(player->Play());
    EXPECT_EQ(player->Error(), MCIERR_HARDWARE);
    recordingMci().results[MCI_PLAY] = 0;
    player->Play();
    EXPECT_EQ(recordingMci().callsOf(MCI_PLAY).back().flags, MCI_NOTIFY);
    EXPECT_EQ(player->Error(), 0u);
}

TEST_F(MediaPlayerLogic, OpenTouchesNeitherFromNorItsArming)
{
    player->SetFrom(700);
    player->Open();
    recordingMci().calls.clear();
    player->Play();
    EXPECT_EQ(describe(recordingMci().calls.back()), "PLAY 0x5 from=700 dev=7");
}

TEST_F(MediaPlayerLogic, PauseOnAPlayingDevicePausesAndWaits)
{
    openAndForget();
    recordingMci().statusAnswers[MCI_STATUS_MODE] = MCI_MODE_PLAY;
    player->Pause();
    EXPECT_EQ(sent(), (Calls{"STATUS 0x102 item=4 dev=7", "PAUSE 0x2 dev=7"}));
}

TEST_F(MediaPlayerLogic, PauseOnAPausedDeviceResumes)
{
    openAndForget();
    recordingMci().statusAnswers[MCI_STATUS_MODE] = MCI_MODE_PAUSE;
    player->Pause();
    EXPECT_EQ(sent(), (Calls{"STATUS 0x102 item=4 dev=7", "STATUS 0x102 item=4 dev=7", "RESUME 0x1 dev=7"}));
}

TEST_F(MediaPlayerLogic, PauseOnAStoppedDeviceSendsNeitherPauseNorResume)
{
    openAndForget();
    for (DWORD mode : {MCI_MODE_STOP, MCI_MODE_SEEK, MCI_MODE_NOT_READY}) {
        recordingMci().calls.clear();
        recordingMci().statusAnswers[MCI_STATUS_MODE] = mode;
        player->Pause();
        EXPECT_EQ(sent(), (Calls{"STATUS 0x102 item=4 dev=7", "STATUS 0x102 item=4 dev=7"})) << "mode " << mode;
    }
}

TEST_F(MediaPlayerLogic, RefusedResumeFallsBackToPlayWithTheArmedFrom)
{
    openAndForget();
    recordingMci().results[MCI_RESUME] = MCIERR_NONAPPLICABLE_FUNCTION;
    recordingMci().statusAnswers[MCI_STATUS_POSITION] = 1000;
    player->SetFrom(3000);
    player->Resume();
    EXPECT_EQ(sent(), (Calls{"RESUME 0x1 dev=7", "STATUS 0x102 item=2 dev=7", "STATUS 0x102 item=1 dev=7",
                             "PLAY 0x5 from=3000 dev=7"}));
    EXPECT_EQ(player->Error(), 0u);
}

TEST_F(MediaPlayerLogic, AcceptedResumeDoesNotPlay)
{
    openAndForget();
    player->Resume();
    EXPECT_EQ(sent(), Calls{"RESUME 0x1 dev=7"});
}

TEST_F(MediaPlayerLogic, StopWaitsAndRecordsItsResult)
{
    openAndForget();
    recordingMci().results[MCI_STOP] = MCIERR_HARDWARE;
    EXPECT_NO_THROW(player->Stop());
    EXPECT_EQ(sent(), Calls{"STOP 0x2 dev=7"});
    EXPECT_EQ(player->Error(), MCIERR_HARDWARE);
}

TEST_F(MediaPlayerLogic, TrackLengthAsksForTheTrackAndRecordsNothing)
{
    openAndForget();
    recordingMci().statusResults[MCI_STATUS_MODE] = MCIERR_HARDWARE;
    player->Mode();
    recordingMci().calls.clear();
    recordingMci().statusAnswers[MCI_STATUS_LENGTH] = 4321;
    recordingMci().statusResults[MCI_STATUS_LENGTH] = 0;
    EXPECT_EQ(player->TrackLength(1), 4321u);
    EXPECT_EQ(sent(), Calls{"STATUS 0x112 item=1 track=1 dev=7"});
    EXPECT_EQ(player->Error(), MCIERR_HARDWARE) << "TrackLength keeps the last error";
}

TEST_F(MediaPlayerLogic, RejectedQueriesAnswerZero)
{
    openAndForget();
    recordingMci().statusAnswers[MCI_STATUS_LENGTH] = 4321;
    recordingMci().statusResults[MCI_STATUS_LENGTH] = MCIERR_OUTOFRANGE;
    EXPECT_EQ(player->TrackLength(2), 0u);
    EXPECT_EQ(player->Length(), 0u);
    EXPECT_EQ(player->Error(), MCIERR_OUTOFRANGE);
}

TEST_F(MediaPlayerLogic, ModeIsTheCodeLess524)
{
    openAndForget();
    const std::pair<DWORD, TMPDeviceMode> modes[] = {{MCI_MODE_NOT_READY, mdNotReady}, {MCI_MODE_STOP, mdStopped},
                                                     {MCI_MODE_PLAY, mdPlaying},       {MCI_MODE_RECORD, mdRecording},
                                                     {MCI_MODE_SEEK, mdSeeking},       {MCI_MODE_PAUSE, mdPaused},
                                                     {MCI_MODE_OPEN, mdOpen}};
    for (const auto& [code, mode] : modes) {
        recordingMci().statusAnswers[MCI_STATUS_MODE] = code;
        EXPECT_EQ(player->Mode(), mode) << code;
    }
}

TEST_F(MediaPlayerLogic, CloseThatFailsKeepsTheDevice)
{
    openAndForget();
    recordingMci().results[MCI_CLOSE] = MCIERR_HARDWARE;
    player->Close();
    EXPECT_EQ(player->DeviceID(), 7u);
    EXPECT_EQ(player->Error(), MCIERR_HARDWARE);
    recordingMci().results[MCI_CLOSE] = 0;
    player->Close();
    EXPECT_EQ(player->DeviceID(), 0u);
    EXPECT_EQ(sent(), (Calls{"CLOSE 0x2 dev=7", "CLOSE 0x2 dev=7"}));
    EXPECT_EQ(openCheckMessage(&TMediaPlayer::Play), "No MCI device open");
}

TEST_F(MediaPlayerLogic, DestroyingAnOpenPlayerClosesItsDevice)
{
    openAndForget();
    recordingMci().results[MCI_CLOSE] = MCIERR_HARDWARE;
    EXPECT_NO_THROW(player.reset());
    EXPECT_EQ(sent(), Calls{"CLOSE 0x2 dev=7"});
}

TEST_F(MediaPlayerLogic, CompletionNoticesSetTheNotifyValueAndReadTheMode)
{
    openAndForget();
    const std::pair<WPARAM, TMPNotifyValues> notices[] = {{MCI_NOTIFY_SUPERSEDED, nvSuperseded},
                                                          {MCI_NOTIFY_ABORTED, nvAborted},
                                                          {MCI_NOTIFY_FAILURE, nvFailure},
                                                          {MCI_NOTIFY_SUCCESSFUL, nvSuccessful}};
    for (const auto& [code, value] : notices) {
        recordingMci().calls.clear();
        PostMessageA(player->Handle(), MM_MCINOTIFY, code, 7);
        QCoreApplication::processEvents();
        EXPECT_EQ(player->NotifyValue(), value) << code;
        EXPECT_EQ(sent(), Calls{"STATUS 0x102 item=4 dev=7"});
    }
    PostMessageA(player->Handle(), MM_MCINOTIFY, MCI_NOTIFY_FAILURE, 7);
    PostMessageA(player->Handle(), MM_MCINOTIFY, 0x40, 7);
    QCoreApplication::processEvents();
    EXPECT_EQ(player->NotifyValue(), nvFailure) << "an unknown code changes nothing";
}

}  // namespace
