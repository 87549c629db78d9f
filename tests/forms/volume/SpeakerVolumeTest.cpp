// The volume slider against the real mixer, which the test environment
// routes to its PulseAudio null sink; pactl is the independent witness.
#include "tests/support/EventLoopWait.h"
#include "tests/support/windows/PlayerFixture.h"
#include "tests/support/SinkVolume.h"

#include <QTest>

namespace {

constexpr long FullVolume = 65536;

class SpeakerVolume : public PlayerFixture {
protected:
    void SetUp() override
    {
        PlayerFixture::SetUp();
        if (IsSkipped())
            return;
        server = sharedPulseServer();
        sink = sharedSinkName();
        ASSERT_FALSE(sink.empty());
        ASSERT_TRUE(setSinkVolumes(server, sink, {40000}));
    }
    void TearDown() override
    {
        PlayerFixture::TearDown();
        if (!sink.empty())
            setSinkVolumes(server, sink, {FullVolume});
    }

    std::vector<long> sinkNow() const { return sinkVolumes(server, sink); }
    static std::vector<long> both(long volume) { return {volume, volume}; }

    void press(Qt::Key key)
    {
        form->TrackVol->setFocus();
        QTest::keyClick(form->TrackVol, key);
    }

    std::string server;
    std::string sink;
};

TEST_F(SpeakerVolume, AtStartUpTheSliderTakesTheSinksRangeAndVolumeAndChangesNothing)
{
    start({track(0, 1.5)}, 0);
    EXPECT_NE(form->MixerHandle, nullptr);
    EXPECT_EQ(form->TrackVol->Min(), 0);
    EXPECT_EQ(form->TrackVol->Max(), FullVolume);
    EXPECT_EQ(form->TrackVol->Position(), 40000);
    EXPECT_EQ(sinkNow(), both(40000));
}

TEST_F(SpeakerVolume, MovesDuringPlaybackAndPauseSetTheSinkAndMovesWhileIdleDoNot)
{
    start({track(0, 1.5)}, 0);
    press(Qt::Key_Home);
    EXPECT_EQ(form->TrackVol->Position(), 0);
    EXPECT_EQ(sinkNow(), both(40000)) << "nothing has been started";

    form->btnPlayClick(form->btnPlay);
    press(Qt::Key_End);
    EXPECT_EQ(sinkNow(), both(FullVolume));
    form->TrackVol->SetPosition(20000);
    EXPECT_EQ(sinkNow(), both(20000));

    form->btnPauseClick(form->btnPause);
    ASSERT_EQ(form->MP3->Mode(), mdPaused);
    form->TrackVol->SetPosition(30000);
    EXPECT_EQ(sinkNow(), both(30000));

    form->btnStopClick(form->btnStop);
    form->TrackVol->SetPosition(50000);
    EXPECT_EQ(form->TrackVol->Position(), 50000);
    EXPECT_EQ(sinkNow(), both(30000));

    // The next move during playback sends where the slider then is.
    form->btnPlayClick(form->btnPlay);
    EXPECT_EQ(sinkNow(), both(30000));
    // A page is a fifth of the mixer's range.
    press(Qt::Key_PageUp);
    EXPECT_EQ(sinkNow(), both(50000 + 13107));
}

TEST_F(SpeakerVolume, AnotherProgramChangingTheVolumeLeavesTheSliderWhereItWas)
{
    start({track(0, 1.5)}, 0);
    form->btnPlayClick(form->btnPlay);
    ASSERT_TRUE(setSinkVolumes(server, sink, {12345}));
    ASSERT_EQ(sinkNow(), both(12345));
    pumpFor(std::chrono::milliseconds(300));
    EXPECT_EQ(form->TrackVol->Position(), 40000);
    EXPECT_EQ(sinkNow(), both(12345));
}

}  // namespace
