// The MCI layer over the real decoder, playing into the null output: exact
// lengths and seeks for every kind of stream, bad and damaged files,
// completion notices, and a sound card that fails.
#include "tests/support/mci/MciTesting.h"
#include "tests/support/mci/Mp3Encoder.h"
#include "tests/support/ScopedBackends.h"
#include "tests/support/ScopedLocale.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sys/stat.h>

namespace {

using namespace std::chrono_literals;

class MciNullOutput : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return dir.filePath(QString::fromStdString(name)).toStdString(); }

    std::string mp3(const std::string& name, const Mp3Spec& settings = {}, const Mp3Extras& extras = {})
    {
        const std::string file = path(name);
        encodeMp3(file, settings, extras);
        return file;
    }

    void writeBytes(const std::string& file, const std::string& bytes) const
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << bytes;
    }

    static std::string randomBytes(std::size_t count, unsigned seed)
    {
        std::mt19937 generator(seed);
        std::string bytes(count, '\0');
        for (auto& byte : bytes)
            byte = static_cast<char>(generator() & 0xFF);
        return bytes;
    }

    static std::string fileBytes(const std::string& file)
    {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // Plays the open device to its end; the answer is whether it got there.
    static bool playsToTheEnd(TestDevice& device)
    {
        return device.play() == 0 && waitUntil([&] { return device.mode() == MCI_MODE_STOP; });
    }

    QTemporaryDir dir;
    NoticeCatcher catcher;
};

struct StreamCase {
    const char* name;
    Mp3Spec settings;
    Mp3Extras extras{};
};

void PrintTo(const StreamCase& stream, std::ostream* out) { *out << stream.name; }

class MciStreamKinds : public MciNullOutput, public ::testing::WithParamInterface<StreamCase> {
    ScopedSoundOutput untimed_{"null:untimed"};
};

TEST_P(MciStreamKinds, OpenStoppedAtZeroWithTheExactLengthAndPlayToIt)
{
    const Mp3Spec settings = GetParam().settings;
    const std::string file = mp3("stream.mp3", settings, GetParam().extras);
    if (GetParam().extras.freeFormat) {
        const std::string bytes = fileBytes(file);
        const auto sync = bytes.find('\xFF');
        ASSERT_NE(sync, std::string::npos);
        EXPECT_EQ(static_cast<unsigned char>(bytes[sync + 2]) >> 4, 0) << "bit-rate index 0: free format";
    }
    TestDevice device(file, catcher.handle());
    ASSERT_EQ(device.openError(), 0u) << mciText(device.openError());
    EXPECT_EQ(device.mode(), MCI_MODE_STOP);
    EXPECT_EQ(device.position(), 0u);

    // The length is what decodes: the tone alone where the encoder's tag
    // tells its delay and padding, a few frames more where it does not.
    const Samples decoded = decodeWhole(file);
    EXPECT_EQ(device.length(), framesToMs(static_cast<long>(decoded.size()) / settings.channels, settings.sampleRate));
    const DWORD exact = framesToMs(expectedSamples(settings), settings.sampleRate);
    EXPECT_GE(device.length(), exact);
    EXPECT_LE(device.length(), exact + framesToMs(3 * 1152, settings.sampleRate));
    if (settings.infoHeader && settings.sampleRate >= 32000) {
        EXPECT_EQ(device.length(), exact);
    }
    const Samples left = channelOf(decoded, settings.channels, 0);
    EXPECT_NEAR(toneFrequency(left, 0, left.size(), settings.sampleRate), settings.frequencyHz, 3.0);

    ASSERT_TRUE(playsToTheEnd(device));
    EXPECT_EQ(device.position(), device.length());
    ASSERT_TRUE(waitUntil([&] { return !catcher.notices.empty(); }));
    EXPECT_EQ(catcher.codes(), std::vector<WPARAM>{MCI_NOTIFY_SUCCESSFUL});
    EXPECT_EQ(catcher.notices.front().LParam, static_cast<LPARAM>(device.id()));
}

Mp3Spec stream(int rate, int channels, int kbps, bool vbr, bool info)
{
    Mp3Spec settings;
    settings.seconds = 1.3;
    settings.sampleRate = rate;
    settings.channels = channels;
    settings.bitrateKbps = kbps;
    settings.vbr = vbr;
    settings.infoHeader = info;
    return settings;
}

