// The transport buttons, the double-click and the timer on the real window,
// with real files played by the real media device: which entry starts, what
// is selected afterwards, and how IsPlaying, IsPaused and the pause button's
// caption follow the playback state.
#include "tests/support/EventLoopWait.h"
#include "tests/support/windows/PlayerFixture.h"

#include <QTest>

namespace {

class Transport : public PlayerFixture {
protected:
    // Where the window stands: CurrentIndex, the file MP3 holds, the state.
    void expectPlaying(int index)
    {
        EXPECT_EQ(form->CurrentIndex, index);
        EXPECT_EQ(openedEntry(), index);
        EXPECT_EQ(form->IsPlaying, 1);
        EXPECT_EQ(form->IsPaused, 0);
        EXPECT_EQ(pauseCaption(), Pause);
        EXPECT_EQ(form->MP3->Mode(), mdPlaying);
        EXPECT_EQ(selected(), std::vector<int>{index});
    }
};

TEST_F(Transport, AnEmptyPlaylistOrIdleWindowIgnoresEveryButton)
{
    start({});
    form->btnPlayClick(form->btnPlay);
    form->lvFileListDblClick(form->lvFileList);
    form->btnNextClick(form->btnNext);
    form->btnPrevClick(form->btnPrev);
    form->btnPauseClick(form->btnPause);
    form->btnStopClick(form->btnStop);
    form->TrackTimerTimer(form->TrackTimer);
    EXPECT_EQ(form->CurrentIndex, -1);
    EXPECT_EQ(form->IsPlaying, 0);
    EXPECT_EQ(form->IsPaused, 0);
    EXPECT_EQ(pauseCaption(), Pause);
    EXPECT_EQ(form->MP3->DeviceID(), 0u) << "nothing was opened";
    EXPECT_EQ(form->MP3->FileName(), "");
}

TEST_F(Transport, PauseAndStopWhileIdleLeaveTheDeviceAndCaptionAlone)
{
    start({track(0, 1.5)}, 0);
    form->btnPauseClick(form->btnPause);
    form->btnStopClick(form->btnStop);
    EXPECT_EQ(form->MP3->DeviceID(), 0u);
    EXPECT_EQ(pauseCaption(), Pause);
    EXPECT_EQ(form->IsPaused, 0);

    // After a stop the window is Idle again: pause does nothing either.
    form->btnPlayClick(form->btnPlay);
    form->btnStopClick(form->btnStop);
    ASSERT_EQ(form->MP3->Mode(), mdStopped);
    form->btnPauseClick(form->btnPause);
    EXPECT_EQ(form->MP3->Mode(), mdStopped);
    EXPECT_EQ(pauseCaption(), Pause);
    EXPECT_EQ(form->IsPaused, 0);
}

TEST_F(Transport, NextAndPreviousWrapAroundTheList)
{
    start({track(0, 1.5), track(1, 1.5), track(2, 1.5)});
    form->btnNextClick(form->btnNext);
    SCOPED_TRACE("next from -1");
    expectPlaying(0);
    form->btnPrevClick(form->btnPrev);
    expectPlaying(2);
    form->btnNextClick(form->btnNext);
    expectPlaying(0);
    form->btnNextClick(form->btnNext);
    expectPlaying(1);
    form->btnPrevClick(form->btnPrev);
    expectPlaying(0);
}

TEST_F(Transport, PreviousFromNoCurrentEntryStartsTheLast)
{
    start({track(0, 1.5), track(1, 1.5), track(2, 1.5)});
    select({0});
    form->btnPrevClick(form->btnPrev);
    expectPlaying(2);
}

TEST_F(Transport, ACurrentIndexPastTheEndOfAShortenedListStillFindsItsNeighbours)
{
    const std::vector<std::string> tracks{track(0, 1.5), track(1, 1.5), track(2, 1.5)};
    // Saved as current when the list was longer.
    start(tracks, 3);
    EXPECT_EQ(selected(), std::vector<int>{});
    form->btnPrevClick(form->btnPrev);
    SCOPED_TRACE("previous of 3 is entry 2");
    expectPlaying(2);

    // The playing entry and the one before it deleted: the stored index is
    // not adjusted, so next starts from the top and previous from the end.
    select({1});
    form->btnDelClick(form->btnDel);
    ASSERT_EQ(form->lvFileList->Items()->Count(), 1);
    EXPECT_EQ(form->CurrentIndex, 2);
    form->btnPrevClick(form->btnPrev);
    EXPECT_EQ(form->CurrentIndex, 0);
    EXPECT_EQ(openedEntry(), 0);

    start(tracks, 7);
    form->btnNextClick(form->btnNext);
    expectPlaying(0);
    start(tracks, 7);
    form->btnPrevClick(form->btnPrev);
    expectPlaying(2);
}

TEST_F(Transport, PlayStartsTheFirstSelectedAndLeavesOnlyItSelectedDoubleClickKeepsTheSelection)
{
    start({track(0, 1.5), track(1, 1.5), track(2, 1.5)});
    select({2, 1});
    form->lvFileListDblClick(form->lvFileList);
    EXPECT_EQ(form->CurrentIndex, 1);
    EXPECT_EQ(openedEntry(), 1);
    EXPECT_EQ(selected(), (std::vector<int>{1, 2}));

    select({0});
    form->btnPlayClick(form->btnPlay);
    expectPlaying(0);

    form->lvFileList->SetSelected(nullptr);
    form->btnPlayClick(form->btnPlay);
    form->lvFileListDblClick(form->lvFileList);
    SCOPED_TRACE("nothing selected: the track plays on");
    EXPECT_EQ(openedEntry(), 0);
    EXPECT_EQ(form->MP3->Mode(), mdPlaying);
}

TEST_F(Transport, PlayWhilePlayingOrPausedOpensTheSelectedEntryAgainFromItsBeginning)
{
    start({track(0, 1.5), track(1, 1.5)}, 0);
    form->btnPlayClick(form->btnPlay);
    const MCIDEVICEID first = form->MP3->DeviceID();
    ASSERT_TRUE(waitForPosition(500));
    form->btnPlayClick(form->btnPlay);
    EXPECT_NE(form->MP3->DeviceID(), first) << "the file is opened again";
    EXPECT_LT(form->MP3->Position(), 500u);
    expectPlaying(0);

    ASSERT_TRUE(waitForPosition(500));
    form->btnPauseClick(form->btnPause);
    ASSERT_EQ(form->MP3->Mode(), mdPaused);
    form->btnPlayClick(form->btnPlay);
    EXPECT_LT(form->MP3->Position(), 500u);
    expectPlaying(0);

    // Next and previous while paused start their track and leave the pause.
    form->btnPauseClick(form->btnPause);
    form->btnNextClick(form->btnNext);
    expectPlaying(1);
    form->btnPauseClick(form->btnPause);
    form->btnPrevClick(form->btnPrev);
    expectPlaying(0);
}

TEST_F(Transport, PauseTogglesTheDeviceAndTheCaptionAndStopGoesIdle)
{
    start({track(0, 1.5)}, 0);
    form->btnPlayClick(form->btnPlay);
    ASSERT_TRUE(waitForPosition(200));
    form->btnPauseClick(form->btnPause);
    EXPECT_EQ(form->MP3->Mode(), mdPaused);
    EXPECT_EQ(form->IsPaused, 1);
    EXPECT_EQ(form->IsPlaying, 1);
    EXPECT_EQ(pauseCaption(), Continue);
    const DWORD pausedAt = form->MP3->Position();
    pumpFor(std::chrono::milliseconds(300));
    EXPECT_EQ(form->MP3->Position(), pausedAt);
    form->TrackTimerTimer(form->TrackTimer);
    EXPECT_EQ(form->MP3->Mode(), mdPaused) << "a tick leaves a track paused before its end";

    form->btnPauseClick(form->btnPause);
    EXPECT_EQ(form->MP3->Mode(), mdPlaying);
    EXPECT_GE(form->MP3->Position(), pausedAt);
    expectPlaying(0);

    form->btnPauseClick(form->btnPause);
    form->btnStopClick(form->btnStop);
    EXPECT_EQ(form->MP3->Mode(), mdStopped);
    EXPECT_EQ(form->IsPlaying, 0);
    EXPECT_EQ(form->IsPaused, 0);
    EXPECT_EQ(pauseCaption(), Pause);
    EXPECT_EQ(form->CurrentIndex, 0);
    form->TrackTimerTimer(form->TrackTimer);
    EXPECT_EQ(form->MP3->Mode(), mdStopped) << "ticks do nothing while Idle";
}

TEST_F(Transport, StopThenPlayStartsTheEntryFromItsBeginning)
{
    start({track(0, 1.5)}, 0);
    form->btnPlayClick(form->btnPlay);
    ASSERT_TRUE(waitForPosition(600));
    form->btnStopClick(form->btnStop);
    const DWORD stoppedAt = form->MP3->Position();
    EXPECT_GT(stoppedAt, 600u);
    EXPECT_EQ(form->TrackPos->Position(), 0) << "stop does not move the slider";
    form->btnPlayClick(form->btnPlay);
    EXPECT_LT(form->MP3->Position(), stoppedAt);
    expectPlaying(0);
}

TEST_F(Transport, StartingATrackSetsTheSliderToZeroAndItsMaximumToTheLength)
{
    start({track(0, 1.5), track(1, 0.6)}, 0);
    // While Idle the slider moves alone.
    form->TrackPos->SetPosition(7);
    EXPECT_EQ(form->TrackPos->Position(), 7);
    EXPECT_EQ(form->MP3->DeviceID(), 0u);

    form->btnPlayClick(form->btnPlay);
    EXPECT_EQ(form->TrackPos->Position(), 0);
    EXPECT_EQ(form->TrackPos->Max(), 1500);
    EXPECT_LT(form->MP3->Position(), 500u);
    form->btnNextClick(form->btnNext);
    EXPECT_EQ(form->TrackPos->Max(), 600);
}

TEST_F(Transport, TheSliderPulledToItsEndMovesToTheNextEntryOnTheNextTick)
{
    start({track(0, 1.5), track(1, 1.5)}, 0);
    form->btnPlayClick(form->btnPlay);
    form->TrackTimerTimer(form->TrackTimer);
    EXPECT_EQ(form->CurrentIndex, 0) << "mid-track a tick changes nothing";

    form->TrackPos->setFocus();
    QTest::keyClick(form->TrackPos, Qt::Key_End);
    EXPECT_EQ(form->TrackPos->Position(), 1500);
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(form->CurrentIndex, 0);
    form->TrackTimerTimer(form->TrackTimer);
    expectPlaying(1);
    EXPECT_EQ(form->TrackPos->Position(), 0);
}

TEST_F(Transport, ASliderMoveWhilePlayingPlaysOnFromThere)
{
    start({track(0, 1.5)}, 0);
    form->btnPlayClick(form->btnPlay);
    form->TrackPos->SetPosition(1000);
    EXPECT_GE(form->MP3->Position(), 1000u);
    expectPlaying(0);
}

TEST_F(Transport, AOneEntryPlaylistRepeatsItsTrack)
{
    start({track(0, 0.4)}, 0);
    form->btnPlayClick(form->btnPlay);
    const MCIDEVICEID first = form->MP3->DeviceID();
    ASSERT_TRUE(waitForEnd());
    form->TrackTimerTimer(form->TrackTimer);
    EXPECT_NE(form->MP3->DeviceID(), first);
    expectPlaying(0);
    EXPECT_LT(form->MP3->Position(), 400u);

    ASSERT_TRUE(waitForEnd());
    form->btnNextClick(form->btnNext);
    expectPlaying(0);
    form->btnPrevClick(form->btnPrev);
    expectPlaying(0);
}

TEST_F(Transport, TheRealTimerMovesThroughThePlaylistAndWraps)
{
    start({track(0, 0.3), track(1, 0.3), track(2, 0.3)}, 1);
    form->btnPlayClick(form->btnPlay);
    ASSERT_TRUE(waitUntil([this] { return form->CurrentIndex == 2; }));
    ASSERT_TRUE(waitUntil([this] { return form->CurrentIndex == 0; }));
    expectPlaying(0);
    EXPECT_EQ(form->IsPlaying, 1) << "wrapping never stops the playlist";
}

}  // namespace
