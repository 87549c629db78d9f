// The real player on a private session bus, seen and driven by the real
// playerctl as the desktop's media controls and media keys would, and
// heard on the test sink: status, play-pause, next, previous, pause, stop,
// seeking, volume, metadata from the ID3v2 tag, the ID3v1 tag and the file
// name, the changes announced to a follower, Raise bringing the window up,
// and Quit saving the playlist.
#include "tests/support/ChildProcess.h"
#include "tests/support/EventLoopWait.h"
#include "tests/support/FileBytes.h"
#include "tests/support/HeardTracks.h"
#include "tests/support/Mp3Fixture.h"
#include "tests/support/executable/PlayerProcess.h"
#include "tests/support/SessionBus.h"
#include "tests/support/SinkVolume.h"

#include <QByteArray>
#include <QProcess>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

const std::string CrCrLf = "\r\r\n";

std::string playerctl(const std::vector<std::string>& arguments)
{
    std::vector<std::string> command{"playerctl", "-p", "kolviplayer"};
    command.insert(command.end(), arguments.begin(), arguments.end());
    std::string out = captureProgram(command).value_or("(failed)");
    while (!out.empty() && out.back() == '\n')
        out.pop_back();
    return out;
}

std::string playbackStatus() { return playerctl({"status"}); }

std::string trackMetadata(const std::string& format) { return playerctl({"metadata", "--format", format}); }

double positionSeconds() { return std::atof(playerctl({"position"}).c_str()); }

// An ID3v1 tag after the MP3 data: its fields are bytes of the locale's code page.
void appendId3v1(const std::string& path, const std::string& title, const std::string& artist)
{
    std::string tag = "TAG" + title;
    tag.resize(33, '\0');
    tag += artist;
    tag.resize(128, '\0');
    writeFileBytes(path, readFileBytes(path) + tag);
}

// A 20-second tone: nothing moves on by itself while the test drives the player.
void makeTone(const std::string& path, double frequencyHz, const std::vector<std::string>& lameArguments = {})
{
    Mp3Spec settings;
    settings.seconds = 20.0;
    settings.frequencyHz = frequencyHz;
    settings.extraLameArguments = lameArguments;
    makeMp3(path, settings);
}

// A method of the player's root interface, called as the desktop calls it.
int callRoot(const std::string& method)
{
    return runProgram({"dbus-send", "--session", "--type=method_call", "--dest=org.mpris.MediaPlayer2.kolviplayer",
                       "/org/mpris/MediaPlayer2", "org.mpris.MediaPlayer2." + method});
}

// True when both windows are up and upper is stacked above lower.
bool stackedAbove(const std::string& upper, const std::string& lower)
{
    int upperAt = -1;
    int lowerAt = -1;
    const std::vector<XWindow> windows = viewableWindows();  // bottom to top
    for (int i = 0; i < static_cast<int>(windows.size()); ++i) {
        if (windows[i].name == upper)
            upperAt = i;
        if (windows[i].name == lower)
            lowerAt = i;
    }
    return upperAt >= 0 && lowerAt >= 0 && upperAt > lowerAt;
}

std::string fileUrl(const std::string& path)
{
    return "file://" + QByteArray::fromStdString(path).toPercentEncoding("/").toStdString();
}

// The sink's volume as it was, given back when the test ends.
struct SinkVolumeKeeper {
    SinkVolumeKeeper() : volumes(sinkVolumes(sharedPulseServer(), sharedSinkName())) {}
    ~SinkVolumeKeeper()
    {
        if (!volumes.empty())
            setSinkVolumes(sharedPulseServer(), sharedSinkName(), volumes);
    }
    std::vector<long> volumes;
};