INSTANTIATE_TEST_SUITE_P(
    Streams, MciStreamKinds,
    ::testing::Values(StreamCase{"Cbr44Stereo", stream(44100, 2, 128, false, true)},
                      StreamCase{"Cbr44StereoNoInfo", stream(44100, 2, 128, false, false)},
                      StreamCase{"Vbr48Stereo", stream(48000, 2, 0, true, true)},
                      StreamCase{"Vbr48StereoNoInfo", stream(48000, 2, 0, true, false)},
                      StreamCase{"Vbr32Mono", stream(32000, 1, 0, true, true)},
                      StreamCase{"Vbr22Mono", stream(22050, 1, 0, true, true)},
                      StreamCase{"Cbr24Stereo", stream(24000, 2, 64, false, true)},
                      StreamCase{"Cbr16Mono", stream(16000, 1, 32, false, true)},
                      StreamCase{"Mpeg25At12Stereo", stream(12000, 2, 32, false, true)},
                      StreamCase{"Mpeg25At11Mono", stream(11025, 1, 24, false, true)},
                      StreamCase{"Mpeg25At8Mono", stream(8000, 1, 16, false, true)},
                      StreamCase{"Mpeg25At8MonoNoInfo", stream(8000, 1, 16, false, false)},
                      StreamCase{"FreeFormat", stream(44100, 2, 320, false, false), {.freeFormat = true}}),
    [](const ::testing::TestParamInfo<StreamCase>& info) { return std::string(info.param.name); });

TEST_F(MciNullOutput, HugeId3v2TagChangesNothing)
{
    ScopedSoundOutput untimed("null:untimed");
    const std::string plain = mp3("plain.mp3");
    // A 4 MiB ID3v2.3 tag of padding in front of the same stream.
    constexpr std::uint32_t tagSize = 4 * 1024 * 1024;
    std::string tag = "ID3";
    tag += '\x03';
    tag += '\x00';
    tag += '\x00';
    for (int shift : {21, 14, 7, 0})
        tag += static_cast<char>((tagSize >> shift) & 0x7F);
    tag += std::string(tagSize, '\0');
    const std::string tagged = path("tagged.mp3");
    writeBytes(tagged, tag + fileBytes(plain));

    TestDevice plainDevice(plain);
    TestDevice taggedDevice(tagged);
    ASSERT_EQ(taggedDevice.openError(), 0u) << mciText(taggedDevice.openError());
    EXPECT_EQ(taggedDevice.length(), plainDevice.length());
    EXPECT_EQ(decodeWhole(tagged), decodeWhole(plain));
    ASSERT_TRUE(playsToTheEnd(taggedDevice));
    EXPECT_EQ(taggedDevice.position(), taggedDevice.length());
}

TEST_F(MciNullOutput, FilesThatCannotBePlayedFailToOpenWithTheirOwnError)
{
    ScopedSoundOutput untimed("null:untimed");
    writeBytes(path("empty.mp3"), "");
    writeBytes(path("random.mp3"), randomBytes(64 * 1024, 12345));
    writeBytes(path("text.mp3"), "This is a shopping list, not a song.\nMilk\nBread\n");
    std::filesystem::create_directory(path("folder.mp3"));
    ASSERT_EQ(::mkfifo(path("fifo.mp3").c_str(), 0600), 0);

    const std::pair<std::string, MCIERROR> cases[] = {
        {path("missing.mp3"), MCIERR_FILE_NOT_FOUND},
        {path("no-such-folder/song.mp3"), MCIERR_FILE_NOT_FOUND},
        {path("empty.mp3"), MCIERR_INVALID_FILE},
        {path("random.mp3"), MCIERR_INVALID_FILE},
        {path("text.mp3"), MCIERR_INVALID_FILE},
        {path("folder.mp3"), MCIERR_FILE_READ},
        {path("fifo.mp3"), MCIERR_FILE_READ},
        {"", MCIERR_FILENAME_REQUIRED},
    };
    for (const auto& [file, error] : cases) {
        TestDevice device(file);
        EXPECT_EQ(device.openError(), error) << file;
        EXPECT_EQ(device.id(), 0u) << file;
        EXPECT_NE(mciText(error), "(none)");
    }
}

