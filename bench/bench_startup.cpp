// Start-up of the real executable on the X display: from launching
// kolviplayer until its main window is mapped, with no "List.lst" and with
// one of 100,000 entries. Run under a display, e.g.
//   scripts/with-test-env.sh build/bench/bench/bench_startup build/bench/app/kolviplayer
#include "bench/BenchStart.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <thread>
#include <vector>

namespace {

constexpr int Entries = 100'000;
constexpr int Rounds = 15;

bool mainWindowMapped(Display* display)
{
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
    bool found = false;
    for (unsigned int i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes{};
        char* name = nullptr;
        if (XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable &&
            XFetchName(display, children[i], &name) && name != nullptr) {
            found = std::strcmp(name, "KolviPlayer") == 0;
            XFree(name);
        }
    }
    if (children != nullptr)
        XFree(children);
    return found;
}

double startUp(Display* display, const QString& folder)
{
    QProcess player;
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "xcb");
    player.setProcessEnvironment(environment);
    QElapsedTimer clock;
    clock.start();
    player.start(folder + "/kolviplayer", {});
    // Polled at a millisecond's pace: a busy loop would take one of the
    // machine's cores from the player and the X server it measures.
    while (!mainWindowMapped(display) && clock.elapsed() < 30000)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const double elapsed = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    player.kill();  // no save: the playlist stays as written
    player.waitForFinished(10000);
    return elapsed;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    const DisplayHandle display = startOnDisplay(argc, argv);
    if (!display)
        return 2;
    QCoreApplication application(argc, argv);
    QTemporaryDir empty;
    QTemporaryDir full;
    for (const QTemporaryDir* dir : {&empty, &full})
        QFile::copy(argv[1], dir->filePath("kolviplayer"));
    std::ofstream list(full.filePath("List.lst").toStdString(), std::ios::binary);
    list << "3\r\r\n";
    for (int i = 0; i < Entries; ++i)
        list << "/home/user/Music/Some Artist/Some Album/" << i << " - a song title of usual length.mp3\r\r\n";
    list.close();

    startUp(display.get(), empty.path());  // warm-up: the page cache and fonts
    std::vector<double> emptyTimes;
    std::vector<double> fullTimes;
    for (int round = 0; round < Rounds; ++round) {
        emptyTimes.push_back(startUp(display.get(), empty.path()));
        fullTimes.push_back(startUp(display.get(), full.path()));
    }
    const double emptyStart = median(emptyTimes);
    const double fullStart = median(fullTimes);
    std::printf("launch to window mapped, no List.lst:       %7.1f ms\n", emptyStart);
    std::printf("launch to window mapped, %d entries:    %7.1f ms (%.2fx)\n", Entries, fullStart,
                fullStart / emptyStart);
    return 0;
}
