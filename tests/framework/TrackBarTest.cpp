// The track bar's range and change-event rules, with real key and mouse
// input: every movement report from the user fires OnChange, even one that
// leaves the value; the program's own changes fire only when the value
// moves.
#include "framework/TrackBar.h"

#include <QTest>
#include <gtest/gtest.h>
#include <vector>

namespace {

class TrackBar : public ::testing::Test {
protected:
    TrackBar()
    {
        track.setGeometry(0, 0, 220, 30);
        QObject::connect(&track, &TTrackBar::OnChange, [this] { reported.push_back(track.Position()); });
    }

    TTrackBar track;
    std::vector<int> reported;  // the position each OnChange saw
};

}  // namespace

TEST_F(TrackBar, StartsAtZeroOfZeroToTenWithUnitAndPageSteps)
{
    EXPECT_EQ(track.Min(), 0);
    EXPECT_EQ(track.Max(), 10);
    EXPECT_EQ(track.Position(), 0);
    EXPECT_EQ(track.singleStep(), 1);
    EXPECT_EQ(track.pageStep(), 2);
    EXPECT_EQ(track.tickPosition(), QSlider::TicksBelow);
    EXPECT_EQ(track.orientation(), Qt::Horizontal);
}

TEST_F(TrackBar, ClampsPositionsAndIgnoresInvertedBounds)
{
    track.SetPosition(25);
    EXPECT_EQ(track.Position(), 10);
    track.SetPosition(-4);
    EXPECT_EQ(track.Position(), 0);
    track.SetMax(-1);
    EXPECT_EQ(track.Max(), 10);
    track.SetMin(11);
    EXPECT_EQ(track.Min(), 0);
    track.SetMax(0);
    EXPECT_EQ(track.Max(), 0);
    track.SetMin(0);
    track.SetMax(1000);
    track.SetMin(100);
    EXPECT_EQ(track.Min(), 100);
    EXPECT_EQ(track.Position(), 100);
}

TEST_F(TrackBar, TheProgramsChangesFireOnlyWhenThePositionMoves)
{
    track.SetPosition(0);
    EXPECT_TRUE(reported.empty());
    track.SetPosition(4);
    track.SetPosition(4);
    track.SetPosition(99);
    EXPECT_EQ(reported, (std::vector<int>{4, 10}));
    reported.clear();
    // A new maximum that keeps the position fires nothing; one that clamps
    // it moves the position and fires.
    track.SetMax(500);
    track.SetMax(12);
    EXPECT_TRUE(reported.empty());
    track.SetMax(6);
    EXPECT_EQ(reported, (std::vector<int>{6}));
    track.SetMax(3);
    track.SetMin(5);
    EXPECT_EQ(reported, (std::vector<int>{6, 3}));
}

TEST_F(TrackBar, EveryArrowAndPageKeyIsReportedEvenAtTheEnd)
{
    track.show();
    QTest::keyClick(&track, Qt::Key_Right);
    QTest::keyClick(&track, Qt::Key_PageUp);
    EXPECT_EQ(reported, (std::vector<int>{1, 3}));
    track.SetPosition(10);
    reported.clear();
    QTest::keyClick(&track, Qt::Key_Right);
    QTest::keyClick(&track, Qt::Key_Right);
    EXPECT_EQ(reported, (std::vector<int>{10, 10}));
    EXPECT_EQ(track.Position(), 10);
}

TEST_F(TrackBar, EachDragStepAndTheEndOfTheDragAreReported)
{
    track.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&track));
    const QPoint handle(6, track.height() / 2);
    QTest::mousePress(&track, Qt::LeftButton, {}, handle);
    for (int x = 30; x <= 110; x += 40)
        QTest::mouseMove(&track, QPoint(x, track.height() / 2));
    const int atRelease = track.Position();
    QTest::mouseRelease(&track, Qt::LeftButton, {}, QPoint(110, track.height() / 2));

    ASSERT_GE(reported.size(), 3u);
    EXPECT_GT(atRelease, 0);
    // The release reports the final, unchanged value once more.
    EXPECT_EQ(reported.back(), atRelease);
    EXPECT_EQ(reported[reported.size() - 2], atRelease);
    EXPECT_TRUE(std::is_sorted(reported.begin(), reported.end()));
}
