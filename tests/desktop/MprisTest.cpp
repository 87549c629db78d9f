// The real player on a private session bus, seen and driven by the real
// playerctl as the desktop's media controls and media keys would, and
// heard on the test sink: status, play-pause, next, previous, pause, stop,
// seeking, volume, metadata from the ID3v2 tag (CP949 bytes in frames marked
// Latin-1, as Korean taggers wrote them, read on a UTF-8 locale), the ID3v1
// tag and the file name, the changes announced to a follower, Raise bringing
// the window up, and Quit saving the playlist; a flood of requests ending as
// its last asks.
#include "tests/support/ChildProcess.h"
#include "tests/support/EventLoopWait.h"
#include "tests/support/FileBytes.h"
#include "tests/support/HeardTracks.h"
#include "tests/support/Mp3Fixture.h"
#include "tests/support/Playerctl.h"
#include "tests/support/executable/PlayerProcess.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/SessionBus.h"
#include "tests/support/SinkVolume.h"
#include "tests/support/TagFile.h"

#include <QByteArray>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QProcess>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

const std::string CrCrLf = "\r\r\n";

std::string playbackStatus() { return playerctl({"status"}); }

std::string trackMetadata(const std::string& format) { return playerctl({"metadata", "--format", format}); }

double positionSeconds() { return std::atof(playerctl({"position"}).c_str()); }

