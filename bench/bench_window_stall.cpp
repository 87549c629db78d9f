// How long the real executable's main window stops answering while hostile
// things happen to it. A probe on its own X connection sends the window a
// _NET_WM_PING every 20 ms and waits for the answer, which only the player's
// event loop gives (Qt answers it on the interface thread); the longest wait
// is the window's longest stall. Cases: a FIFO entry played, a 2 GB sparse
// entry played, Play while the sound server is stopped (SIGSTOP), a 1 GB
// List.lst of NUL bytes at start (launch until its window answers), a track
// with a 38 MB USLT frame played with the lyrics window open, and 4 clients
// sending 5,000 media-control requests each; and, for comparison, Play on a
// sound server that answers. Run under the test environment:
//   scripts/with-test-env.sh build/bench/bench/bench_window_stall build/bench/app/kolviplayer [CASE...]
#include "bench/BenchStart.h"
#include "tests/support/Mp3Fixture.h"
#include "tests/support/PulseDaemon.h"
#include "tests/support/executable/PlayerProcess.h"
#include "tests/support/id3v2/Id3v2Frames.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr auto PingEvery = 20ms;
// How long a case is watched after its action, at most.
constexpr auto Watch = 8s;
constexpr qint64 GiveUpMs = 60'000;

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

int ignoreError(Display*, XErrorEvent*) { return 0; }

std::optional<Window> waitForWindow(Display* display, long pid, const std::string& name)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < GiveUpMs) {
        if (auto window = windowOf(display, pid, name))
            return window;
        std::this_thread::sleep_for(2ms);
    }
    return std::nullopt;
}

// Pings one window until told to stop; answers the longest wait for an answer.
class Probe {
public:
    Probe(Display* display, Window window) : display_(display), window_(window)
    {
        protocols_ = XInternAtom(display, "WM_PROTOCOLS", False);
        ping_ = XInternAtom(display, "_NET_WM_PING", False);
        // Qt sends the answer to the root window, for whoever listens there
        // for its structure changes (or redirects, as a window manager).
        XSelectInput(display, DefaultRootWindow(display), StructureNotifyMask);
    }

    double run(const std::atomic<bool>& stop)
    {
        double longestMs = 0;
        while (!stop) {
            const auto sent = Clock::now();
            const bool answered = pingOnce(stop);
            const double waitedMs = std::chrono::duration<double, std::milli>(Clock::now() - sent).count();
            longestMs = std::max(longestMs, waitedMs);
            if (!answered)
                break;
            std::this_thread::sleep_until(sent + PingEvery);
        }
        return longestMs;
    }

    // One ping; false when stop came first. Afterwards, whether the window
    // was still not answering when watching ended.
    bool pingOnce(const std::atomic<bool>& stop)
    {
        const long serial = ++serial_;
        send(serial);
        frozen_ = !awaitAnswer(serial, stop);
        return !frozen_;
    }
    bool frozen() const { return frozen_; }

private:
    void send(long serial)
    {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window_;
        event.xclient.message_type = protocols_;
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(ping_);
        event.xclient.data.l[1] = serial;
        event.xclient.data.l[2] = static_cast<long>(window_);
        XSendEvent(display_, window_, False, NoEventMask, &event);
        XFlush(display_);
    }

    // Once stop is set, an answer on its way still counts for a moment.
    bool awaitAnswer(long serial, const std::atomic<bool>& stop)
    {
        std::optional<Clock::time_point> grace;
        while (!grace || Clock::now() < *grace) {
            if (stop && !grace)
                grace = Clock::now() + 1s;
            while (XPending(display_) > 0) {
                XEvent event{};
                XNextEvent(display_, &event);
                if (event.type == ClientMessage && event.xclient.message_type == protocols_ &&
                    static_cast<Atom>(event.xclient.data.l[0]) == ping_ && event.xclient.data.l[1] == serial)
                    return true;
            }
            pollfd connection{ConnectionNumber(display_), POLLIN, 0};
            ::poll(&connection, 1, 5);
        }
        return false;
    }

    Display* display_;
    Window window_;
    Atom protocols_ = None;
    Atom ping_ = None;
    long serial_ = 0;
    bool frozen_ = false;
};

void runTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
}

void click(Display* display, Window window, int x, int y)
{
    int rootX = 0;
    int rootY = 0;
    Window child = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), x, y, &rootX, &rootY, &child);
    runTool("xdotool", {"mousemove", QString::number(rootX), QString::number(rootY), "click", "1"});
}

