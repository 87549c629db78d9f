// The stand-in mixer replaces the real calls at link time, reports what it
// is told, fails exactly the call it is told to fail, and refuses bad
// records as the real mixer does.
#include "BadRecordCases.h"
#include "FakeMixer.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

using FakeMixer::Call;

// The player's whole conversation with the mixer, each answer kept.
struct Conversation {
    UINT devices = 0;
    std::map<Call, MMRESULT> results;
    MIXERCONTROLA control{};
    DWORD volume = 0;

    explicit Conversation(DWORD written)
    {
        devices = mixerGetNumDevs();
        HMIXER mixer = nullptr;
        results[Call::Open] = mixerOpen(&mixer, 0, 0x1234, 0, CALLBACK_WINDOW);
        MIXERCAPSA caps{};
        results[Call::GetDevCaps] = mixerGetDevCapsA(mixer, &caps, sizeof caps);
        MIXERLINEA line;
        results[Call::GetLineInfo] = speakersLine(mixer, line);
        results[Call::GetLineControls] = volumeControl(mixer, line.dwLineID, control);
        results[Call::GetControlDetails] = readVolume(mixer, control.dwControlID, volume);
        results[Call::SetControlDetails] = writeVolume(mixer, control.dwControlID, written);
        mixerClose(mixer);
    }
};

TEST(FakeMixer, IsLinkedInsteadOfTheRealMixerAndReportsItsSetup)
{
    FakeMixer::reset({.minimum = 10, .maximum = 1000, .volume = 500});
    const Conversation talk(700);
    EXPECT_EQ(talk.devices, 1u);
    for (const auto& [call, result] : talk.results)
        EXPECT_EQ(result, MMSYSERR_NOERROR) << "call " << int(call);
    EXPECT_EQ(talk.control.Bounds.dwMinimum, 10u) << "the real mixer answered";
    EXPECT_EQ(talk.control.Bounds.dwMaximum, 1000u);
    EXPECT_NE(talk.control.dwControlID, 0u);
    EXPECT_EQ(talk.volume, 500u);
    EXPECT_EQ(FakeMixer::volume(), 700u);
    EXPECT_EQ(FakeMixer::writes(), std::vector<DWORD>{700});

    ASSERT_EQ(FakeMixer::opens().size(), 1u);
    EXPECT_EQ(FakeMixer::opens()[0].device, 0u);
    EXPECT_EQ(FakeMixer::opens()[0].callback, 0x1234u);
    EXPECT_EQ(FakeMixer::opens()[0].flags, CALLBACK_WINDOW);
    for (Call call : {Call::GetNumDevs, Call::Open, Call::GetDevCaps, Call::GetLineInfo, Call::GetLineControls,
                      Call::GetControlDetails, Call::SetControlDetails})
        EXPECT_EQ(FakeMixer::calls(call), 1) << "call " << int(call);
}

