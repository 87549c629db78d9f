// Every way the mixer can be missing or fail, through the fake mixer device
// behind the real mixer calls: what the slider shows after start-up, what a
// move during playback sends, and that no message is ever shown.
#include "tests/support/ModalAnswerer.h"
#include "tests/support/windows/PlayerFixture.h"
#include "tests/support/ScopedBackends.h"

namespace {

using Call = FakeMixer::Call;

class MixerFailure : public PlayerFixture {
protected:
    // Builds the window on the fake mixer set up so, and starts a track.
    void startWith(const FakeMixer::Setup& setup)
    {
        mixer.reset(setup);
        start({track(0, 1.5)}, 0);
    }
    void playAndMoveTo(int position)
    {
        form->btnPlayClick(form->btnPlay);
        ASSERT_EQ(form->IsPlaying, 1);
        form->TrackVol->SetPosition(position);
    }
    void expectSlider(int min, int max, int position)
    {
        EXPECT_EQ(form->TrackVol->Min(), min);
        EXPECT_EQ(form->TrackVol->Max(), max);
        EXPECT_EQ(form->TrackVol->Position(), position);
    }

    FakeMixer mixer;
    ScopedMixerDevice fakeMixer{mixer};
    BoxAnswerer stray;
};

TEST_F(MixerFailure, AWorkingControlGivesItsRangeAndValueAndEveryMoveDuringPlayback)
{
    startWith({.minimum = 0, .maximum = 65535, .volume = 32768});
    expectSlider(0, 65535, 32768);
    EXPECT_EQ(mixer.writes(), std::vector<DWORD>{}) << "the start-up change is not sent back";
    ASSERT_EQ(mixer.opens().size(), 1u);
    EXPECT_EQ(mixer.opens()[0].device, 0u);
    EXPECT_EQ(mixer.opens()[0].callback, reinterpret_cast<DWORD_PTR>(form->Handle()));
    EXPECT_EQ(mixer.opens()[0].flags, CALLBACK_WINDOW);
    EXPECT_EQ(mixer.calls(Call::GetControlDetails), 1) << "the volume is read once";

    form->TrackVol->SetPosition(1000);
    EXPECT_EQ(mixer.writes(), std::vector<DWORD>{}) << "Idle";
    playAndMoveTo(2000);
    form->TrackVol->SetPosition(2500);
    EXPECT_EQ(mixer.writes(), (std::vector<DWORD>{2000, 2500}));
    EXPECT_EQ(mixer.volume(), 2500u);
    EXPECT_EQ(stray.texts(), std::vector<QString>{});
}

TEST_F(MixerFailure, NoDeviceLeavesASliderThatCannotMove)
{
    startWith({.failing = {Call::GetNumDevs}});
    EXPECT_EQ(form->MixerDeviceCount, 0u);
    EXPECT_EQ(form->MixerHandle, nullptr);
    EXPECT_EQ(mixer.calls(Call::Open), 0);
    expectSlider(0, 0, 0);
    playAndMoveTo(500);
    EXPECT_EQ(form->TrackVol->Position(), 0);
    EXPECT_EQ(mixer.writes(), std::vector<DWORD>{});
    EXPECT_EQ(stray.texts(), std::vector<QString>{});
}

TEST_F(MixerFailure, ADeviceThatWillNotOpenOrDescribeItselfCountsAsNone)
{
    for (Call failing : {Call::Open, Call::GetDevCaps}) {
        SCOPED_TRACE(static_cast<int>(failing));
        startWith({.failing = {failing}});
        EXPECT_EQ(form->MixerHandle, nullptr);
        EXPECT_EQ(mixer.calls(Call::GetLineInfo), 0);
        expectSlider(0, 1000, 0);
        playAndMoveTo(500);
        EXPECT_EQ(form->TrackVol->Position(), 500);
        EXPECT_EQ(mixer.writes(), std::vector<DWORD>{}) << "nothing is written to control 0";
    }
    EXPECT_EQ(stray.texts(), std::vector<QString>{});
}

TEST_F(MixerFailure, NoSpeakersLineOrVolumeControlLeavesASliderThatCannotMove)
{
    for (Call failing : {Call::GetLineInfo, Call::GetLineControls}) {
        SCOPED_TRACE(static_cast<int>(failing));
        startWith({.failing = {failing}});
        EXPECT_NE(form->MixerHandle, nullptr);
        EXPECT_EQ(form->VolumeControlID, 0u);
        expectSlider(0, 0, 0);
        playAndMoveTo(500);
        EXPECT_EQ(mixer.writes(), std::vector<DWORD>{});
    }
    EXPECT_EQ(stray.texts(), std::vector<QString>{});
}

TEST_F(MixerFailure, AnUnreadableVolumeLeavesTheSliderAtTheMinimumAndMovesAreStillSent)
{
    startWith({.failing = {Call::GetControlDetails}, .minimum = 100, .maximum = 65535, .volume = 30000});
    expectSlider(100, 65535, 100);
    playAndMoveTo(2000);
    EXPECT_EQ(mixer.writes(), std::vector<DWORD>{2000});
    EXPECT_EQ(mixer.volume(), 2000u);
    EXPECT_EQ(stray.texts(), std::vector<QString>{});
}

TEST_F(MixerFailure, AFailedWriteIsIgnoredAndTheSliderKeepsItsPlace)
{
    startWith({.failing = {Call::SetControlDetails}, .minimum = 0, .maximum = 65535, .volume = 30000});
    expectSlider(0, 65535, 30000);
    playAndMoveTo(2000);
    EXPECT_EQ(mixer.writes(), std::vector<DWORD>{2000});
    EXPECT_EQ(mixer.volume(), 30000u);
    EXPECT_EQ(form->TrackVol->Position(), 2000);
    EXPECT_EQ(form->IsPlaying, 1);
    EXPECT_EQ(stray.texts(), std::vector<QString>{});
}

}  // namespace