// The player in a folder of its own, with its List.lst and its modules (the
// lyrics window needs the web engine's).
class Player {
public:
    explicit Player(const QString& executable)
    {
        placePlayer(executable, dir_.path());
        QFile::rename(dir_.filePath(QFileInfo(executable).fileName()), dir_.filePath("kolviplayer"));
    }
    ~Player()
    {
        process_.kill();
        process_.waitForFinished(10000);
    }
    std::string folder() const { return dir_.path().toStdString() + "/"; }
    void start(const QProcessEnvironment& extra = {})
    {
        auto environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "xcb");
        environment.insert("QTWEBENGINE_DISABLE_SANDBOX", "1");
        environment.insert(extra);
        process_.setProcessEnvironment(environment);
        process_.setProcessChannelMode(QProcess::ForwardedChannels);
        process_.start(dir_.filePath("kolviplayer"), {});
        process_.waitForStarted(10000);
    }
    long pid() const { return static_cast<long>(process_.processId()); }

private:
    QTemporaryDir dir_;
    QProcess process_;
};

void writeList(const std::string& folder, const std::string& entry)
{
    std::ofstream(folder + "List.lst", std::ios::binary) << "0\r\r\n" << entry << "\r\r\n";
}

// Watches the window from the moment action starts until done answers true
// (or Watch has passed); answers the longest stall seen.
// A stall still going on when watching ended is printed as "at least".
bool stillFrozen = false;

double watch(Window window, const std::function<void()>& action,
             const std::function<bool()>& done = [] { return false; }, Clock::duration limit = Watch)
{
    std::atomic<bool> stop = false;
    double longest = 0;
    std::thread probe([&] {
        DisplayPtr own(XOpenDisplay(nullptr));
        Probe pinger(own.get(), window);
        longest = pinger.run(stop);
        stillFrozen = pinger.frozen();
    });
    std::this_thread::sleep_for(100ms);
    action();
    const auto until = Clock::now() + limit;
    while (Clock::now() < until && !done())
        std::this_thread::sleep_for(50ms);
    stop = true;
    probe.join();
    return longest;
}

struct Context {
    QString executable;
    Display* display;
};

constexpr int PlayX = 57 + 25;
constexpr int PlayY = 8 + 12;

// Starts the player on List.lst naming entry and answers its main window.
std::optional<Window> startWith(Player& player, Display* display, const std::string& entry,
                                const QProcessEnvironment& extra = {})
{
    writeList(player.folder(), entry);
    player.start(extra);
    return waitForWindow(display, player.pid(), "KolviPlayer");
}

double playEntry(const Context& context, const std::function<std::string(const std::string& folder)>& make)
{
    Player player(context.executable);
    const auto window = startWith(player, context.display, make(player.folder()));
    if (!window)
        return -1;
    return watch(*window, [&] { click(context.display, *window, PlayX, PlayY); });
}

double fifoEntry(const Context& context)
{
    return playEntry(context, [](const std::string& folder) {
        const std::string path = folder + "x.mp3";
        ::mkfifo(path.c_str(), 0600);
        return path;
    });
}

double sparseEntry(const Context& context)
{
    return playEntry(context, [](const std::string& folder) {
        const std::string path = folder + "sparse.mp3";
        std::ofstream(path, std::ios::binary).close();
        if (::truncate(path.c_str(), 2LL * 1024 * 1024 * 1024) != 0)
            std::perror("truncate");
        return path;
    });
}

// Play on a sound server of its own, stopped (SIGSTOP) first when frozen.
double playOnServer(const Context& context, bool frozen)
{
    PulseDaemon server("kolvi_stall");
    if (!server.start())
        return -1;
    QProcessEnvironment extra;
    extra.insert("PULSE_SERVER", QString::fromStdString(server.server()));
    Player player(context.executable);
    Mp3Spec tone;
    tone.seconds = 30;
    makeMp3(player.folder() + "tone.mp3", tone);
    const auto window = startWith(player, context.display, player.folder() + "tone.mp3", extra);
    if (!window)
        return -1;
    if (frozen)
        server.freeze();
    const double longest = watch(*window, [&] { click(context.display, *window, PlayX, PlayY); });
    server.thaw();
    return longest;
}

double healthyServer(const Context& context) { return playOnServer(context, false); }

double stoppedServer(const Context& context) { return playOnServer(context, true); }

