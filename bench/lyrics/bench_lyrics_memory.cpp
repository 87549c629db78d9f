// Memory of the running player, summed over the player and the web engine's
// helper processes below it, through the lyrics window's life: before its
// first show, showing a page, hidden again, shown again; next to the main
// window alone without any lyrics window. Twice: once with the lyrics host
// answering (routed to a local web server), once with the host unreachable
// (routed to a closed port), where the window shows a page of its own. Run
// on an idle machine under the test environment's X display, e.g.
//   scripts/with-test-env.sh build/bench/bench/lyrics/bench_lyrics_memory
//       build/bench/app/kolviplayer build/bench/bench/lyrics/kolviplayer_main_window_only
// (one line). The lyrics button is clicked through the X server with xdotool.
#include "resources/BuildSettings.h"
#include "tests/support/LocalHttpServer.h"
#include "tests/support/ProcessTree.h"
#include "tests/support/executable/PlayerProcess.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace {

// A helper's --type ("zygote", "utility", ...), "" for none. A helper may
// rewrite its command line into one argument, spaces between the parts.
std::string processType(pid_t pid)
{
    for (const std::string& argument : commandLineOf(pid)) {
        const std::size_t start = argument.find("--type=");
        if (start != std::string::npos)
            return argument.substr(start + 7, argument.find(' ', start) - start - 7);
    }
    return "";
}

// A page's renderer is forked from a zygote and keeps the zygote's command
// line: it is told apart by its parent.
std::string processKind(const ProcessInfo& process)
{
    const std::string type = processType(process.pid);
    return type == "zygote" && processType(process.parent) == "zygote" ? "renderer" : type;
}

struct Memory {
    long rssKb = 0;  // summed over the processes: shared pages count in each
    long pssKb = 0;  // proportional: shared pages split between the processes
    std::map<std::string, std::pair<int, long>> pssByKind;  // kind -> (processes, kB)
};

Memory treeMemory(pid_t root)
{
    Memory memory;
    std::vector<ProcessInfo> processes = descendantsOf(root);
    processes.push_back(ProcessInfo{root, 0, "player", residentKb(root)});
    for (const ProcessInfo& process : processes) {
        const long pss = proportionalKb(process.pid);
        memory.rssKb += process.rssKb;
        memory.pssKb += pss;
        auto& kind = memory.pssByKind[process.pid == root ? "player" : processKind(process)];
        ++kind.first;
        kind.second += pss;
    }
    return memory;
}

// Waits until the summed proportional size holds still (three samples half
// a second apart within 1 MB), at most half a minute.
Memory settledMemory(pid_t root)
{
    Memory last = treeMemory(root);
    int still = 0;
    for (int sample = 0; sample < 60 && still < 3; ++sample) {
        QTest::qWait(500);
        const Memory now = treeMemory(root);
        still = std::labs(now.pssKb - last.pssKb) < 1024 ? still + 1 : 0;
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

bool lyricsWindowShown()
{
    return !xdotool({"search", "--onlyvisible", "--name", "^Lyrics Viewer$"}).isEmpty();
}

class Player {
public:
    explicit Player(const QString& executable)
    {
        placePlayer(executable, folder_.path());
        QFile::rename(folder_.filePath(QFileInfo(executable).fileName()), folder_.filePath("kolviplayer"));
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

    // Clicks the lyrics button and waits until the lyrics window is shown or hidden.
    bool toggleLyrics(bool shown)
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
        return QTest::qWaitFor([&] { return lyricsWindowShown() == shown; }, 30000);
    }

private:
    QTemporaryDir folder_;
    QProcess process_;
    QString window_;
};

void report(const char* what, const Memory& memory)
{
    std::printf("%-44s PSS %6.1f MB  RSS %6.1f MB  |", what, memory.pssKb / 1024.0, memory.rssKb / 1024.0);
    for (const auto& [kind, counted] : memory.pssByKind)
        std::printf(" %s%s %.1f", kind.c_str(), counted.first > 1 ? (" x" + std::to_string(counted.first)).c_str() : "",
                    counted.second / 1024.0);
    std::printf("\n");
}

// Other web engines on the machine share the engine's library pages and so
// lower every proportional figure measured here.
void warnOfOtherWebEngines(pid_t ours)
{
    int others = 0;
    const std::vector<ProcessInfo> mine = descendantsOf(ours);
    for (const ProcessInfo& process : descendantsOf(1))
        others += process.name.starts_with("QtWebEngine") && std::none_of(mine.begin(), mine.end(), [&](const ProcessInfo& own) {
                      return own.pid == process.pid;
                  });
    if (others > 0)
        std::printf("note: %d other web engine processes are running; the figures are low by their share\n", others);
}

// One life of the lyrics window: shown, hidden, shown again.
bool measureLifecycle(const QString& executable, const char* title, bool (*pageSeen)())
{
    Player player(executable);
    if (!player.running()) {
        std::fprintf(stderr, "kolviplayer did not show its window\n");
        return false;
    }
    std::printf("-- %s\n", title);
    report("lyrics window not yet shown", settledMemory(player.pid()));
    if (!player.toggleLyrics(true) || !pageSeen()) {
        std::fprintf(stderr, "the lyrics window did not show its page\n");
        return false;
    }
    warnOfOtherWebEngines(player.pid());
    report("lyrics window showing its page", settledMemory(player.pid()));
    if (!player.toggleLyrics(false))
        return false;
    report("lyrics window hidden again", settledMemory(player.pid()));
    if (!player.toggleLyrics(true) || !pageSeen())
        return false;
    report("lyrics window shown again", settledMemory(player.pid()));
    return true;
}

LocalHttpServer* answeringHost = nullptr;
std::size_t requestsSeen = 0;

bool hostPageRequested()
{
    ++requestsSeen;
    return answeringHost->waitForPageRequests(requestsSeen, 60000);
}

bool ownPageShown()
{
    // The host cannot answer; give the window the time to show its own page.
    QTest::qWait(3000);
    return lyricsWindowShown();
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s PATH-TO-kolviplayer PATH-TO-kolviplayer_main_window_only\n", argv[0]);
        return 2;
    }
    const QString player = QString::fromLocal8Bit(argv[1]);
    {
        Player mainOnly(QString::fromLocal8Bit(argv[2]));
        if (!mainOnly.running()) {
            std::fprintf(stderr, "the main-window-only player did not show its window\n");
            return 1;
        }
        report("main window alone, no lyrics window", settledMemory(mainOnly.pid()));
    }

    LocalHttpServer server;
    answeringHost = &server;
    // A port that was free a moment ago: nothing listens there.
    quint16 closedPort = 0;
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        closedPort = probe.serverPort();
    }
    const QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    routeHostToServer(KOLVI_LYRICS_HOST, server);
    if (!measureLifecycle(player, "lyrics host answering", hostPageRequested))
        return 1;

    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags + " --no-proxy-server --host-resolver-rules=\"MAP " KOLVI_LYRICS_HOST
                                                      " 127.0.0.1:" + QByteArray::number(closedPort) + "\"");
    if (!measureLifecycle(player, "lyrics host unreachable: the window's own page", ownPageShown))
        return 1;
    return 0;
}