TEST_F(MciNullOutput, OpenWantsAFileNameAndNoOtherDeviceType)
{
    MCI_OPEN_PARMSA parms{};
    parms.lpstrDeviceType = "cdaudio";
    EXPECT_EQ(mciSendCommandA(0, MCI_OPEN, MCI_WAIT | MCI_OPEN_TYPE, reinterpret_cast<DWORD_PTR>(&parms)), MCIERR_INVALID_DEVICE_NAME);
    parms = {};
    EXPECT_EQ(mciSendCommandA(0, MCI_OPEN, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&parms)), MCIERR_FILENAME_REQUIRED);
    EXPECT_EQ(mciSendCommandA(0, MCI_OPEN, MCI_WAIT | MCI_OPEN_ELEMENT, 0), MCIERR_NULL_PARAMETER_BLOCK);
}

TEST_F(MciNullOutput, DamagedFilesPlayWhatDecodesAndEndAtTheirLength)
{
    ScopedSoundOutput untimed("null:untimed");
    Mp3Spec settings;
    settings.seconds = 3.0;
    const std::string whole = fileBytes(mp3("whole.mp3", settings));
    writeBytes(path("truncated.mp3"), whole.substr(0, whole.size() / 2 + 77));
    std::string corrupt = whole;
    corrupt.replace(corrupt.size() / 3, 8192, randomBytes(8192, 777));
    writeBytes(path("corrupt.mp3"), corrupt);
    std::string holed = whole;
    std::fill(holed.begin() + static_cast<long>(holed.size() / 2), holed.begin() + static_cast<long>(holed.size() / 2 + 20000), '\0');
    writeBytes(path("holed.mp3"), holed);

    // At 128 kbit/s a millisecond is 16 bytes: all but the damaged stretch (and a frame or two around it) remains.
    const std::pair<const char*, DWORD> cases[] = {
        {"truncated.mp3", 1400}, {"corrupt.mp3", 3000 - 8192 / 16 - 60}, {"holed.mp3", 3000 - 20000 / 16 - 60}};
    for (const auto& [name, least] : cases) {
        TestDevice device(path(name));
        ASSERT_EQ(device.openError(), 0u) << name << ": " << mciText(device.openError());
        EXPECT_GE(device.length(), least) << name << ": the sound after the damage is kept";
        EXPECT_LE(device.length(), 3000u) << name;
        ASSERT_TRUE(playsToTheEnd(device)) << name;
        EXPECT_EQ(device.position(), device.length()) << name;
    }
}

TEST_F(MciNullOutput, FileTruncatedWhilePlayingStillReachesItsEnd)
{
    ScopedSoundOutput timed("null");
    Mp3Spec settings;
    settings.seconds = 4.0;
    const std::string file = mp3("shrinking.mp3", settings);
    TestDevice device(file, catcher.handle());
    ASSERT_EQ(device.play(), 0u);
    ASSERT_TRUE(waitUntil([&] { return device.position() > 100; }));
    std::filesystem::resize_file(file, std::filesystem::file_size(file) / 5);
    ASSERT_TRUE(waitUntil([&] { return device.mode() == MCI_MODE_STOP; }));
    EXPECT_EQ(device.position(), device.length());
    EXPECT_TRUE(waitUntil([&] { return catcher.codes() == std::vector<WPARAM>{MCI_NOTIFY_SUCCESSFUL}; }));
}

TEST_F(MciNullOutput, FileDeletedWhilePlayingPlaysOnToItsEnd)
{
    ScopedSoundOutput timed("null");
    Mp3Spec settings;
    settings.seconds = 1.5;
    const std::string file = mp3("doomed.mp3", settings);
    TestDevice device(file);
    ASSERT_EQ(device.play(), 0u);
    ASSERT_TRUE(waitUntil([&] { return device.position() > 100; }));
    std::filesystem::remove(file);
    ASSERT_TRUE(waitUntil([&] { return device.mode() == MCI_MODE_STOP; }));
    EXPECT_EQ(device.position(), device.length());
}