TEST(FakeMixer, WritesAreClampedIntoTheBoundsAndAllRecorded)
{
    FakeMixer::reset({.minimum = 100, .maximum = 200, .volume = 150});
    HMIXER mixer = nullptr;
    ASSERT_EQ(mixerOpen(&mixer, 0, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
    const DWORD id = speakersVolumeControl(mixer).dwControlID;
    ASSERT_EQ(writeVolume(mixer, id, 5), MMSYSERR_NOERROR);
    EXPECT_EQ(FakeMixer::volume(), 100u);
    ASSERT_EQ(writeVolume(mixer, id, 999), MMSYSERR_NOERROR);
    EXPECT_EQ(FakeMixer::volume(), 200u);
    DWORD read = 0;
    ASSERT_EQ(readVolume(mixer, id, read), MMSYSERR_NOERROR);
    EXPECT_EQ(read, 200u);
    EXPECT_EQ(FakeMixer::writes(), (std::vector<DWORD>{5, 999}));

    FakeMixer::reset();
    EXPECT_EQ(speakersVolumeControl(mixer).dwControlID, 0u) << "reset keeps an old handle";
    EXPECT_TRUE(FakeMixer::writes().empty());
}

TEST(FakeMixer, FailsExactlyTheCallItIsToldTo)
{
    struct Row {
        Call failing;
        // Answers other than MMSYSERR_NOERROR: the failing call's, and those
        // of the later calls that depend on what it should have given.
        std::map<Call, MMRESULT> answers;
        DWORD volumeAfter;
    };
    const Row rows[] = {
        {Call::Open,
         {{Call::Open, MMSYSERR_ERROR},
          {Call::GetDevCaps, MMSYSERR_INVALHANDLE},
          {Call::GetLineInfo, MMSYSERR_INVALHANDLE},
          {Call::GetLineControls, MMSYSERR_INVALHANDLE},
          {Call::GetControlDetails, MMSYSERR_INVALHANDLE},
          {Call::SetControlDetails, MMSYSERR_INVALHANDLE}},
         300},
        {Call::GetDevCaps, {{Call::GetDevCaps, MMSYSERR_ERROR}}, 600},
        {Call::GetLineInfo,
         {{Call::GetLineInfo, MIXERR_INVALLINE},
          {Call::GetLineControls, MIXERR_INVALLINE},
          {Call::GetControlDetails, MIXERR_INVALCONTROL},
          {Call::SetControlDetails, MIXERR_INVALCONTROL}},
         300},
        {Call::GetLineControls,
         {{Call::GetLineControls, MIXERR_INVALCONTROL},
          {Call::GetControlDetails, MIXERR_INVALCONTROL},
          {Call::SetControlDetails, MIXERR_INVALCONTROL}},
         300},
        {Call::GetControlDetails, {{Call::GetControlDetails, MMSYSERR_ERROR}}, 600},
        {Call::SetControlDetails, {{Call::SetControlDetails, MMSYSERR_ERROR}}, 300},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("failing call " + std::to_string(int(row.failing)));
        FakeMixer::reset({.failing = {row.failing}, .minimum = 0, .maximum = 1000, .volume = 300});
        const Conversation talk(600);
        EXPECT_EQ(talk.devices, 1u);
        for (const auto& [call, result] : talk.results) {
            const auto answer = row.answers.find(call);
            EXPECT_EQ(result, answer == row.answers.end() ? MMSYSERR_NOERROR : answer->second) << "call " << int(call);
        }
        EXPECT_EQ(FakeMixer::volume(), row.volumeAfter);
    }

    FakeMixer::reset({.failing = {Call::SetControlDetails}, .volume = 300});
    HMIXER mixer = nullptr;
    ASSERT_EQ(mixerOpen(&mixer, 0, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
    const DWORD id = speakersVolumeControl(mixer).dwControlID;
    EXPECT_EQ(writeVolume(mixer, id, 400), MMSYSERR_ERROR);
    EXPECT_EQ(FakeMixer::writes(), std::vector<DWORD>{400}) << "a failed write is still seen as attempted";
    DWORD read = 0;
    EXPECT_EQ(readVolume(mixer, id, read), MMSYSERR_NOERROR);
    EXPECT_EQ(read, 300u);
}

TEST(FakeMixer, WithoutADeviceNothingOpens)
{
    FakeMixer::reset({.failing = {Call::GetNumDevs}});
    EXPECT_EQ(mixerGetNumDevs(), 0u);
    HMIXER mixer = bad_records::kMadeUpHandle;
    EXPECT_EQ(mixerOpen(&mixer, 0, 0, 0, CALLBACK_NULL), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(mixer, nullptr);
    MIXERCAPSA caps{};
    EXPECT_EQ(mixerGetDevCapsA(UINT_PTR{0}, &caps, sizeof caps), MMSYSERR_BADDEVICEID);
}

TEST(FakeMixer, RefusesBadRecordsAsTheRealMixerDoes)
{
    FakeMixer::reset();
    bad_records::expectOpenRefusals();
    HMIXER mixer = nullptr;
    ASSERT_EQ(mixerOpen(&mixer, 0, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
    MIXERLINEA line;
    ASSERT_EQ(speakersLine(mixer, line), MMSYSERR_NOERROR);
    const DWORD id = speakersVolumeControl(mixer).dwControlID;
    bad_records::expectCapsRefusals(mixer);
    bad_records::expectLineRefusals(mixer);
    bad_records::expectControlRefusals(mixer, line.dwLineID, id);
    bad_records::expectVolumeRefusals(mixer, id);
    EXPECT_TRUE(FakeMixer::writes().empty()) << "a refused write was recorded";
}

} // namespace
