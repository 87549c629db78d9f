// The real mixer over ALSA's "default" device, which the test environment
// routes to its PulseAudio null sink; pactl is the independent witness.
#include "tests/support/MixerRequests.h"
#include "tests/support/SinkVolume.h"

#include <QObject>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr long FullVolume = 65536;

class DefaultMixer : public ::testing::Test {
protected:
    void SetUp() override
    {
        server = sharedPulseServer();
        sink = sharedSinkName();
        ASSERT_FALSE(server.empty() || sink.empty()) << "run under scripts/with-test-env.sh";
        ASSERT_TRUE(setSinkVolumes(server, sink, {FullVolume}));
        ASSERT_EQ(mixerOpen(&mixer, 0, reinterpret_cast<DWORD_PTR>(&window), 0, CALLBACK_WINDOW), MMSYSERR_NOERROR);
        ASSERT_NE(mixer, nullptr);
    }
    void TearDown() override
    {
        if (mixer != nullptr) {
            EXPECT_EQ(mixerClose(mixer), MMSYSERR_NOERROR);
        }
        setSinkVolumes(server, sink, {FullVolume});
    }

    std::vector<long> sinkNow() const { return sinkVolumes(server, sink); }

    DWORD controlID()
    {
        const MIXERCONTROLA control = speakersVolumeControl(mixer);
        EXPECT_NE(control.dwControlID, 0u) << "no speakers volume control";
        return control.dwControlID;
    }

    DWORD readNow(DWORD id)
    {
        DWORD value = 0xFFFFFFFF;
        EXPECT_EQ(readVolume(mixer, id, value), MMSYSERR_NOERROR);
        return value;
    }

    std::string server;
    std::string sink;
    QObject window;
    HMIXER mixer = nullptr;
};

