// Seeking while paused keeps the track paused and silent; continue plays
// from the slider's place. Heard on the sink's monitor.
#include "tests/support/EventLoopWait.h"
#include "tests/support/MonitorRecorder.h"
#include "tests/support/windows/PlayerFixture.h"
#include "tests/support/SinkVolume.h"
#include "tests/support/ToneAnalysis.h"

namespace {

class SeekWhilePaused : public PlayerFixture {
protected:
    void startPaused()
    {
        start({track(0, 1.5), track(1, 1.5)}, 0);
        form->btnPlayClick(form->btnPlay);
        ASSERT_TRUE(waitForPosition(200));
        form->btnPauseClick(form->btnPause);
        ASSERT_EQ(form->MP3->Mode(), mdPaused);
    }

    void expectStillPaused()
    {
        EXPECT_EQ(form->IsPlaying, 1);
        EXPECT_EQ(form->IsPaused, 1);
        EXPECT_EQ(pauseCaption(), Continue);
        EXPECT_EQ(form->MP3->Mode(), mdPaused);
    }
};

TEST_F(SeekWhilePaused, TheTrackStaysPausedAndSilentAndContinuesFromTheSlider)
{
    startPaused();
    const DWORD pausedAt = form->MP3->Position();
    // What was on its way to the sink before the pause has been heard.
    pumpFor(std::chrono::milliseconds(300));
    MonitorRecorder recorder(sharedSinkName());
    ASSERT_TRUE(recorder.start());
    form->TrackPos->SetPosition(900);
    form->TrackPos->SetPosition(1000);
    pumpFor(std::chrono::milliseconds(400));
    const Samples heard = recorder.stop();
    ASSERT_GT(heard.size(), 44100u / 10);
    EXPECT_EQ(firstLoud(heard), std::nullopt) << "a seek while paused makes no sound";
    expectStillPaused();
    EXPECT_EQ(form->MP3->Position(), pausedAt);
    form->TrackTimerTimer(form->TrackTimer);
    expectStillPaused();

    form->btnPauseClick(form->btnPause);
    EXPECT_EQ(form->MP3->Mode(), mdPlaying);
    EXPECT_GE(form->MP3->Position(), 1000u);
    EXPECT_EQ(form->IsPaused, 0);
    EXPECT_EQ(pauseCaption(), Pause);
}

TEST_F(SeekWhilePaused, AContinueAfterASeekToTheEndMovesOnAtTheNextTick)
{
    startPaused();
    form->TrackPos->SetPosition(form->TrackPos->Max());
    form->TrackTimerTimer(form->TrackTimer);
    expectStillPaused();
    EXPECT_EQ(form->CurrentIndex, 0);

    form->btnPauseClick(form->btnPause);
    ASSERT_TRUE(waitForEnd());
    form->TrackTimerTimer(form->TrackTimer);
    EXPECT_EQ(form->CurrentIndex, 1);
    EXPECT_EQ(form->MP3->Mode(), mdPlaying);
}

TEST_F(SeekWhilePaused, ASeekLeftWaitingWhenStoppedDoesNotMoveTheNextStart)
{
    startPaused();
    form->TrackPos->SetPosition(1200);
    form->btnStopClick(form->btnStop);
    form->TrackPos->SetPosition(0);
    form->btnPlayClick(form->btnPlay);
    EXPECT_LT(form->MP3->Position(), 1000u) << "the track starts from its beginning";
    EXPECT_EQ(form->MP3->Mode(), mdPlaying);

    // Nor does a start by next while still paused.
    form->btnPauseClick(form->btnPause);
    form->TrackPos->SetPosition(1200);
    form->btnNextClick(form->btnNext);
    EXPECT_LT(form->MP3->Position(), 1000u);
    EXPECT_EQ(form->CurrentIndex, 1);
}

}  // namespace