TEST(Mpris, TheDesktopSeesAndDrivesThePlayingTrack)
{
    if (sharedSinkName().empty())
        GTEST_SKIP() << "needs the test environment (scripts/with-test-env.sh)";
    SessionBus bus;
    ASSERT_TRUE(bus.started());
    bus.exportToEnvironment();
    const SinkVolumeKeeper sinkVolume;

    PlayerProcess player;
    const std::vector<std::string> tracks{player.folder() + "one.mp3", player.folder() + "two.mp3",
                                          player.folder() + "세번째 곡.mp3"};
    const std::vector<double> pitches{440.0, 660.0, 880.0};
    makeTone(tracks[0], pitches[0], {"--tt", "노래 하나", "--ta", "가수 김", "--id3v2-only", "--id3v2-utf16"});
    makeTone(tracks[1], pitches[1]);
    appendId3v1(tracks[1], "둘째 노래", "가수 이");
    makeTone(tracks[2], pitches[2]);
    std::string entries;
    for (const std::string& track : tracks)
        entries += track + CrCrLf;
    // Nothing current and nothing selected: Play starts the first entry.
    writeFileBytes(player.listFile(), "-1" + CrCrLf + entries);

    MonitorRecorder recorder(sharedSinkName());
    ASSERT_TRUE(recorder.start());
    HeardTracks listener(recorder, pitches);
    player.start();
    ASSERT_TRUE(waitForWindow("KolviPlayer").has_value());
    ASSERT_TRUE(waitUntil([] { return captureProgram({"playerctl", "-l"}).value_or("") == "kolviplayer\n"; }))
        << "the player shows itself on the bus";
    EXPECT_EQ(playbackStatus(), "Stopped");

    QProcess follower;
    // Line-buffered: playerctl's output into a pipe would otherwise wait for its end.
    follower.start("stdbuf", {"-oL", "playerctl", "-p", "kolviplayer", "--follow", "metadata", "--format",
                              "{{status}}|{{xesam:title}}"});
    ASSERT_TRUE(follower.waitForStarted());

    auto hears = [&](std::vector<int> expected) {
        return waitUntil([&] { return listener.heard() == expected && listener.lastRunMs() >= 300; });
    };

    playerctl({"play-pause"});
    ASSERT_TRUE(waitUntil([] { return playbackStatus() == "Playing"; }));
    ASSERT_TRUE(hears({0})) << ::testing::PrintToString(listener.heard());
    EXPECT_EQ(trackMetadata("{{mpris:trackid}}|{{xesam:title}}|{{xesam:artist}}|{{xesam:url}}"),
              "'/org/kolviplayer/Track/0'|노래 하나|가수 김|" + fileUrl(tracks[0]));
    const long long lengthUs = std::atoll(trackMetadata("{{mpris:length}}").c_str());
    EXPECT_NEAR(lengthUs, 20'000'000, 30'000);

    playerctl({"next"});
    ASSERT_TRUE(hears({0, 1})) << ::testing::PrintToString(listener.heard());
    EXPECT_EQ(trackMetadata("{{mpris:trackid}}|{{xesam:title}}|{{xesam:artist}}"), "'/org/kolviplayer/Track/1'|둘째 노래|가수 이");

    // A position set as a seek of the slider; then a seek backwards by an offset.
    playerctl({"position", "10"});
    ASSERT_TRUE(waitUntil([] { return positionSeconds() >= 10.0; }));
    EXPECT_LT(positionSeconds(), 14.0);
    playerctl({"position", "3-"});
    ASSERT_TRUE(waitUntil([] { return positionSeconds() < 10.0; }));
    EXPECT_GE(positionSeconds(), 6.5);

    playerctl({"pause"});
    ASSERT_TRUE(waitUntil([] { return playbackStatus() == "Paused"; }));
    ASSERT_TRUE(waitUntil([&] { return listener.heard(), listener.silentMs() >= 500; })) << "the sound stops";
    playerctl({"play"});
    ASSERT_TRUE(waitUntil([] { return playbackStatus() == "Playing"; }));
    ASSERT_TRUE(waitUntil([&] { return listener.heard(), listener.silentMs() == 0 && listener.lastRunMs() >= 300; }))
        << "and goes on";

    playerctl({"previous"});
    ASSERT_TRUE(hears({0, 1, 0})) << ::testing::PrintToString(listener.heard());
    playerctl({"previous"});
    ASSERT_TRUE(hears({0, 1, 0, 2})) << "previous wraps to the last entry";
    EXPECT_EQ(trackMetadata("{{xesam:title}}|{{xesam:artist}}|{{xesam:url}}"), "세번째 곡||" + fileUrl(tracks[2]))
        << "the title from the file name";

    // The volume is the slider's, written to the speaker volume as the slider writes it.
    playerctl({"volume", "0.5"});
    ASSERT_TRUE(waitUntil([] {
        const std::vector<long> volumes = sinkVolumes(sharedPulseServer(), sharedSinkName());
        return !volumes.empty() && std::abs(volumes.front() - 32768) <= 700;
    }));
    EXPECT_NEAR(std::atof(playerctl({"volume"}).c_str()), 0.5, 0.01);

    playerctl({"stop"});
    ASSERT_TRUE(waitUntil([] { return playbackStatus() == "Stopped"; }));
    ASSERT_TRUE(waitUntil([&] { return listener.heard(), listener.silentMs() >= 500; }));

    // Every change reached the follower, announced by the player itself.
    const std::vector<std::string> announced{"Playing|노래 하나", "Playing|둘째 노래", "Paused|둘째 노래",
                                             "Playing|세번째 곡", "Stopped|세번째 곡"};
    std::string followed;
    ASSERT_TRUE(waitUntil([&] {
        followed += follower.readAllStandardOutput().toStdString();
        return followed.find(announced.back()) != std::string::npos;
    })) << followed;
    std::size_t at = 0;
    for (const std::string& line : announced) {
        at = followed.find(line + "\n", at);
        ASSERT_NE(at, std::string::npos) << line << " in\n" << followed;
    }
    follower.terminate();
    follower.waitForFinished();

    // Raise: another program's window on top of the player's, then the
    // player's above it (the display stacks them without a window manager).
    const XWindow window = *waitForWindow("KolviPlayer");
    ChildProcess cover({"xmessage", "-geometry", "+" + std::to_string(window.x + 20) + "+" + std::to_string(window.y + 20),
                        "cover"});
    ASSERT_TRUE(waitUntil([&] { return stackedAbove("xmessage", "KolviPlayer"); }));
    EXPECT_EQ(callRoot("Raise"), 0);
    EXPECT_TRUE(waitUntil([&] { return stackedAbove("KolviPlayer", "xmessage"); })) << "Raise brings the window up";

    EXPECT_EQ(callRoot("Quit"), 0);
    ASSERT_TRUE(player.waitForExit());
    EXPECT_EQ(player.exitCode(), 0);
    EXPECT_EQ(readFileBytes(player.listFile()), "2" + CrCrLf + entries) << "Quit closes the window the normal way";
}

}  // namespace
