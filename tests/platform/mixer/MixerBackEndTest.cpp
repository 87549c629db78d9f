// The mixer calls over the device of the back end chosen by name: the fake
// device of the test support, chosen with its guard, is asked each part the
// calls need, each part it lacks or fails gets the call's own answer, and
// the choice made before comes back with the guard.
#include "tests/support/MixerRequests.h"
#include "tests/support/ScopedBackends.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

using Call = FakeMixer::Call;

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

TEST(MixerBackEnd, TheGuardChoosesTheFakeDeviceByNameAndTheChoiceBeforeComesBack)
{
    FakeMixer mixer({.minimum = 10, .maximum = 1000, .volume = 500});
    {
        ScopedMixerDevice fake(mixer);
        const Conversation talk(700);
        EXPECT_EQ(talk.devices, 1u);
        for (const auto& [call, result] : talk.results)
            EXPECT_EQ(result, MMSYSERR_NOERROR) << "call " << int(call);
        EXPECT_EQ(talk.control.Bounds.dwMinimum, 10u) << "another device answered";
        EXPECT_EQ(talk.control.Bounds.dwMaximum, 1000u);
        EXPECT_EQ(talk.volume, 500u);
        EXPECT_EQ(mixer.volume(), 700u);
        EXPECT_EQ(mixer.writes(), std::vector<DWORD>{700});
        ASSERT_EQ(mixer.opens().size(), 1u);
        EXPECT_EQ(mixer.opens()[0].device, 0u);
        EXPECT_EQ(mixer.opens()[0].callback, 0x1234u);
        EXPECT_EQ(mixer.opens()[0].flags, CALLBACK_WINDOW);
        for (Call call : {Call::GetNumDevs, Call::Open, Call::GetDevCaps, Call::GetLineInfo, Call::GetLineControls,
                          Call::GetControlDetails, Call::SetControlDetails})
            EXPECT_EQ(mixer.calls(call), 1) << "call " << int(call);
    }
    // Whatever ALSA answers here, the fake is asked nothing more.
    mixerGetNumDevs();
    HMIXER other = nullptr;
    if (mixerOpen(&other, 0, 0, 0, CALLBACK_NULL) == MMSYSERR_NOERROR)
        mixerClose(other);
    EXPECT_EQ(mixer.calls(Call::GetNumDevs), 1);
    EXPECT_EQ(mixer.calls(Call::Open), 1);
    EXPECT_EQ(mixerDevices().chosen(), "pulse,alsa") << "the guard gave the choice back";
}

TEST(MixerBackEnd, EachPartTheDeviceLacksOrFailsGetsTheCallsOwnAnswer)
{
    struct Row {
        Call failing;
        UINT devices;
        // Answers other than MMSYSERR_NOERROR: the failing call's, and those
        // of the later calls that depend on what it should have given.
        std::map<Call, MMRESULT> answers;
        DWORD volumeAfter;
    };
    const std::map<Call, MMRESULT> noHandle = {{Call::GetDevCaps, MMSYSERR_INVALHANDLE},
                                               {Call::GetLineInfo, MMSYSERR_INVALHANDLE},
                                               {Call::GetLineControls, MMSYSERR_INVALHANDLE},
                                               {Call::GetControlDetails, MMSYSERR_INVALHANDLE},
                                               {Call::SetControlDetails, MMSYSERR_INVALHANDLE}};
    const auto withOpen = [&](MMRESULT open) {
        auto answers = noHandle;
        answers[Call::Open] = open;
        return answers;
    };
    const Row rows[] = {
        {Call::GetNumDevs, 0, withOpen(MMSYSERR_BADDEVICEID), 300},
        {Call::Open, 1, withOpen(MMSYSERR_BADDEVICEID), 300},
        {Call::GetDevCaps, 1, {{Call::GetDevCaps, MMSYSERR_ERROR}}, 600},
        {Call::GetLineInfo,
         1,
         {{Call::GetLineInfo, MIXERR_INVALLINE},
          {Call::GetLineControls, MIXERR_INVALLINE},
          {Call::GetControlDetails, MIXERR_INVALCONTROL},
          {Call::SetControlDetails, MIXERR_INVALCONTROL}},
         300},
        {Call::GetLineControls,
         1,
         {{Call::GetLineControls, MIXERR_INVALCONTROL},
          {Call::GetControlDetails, MIXERR_INVALCONTROL},
          {Call::SetControlDetails, MIXERR_INVALCONTROL}},
         300},
        {Call::GetControlDetails, 1, {{Call::GetControlDetails, MMSYSERR_ERROR}}, 600},
        {Call::SetControlDetails, 1, {{Call::SetControlDetails, MMSYSERR_ERROR}}, 300},
    };
    FakeMixer mixer;
    ScopedMixerDevice fake(mixer);
    for (const Row& row : rows) {
        SCOPED_TRACE("failing call " + std::to_string(int(row.failing)));
        mixer.reset({.failing = {row.failing}, .minimum = 0, .maximum = 1000, .volume = 300});
        const Conversation talk(600);
        EXPECT_EQ(talk.devices, row.devices);
        for (const auto& [call, result] : talk.results) {
            const auto answer = row.answers.find(call);
            EXPECT_EQ(result, answer == row.answers.end() ? MMSYSERR_NOERROR : answer->second) << "call " << int(call);
        }
        EXPECT_EQ(mixer.volume(), row.volumeAfter);
    }
    mixer.reset({.failing = {Call::GetNumDevs}});
    MIXERCAPSA caps{};
    EXPECT_EQ(mixerGetDevCapsA(UINT_PTR{0}, &caps, sizeof caps), MMSYSERR_BADDEVICEID) << "by identifier, without a device";
}

} // namespace
