// Start-up and close of the real executable on hostile "List.lst" files: a
// first line of 10 MB, 1 GB without a line feed, an entry line of 10 MB, and
// a FIFO. Measured from launch until a window of the process (the main
// window or the conversion message) is mapped, and from the window system's
// close request to that window until the process is gone. The files are
// made in a temporary folder and removed at the end. Run under a display,
// e.g.
//   scripts/with-test-env.sh build/bench/bench/bench_hostile_list build/bench/app/kolviplayer
#include "bench/BenchStart.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace {

constexpr int Rounds = 3;
constexpr qint64 GiveUpMs = 120'000;
constexpr std::size_t MiB = 1024 * 1024;

// What a desktop sends when the user closes a window.
void requestClose(Display* display, Window window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

struct Times {
    double startMs = -1;  // launch to a window mapped; -1: none within the limit
    double closeMs = -1;  // close request to the process gone
};

Times startAndClose(Display* display, const QString& folder)
{
    QProcess player;
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "xcb");
    player.setProcessEnvironment(environment);
    Times times;
    QElapsedTimer clock;
    clock.start();
    player.start(folder + "/kolviplayer", {});
    player.waitForStarted(10000);
    const long pid = static_cast<long>(player.processId());
    std::optional<Window> window;
    // Polled at a millisecond's pace: a busy loop would take one of the
    // machine's cores from the player and the X server it measures.
    while (!(window = windowOf(display, pid, "")) && clock.elapsed() < GiveUpMs)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (!window) {
        player.kill();
        player.waitForFinished(10000);
        return times;
    }
    times.startMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    clock.restart();
    requestClose(display, *window);
    if (player.waitForFinished(static_cast<int>(GiveUpMs)))
        times.closeMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    else
        player.kill();
    player.waitForFinished(10000);
    return times;
}

void writeRepeated(std::ofstream& out, char byte, std::size_t count)
{
    const std::string block(MiB, byte);
    for (; count >= block.size(); count -= block.size())
        out.write(block.data(), static_cast<std::streamsize>(block.size()));
    out.write(block.data(), static_cast<std::streamsize>(count));
}

struct Case {
    const char* name;
    std::function<void(const std::string& list)> make;
};

std::string describe(double ms) { return ms < 0 ? std::string("  (none)") : std::to_string(static_cast<int>(ms)); }

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const DisplayHandle display = startOnDisplay(argc, argv);
    if (!display)
        return 2;

    const std::vector<Case> cases = {
        {"first line of 10 MB", [](const std::string& list) {
             std::ofstream out(list, std::ios::binary);
             writeRepeated(out, '7', 10 * MiB);
             out << "x\r\r\n/music/a.mp3\r\r\n";
         }},
        {"1 GB without a line feed", [](const std::string& list) {
             std::ofstream out(list, std::ios::binary);
             writeRepeated(out, 'a', 1024 * MiB);
         }},
        {"entry line of 10 MB", [](const std::string& list) {
             std::ofstream out(list, std::ios::binary);
             out << "0\r\r\n/";
             writeRepeated(out, 'b', 10 * MiB);
             out << ".mp3\r\r\n/music/a.mp3\r\r\n";
         }},
        {"FIFO with no writer", [](const std::string& list) { ::mkfifo(list.c_str(), 0600); }},
    };

    std::printf("%-26s %s\n", "List.lst", "start ms / close ms, each round");
    for (const Case& c : cases) {
        QTemporaryDir folder;
        QFile::copy(argv[1], folder.filePath("kolviplayer"));
        const std::string list = folder.filePath("List.lst").toStdString();
        std::string line;
        double worst = 0;
        for (int round = 0; round < Rounds; ++round) {
            // Made anew each round: a close saves the list, and the save replaces a FIFO.
            QFile::remove(QString::fromStdString(list));
            c.make(list);
            const Times times = startAndClose(display.get(), folder.path());
            line += " " + describe(times.startMs) + " / " + describe(times.closeMs) + ";";
            worst = (times.startMs < 0 || times.closeMs < 0) ? 1e9 : std::max({worst, times.startMs, times.closeMs});
        }
        std::printf("%-26s%s  worst %s ms\n", c.name, line.c_str(), worst >= 1e9 ? "(gave up)" : describe(worst).c_str());
        std::fflush(stdout);
    }
    return 0;
}