TEST_F(MciNullOutput, SeeksLandOnTheMillisecondAskedForAtEveryRate)
{
    ScopedSoundOutput untimed("null:untimed");
    for (int rate : {8000, 11025, 22050, 44100, 48000}) {
        Mp3Spec settings;
        settings.seconds = 2.0;
        settings.sampleRate = rate;
        settings.bitrateKbps = rate < 32000 ? 32 : 128;
        TestDevice device(mp3("rate" + std::to_string(rate) + ".mp3", settings));
        ASSERT_EQ(device.openError(), 0u) << rate;
        const DWORD length = device.length();
        for (DWORD ms : {DWORD{1}, DWORD{333}, DWORD{1234}, length - 1, length, length + 500, DWORD{0}}) {
            ASSERT_EQ(device.seekTo(ms), 0u);
            EXPECT_EQ(device.position(), std::min(ms, length)) << "rate " << rate << ", " << ms << " ms";
            EXPECT_EQ(device.mode(), MCI_MODE_STOP);
        }
    }
}

TEST_F(MciNullOutput, SeekFlagsChooseOneTarget)
{
    ScopedSoundOutput untimed("null:untimed");
    TestDevice device(mp3("seek.mp3"));
    MCI_SEEK_PARMS parms{};
    const auto seek = [&](DWORD flags) { return mciSendCommandA(device.id(), MCI_SEEK, flags, reinterpret_cast<DWORD_PTR>(&parms)); };
    EXPECT_EQ(seek(MCI_SEEK_TO_END | MCI_WAIT), 0u);
    EXPECT_EQ(device.position(), device.length());
    EXPECT_EQ(seek(MCI_SEEK_TO_START | MCI_WAIT), 0u);
    EXPECT_EQ(device.position(), 0u);
    EXPECT_EQ(seek(MCI_WAIT), MCIERR_MISSING_PARAMETER);
    EXPECT_EQ(seek(MCI_SEEK_TO_START | MCI_SEEK_TO_END | MCI_WAIT), MCIERR_FLAGS_NOT_COMPATIBLE);
}

TEST_F(MciNullOutput, PlayFromBeyondTheEndEndsAtOnceAtTheLength)
{
    ScopedSoundOutput untimed("null:untimed");
    TestDevice device(mp3("short.mp3"), catcher.handle());
    ASSERT_EQ(device.play(device.length() + 10000), 0u);
    ASSERT_TRUE(waitUntil([&] { return device.mode() == MCI_MODE_STOP; }));
    EXPECT_EQ(device.position(), device.length());
    EXPECT_TRUE(waitUntil([&] { return catcher.codes() == std::vector<WPARAM>{MCI_NOTIFY_SUCCESSFUL}; }));
}

TEST_F(MciNullOutput, NoticesTellSupersededAbortedAndSuccessful)
{
    ScopedSoundOutput timed("null");
    Mp3Spec settings;
    settings.seconds = 0.6;
    TestDevice device(mp3("notices.mp3", settings), catcher.handle());
    ASSERT_EQ(device.play(), 0u);
    ASSERT_EQ(device.play(100), 0u);
    ASSERT_EQ(device.stop(), 0u);
    ASSERT_EQ(device.play(), 0u);
    ASSERT_EQ(device.pause(), 0u);
    ASSERT_EQ(device.resume(), 0u);
    ASSERT_TRUE(waitUntil([&] { return catcher.notices.size() == 4; }));
    EXPECT_EQ(catcher.codes(), (std::vector<WPARAM>{MCI_NOTIFY_SUPERSEDED, MCI_NOTIFY_ABORTED, MCI_NOTIFY_ABORTED,
                                                     MCI_NOTIFY_SUCCESSFUL}));
    for (const auto& notice : catcher.notices) {
        EXPECT_EQ(notice.Msg, MM_MCINOTIFY);
        EXPECT_EQ(notice.LParam, static_cast<LPARAM>(device.id()));
    }

    ASSERT_EQ(device.play(0), 0u);
    const MCIDEVICEID id = device.id();
    ASSERT_EQ(device.close(), 0u);
    ASSERT_TRUE(waitUntil([&] { return catcher.notices.size() == 5; }));
    EXPECT_EQ(catcher.notices.back().WParam, MCI_NOTIFY_ABORTED);
    EXPECT_EQ(catcher.notices.back().LParam, static_cast<LPARAM>(id));
    pumpFor(200ms);
    EXPECT_EQ(catcher.notices.size(), 5u) << "a closed device posts nothing more";
}

