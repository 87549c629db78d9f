// The MCI layer playing real MP3 files through the sound server into the
// test sink, recorded from the sink's monitor.
#include "tests/support/mci/MciTesting.h"
#include "tests/support/MonitorRecorder.h"
#include "tests/support/mci/Mp3Encoder.h"
#include "tests/support/ChildProcess.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using namespace std::chrono_literals;

class MciPulsePlayback : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* sinkName = std::getenv("KOLVI_TEST_SINK");
        if (sinkName == nullptr || std::getenv("PULSE_SERVER") == nullptr)
            GTEST_SKIP() << "needs the test sound server (scripts/with-test-env.sh)";
        sink = sinkName;
        // Bit-exact only at full volume; other tests may have moved it.
        ASSERT_EQ(runProgram({"pactl", "set-sink-volume", sink, "100%"}), 0);
        ASSERT_EQ(runProgram({"pactl", "set-sink-mute", sink, "0"}), 0);
    }

    std::string mp3(const std::string& name, const Mp3Spec& settings)
    {
        const std::string file = dir.filePath(QString::fromStdString(name)).toStdString();
        encodeMp3(file, settings);
        return file;
    }

    std::string sink;
    QTemporaryDir dir;
    NoticeCatcher catcher;
};

TEST_F(MciPulsePlayback, PlaysEverySampleInRealTimeAndEndsAtItsLength)
{
    Mp3Spec settings;
    settings.seconds = 1.5;
    const std::string file = mp3("tone.mp3", settings);
    const Samples decoded = decodeWhole(file);
    MonitorRecorder recorder(sink);
    ASSERT_TRUE(recorder.start());

    TestDevice device(file, catcher.handle());
    ASSERT_EQ(device.openError(), 0u) << mciText(device.openError());
    const DWORD length = device.length();
    EXPECT_EQ(length, framesToMs(expectedSamples(settings), settings.sampleRate));
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(device.play(), 0u);
    bool seenMidway = false;
    ASSERT_TRUE(waitUntil([&] {
        const DWORD position = device.position();
        const bool playing = device.mode() == MCI_MODE_PLAY;
        seenMidway = seenMidway || (playing && position > 0 && position < length);
        return !playing;
    }));
    const auto elapsed = std::chrono::steady_clock::now() - started;
    EXPECT_EQ(device.position(), length);
    EXPECT_EQ(device.mode(), MCI_MODE_STOP);
    EXPECT_TRUE(seenMidway) << "the position moves through the song while it plays";
    // Never faster than the sound itself, however busy the machine.
    EXPECT_GE(elapsed, std::chrono::milliseconds(length) * 9 / 10);
    ASSERT_TRUE(waitUntil([&] { return !catcher.notices.empty(); }));
    EXPECT_EQ(catcher.codes(), std::vector<WPARAM>{MCI_NOTIFY_SUCCESSFUL});

    pumpFor(100ms);
    const Samples recorded = recorder.stop();
    const auto heardStart = firstLoud(recorded);
    const auto decodedStart = firstLoud(decoded);
    ASSERT_TRUE(heardStart && decodedStart) << "the sink heard nothing";
    const Samples song(decoded.begin() + static_cast<long>(*decodedStart), decoded.end());
    const Samples heard(recorded.begin() + static_cast<long>(*heardStart), recorded.end());
    const auto played = findWithSilentGaps(heard, song);
    ASSERT_TRUE(played && played->begin == 0) << "the sink got the decoder's samples, all and unchanged";
    const Samples left = channelOf(heard, 2, 0);
    EXPECT_NEAR(toneFrequency(left, 0, song.size() / 2, 44100), 440.0, 2.0);
    EXPECT_GT(rms(left, 0, song.size() / 2), 5000.0);
    EXPECT_EQ(endOfLoud(heard), played->end - (song.size() - endOfLoud(song))) << "and nothing after the end";
}

TEST_F(MciPulsePlayback, PlayFromStartsOnTheExactSample)
{
    Mp3Spec settings;
    settings.seconds = 2.0;
    settings.frequencyHz = 523.25;
    const std::string file = mp3("seek.mp3", settings);
    const Samples decoded = decodeWhole(file);
    MonitorRecorder recorder(sink);
    ASSERT_TRUE(recorder.start());

    TestDevice device(file);
    constexpr DWORD from = 1234;
    ASSERT_EQ(device.play(from), 0u);
    EXPECT_GE(device.position(), from);
    ASSERT_TRUE(waitUntil([&] { return device.mode() == MCI_MODE_STOP; }));
    EXPECT_EQ(device.position(), device.length());
    pumpFor(100ms);
    const Samples recorded = recorder.stop();

    const std::size_t firstFrame = (from * 44100 + 999) / 1000;
    const Samples rest(decoded.begin() + static_cast<long>(2 * firstFrame), decoded.end());
    const auto heardStart = firstLoud(recorded);
    ASSERT_TRUE(heardStart);
    const auto found = findWithSilentGaps(recorded, rest);
    ASSERT_TRUE(found) << "the rest of the song, from the asked-for sample, was heard unchanged";
    EXPECT_LE(found->begin, *heardStart) << "and nothing of the song before it";
    EXPECT_GE(found->begin + 2 * 44100 / 1000, *heardStart);
}

