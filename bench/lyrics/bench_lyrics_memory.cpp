// Memory of the running player (resident set, summed over the player and
// the web engine's helper processes below it) before the lyrics window is
// first shown and after it has shown its page, next to the main window
// alone without any lyrics window. Run under the test environment's X
// display, e.g.
//   scripts/with-test-env.sh build/bench/bench/lyrics/bench_lyrics_memory
//       build/bench/app/kolviplayer build/bench/bench/lyrics/kolviplayer_main_window_only
// (one line).
// The lyrics host is routed to a local web server; the lyrics button is
// clicked through the X server with xdotool.
#include "BuildSettings.h"
#include "LocalHttpServer.h"
#include "ProcessTree.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <cstdlib>

namespace {

// Waits until the summed resident size holds still (three samples half a
// second apart within 1 MB), at most half a minute.
TreeMemory settledMemory(pid_t root)
{
    TreeMemory last = memoryOfTree(root);
    int still = 0;
    for (int sample = 0; sample < 60 && still < 3; ++sample) {
        QTest::qWait(500);
        const TreeMemory now = memoryOfTree(root);
        still = std::labs(now.rssKb - last.rssKb) < 1024 ? still + 1 : 0;
        last = now;
    }
    return last;
}

QString xdotool(const QStringList& arguments)
{
    QProcess process;
    process.start("xdotool", arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

class Player {
public:
    explicit Player(const QString& executable)
    {
        QFile::copy(executable, folder_.filePath("kolviplayer"));
        auto environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "xcb");
        environment.remove("QTWEBENGINE_DISABLE_SANDBOX");  // the player decides that itself
        process_.setProcessEnvironment(environment);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(folder_.filePath("kolviplayer"), {});
        process_.waitForStarted(30000);
        window_ = xdotool({"search", "--sync", "--onlyvisible", "--name", "^KolviPlayer$"});
    }
    ~Player()
    {
        process_.kill();
        process_.waitForFinished(10000);
    }

    bool running() const { return process_.state() == QProcess::Running && !window_.isEmpty(); }
    pid_t pid() const { return static_cast<pid_t>(process_.processId()); }

    void clickLyricsButton()
    {
        // btnLyrics: left 107, top 356, 62 x 25 in the client area; no window
        // manager under Xvfb, so the client area is where the window is.
        const QStringList geometry = xdotool({"getwindowgeometry", "--shell", window_}).split('\n');
        int x = 0;
        int y = 0;
        for (const QString& line : geometry) {
            if (line.startsWith("X="))
                x = line.mid(2).toInt();
            if (line.startsWith("Y="))
                y = line.mid(2).toInt();
        }
        xdotool({"mousemove", QString::number(x + 107 + 31), QString::number(y + 356 + 12), "click", "1"});
    }

private:
    QTemporaryDir folder_;
    QProcess process_;
    QString window_;
};

void report(const char* what, const TreeMemory& memory)
{
    std::printf("%-46s RSS %7.1f MB   PSS %7.1f MB   (%d process%s)\n", what, memory.rssKb / 1024.0,
                memory.pssKb / 1024.0, memory.processes, memory.processes == 1 ? "" : "es");
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s PATH-TO-kolviplayer PATH-TO-kolviplayer_main_window_only\n", argv[0]);
        return 2;
    }
    LocalHttpServer server;
    routeHostToServer(KOLVI_LYRICS_HOST, server);

    TreeMemory alone;
    {
        Player mainOnly(QString::fromLocal8Bit(argv[2]));
        if (!mainOnly.running()) {
            std::fprintf(stderr, "the main-window-only player did not show its window\n");
            return 1;
        }
        alone = settledMemory(mainOnly.pid());
    }
    Player player(QString::fromLocal8Bit(argv[1]));
    if (!player.running()) {
        std::fprintf(stderr, "kolviplayer did not show its window\n");
        return 1;
    }
    const TreeMemory before = settledMemory(player.pid());
    player.clickLyricsButton();
    if (!server.waitForPageRequests(1, 60000)) {
        std::fprintf(stderr, "the lyrics window asked for no page\n");
        return 1;
    }
    const TreeMemory after = settledMemory(player.pid());

    report("main window alone, no lyrics window", alone);
    report("kolviplayer, lyrics window not yet shown", before);
    report("kolviplayer, lyrics window showing its page", after);
    std::printf("before - alone: RSS %+.1f MB, PSS %+.1f MB (goal: within 10 MB)\n",
                (before.rssKb - alone.rssKb) / 1024.0, (before.pssKb - alone.pssKb) / 1024.0);
    return 0;
}
