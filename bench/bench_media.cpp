// The media device on a 10-minute 320 kbit/s file played into the sound
// server: CPU time against the mpg123 command-line player on the same file
// and sink in the same run, the time of an open and of a seek (pause, From,
// play), and the memory an open device takes. Run under the test sound server:
//   scripts/with-test-env.sh build/bench/bench/bench_media [seconds]
#include "media/MPlayer.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <malloc.h>
#include <memory>
#include <numbers>
#include <random>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

constexpr int Rate = 44100;
constexpr int Minutes = 10;

double seconds(const timeval& time) { return static_cast<double>(time.tv_sec) + time.tv_usec / 1e6; }

double cpuSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

long heapKilobytes()
{
    const struct mallinfo2 heap = mallinfo2();
    return static_cast<long>((heap.uordblks + heap.hblkhd) / 1024);
}

long rssKilobytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

// Chords and a little noise, so that the encoder has something to spend 320 kbit/s on.
bool makeLongMp3(const QString& path)
{
    QProcess lame;
    lame.start("lame", {"--quiet", "-r", "-s", "44.1", "--bitwidth", "16", "--signed", "--little-endian", "-m", "j", "-b",
                        "320", "--cbr", "-", path});
    if (!lame.waitForStarted())
        return false;
    std::mt19937 noise(1);
    std::normal_distribution<double> hiss(0.0, 300.0);
    std::vector<std::int16_t> block(2 * Rate);
    long frame = 0;
    for (int second = 0; second < Minutes * 60; ++second) {
        const double root = 220.0 * std::pow(2.0, (second % 12) / 12.0);
        for (int i = 0; i < Rate; ++i, ++frame) {
            const double t = static_cast<double>(frame) / Rate;
            double value = 0;
            for (double ratio : {1.0, 1.25, 1.5, 2.0})
                value += 3000.0 * std::sin(2 * std::numbers::pi * root * ratio * t);
            block[2 * i] = static_cast<std::int16_t>(value + hiss(noise));
            block[2 * i + 1] = static_cast<std::int16_t>(value * 0.8 + hiss(noise));
        }
        lame.write(reinterpret_cast<const char*>(block.data()), static_cast<qint64>(block.size() * 2));
        lame.waitForBytesWritten(-1);
    }
    lame.closeWriteChannel();
    return lame.waitForFinished(-1) && lame.exitCode() == 0;
}

void runEventLoopFor(std::chrono::milliseconds duration)
{
    QEventLoop loop;
    QTimer::singleShot(duration, &loop, &QEventLoop::quit);
    loop.exec();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The command-line player on the same file for the same time; its CPU seconds.
double mpg123CpuSeconds(const std::string& file, std::chrono::milliseconds duration)
{
    pid_t pid = 0;
    std::vector<std::string> args{"mpg123", "-q", "-o", "pulse", file};
    std::vector<char*> argv;
    for (auto& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    if (posix_spawnp(&pid, "mpg123", nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    runEventLoopFor(duration);
    kill(pid, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int playSeconds = argc > 1 ? std::max(2, std::atoi(argv[1])) : 20;
    const auto playTime = std::chrono::seconds(playSeconds);
    QTemporaryDir dir;
    const QString file = dir.filePath("long.mp3");
    std::printf("Encoding a %d-minute 320 kbit/s file...\n", Minutes);
    if (!makeLongMp3(file)) {
        std::printf("lame failed\n");
        return 1;
    }
    std::printf("File: %.1f MB\n", QFileInfo(file).size() / 1e6);

    TMediaPlayer player;
    player.SetFileName(file.toStdString());
    // The first open also loads the output module and the sound server's client library.
    const long heapBeforeFirst = heapKilobytes();
    const long rssBeforeFirst = rssKilobytes();
    player.Open();
    std::printf("First open of the process: heap %+ld kB, resident %+ld kB (libraries loaded included)\n",
                heapKilobytes() - heapBeforeFirst, rssKilobytes() - rssBeforeFirst);
    player.Close();

    std::vector<double> openMs;
    for (int round = 0; round < 7; ++round) {
        QElapsedTimer timer;
        timer.start();
        player.Open();
        openMs.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        player.Close();
    }
    std::printf("Open (scan of every frame, output started): median %.1f ms, worst %.1f ms (goal < 50 ms)\n",
                median(openMs), *std::max_element(openMs.begin(), openMs.end()));

    const long heapClosed = heapKilobytes();
    const long rssClosed = rssKilobytes();
    player.Open();
    const long heapOpen = heapKilobytes();
    player.Play();
    runEventLoopFor(std::chrono::seconds(2));
    std::printf("Memory of an open device: heap in use %+ld kB open, %+ld kB playing; resident %+ld kB playing "
                "(goal < 5 MB beyond the frame index)\n",
                heapOpen - heapClosed, heapKilobytes() - heapClosed, rssKilobytes() - rssClosed);

    std::vector<double> seekMs;
    std::mt19937 where(7);
    for (int round = 0; round < 50; ++round) {
        const DWORD target = where() % (player.Length() - 5000);
        QElapsedTimer timer;
        timer.start();
        player.Pause();
        player.SetFrom(target);
        player.Play();
        seekMs.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        runEventLoopFor(std::chrono::milliseconds(40));
    }
    std::printf("Seek (Pause, From, Play): median %.3f ms, worst %.3f ms (goal < 5 ms)\n", median(seekMs),
                *std::max_element(seekMs.begin(), seekMs.end()));

    player.SetFrom(0);
    player.Play();
    runEventLoopFor(std::chrono::seconds(1));
    const double ourStart = cpuSeconds(RUSAGE_SELF);
    runEventLoopFor(playTime);
    const double ours = cpuSeconds(RUSAGE_SELF) - ourStart;
    const DWORD position = player.Position();
    player.Close();
    const double theirs = mpg123CpuSeconds(file.toStdString(), playTime);
    std::printf("CPU over %d s of playing: KolviPlayer's device %.3f s (%.2f%% of a core), mpg123 -o pulse %.3f s "
                "(%.2f%%); ratio %.2f (goal <= 1.2)\n",
                playSeconds, ours, 100 * ours / playSeconds, theirs, 100 * theirs / playSeconds, ours / theirs);
    std::printf("(position when measured: %u ms)\n", position);
    return 0;
}