TEST_F(MciPulsePlayback, ModesFollowTheCommandsAndPauseKeepsThePosition)
{
    Mp3Spec settings;
    settings.seconds = 2.0;
    TestDevice device(mp3("modes.mp3", settings));
    EXPECT_EQ(device.mode(), MCI_MODE_STOP);
    EXPECT_EQ(device.position(), 0u);
    ASSERT_EQ(device.play(), 0u);
    EXPECT_EQ(device.mode(), MCI_MODE_PLAY);
    ASSERT_TRUE(waitUntil([&] { return device.position() >= 300; }));
    ASSERT_EQ(device.pause(), 0u);
    EXPECT_EQ(device.mode(), MCI_MODE_PAUSE);
    const DWORD paused = device.position();
    EXPECT_LT(paused, device.length());
    pumpFor(400ms);
    EXPECT_EQ(device.position(), paused);
    ASSERT_EQ(device.resume(), 0u);
    EXPECT_EQ(device.mode(), MCI_MODE_PLAY);
    ASSERT_TRUE(waitUntil([&] { return device.position() > paused + 100; }));
    ASSERT_EQ(device.stop(), 0u);
    EXPECT_EQ(device.mode(), MCI_MODE_STOP);
    const DWORD stopped = device.position();
    pumpFor(200ms);
    EXPECT_EQ(device.position(), stopped);
}

TEST_F(MciPulsePlayback, PausedSoundFallsSilent)
{
    Mp3Spec settings;
    settings.seconds = 3.0;
    MonitorRecorder recorder(sink);
    ASSERT_TRUE(recorder.start());
    TestDevice device(mp3("silence.mp3", settings));
    ASSERT_EQ(device.play(), 0u);
    ASSERT_TRUE(waitUntil([&] { return device.position() >= 500; }));
    ASSERT_EQ(device.pause(), 0u);
    const DWORD paused = device.position();
    pumpFor(700ms);
    const Samples recorded = recorder.stop();
    const auto start = firstLoud(recorded);
    ASSERT_TRUE(start);
    const std::size_t heardMs = (endOfLoud(recorded) - *start) / 2 * 1000 / 44100;
    // The position is what had been heard, not what had been handed to the
    // server ahead of time (a fifth of a second more); after the pause at
    // most what was already on its way is heard, never the rest of the song.
    EXPECT_GE(heardMs + 60, paused);
    EXPECT_LT(heardMs, paused + 1000u);
}

// The server holds seconds of sound ahead; a pause just after a seek must
// still silence it at once and stand where the seek went.
TEST_F(MciPulsePlayback, PauseRightAfterASeekFallsSilentAndStandsAtTheSeek)
{
    Mp3Spec settings;
    settings.seconds = 6.0;
    MonitorRecorder recorder(sink);
    ASSERT_TRUE(recorder.start());
    TestDevice device(mp3("seekpause.mp3", settings));
    ASSERT_EQ(device.play(), 0u);
    ASSERT_TRUE(waitUntil([&] { return device.position() >= 500; }));
    ASSERT_EQ(device.pause(), 0u);
    const DWORD beforeSeek = device.position();
    constexpr DWORD target = 3000;
    ASSERT_EQ(device.play(target), 0u);
    ASSERT_EQ(device.pause(), 0u);
    const DWORD paused = device.position();
    EXPECT_GE(paused, target);
    EXPECT_LT(paused, target + 500);
    pumpFor(700ms);
    EXPECT_EQ(device.position(), paused);
    EXPECT_EQ(device.mode(), MCI_MODE_PAUSE);
    const Samples recorded = recorder.stop();
    const auto start = firstLoud(recorded);
    ASSERT_TRUE(start);
    const std::size_t heardMs = (endOfLoud(recorded) - *start) / 2 * 1000 / 44100;
    // What came before the seek, and of the seek's sound no more than was
    // already on its way: never the seconds the server held.
    EXPECT_GE(heardMs + 60, beforeSeek);
    EXPECT_LT(heardMs, beforeSeek + 400u);
}

}  // namespace
