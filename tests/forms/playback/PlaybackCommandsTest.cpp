// What the window's transport sends to the media device, counted on the
// recording MCI layer: the exact commands of a start, a seek, a pause and
// a tick, and nothing at all while Idle.
#include "tests/support/windows/PlayerFixture.h"
#include "tests/support/recording_mci/RecordingMci.h"
#include "tests/support/ScopedBackends.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

// "STATUS item=2", "PLAY from=300": the command and what tells it apart.
std::string describe(const MciCall& call)
{
    std::ostringstream text;
    text << mciCommandName(call.message);
    if (call.message == MCI_OPEN)
        text << ' ' << call.element;
    if (call.message == MCI_STATUS)
        text << " item=" << call.item;
    if (call.message == MCI_STATUS && (call.flags & MCI_TRACK))
        text << " track=" << call.track;
    if (call.message == MCI_PLAY && (call.flags & MCI_FROM))
        text << " from=" << call.from;
    return text.str();
}

using Calls = std::vector<std::string>;

class PlaybackCommands : public PlayerFixture {
protected:
    void SetUp() override
    {
        PlayerFixture::SetUp();
        resetRecordingMci();
        answer(MCI_MODE_PLAY, 0);
        recordingMci().statusAnswers[MCI_STATUS_LENGTH] = 1500;
        start({"/music/one.mp3", "/music/two.mp3"}, 0);
    }

    static void answer(DWORD mode, DWORD position)
    {
        recordingMci().statusAnswers[MCI_STATUS_MODE] = mode;
        recordingMci().statusAnswers[MCI_STATUS_POSITION] = position;
    }

    // The commands sent while action ran.
    template <typename Action>
    Calls sentBy(Action action)
    {
        recordingMci().calls.clear();
        action();
        Calls calls;
        for (const MciCall& call : recordingMci().calls)
            if (call.message != MCI_GETDEVCAPS && call.message != MCI_WHERE)
                calls.push_back(describe(call));
        return calls;
    }

    void play() { form->btnPlayClick(form->btnPlay); }
    void tick() { form->TrackTimerTimer(form->TrackTimer); }

    const ScopedMciDriver recording{recordingMciDriver()};
};

const std::string Length = "STATUS item=1";
const std::string Position = "STATUS item=2";
const std::string Mode = "STATUS item=4";
const std::string TrackLength = "STATUS item=1 track=1";

TEST_F(PlaybackCommands, NothingIsSentWhileIdle)
{
    EXPECT_EQ(sentBy([&] {
                  tick();
                  form->btnPauseClick(form->btnPause);
                  form->btnStopClick(form->btnStop);
                  form->TrackPos->SetPosition(5);
              }),
              Calls{});
}

TEST_F(PlaybackCommands, AStartOpensPlaysAndAsksTheTrackLength)
{
    EXPECT_EQ(sentBy([&] { play(); }),
              (Calls{"OPEN /music/one.mp3", Length, Mode, Position, Length, "PLAY", TrackLength}));
    EXPECT_EQ(form->TrackPos->Max(), 1500);

    // From a moved slider the reset to 0 is a seek of its own.
    form->TrackPos->SetPosition(900);
    EXPECT_EQ(sentBy([&] { form->btnNextClick(form->btnNext); }),
              (Calls{"CLOSE", "OPEN /music/two.mp3", Length, Mode, Position, Length, "PLAY", Mode, "PAUSE",
                     Position, Length, "PLAY from=0", TrackLength}));
}

TEST_F(PlaybackCommands, ATickWhilePlayingOrPausedCostsTwoStatusQueries)
{
    play();
    answer(MCI_MODE_PLAY, 700);
    EXPECT_EQ(sentBy([&] { tick(); }), (Calls{TrackLength, Position}));
    form->btnPauseClick(form->btnPause);
    answer(MCI_MODE_PAUSE, 700);
    EXPECT_EQ(sentBy([&] { tick(); }), (Calls{TrackLength, Position}));
    EXPECT_EQ(form->CurrentIndex, 0);

    // At the end the tick goes on to the next entry.
    answer(MCI_MODE_STOP, 1500);
    const Calls calls = sentBy([&] { tick(); });
    ASSERT_GE(calls.size(), 4u);
    EXPECT_EQ(calls[2], "CLOSE");
    EXPECT_EQ(calls[3], "OPEN /music/two.mp3");
    EXPECT_EQ(form->CurrentIndex, 1);
}

TEST_F(PlaybackCommands, ASeekWhilePlayingPausesAndPlaysFromTheSlider)
{
    play();
    EXPECT_EQ(sentBy([&] { form->TrackPos->SetPosition(800); }),
              (Calls{Mode, "PAUSE", Position, Length, "PLAY from=800"}));
}

TEST_F(PlaybackCommands, ASeekWhilePausedSendsNothingAndContinuePlaysFromThere)
{
    play();
    EXPECT_EQ(sentBy([&] { form->btnPauseClick(form->btnPause); }), (Calls{Mode, "PAUSE"}));
    answer(MCI_MODE_PAUSE, 300);
    EXPECT_EQ(sentBy([&] {
                  form->TrackPos->SetPosition(800);
                  form->TrackPos->SetPosition(1200);
              }),
              Calls{});
    EXPECT_EQ(form->IsPaused, 1);
    EXPECT_EQ(sentBy([&] { form->btnPauseClick(form->btnPause); }), (Calls{Position, Length, "PLAY from=1200"}));

    // Without a seek, continue resumes where the pause left it.
    answer(MCI_MODE_PLAY, 1300);
    form->btnPauseClick(form->btnPause);
    answer(MCI_MODE_PAUSE, 1300);
    EXPECT_EQ(sentBy([&] { form->btnPauseClick(form->btnPause); }), (Calls{"RESUME"}));
}

TEST_F(PlaybackCommands, ASeekLeftWaitingByStopDoesNotMoveTheNextStart)
{
    play();
    form->btnPauseClick(form->btnPause);
    form->TrackPos->SetPosition(1200);
    EXPECT_EQ(sentBy([&] { form->btnStopClick(form->btnStop); }), Calls{"STOP"});
    // The slider goes back while Idle, so starting resets nothing.
    form->TrackPos->SetPosition(0);
    EXPECT_EQ(sentBy([&] { play(); }),
              (Calls{"CLOSE", "OPEN /music/one.mp3", Length, Mode, Position, Length, "PLAY from=0", TrackLength}));
}

TEST_F(PlaybackCommands, AFailedOpenLeavesNothingToSendUntilTheNextStart)
{
    play();
    recordingMci().results[MCI_OPEN] = MCIERR_FILE_NOT_FOUND;
    EXPECT_THROW(form->btnNextClick(form->btnNext), EMCIDeviceError);
    EXPECT_EQ(form->IsPlaying, 0);
    EXPECT_EQ(sentBy([&] {
                  tick();
                  form->btnPauseClick(form->btnPause);
                  form->btnStopClick(form->btnStop);
                  form->TrackPos->SetPosition(300);
              }),
              Calls{});
}

}  // namespace