TEST_F(MciNullOutput, PauseKeepsThePositionAndResumeGoesOnFromIt)
{
    ScopedSoundOutput timed("null");
    Mp3Spec settings;
    settings.seconds = 2.0;
    TestDevice device(mp3("pause.mp3", settings));
    ASSERT_EQ(device.play(), 0u);
    EXPECT_EQ(device.mode(), MCI_MODE_PLAY);
    ASSERT_TRUE(waitUntil([&] { return device.position() > 200; }));
    ASSERT_EQ(device.pause(), 0u);
    EXPECT_EQ(device.mode(), MCI_MODE_PAUSE);
    const DWORD paused = device.position();
    EXPECT_LT(paused, device.length());
    pumpFor(300ms);
    EXPECT_EQ(device.position(), paused);
    EXPECT_EQ(device.mode(), MCI_MODE_PAUSE);

    ASSERT_EQ(device.resume(), 0u);
    EXPECT_EQ(device.mode(), MCI_MODE_PLAY);
    EXPECT_GE(device.position(), paused);
    ASSERT_TRUE(waitUntil([&] { return device.position() > paused + 100; }));
    ASSERT_EQ(device.stop(), 0u);
    const DWORD stopped = device.position();
    pumpFor(200ms);
    EXPECT_EQ(device.position(), stopped);
    EXPECT_EQ(device.mode(), MCI_MODE_STOP);
    EXPECT_EQ(device.resume(), MCIERR_NONAPPLICABLE_FUNCTION) << "a stopped device has nothing to resume";
    EXPECT_EQ(device.pause(), 0u);
    EXPECT_EQ(device.mode(), MCI_MODE_STOP);

    ASSERT_EQ(device.play(), 0u);
    EXPECT_GE(device.position(), stopped) << "play without a start goes on from where it stood";
    ASSERT_TRUE(waitUntil([&] { return device.mode() == MCI_MODE_STOP; }));
    EXPECT_EQ(device.position(), device.length());
}

TEST_F(MciNullOutput, StatusAndCapabilitiesOfAnMp3File)
{
    ScopedSoundOutput untimed("null:untimed");
    TestDevice device(mp3("status.mp3"));
    MCIERROR error = 0;
    EXPECT_EQ(device.status(MCI_STATUS_NUMBER_OF_TRACKS), 1u);
    EXPECT_EQ(device.status(MCI_STATUS_MEDIA_PRESENT), static_cast<DWORD>(TRUE_));
    EXPECT_EQ(device.status(MCI_STATUS_TIME_FORMAT), MCI_FORMAT_MILLISECONDS);
    device.status(0x4000, &error);
    EXPECT_EQ(error, MCIERR_UNSUPPORTED_FUNCTION);

    MCI_STATUS_PARMS status{};
    status.dwItem = MCI_STATUS_LENGTH;
    status.dwTrack = 1;
    const auto send = [&](UINT message, DWORD flags, void* parms) {
        return mciSendCommandA(device.id(), message, flags, reinterpret_cast<DWORD_PTR>(parms));
    };
    ASSERT_EQ(send(MCI_STATUS, MCI_STATUS_ITEM | MCI_TRACK | MCI_WAIT, &status), 0u);
    EXPECT_EQ(status.dwReturn, device.length());
    status.dwTrack = 2;
    EXPECT_EQ(send(MCI_STATUS, MCI_STATUS_ITEM | MCI_TRACK | MCI_WAIT, &status), MCIERR_OUTOFRANGE);
    EXPECT_EQ(send(MCI_STATUS, MCI_WAIT, &status), MCIERR_MISSING_PARAMETER);
    EXPECT_EQ(send(MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, nullptr), MCIERR_NULL_PARAMETER_BLOCK);

    const std::pair<DWORD, DWORD> capabilities[] = {
        {MCI_GETDEVCAPS_CAN_PLAY, TRUE_},  {MCI_GETDEVCAPS_CAN_RECORD, FALSE_}, {MCI_GETDEVCAPS_CAN_EJECT, FALSE_},
        {MCI_GETDEVCAPS_HAS_VIDEO, FALSE_}, {MCI_GETDEVCAPS_HAS_AUDIO, TRUE_},   {MCI_GETDEVCAPS_DEVICE_TYPE, MCI_DEVTYPE_OTHER}};
    for (const auto& [item, answer] : capabilities) {
        MCI_GETDEVCAPS_PARMS caps{};
        caps.dwItem = item;
        ASSERT_EQ(send(MCI_GETDEVCAPS, MCI_GETDEVCAPS_ITEM | MCI_WAIT, &caps), 0u) << item;
        EXPECT_EQ(caps.dwReturn, answer) << item;
    }
    MCI_ANIM_RECT_PARMS where{};
    EXPECT_EQ(send(MCI_WHERE, MCI_ANIM_WHERE_SOURCE | MCI_WAIT, &where), MCIERR_UNSUPPORTED_FUNCTION);
    EXPECT_EQ(send(0x0899, MCI_WAIT, &where), MCIERR_UNRECOGNIZED_COMMAND);
}

