// The real player under the X display: start-up with a saved playlist,
// the conversion error box, a drop from another program, and a close
// through the window system that saves "List.lst".
#include "tests/support/FileBytes.h"
#include "tests/support/Mp3Fixture.h"
#include "tests/support/executable/PlayerProcess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

const std::string CrCrLf = "\r\r\n";

std::string soundStreams()
{
    QProcess pactl;
    pactl.start("pactl", {"list", "short", "sink-inputs"});
    pactl.waitForFinished(10000);
    return pactl.readAllStandardOutput().toStdString();
}

std::string percentEncoded(const std::string& path)
{
    return QByteArray::fromStdString(path).toPercentEncoding("/").toStdString();
}

}  // namespace

TEST(Executable, StartsWithTheSavedEntrySelectedPlaysNothingAndSavesOnClose)
{
    PlayerProcess player;
    std::vector<std::string> tracks;
    for (int i = 0; i < 4; ++i) {
        tracks.push_back(player.folder() + "track " + std::to_string(i) + ".mp3");
        Mp3Spec settings;
        settings.seconds = 0.5;
        makeMp3(tracks.back(), settings);
    }
    std::string bytes = "2" + CrCrLf;
    for (const std::string& track : tracks)
        bytes += track + CrCrLf;
    writeFileBytes(player.listFile(), bytes);

    player.start();
    const auto window = waitForWindow("KolviPlayer");
    ASSERT_TRUE(window.has_value());
    EXPECT_EQ(window->width, 321);
    EXPECT_EQ(window->height, 394);
    EXPECT_EQ(soundStreams(), "");

    // The delete button removes the entry that start-up selected.
    clickInWindow(*window, 57 + 25, 356 + 12);
    runHelper({"close", QString::number(window->id)});
    ASSERT_TRUE(player.waitForExit());
    EXPECT_FALSE(player.crashed());
    EXPECT_EQ(player.exitCode(), 0);
    EXPECT_EQ(readFileBytes(player.listFile()),
              "2" + CrCrLf + tracks[0] + CrCrLf + tracks[1] + CrCrLf + tracks[3] + CrCrLf);
}

TEST(Executable, AFirstLineThatIsNoNumberShowsOneErrorBoxAndNoWindow)
{
    PlayerProcess player;
    const std::string bytes = "abc" + CrCrLf + "/x.mp3" + CrCrLf;
    writeFileBytes(player.listFile(), bytes);
    player.start();

    std::optional<XWindow> box;
    bool mainWindowSeen = false;
    QElapsedTimer clock;
    clock.start();
    while (!box && clock.elapsed() < 30000) {
        for (const XWindow& window : viewableWindows()) {
            mainWindowSeen = mainWindowSeen || window.name == "KolviPlayer";
            if (window.name == "Kolviplayer")
                box = window;
        }
    }
    ASSERT_TRUE(box.has_value());
    EXPECT_FALSE(mainWindowSeen);

    // The box copies its text on Ctrl+C, as a user would take it.
    runXdotool({"windowfocus", "--sync", QString::number(box->id)});
    runXdotool({"key", "--clearmodifiers", "ctrl+c"});
    const std::string copied = runHelper({"clipboard"});
    EXPECT_NE(copied.find("'abc' is not a valid integer value."), std::string::npos) << copied;

    runXdotool({"key", "Return"});
    ASSERT_TRUE(player.waitForExit());
    EXPECT_EQ(player.exitCode(), 0);
    for (const XWindow& window : viewableWindows())
        EXPECT_NE(window.name, "KolviPlayer");
    EXPECT_EQ(readFileBytes(player.listFile()), bytes);
}

TEST(Executable, FilesDroppedFromAnotherProgramAreAddedAndSaved)
{
    PlayerProcess player;
    const std::string song = player.folder() + "Song.MP3";
    const std::string voice = player.folder() + "voice.wav";
    const std::string foreign = player.folder() + "\xB0\xA1 euc.mp3";
    const std::string folder = player.folder() + "albums";
    for (const std::string& file : {song, voice, foreign})
        writeFileBytes(file, "ID3");
    QDir().mkpath(QString::fromStdString(folder));
    const std::string uris = "file://" + percentEncoded(song) + "\r\nfile://" + percentEncoded(voice) +
                             "\r\nfile://" + percentEncoded(foreign) + "\r\nfile://" + percentEncoded(folder) +
                             "\r\n";
    writeFileBytes(player.folder() + "drop.uris", uris);

    player.start();
    const auto window = waitForWindow("KolviPlayer");
    ASSERT_TRUE(window.has_value());

    QProcess source;
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "xcb");
    source.setProcessEnvironment(environment);
    source.start(KOLVI_XHELPER_PATH, {"drag", "900", "100", QString::fromStdString(player.folder() + "drop.uris")});
    const auto sourceWindow = waitForWindow("kolvi drag source");
    ASSERT_TRUE(sourceWindow.has_value());

    runXdotool({"mousemove", QString::number(sourceWindow->x + 50), QString::number(sourceWindow->y + 50)});
    runXdotool({"mousedown", "1"});
    const int targetX = window->x + 150;
    const int targetY = window->y + 150;
    for (int step = 1; step <= 10; ++step) {
        const int x = sourceWindow->x + 50 + (targetX - sourceWindow->x - 50) * step / 10;
        const int y = sourceWindow->y + 50 + (targetY - sourceWindow->y - 50) * step / 10;
        runXdotool({"mousemove", QString::number(x), QString::number(y)});
    }
    // A busy player answers late: nudge the pointer over it until it takes the drag.
    std::string output;
    for (int nudge = 0; output.find("accepted\n") == std::string::npos && nudge < 150; ++nudge) {
        runXdotool({"mousemove", QString::number(targetX + nudge % 2), QString::number(targetY)});
        if (source.waitForReadyRead(200))
            output += source.readAllStandardOutput().toStdString();
    }
    runXdotool({"mouseup", "1"});
    ASSERT_EQ(output, "accepted\n");
    std::string result;
    while (result.find('\n') == std::string::npos && source.waitForReadyRead(30000))
        result += source.readAllStandardOutput().toStdString();
    EXPECT_EQ(result, "dropped 1\n");

    runHelper({"close", QString::number(window->id)});
    ASSERT_TRUE(player.waitForExit());
    source.terminate();
    source.waitForFinished(10000);
    EXPECT_EQ(player.exitCode(), 0);
    EXPECT_EQ(readFileBytes(player.listFile()), "-1" + CrCrLf + song + CrCrLf + foreign + CrCrLf);
    // Qt's folder clean-up cannot name a file that is not UTF-8.
    ::unlink(foreign.c_str());
}