// From launch until the first window of the process answers.
double nulList(const Context& context)
{
    Player player(context.executable);
    const std::string list = player.folder() + "List.lst";
    std::ofstream(list, std::ios::binary).close();
    if (::truncate(list.c_str(), 1024LL * 1024 * 1024) != 0)
        std::perror("truncate");
    const auto launched = Clock::now();
    player.start();
    const auto window = waitForWindow(context.display, player.pid(), "");
    if (!window)
        return -1;
    const std::atomic<bool> stop = false;
    DisplayPtr own(XOpenDisplay(nullptr));
    Probe pinger(own.get(), *window);
    pinger.pingOnce(stop);
    return std::chrono::duration<double, std::milli>(Clock::now() - launched).count();
}

double lyricsTrack(const Context& context)
{
    Player player(context.executable);
    const std::string track = player.folder() + "lyrics.mp3";
    Mp3Spec tone;
    tone.seconds = 30;
    makeMp3(track, tone);
    const std::string words(38 * 1024 * 1024, 'a');
    editId3v2Tag(track, [&](TagLib::ID3v2::Tag& tag) { tag.addFrame(usltFrame(words)); });
    const auto window = startWith(player, context.display, track);
    if (!window)
        return -1;
    click(context.display, *window, 107 + 25, 356 + 10);
    if (!waitForWindow(context.display, player.pid(), "Lyrics Viewer"))
        std::fprintf(stderr, "the lyrics window did not show\n");
    return watch(*window, [&] { click(context.display, *window, PlayX, PlayY); });
}

double mprisFlood(const Context& context)
{
    Player player(context.executable);
    std::string entries;
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3"}) {
        Mp3Spec tone;
        tone.seconds = 30;
        makeMp3(player.folder() + name, tone);
        entries += player.folder() + name + "\r\r\n";
    }
    std::ofstream(player.folder() + "List.lst", std::ios::binary) << "0\r\r\n" << entries;
    player.start();
    const auto window = waitForWindow(context.display, player.pid(), "KolviPlayer");
    if (!window)
        return -1;
    std::this_thread::sleep_for(500ms);  // on the bus by then
    std::atomic<int> clientsDone = 0;
    const auto floodStart = Clock::now();
    std::vector<std::thread> clients;
    const double longest = watch(
        *window,
        [&] {
            for (int client = 0; client < 4; ++client) {
                clients.emplace_back([&, client] {
                    const QString name = QStringLiteral("flood%1").arg(client);
                    {
                        QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, name);
                        const char* methods[] = {"Next", "PlayPause", "Previous", "Play", "Pause"};
                        // Without waiting for each answer: up to 100 awaiting one,
                        // as many as the bus holds for a caller.
                        for (int i = 0; i < 5000; ++i) {
                            QDBusPendingCall sent = bus.asyncCall(QDBusMessage::createMethodCall(
                                "org.mpris.MediaPlayer2.kolviplayer", "/org/mpris/MediaPlayer2",
                                "org.mpris.MediaPlayer2.Player", methods[i % 5]));
                            if (i % 100 == 99 || i == 4999)
                                sent.waitForFinished();
                        }
                    }
                    QDBusConnection::disconnectFromBus(name);
                    ++clientsDone;
                });
            }
        },
        [&] { return clientsDone == 4; }, 10min);
    for (std::thread& client : clients)
        client.join();
    std::fprintf(stderr, "the flood took %.1f s\n",
                 std::chrono::duration<double>(Clock::now() - floodStart).count());
    return longest;
}

struct Case {
    const char* name;
    double (*run)(const Context&);
};

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PATH-TO-kolviplayer [CASE...]\n", argv[0]);
        return 2;
    }
    XInitThreads();
    DisplayPtr display(XOpenDisplay(nullptr));
    if (!display) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    XSetErrorHandler(ignoreError);
    const Case cases[] = {
        {"play", &healthyServer},
        {"fifo", &fifoEntry},
        {"sparse", &sparseEntry},
        {"stopped-server", &stoppedServer},
        {"nul-list", &nulList},
        {"lyrics", &lyricsTrack},
        {"mpris", &mprisFlood},
    };
    const Context context{QString::fromLocal8Bit(argv[1]), display.get()};
    std::printf("%-16s %s\n", "case", "longest stall of the main window, ms");
    for (const Case& c : cases) {
        bool chosen = argc == 2;
        for (int i = 2; i < argc; ++i)
            chosen = chosen || c.name == std::string(argv[i]);
        if (!chosen)
            continue;
        stillFrozen = false;
        const double ms = c.run(context);
        if (ms < 0)
            std::printf("%-16s (no window)\n", c.name);
        else
            std::printf("%-16s %s%.0f\n", c.name, stillFrozen ? "at least " : "", ms);
        std::fflush(stdout);
    }
    return 0;
}