// Each new card fails after half a second too: the track still plays to its
// end, piece after piece, only if each piece starts where the last stopped.
TEST_F(MciNullOutput, AFailingSoundCardIsReplacedAndPlayingGoesOnFromWhereItFailed)
{
    Mp3Spec settings;
    settings.seconds = 2.0;
    const std::string file = mp3("failing.mp3", settings);
    ScopedSoundOutput failing("null:untimed:fail-after=22050");
    TestDevice device(file, catcher.handle());
    ASSERT_EQ(device.play(), 0u);
    ASSERT_TRUE(waitUntil([&] { return !catcher.notices.empty(); }));
    EXPECT_EQ(catcher.codes(), std::vector<WPARAM>{MCI_NOTIFY_SUCCESSFUL});
    EXPECT_EQ(device.position(), device.length());
    EXPECT_EQ(device.mode(), MCI_MODE_STOP);
}

TEST_F(MciNullOutput, ACardThatTakesNothingHoldsThePlaceUntilOneThatPlaysIsThere)
{
    const std::string file = mp3("nothing taken.mp3");
    std::optional<ScopedSoundOutput> choice(std::in_place, "null:untimed:fail-after=0");
    TestDevice device(file, catcher.handle());
    ASSERT_EQ(device.play(500), 0u);
    pumpFor(std::chrono::milliseconds(600));
    EXPECT_EQ(device.mode(), MCI_MODE_PLAY);
    EXPECT_EQ(device.position(), 500u);
    EXPECT_TRUE(catcher.notices.empty());

    choice.reset();
    choice.emplace("null:untimed");
    ASSERT_TRUE(waitUntil([&] { return !catcher.notices.empty(); }));
    EXPECT_EQ(catcher.codes(), std::vector<WPARAM>{MCI_NOTIFY_SUCCESSFUL});
    EXPECT_EQ(device.position(), device.length());
}

// The first name that opens is the one used; a guard gives back the choice
// made before it.
TEST_F(MciNullOutput, OutputsAreTriedInTheChosenOrderAndAGuardGivesBackTheChoiceBefore)
{
    const std::string file = mp3("chosen.mp3");
    const auto expectPlaysToTheEnd = [&] {
        catcher.notices.clear();
        TestDevice device(file, catcher.handle());
        ASSERT_EQ(device.openError(), 0u);
        ASSERT_EQ(device.play(), 0u);
        ASSERT_TRUE(waitUntil([&] { return !catcher.notices.empty(); }));
        EXPECT_EQ(catcher.codes(), std::vector<WPARAM>{MCI_NOTIFY_SUCCESSFUL});
    };
    ScopedSoundOutput outer("nosuch,null:bogus");
    {
        ScopedSoundOutput inner("nosuch,null:untimed,null:untimed:fail-after=0");
        for (const char* unusable : {"nosuch", "null:bogus", "null:fail-after=-1", "null:fail-after=9x", "pulse:untimed"}) {
            ScopedSoundOutput chosen(unusable);
            EXPECT_EQ(TestDevice(file).openError(), MCIERR_WAVE_OUTPUTSUNSUITABLE) << unusable;
        }
        SCOPED_TRACE("the inner choice is back, its unknown name passed over");
        expectPlaysToTheEnd();
    }
    EXPECT_EQ(TestDevice(file).openError(), MCIERR_WAVE_OUTPUTSUNSUITABLE) << "the outer choice is back";
}

