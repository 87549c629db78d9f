// "Open with" from a file manager: the desktop calls Open of
// org.freedesktop.Application on the player's application id, and the
// session bus starts the player from its service file when it is not
// running. The MP3 files among what was handed over join the playlist and
// the first plays; folders, other files, other schemes and names holding a
// line break are left out; ten thousand files are all kept. A media
// control's OpenUri does the same.
#include "tests/support/ChildProcess.h"
#include "tests/support/EventLoopWait.h"
#include "tests/support/FileBytes.h"
#include "tests/support/Mp3Fixture.h"
#include "tests/support/Playerctl.h"
#include "tests/support/SessionBus.h"
#include "tests/support/SinkVolume.h"
#include "tests/support/executable/PlayerProcess.h"

#include <QByteArray>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDir>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>

namespace {

const std::string CrCrLf = "\r\r\n";
const QString AppId = QStringLiteral(KOLVI_APP_ID);

QString fileUri(const std::string& path)
{
    return QString::fromLatin1("file://" + QByteArray::fromStdString(path).toPercentEncoding("/"));
}

// Ends the player the bus started, should the test stop before it quits.
struct StartedPlayer {
    ~StartedPlayer()
    {
        if (pid > 0)
            ::kill(static_cast<pid_t>(pid), SIGKILL);
    }
    uint pid = 0;
};

void makeTone(const std::string& path, double frequencyHz)
{
    Mp3Spec settings;
    settings.seconds = 20.0;
    settings.frequencyHz = frequencyHz;
    makeMp3(path, settings);
}

}  // namespace

TEST(OpenWith, TheBusStartsThePlayerWhichAddsTheMp3FilesAndPlaysTheFirst)
{
    if (sharedSinkName().empty())
        GTEST_SKIP() << "needs the test environment (scripts/with-test-env.sh)";
    PlayerProcess player;  // its executable, beside its own List.lst; the bus starts it
    QTemporaryDir services;
    writeFileBytes(services.filePath(AppId + ".service").toStdString(),
                   "[D-BUS Service]\nName=" + AppId.toStdString() + "\nExec=/usr/bin/env QT_QPA_PLATFORM=xcb " +
                       player.folder() + "kolviplayer\n");
    SessionBus bus(services.path().toStdString());
    ASSERT_TRUE(bus.started());
    bus.exportToEnvironment();
    QDBusConnection connection = QDBusConnection::connectToBus(QString::fromStdString(bus.address()), "open-with");
    ASSERT_TRUE(connection.isConnected());

    const std::string music = player.folder() + "음악/";
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(music + "folder.mp3")));
    const std::string first = music + "첫 곡.mp3", second = music + "SECOND.MP3", later = music + "later.mp3";
    makeTone(first, 440.0);
    writeFileBytes(second, "");  // never played: only the first is started
    makeTone(later, 660.0);
    writeFileBytes(music + "notes.txt", "not music");
    writeFileBytes(music + "line\nbreak.mp3", "");
    QStringList uris{fileUri(music + "folder.mp3"),     fileUri(music + "notes.txt"),
                     QStringLiteral("https://example.com/a.mp3"), fileUri(music + "line\nbreak.mp3"),
                     fileUri(first),                    fileUri(music + "missing.mp3"),
                     fileUri(second)};
    std::vector<std::string> expected{"/music/old.mp3", first, second};
    for (int i = 0; i < 10000; ++i) {
        const std::string name = music + "many " + std::to_string(i) + ".mp3";
        writeFileBytes(name, "");
        uris << fileUri(name);
        expected.push_back(name);
    }
    writeFileBytes(player.listFile(), "0" + CrCrLf + "/music/old.mp3" + CrCrLf);

    QDBusMessage open = QDBusMessage::createMethodCall(AppId, "/" + QString(AppId).replace('.', '/'),
                                                       "org.freedesktop.Application", "Open");
    open << uris << QVariantMap{};
    const QDBusMessage answer = connection.call(open, QDBus::Block, 60000);
    ASSERT_EQ(answer.type(), QDBusMessage::ReplyMessage) << answer.errorMessage().toStdString();
    StartedPlayer started;
    const QDBusReply<uint> pid = connection.interface()->servicePid(AppId);
    ASSERT_TRUE(pid.isValid());
    started.pid = pid.value();

    ASSERT_TRUE(waitUntil([] { return playerctl({"status"}) == "Playing"; }));
    EXPECT_EQ(playerctl({"metadata", "--format", "{{xesam:url}}"}), fileUri(first).toStdString());
    const std::string schemes =
        captureProgram({"dbus-send", "--session", "--print-reply", "--dest=org.mpris.MediaPlayer2.kolviplayer",
                        "/org/mpris/MediaPlayer2", "org.freedesktop.DBus.Properties.Get", "string:org.mpris.MediaPlayer2",
                        "string:SupportedUriSchemes"})
            .value_or("");
    EXPECT_NE(schemes.find("string \"file\""), std::string::npos) << schemes;

    // A media control's OpenUri: appended and played at once.
    const std::string url = fileUri(later).toStdString();
    EXPECT_EQ(runProgram({"dbus-send", "--session", "--print-reply", "--dest=org.mpris.MediaPlayer2.kolviplayer",
                          "/org/mpris/MediaPlayer2", "org.mpris.MediaPlayer2.Player.OpenUri", "string:" + url}),
              0);
    EXPECT_TRUE(waitUntil([&] { return playerctl({"metadata", "--format", "{{xesam:url}}"}) == url; }));
    expected.push_back(later);

    EXPECT_EQ(runProgram({"dbus-send", "--session", "--print-reply", "--dest=org.mpris.MediaPlayer2.kolviplayer",
                          "/org/mpris/MediaPlayer2", "org.mpris.MediaPlayer2.Quit"}),
              0);
    std::string saved = std::to_string(expected.size() - 1) + CrCrLf;
    for (const std::string& path : expected)
        saved += path + CrCrLf;
    EXPECT_TRUE(waitUntil([&] { return readFileBytes(player.listFile()) == saved; }))
        << "every file kept, in order, the last opened current";
    EXPECT_TRUE(waitUntil([&] { return ::kill(static_cast<pid_t>(started.pid), 0) != 0; }));
}