TEST_F(DefaultMixer, IsTheOneDeviceWithTheSoundServersName)
{
    EXPECT_EQ(mixerGetNumDevs(), 1u);

    for (bool byHandle : {false, true}) {
        MIXERCAPSA caps;
        std::memset(&caps, 0xA5, sizeof caps);
        const MMRESULT result = byHandle ? mixerGetDevCapsA(mixer, &caps, sizeof caps)
                                         : mixerGetDevCapsA(UINT_PTR{0}, &caps, sizeof caps);
        ASSERT_EQ(result, MMSYSERR_NOERROR) << (byHandle ? "by handle" : "by device");
        EXPECT_STREQ(caps.szPname, "PulseAudio");
        EXPECT_EQ(caps.cDestinations, 1u);
        EXPECT_EQ(caps.fdwSupport, 0u);
        EXPECT_NE(caps.vDriverVersion, 0u);
    }

    HMIXER second = nullptr;
    ASSERT_EQ(mixerOpen(&second, 0, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
    EXPECT_NE(second, mixer) << "each open is a handle of its own";
    EXPECT_EQ(mixerClose(second), MMSYSERR_NOERROR);
    MIXERLINEA line;
    EXPECT_EQ(speakersLine(mixer, line), MMSYSERR_NOERROR) << "closing one handle closed another";
}

TEST_F(DefaultMixer, SpeakersLineIsTheMasterElementWithTheSinksChannels)
{
    MIXERLINEA line;
    ASSERT_EQ(speakersLine(mixer, line), MMSYSERR_NOERROR);
    EXPECT_EQ(line.cbStruct, sizeof(MIXERLINEA));
    EXPECT_EQ(line.dwComponentType, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS);
    EXPECT_EQ(line.dwDestination, 0u);
    EXPECT_NE(line.fdwLine & MIXERLINE_LINEF_ACTIVE, 0u);
    EXPECT_EQ(line.cChannels, sinkNow().size());
    EXPECT_EQ(line.cControls, 1u);
    EXPECT_EQ(line.cConnections, 0u);
    EXPECT_STREQ(line.szName, "Master");
    EXPECT_STREQ(line.Target.szPname, "PulseAudio");

    MIXERLINEA byID{};
    byID.cbStruct = sizeof byID;
    byID.dwLineID = line.dwLineID;
    ASSERT_EQ(mixerGetLineInfoA(mixer, &byID, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_LINEID), MMSYSERR_NOERROR);
    EXPECT_EQ(std::memcmp(&byID, &line, sizeof line), 0);

    MIXERLINEA byDestination{};
    byDestination.cbStruct = sizeof byDestination;
    byDestination.dwDestination = 0;
    ASSERT_EQ(mixerGetLineInfoA(mixer, &byDestination, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_DESTINATION),
              MMSYSERR_NOERROR);
    EXPECT_EQ(std::memcmp(&byDestination, &line, sizeof line), 0);
}

TEST_F(DefaultMixer, VolumeControlHasTheSoundServersRangeAndAFixedIdentifier)
{
    MIXERLINEA line;
    ASSERT_EQ(speakersLine(mixer, line), MMSYSERR_NOERROR);
    MIXERCONTROLA byType{};
    ASSERT_EQ(volumeControl(mixer, line.dwLineID, byType), MMSYSERR_NOERROR);
    EXPECT_EQ(byType.cbStruct, sizeof(MIXERCONTROLA));
    EXPECT_EQ(byType.dwControlType, MIXERCONTROL_CONTROLTYPE_VOLUME);
    EXPECT_NE(byType.fdwControl & MIXERCONTROL_CONTROLF_UNIFORM, 0u);
    EXPECT_EQ(byType.Bounds.dwMinimum, 0u);
    EXPECT_EQ(byType.Bounds.dwMaximum, 65536u);
    EXPECT_NE(byType.dwControlID, 0u);

    MIXERCONTROLA byID{};
    MIXERLINECONTROLSA controls{};
    controls.cbStruct = sizeof controls;
    controls.dwControlID = byType.dwControlID;
    controls.cControls = 1;
    controls.cbmxctrl = sizeof(MIXERCONTROLA);
    controls.pamxctrl = &byID;
    ASSERT_EQ(mixerGetLineControlsA(mixer, &controls, MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYID),
              MMSYSERR_NOERROR);
    EXPECT_EQ(controls.dwLineID, line.dwLineID);
    EXPECT_EQ(std::memcmp(&byID, &byType, sizeof byID), 0);

    MIXERCONTROLA all{};
    controls = MIXERLINECONTROLSA{};
    controls.cbStruct = sizeof controls;
    controls.dwLineID = line.dwLineID;
    controls.cControls = 1;
    controls.cbmxctrl = sizeof(MIXERCONTROLA);
    controls.pamxctrl = &all;
    ASSERT_EQ(mixerGetLineControlsA(mixer, &controls, MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ALL),
              MMSYSERR_NOERROR);
    EXPECT_EQ(std::memcmp(&all, &byType, sizeof all), 0);

    HMIXER other = nullptr;
    ASSERT_EQ(mixerOpen(&other, 0, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
    EXPECT_EQ(speakersVolumeControl(other).dwControlID, byType.dwControlID) << "the identifier is fixed";
    mixerClose(other);
}

TEST_F(DefaultMixer, ReadingReportsTheSinkVolumeOfItsLoudestChannel)
{
    const DWORD id = controlID();
    EXPECT_EQ(readNow(id), DWORD{FullVolume});

    ASSERT_TRUE(setSinkVolumes(server, sink, {23456}));
    EXPECT_EQ(readNow(id), 23456u);

    ASSERT_TRUE(setSinkVolumes(server, sink, {20000, 30000}));
    EXPECT_EQ(readNow(id), 30000u);
    ASSERT_TRUE(setSinkVolumes(server, sink, {31000, 1000}));
    EXPECT_EQ(readNow(id), 31000u);
    EXPECT_EQ(sinkNow(), (std::vector<long>{31000, 1000})) << "reading changed the volume";
}

TEST_F(DefaultMixer, WritingSetsEveryChannelOfTheSinkClampedIntoTheRange)
{
    const DWORD id = controlID();
    ASSERT_TRUE(setSinkVolumes(server, sink, {10000, 50000}));
    ASSERT_EQ(writeVolume(mixer, id, 40000), MMSYSERR_NOERROR);
    EXPECT_EQ(sinkNow(), (std::vector<long>{40000, 40000}));

    ASSERT_EQ(writeVolume(mixer, id, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(sinkNow(), (std::vector<long>{0, 0}));

    ASSERT_EQ(writeVolume(mixer, id, 100000), MMSYSERR_NOERROR);
    EXPECT_EQ(sinkNow(), (std::vector<long>{FullVolume, FullVolume}));
    EXPECT_EQ(readNow(id), DWORD{FullVolume});

    ASSERT_EQ(writeVolume(mixer, id, 0xFFFFFFFF), MMSYSERR_NOERROR);
    EXPECT_EQ(sinkNow(), (std::vector<long>{FullVolume, FullVolume}));
}

TEST_F(DefaultMixer, AnotherProgramsChangeIsSeenByTheNextReadAndWrite)
{
    const DWORD id = controlID();
    // Alternate with another program, so that neither side's value can
    // stand in for the other's.
    for (long step = 1; step <= 5; ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        const long theirs = 1000 * step;
        ASSERT_TRUE(setSinkVolumes(server, sink, {theirs}));
        EXPECT_EQ(readNow(id), DWORD(theirs));
        const long ours = 40000 + 1000 * step;
        ASSERT_EQ(writeVolume(mixer, id, DWORD(ours)), MMSYSERR_NOERROR);
        EXPECT_EQ(sinkNow(), (std::vector<long>{ours, ours}));
        ASSERT_TRUE(setSinkVolumes(server, sink, {theirs + 500}));
        ASSERT_EQ(writeVolume(mixer, id, DWORD(ours)), MMSYSERR_NOERROR);
        EXPECT_EQ(sinkNow(), (std::vector<long>{ours, ours})) << "a write after another program's change was lost";
    }
}

} // namespace