TEST_F(MciNullOutput, DevicesAreIndependentAndClosedOnesAreGone)
{
    ScopedSoundOutput timed("null");
    const std::string file = mp3("shared.mp3");
    TestDevice first(file);
    TestDevice second(file);
    ASSERT_NE(first.id(), 0u);
    ASSERT_NE(second.id(), 0u);
    ASSERT_NE(first.id(), second.id());
    ASSERT_EQ(first.play(), 0u);
    ASSERT_EQ(second.seekTo(500), 0u);
    const MCIDEVICEID closed = first.id();
    ASSERT_EQ(first.close(), 0u);
    EXPECT_EQ(second.position(), 500u);
    EXPECT_EQ(second.mode(), MCI_MODE_STOP);

    MCI_STATUS_PARMS status{};
    status.dwItem = MCI_STATUS_MODE;
    EXPECT_EQ(mciSendCommandA(closed, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&status)),
              MCIERR_INVALID_DEVICE_ID);
    MCI_GENERIC_PARMS generic{};
    EXPECT_EQ(mciSendCommandA(closed, MCI_CLOSE, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&generic)), MCIERR_INVALID_DEVICE_ID);
    EXPECT_EQ(mciSendCommandA(0, MCI_PLAY, MCI_NOTIFY, reinterpret_cast<DWORD_PTR>(&generic)), MCIERR_INVALID_DEVICE_ID);
}

TEST(MciErrorTexts, EveryErrorAnsweredHasAText)
{
    for (MCIERROR error : {MCIERR_INVALID_DEVICE_ID, MCIERR_UNRECOGNIZED_COMMAND, MCIERR_HARDWARE, MCIERR_INVALID_DEVICE_NAME,
                           MCIERR_OUT_OF_MEMORY, MCIERR_CANNOT_LOAD_DRIVER, MCIERR_MISSING_PARAMETER,
                           MCIERR_UNSUPPORTED_FUNCTION, MCIERR_FILE_NOT_FOUND, MCIERR_OUTOFRANGE, MCIERR_FLAGS_NOT_COMPATIBLE,
                           MCIERR_INVALID_FILE, MCIERR_NULL_PARAMETER_BLOCK, MCIERR_NONAPPLICABLE_FUNCTION,
                           MCIERR_FILENAME_REQUIRED, MCIERR_WAVE_OUTPUTSUNSUITABLE, MCIERR_FILE_READ}) {
        const std::string text = mciText(error);
        EXPECT_NE(text, "(none)") << error;
        EXPECT_GT(text.size(), 10u) << error;
    }
    char buffer[16] = "untouched";
    EXPECT_EQ(mciGetErrorStringA(0x7777, buffer, sizeof buffer), FALSE_);
    // "파일을 찾을 수 없습니다." in 8 bytes and its end: three bytes a
    // syllable in UTF-8 (kept by a locale that cannot write Hangul), two in
    // CP949; a cut never splits one.
    struct Cut {
        const char* locale;
        std::string expected;
    };
    for (const Cut& cut : {Cut{"C", "파일"}, Cut{Utf8Locale, "파일"}, Cut{Cp949Locale, "\xC6\xC4\xC0\xCF\xC0\xBB "}}) {
        const ScopedLocale locale(cut.locale);
        ASSERT_TRUE(locale.active()) << cut.locale;
        EXPECT_EQ(mciGetErrorStringA(MCIERR_FILE_NOT_FOUND, buffer, 9), TRUE_);
        EXPECT_EQ(buffer, cut.expected) << cut.locale;
    }
    EXPECT_EQ(mciGetErrorStringA(MCIERR_FILE_NOT_FOUND, buffer, 0), FALSE_);
}

}  // namespace
