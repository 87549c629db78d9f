// Click to lyrics on screen: the real player plays a track with a synced
// .lrc beside it while the lyrics host never answers (routed to a local web
// server that holds every request, or to a name that does not resolve).
// The lyrics button is clicked through the X server and the lyrics window's
// pixels are read from the X server until its page shows lines of text:
// the time from the click to lyrics a listener can read. The first show of
// each run starts the web engine; the later ones (hidden, then shown again)
// find it started. Run under the test environment:
//   scripts/with-test-env.sh build/bench/bench/lyrics/bench_lyrics_click build/bench/app/kolviplayer [RUNS]
#include "bench/BenchStart.h"
#include "resources/BuildSettings.h"
#include "tests/support/LocalHttpServer.h"
#include "tests/support/Mp3Fixture.h"
#include "tests/support/executable/PlayerProcess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

constexpr int LimitMs = 30000;
constexpr unsigned long PaperColour = 0xfbfaf6;
// Pixels this dark in every channel are text (the lines are #666, drawn
// with smoothed edges).
constexpr unsigned long InkLevel = 0xA0;
// A few lines of text at the page's size (a page of lines holds about 4,700).
constexpr int ReadableInkPixels = 2000;

// A window looked at may vanish meanwhile (a hidden lyrics window, the engine's own).
int ignoreError(Display*, XErrorEvent*) { return 0; }

void xdotool(const QStringList& arguments)
{
    QProcess process;
    process.start("xdotool", arguments);
    process.waitForFinished(30000);
}

// Runs the bench's own event loop (the web server) while waiting.
template <typename Condition> bool waitFor(Condition condition, int limitMs = LimitMs)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < limitMs) {
        if (condition())
            return true;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
        std::this_thread::sleep_for(2ms);
    }
    return false;
}

// The window shows the page's paper (#fbfaf6) over at least half of it,
// with lines of text on it: a window not yet drawn is black or white, and
// the host's page would be another.
bool showsReadableLyrics(Display* display, Window window)
{
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, window, &attributes))
        return false;
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (image == nullptr)
        return false;
    int paper = 0;
    int ink = 0;
    for (int y = 0; y < image->height; ++y)
        for (int x = 0; x < image->width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y) & 0xFFFFFF;
            paper += pixel == PaperColour;
            ink += ((pixel >> 16) & 0xFF) < InkLevel && ((pixel >> 8) & 0xFF) < InkLevel && (pixel & 0xFF) < InkLevel;
        }
    const bool readable = paper * 2 >= image->width * image->height && ink >= ReadableInkPixels;
    XDestroyImage(image);
    return readable;
}