// An ID3v1 tag after the MP3 data: its fields are the bytes given.
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

    const ScopedEnvironment koreanUtf8("LC_ALL", "ko_KR.UTF-8");
    PlayerProcess player;
    const std::vector<std::string> tracks{player.folder() + "one.mp3", player.folder() + "two.mp3",
                                          player.folder() + "세번째 곡.mp3"};
    const std::vector<double> pitches{440.0, 660.0, 880.0};
    makeTone(tracks[0], pitches[0]);
    writeFileBytes(tracks[0], latin1Id3v2Tag({{"TIT2", "\xB3\xEB\xB7\xA1 \xC7\xCF\xB3\xAA"},
                                              {"TPE1", "\xB0\xA1\xBC\xF6 \xB1\xE8"},
                                              {"TALB", "\xC3\xB9 \xBE\xD9\xB9\xFC"}})
                                  + readFileBytes(tracks[0]));
    makeTone(tracks[1], pitches[1]);
    appendId3v1(tracks[1], "\xB5\xD1\xC2\xB0 \xB3\xEB\xB7\xA1", "\xB0\xA1\xBC\xF6 \xC0\xCC");  // CP949
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
    EXPECT_EQ(trackMetadata("{{mpris:trackid}}|{{xesam:title}}|{{xesam:artist}}|{{xesam:album}}|{{xesam:url}}"),
              "'/org/kolviplayer/Track/0'|노래 하나|가수 김|첫 앨범|" + fileUrl(tracks[0]));
    const long long lengthUs = std::atoll(trackMetadata("{{mpris:length}}").c_str());
    EXPECT_NEAR(lengthUs, 20'000'000, 30'000);

    playerctl({"next"});
    ASSERT_TRUE(hears({0, 1})) << ::testing::PrintToString(listener.heard());
    EXPECT_EQ(trackMetadata("{{mpris:trackid}}|{{xesam:title}}|{{xesam:artist}}|{{xesam:album}}"),
              "'/org/kolviplayer/Track/1'|둘째 노래|가수 이|") << "an ID3v1 tag without an album";

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

// Sets a property of the player interface as the desktop would, the value
// in dbus-send's notation ("double:0.5").
int setPlayerProperty(const std::string& name, const std::string& value)
{
    return runProgram({"dbus-send", "--session", "--print-reply", "--dest=org.mpris.MediaPlayer2.kolviplayer",
                       "/org/mpris/MediaPlayer2", "org.freedesktop.DBus.Properties.Set",
                       "string:org.mpris.MediaPlayer2.Player", "string:" + name, "variant:" + value});
}

bool sinkNear(long expected)
{
    const std::vector<long> volumes = sinkVolumes(sharedPulseServer(), sharedSinkName());
    return !volumes.empty() && std::abs(volumes.front() - expected) <= 700;
}

TEST(Mpris, VolumeIsTheSpeakersAndPositionFollowsASeekWhilePaused)
{
    if (sharedSinkName().empty())
        GTEST_SKIP() << "needs the test environment (scripts/with-test-env.sh)";
    SessionBus bus;
    ASSERT_TRUE(bus.started());
    bus.exportToEnvironment();
    const SinkVolumeKeeper sinkVolume;
    ASSERT_TRUE(setSinkVolumes(sharedPulseServer(), sharedSinkName(), {65536}));

    PlayerProcess player;
    const std::string track = player.folder() + "one.mp3";
    makeTone(track, 440.0);
    writeFileBytes(player.listFile(), "0" + CrCrLf + track + CrCrLf);
    player.start();
    ASSERT_TRUE(waitUntil([] { return captureProgram({"playerctl", "-l"}).value_or("") == "kolviplayer\n"; }));

    playerctl({"volume", "0.25"});
    EXPECT_TRUE(waitUntil([] { return sinkNear(16384); })) << "written while stopped, the speaker takes it";
    ASSERT_TRUE(setSinkVolumes(sharedPulseServer(), sharedSinkName(), {49152}));
    EXPECT_TRUE(waitUntil([] { return std::abs(std::atof(playerctl({"volume"}).c_str()) - 0.75) < 0.01; }))
        << "a change made elsewhere is told";
    for (const char* refused : {"double:nan", "double:inf", "double:-inf"}) {
        setPlayerProperty("Volume", refused);
        EXPECT_TRUE(sinkNear(49152)) << refused;
    }
    EXPECT_NEAR(std::atof(playerctl({"volume"}).c_str()), 0.75, 0.01);

    playerctl({"play"});
    ASSERT_TRUE(waitUntil([] { return playbackStatus() == "Playing"; }));
    playerctl({"pause"});
    ASSERT_TRUE(waitUntil([] { return playbackStatus() == "Paused"; }));
    playerctl({"position", "12"});
    EXPECT_TRUE(waitUntil([] { return std::abs(positionSeconds() - 12.0) < 0.05; }))
        << "paused, the position is where the seek went: " << positionSeconds();
    EXPECT_EQ(playbackStatus(), "Paused");

    EXPECT_EQ(callRoot("Quit"), 0);
    ASSERT_TRUE(player.waitForExit());
}

// Requests sent as fast as the bus takes them, up to 100 awaiting answers
// (the bus holds no more for one caller): the methods in turn, count in
// all, then last; waits for the answer to last.
void flood(QDBusConnection& connection, const std::vector<QString>& methods, int count, const QString& last)
{
    auto call = [&](const QString& method) {
        return connection.asyncCall(QDBusMessage::createMethodCall(
            "org.mpris.MediaPlayer2.kolviplayer", "/org/mpris/MediaPlayer2", "org.mpris.MediaPlayer2.Player", method));
    };
    for (int i = 0; i < count; ++i) {
        QDBusPendingCall sent = call(methods[static_cast<std::size_t>(i) % methods.size()]);
        if (i % 100 == 99)
            sent.waitForFinished();
    }
    QDBusPendingCall answer = call(last);
    answer.waitForFinished();
}

TEST(Mpris, AFloodOfRequestsEndsAsTheLastAsks)
{
    if (sharedSinkName().empty())
        GTEST_SKIP() << "needs the test environment (scripts/with-test-env.sh)";
    SessionBus bus;
    ASSERT_TRUE(bus.started());
    bus.exportToEnvironment();
    PlayerProcess player;
    std::string entries;
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3"}) {
        makeTone(player.folder() + name, 440.0);
        entries += player.folder() + name + CrCrLf;
    }
    writeFileBytes(player.listFile(), "0" + CrCrLf + entries);
    player.start();
    ASSERT_TRUE(waitForWindow("KolviPlayer").has_value());
    ASSERT_TRUE(waitUntil([] { return captureProgram({"playerctl", "-l"}).value_or("") == "kolviplayer\n"; }));
    QDBusConnection connection = QDBusConnection::connectToBus(QString::fromStdString(bus.address()), "flood");
    ASSERT_TRUE(connection.isConnected());

    // Each flood holds nothing that leads to the state its last request asks
    // for, so reaching that state shows the last was carried out last.
    playerctl({"play"});
    ASSERT_TRUE(waitUntil([] { return playbackStatus() == "Playing"; }));
    flood(connection, {"Next", "PlayPause", "Previous", "Play", "Pause"}, 1000, "Stop");
    ASSERT_TRUE(waitUntil([] { return playbackStatus() == "Stopped"; }));

    flood(connection, {"Pause", "Stop"}, 1000, "Play");
    ASSERT_TRUE(waitUntil([] { return playbackStatus() == "Playing"; }));

    EXPECT_EQ(callRoot("Quit"), 0);
    ASSERT_TRUE(player.waitForExit());
    EXPECT_EQ(player.exitCode(), 0);
}

}  // namespace
