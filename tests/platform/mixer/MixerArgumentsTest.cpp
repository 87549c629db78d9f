// The real mixer refuses records, flags and handles a caller got wrong.
#include "tests/platform/mixer/BadRecordCases.h"

#include <gtest/gtest.h>

namespace {

class MixerArguments : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(mixerOpen(&mixer, 0, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR)
            << "no mixer: run under scripts/with-test-env.sh";
        control = speakersVolumeControl(mixer);
        ASSERT_NE(control.dwControlID, 0u);
    }
    void TearDown() override
    {
        if (mixer != nullptr)
            mixerClose(mixer);
    }

    HMIXER mixer = nullptr;
    MIXERCONTROLA control{};
};

TEST_F(MixerArguments, OpenAndCloseRefuseBadPointersFlagsDevicesAndHandles) { bad_records::expectOpenRefusals(); }

TEST_F(MixerArguments, CapsRefuseBadSizesDevicesAndHandles) { bad_records::expectCapsRefusals(mixer); }

TEST_F(MixerArguments, LineInfoRefusesBadRecordsFlagsHandlesAndLines) { bad_records::expectLineRefusals(mixer); }

TEST_F(MixerArguments, LineControlsRefuseBadRecordsFlagsHandlesLinesAndControls)
{
    MIXERLINEA line;
    ASSERT_EQ(speakersLine(mixer, line), MMSYSERR_NOERROR);
    bad_records::expectControlRefusals(mixer, line.dwLineID, control.dwControlID);
}

TEST_F(MixerArguments, VolumeReadsAndWritesRefuseBadRecordsFlagsHandlesAndControls)
{
    bad_records::expectVolumeRefusals(mixer, control.dwControlID);
}

} // namespace
