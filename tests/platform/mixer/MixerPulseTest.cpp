// The sound server's own volume, chosen by name, against a private
// PulseAudio daemon with pactl as the witness: what the device tells, reads
// that see another program's change at once, writes to every channel, and a
// frozen, killed or restarted server answered without hanging.
#include "platform/mixer/MixerDeviceFactory.h"
#include "tests/support/MixerRequests.h"
#include "tests/support/PulseDaemon.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/ScopedBackends.h"
#include "tests/support/SinkVolume.h"

#include <cstring>
#include <gtest/gtest.h>
#include <vector>

TEST(MixerPulse, TheDefaultSinksVolumeBothWaysAndNoHangWhenTheServerFreezesOrGoes)
{
    PulseDaemon daemon("kolvi_mixer_pulse");
    ASSERT_TRUE(daemon.start());
    const ScopedEnvironment toDaemon("PULSE_SERVER", daemon.server());
    const ScopedBackEnd pulse(mixerDevices(), "pulse");
    const auto sink = [&]() { return sinkVolumes(daemon.server(), daemon.sinkName()); };
    ASSERT_TRUE(setSinkVolumes(daemon.server(), daemon.sinkName(), {30000, 20000}));

    ASSERT_EQ(mixerGetNumDevs(), 1u);
    HMIXER mixer = nullptr;
    ASSERT_EQ(mixerOpen(&mixer, 0, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
    MIXERCAPSA caps{};
    ASSERT_EQ(mixerGetDevCapsA(mixer, &caps, sizeof caps), MMSYSERR_NOERROR);
    EXPECT_STREQ(caps.szPname, "PulseAudio");
    MIXERLINEA line{};
    ASSERT_EQ(speakersLine(mixer, line), MMSYSERR_NOERROR);
    EXPECT_EQ(line.cChannels, 2u);
    const MIXERCONTROLA control = speakersVolumeControl(mixer);
    EXPECT_EQ(control.Bounds.dwMinimum, 0u);
    EXPECT_EQ(control.Bounds.dwMaximum, 65536u);
    const DWORD id = control.dwControlID;

    DWORD value = 0;
    ASSERT_EQ(readVolume(mixer, id, value), MMSYSERR_NOERROR);
    EXPECT_EQ(value, 30000u) << "the loudest channel";
    struct Write {
        DWORD written;
        long expected;
    };
    for (const Write& w : {Write{12345, 12345}, Write{65536, 65536}, Write{0, 0}, Write{90000, 65536}}) {
        EXPECT_EQ(writeVolume(mixer, id, w.written), MMSYSERR_NOERROR);
        EXPECT_EQ(sink(), (std::vector<long>{w.expected, w.expected})) << w.written;
    }
    ASSERT_TRUE(setSinkVolumes(daemon.server(), daemon.sinkName(), {40000}));
    ASSERT_EQ(readVolume(mixer, id, value), MMSYSERR_NOERROR);
    EXPECT_EQ(value, 40000u) << "another program's change, seen by the next read";

    daemon.freeze();
    EXPECT_EQ(readVolume(mixer, id, value), MMSYSERR_ERROR) << "a frozen server is not waited for";
    EXPECT_EQ(writeVolume(mixer, id, 1000), MMSYSERR_ERROR);
    daemon.thaw();
    daemon.kill();
    EXPECT_EQ(readVolume(mixer, id, value), MMSYSERR_ERROR);
    ASSERT_TRUE(daemon.start());
    EXPECT_EQ(writeVolume(mixer, id, 25000), MMSYSERR_NOERROR) << "the restarted server";
    EXPECT_EQ(sink(), (std::vector<long>{25000, 25000}));
    EXPECT_EQ(mixerClose(mixer), MMSYSERR_NOERROR);
}