class Player {
public:
    Player(const QString& executable, const QByteArray& hostRule) : display_(XOpenDisplay(nullptr))
    {
        placePlayer(executable, dir_.path());
        QFile::rename(dir_.filePath(QFileInfo(executable).fileName()), dir_.filePath("kolviplayer"));
        const std::string folder = dir_.path().toStdString() + "/";
        Mp3Spec tone;
        tone.seconds = 120;
        makeMp3(folder + "song.mp3", tone);
        {
            std::ofstream lrc(folder + "song.lrc", std::ios::binary);
            for (int line = 0; line < 60; ++line) {
                char stamp[16];
                std::snprintf(stamp, sizeof stamp, "[%02d:%02d.00]", line * 2 / 60, line * 2 % 60);
                lrc << stamp << "가사 " << line << "번째 줄 lyrics line\n";
            }
        }
        std::ofstream(folder + "List.lst", std::ios::binary) << "0\r\r\n" << folder << "song.mp3\r\r\n";
        auto environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "xcb");
        environment.insert("QTWEBENGINE_CHROMIUM_FLAGS", environment.value("QTWEBENGINE_CHROMIUM_FLAGS") +
                                                              " --no-proxy-server --host-resolver-rules=\"MAP " +
                                                              KOLVI_LYRICS_HOST " " + QString::fromLatin1(hostRule) +
                                                              "\"");
        process_.setProcessEnvironment(environment);
        process_.setProcessChannelMode(QProcess::ForwardedOutputChannel);
        process_.setStandardErrorFile(QProcess::nullDevice());
        process_.start(dir_.filePath("kolviplayer"), {});
        process_.waitForStarted(30000);
        waitFor([&] { return (main_ = windowOf(display_.get(), pid(), "KolviPlayer")).has_value(); });
    }
    ~Player()
    {
        process_.kill();
        process_.waitForFinished(10000);
    }
    bool running() const { return process_.state() == QProcess::Running && main_; }
    long pid() const { return static_cast<long>(process_.processId()); }

    void clickAt(int x, int y) const
    {
        int rootX = 0;
        int rootY = 0;
        Window child = 0;
        XTranslateCoordinates(display_.get(), *main_, DefaultRootWindow(display_.get()), x, y, &rootX, &rootY, &child);
        xdotool({"mousemove", QString::number(rootX), QString::number(rootY)});
        xdotool({"click", "1"});
    }
    void play() const { clickAt(57 + 25, 8 + 12); }
    std::optional<Window> lyricsWindow() const { return windowOf(display_.get(), pid(), "Lyrics Viewer"); }

    // Clicks the lyrics button (the pointer already on it); answers the
    // milliseconds until the lyrics window shows readable text.
    std::optional<double> showLyrics() const
    {
        QElapsedTimer clock;
        clock.start();
        xdotool({"click", "1"});
        std::optional<Window> window;
        if (!waitFor([&] {
                window = lyricsWindow();
                return window && showsReadableLyrics(display_.get(), *window);
            }))
            return std::nullopt;
        return static_cast<double>(clock.nsecsElapsed()) / 1e6;
    }
    bool hideLyrics() const
    {
        xdotool({"click", "1"});
        return waitFor([&] { return !lyricsWindow(); });
    }
    void pointAtLyricsButton() const
    {
        int rootX = 0;
        int rootY = 0;
        Window child = 0;
        XTranslateCoordinates(display_.get(), *main_, DefaultRootWindow(display_.get()), 107 + 31, 356 + 12, &rootX,
                              &rootY, &child);
        xdotool({"mousemove", QString::number(rootX), QString::number(rootY)});
    }

private:
    DisplayHandle display_;
    QTemporaryDir dir_;
    QProcess process_;
    std::optional<Window> main_;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

void settle() { waitFor([] { return false; }, 2000); }

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PATH-TO-kolviplayer [RUNS]\n", argv[0]);
        return 2;
    }
    if (DisplayHandle probe(XOpenDisplay(nullptr)); !probe) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    XSetErrorHandler(ignoreError);
    const QString executable = QString::fromLocal8Bit(argv[1]);
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;

    LocalHttpServer silent;
    silent.hold("/kr/lyrics_plugin_index.html", true);
    silent.hold("/kr/lyrics_plugin_show.html", true);
    const struct {
        const char* name;
        QByteArray rule;
    } hosts[] = {
        {"host silent (connects, never answers)", "127.0.0.1:" + QByteArray::number(silent.port())},
        {"host name not resolving", "~NOTFOUND"},
    };
    for (const auto& host : hosts) {
        std::vector<double> first;
        std::vector<double> later;
        for (int run = 0; run < runs; ++run) {
            Player player(executable, host.rule);
            if (!player.running()) {
                std::fprintf(stderr, "kolviplayer did not show its window\n");
                return 1;
            }
            player.play();
            settle();
            player.pointAtLyricsButton();
            for (int show = 0; show < 3; ++show) {
                const std::optional<double> ms = player.showLyrics();
                if (!ms) {
                    std::fprintf(stderr, "the lyrics window did not show readable lyrics\n");
                    return 1;
                }
                (show == 0 ? first : later).push_back(*ms);
                settle();
                if (!player.hideLyrics()) {
                    std::fprintf(stderr, "the lyrics window did not hide\n");
                    return 1;
                }
                settle();
            }
        }
        std::printf("%s: click to lyrics readable, first show median %.0f ms (", host.name, median(first));
        for (double ms : first)
            std::printf(" %.0f", ms);
        std::printf(" ); later shows median %.0f ms (", median(later));
        for (double ms : later)
            std::printf(" %.0f", ms);
        std::printf(" )\n");
        std::fflush(stdout);
    }
    std::printf("requests the silent host got: %zu\n", silent.pageRequests().size());
    return 0;
}
