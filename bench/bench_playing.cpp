// What playing costs and how promptly the transport is heard, against other
// players in the same run: a 10-minute 320 kbit/s MP3 (a sox tone, 8 s of
// tone and 2 s of silence in every 10 s, encoded by lame) played into the
// test sink by the media device in a process of its own, by `mpg123 -o pulse`
// and by `audacious -H`. For each: CPU (utime + stime) and wake-ups (context
// switches summed over the process's threads) over a window of playing, and
// the sound server's wake-ups meanwhile, which a player's buffering sets. Then
// the media device in this process: play, pause, stop and seek, each timed
// from the command to the change heard on the sink's monitor. Run under the
// test sound server:
//   scripts/with-test-env.sh build/bench/bench/bench_playing [window seconds] [rounds] [track]
#include "bench/BenchStart.h"
#include "media/MPlayer.h"
#include "tests/support/MonitorRecorder.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <optional>
#include <signal.h>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

constexpr int Rate = 44100;
constexpr int BlockSeconds = 10;  // of which ToneSeconds tone, the rest silence
constexpr int ToneSeconds = 8;
constexpr int Loud = 2000;

using Clock = std::chrono::steady_clock;

double now() { return std::chrono::duration<double>(Clock::now().time_since_epoch()).count(); }

bool makeTrack(const QString& path)
{
    const QString command = QString("sox -n -r %1 -c 2 -b 16 -e signed-integer -t raw - synth %2 sine 440 vol 0.5 pad 0 %3 "
                                    "repeat %4 | lame --quiet -r -s 44.1 --bitwidth 16 --signed --little-endian -b 320 "
                                    "--cbr - '%5'")
                                .arg(Rate)
                                .arg(ToneSeconds)
                                .arg(BlockSeconds - ToneSeconds)
                                .arg(600 / BlockSeconds - 1)
                                .arg(path);
    QProcess shell;
    shell.start("sh", {"-c", command});
    return shell.waitForFinished(-1) && shell.exitCode() == 0;
}

// CPU seconds of a process, all its threads.
double cpuOf(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    const auto close = text.rfind(')');
    if (close == std::string::npos)
        return 0;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    double ticks = 0;
    for (int index = 3; fields >> field; ++index) {
        if (index == 14 || index == 15)
            ticks += std::stod(field);
        if (index == 15)
            break;
    }
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// Context switches, voluntary and not, summed over a process's threads.
long switchesOf(pid_t pid)
{
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    long total = 0;
    DIR* dir = opendir(tasks.c_str());
    if (dir == nullptr)
        return 0;
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        std::ifstream status(tasks + "/" + entry->d_name + "/status");
        std::string line;
        while (std::getline(status, line)) {
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0 || line.rfind("nonvoluntary_ctxt_switches:", 0) == 0)
                total += std::stol(line.substr(line.find(':') + 1));
        }
    }
    closedir(dir);
    return total;
}

int threadsOf(pid_t pid)
{
    int count = 0;
    DIR* dir = opendir(("/proc/" + std::to_string(pid) + "/task").c_str());
    if (dir == nullptr)
        return 0;
    while (const dirent* entry = readdir(dir))
        count += entry->d_name[0] != '.';
    closedir(dir);
    return count;
}

pid_t spawn(std::vector<std::string> args)
{
    std::vector<char*> argv;
    for (auto& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const int error = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? pid : -1;
}

// The sink's monitor, with the time each recorded frame arrived here: a
// change is timed from a command to its arrival, so the recorder's own
// delay (parec's 20 ms fragments) is in every figure alike.
class Monitor {
public:
    explicit Monitor(const char* sink) : recorder_(sink) {}
    bool start() { return recorder_.start(); }

    void poll()
    {
        const auto samples = recorder_.arrived();
        for (std::size_t i = 0; i + 1 < samples.size(); i += 2)
            frames_.push_back(std::max(std::abs(int(samples[i])), std::abs(int(samples[i + 1]))));
        if (!samples.empty())
            arrivals_.emplace_back(size(), now());
    }
    // When frame arrived: at the first poll that brought it.
    double arrivalOf(std::int64_t frame) const
    {
        const auto found = std::upper_bound(arrivals_.begin(), arrivals_.end(), frame,
                                            [](std::int64_t value, const auto& arrival) { return value < arrival.first; });
        return found == arrivals_.end() ? now() : found->second;
    }
    std::int64_t size() const { return static_cast<std::int64_t>(frames_.size()); }
    bool loud(std::int64_t frame) const { return frames_[static_cast<std::size_t>(frame)] > Loud; }

    // Polls until sound is heard at or after frame from; that frame, or nothing within limit seconds.
    std::optional<std::int64_t> waitLoud(std::int64_t from, double limit = 5)
    {
        const double end = now() + limit;
        for (std::int64_t frame = std::max<std::int64_t>(from, 0); now() < end; idle()) {
            for (; frame < size(); ++frame)
                if (loud(frame))
                    return frame;
        }
        return std::nullopt;
    }
    // Polls until 0.5 s of silence has been heard after frame from; the frame after the last loud one.
    std::optional<std::int64_t> waitQuiet(std::int64_t from, double limit = 5)
    {
        const double end = now() + limit;
        std::int64_t lastLoud = from;
        for (std::int64_t frame = std::max<std::int64_t>(from, 0); now() < end; idle()) {
            for (; frame < size(); ++frame)
                if (loud(frame))
                    lastLoud = frame + 1;
            if (size() - lastLoud > Rate / 2)
                return lastLoud;
        }
        return std::nullopt;
    }
    void idle()
    {
        QCoreApplication::processEvents();
        QThread::usleep(2000);
        poll();
    }

private:
    MonitorRecorder recorder_;
    std::vector<int> frames_;
    std::vector<std::pair<std::int64_t, double>> arrivals_;  // frames recorded, and when
};

struct Cost {
    double cpuPercent = 0;
    double wakeups = 0;
    int threads = 0;
    double serverWakeups = -1;  // the sound server's meanwhile, when it can be found
};

// The test sound server's process, from the pid file it keeps in the runtime folder.
pid_t soundServer()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    long pid = 0;
    std::ifstream file(std::string(runtime != nullptr ? runtime : "") + "/pulse/pid");
    return file >> pid ? static_cast<pid_t>(pid) : 0;
}

int sinkInputs()
{
    QProcess pactl;
    pactl.start("pactl", {"list", "short", "sink-inputs"});
    if (!pactl.waitForFinished(5000))
        return 0;
    return static_cast<int>(pactl.readAllStandardOutput().count('\n'));
}

// Starts a player, waits until it streams to the server, lets it settle,
// then measures a window of playing. Nothing records the sink meanwhile: a
// recording would make the server ask every player for sound more often.
std::optional<Cost> measure(const std::vector<std::string>& command, int window)
{
    const pid_t pid = spawn(command);
    if (pid <= 0)
        return std::nullopt;
    std::optional<Cost> cost;
    const double limit = now() + 30;
    while (sinkInputs() == 0 && now() < limit)
        QThread::msleep(50);
    if (now() < limit) {
        QThread::sleep(3);
        const pid_t server = soundServer();
        const double cpu = cpuOf(pid);
        const long switches = switchesOf(pid);
        const long serverSwitches = server > 0 ? switchesOf(server) : 0;
        const double start = now();
        const int threads = threadsOf(pid);
        QThread::sleep(static_cast<unsigned long>(window));
        const double elapsed = now() - start;
        cost = Cost{100 * (cpuOf(pid) - cpu) / elapsed, static_cast<double>(switchesOf(pid) - switches) / elapsed, threads,
                    server > 0 ? static_cast<double>(switchesOf(server) - serverSwitches) / elapsed : -1.0};
    }
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    while (sinkInputs() > 0)
        QThread::msleep(50);
    return cost;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void reportLatency(const char* what, const std::vector<double>& ms)
{
    std::printf("  %-6s median %6.1f ms, worst %6.1f ms (%zu rounds)\n", what, median(ms),
                ms.empty() ? -1.0 : *std::max_element(ms.begin(), ms.end()), ms.size());
}

DWORD msOf(int block, double seconds) { return static_cast<DWORD>((block * BlockSeconds + seconds) * 1000); }

// The media device of this process: each command timed from its call to the change heard on the monitor.
void latencies(const char* sink, const QString& track, int rounds)
{
    Monitor monitor(sink);
    if (!monitor.start()) {
        std::fprintf(stderr, "the sink's monitor cannot be recorded\n");
        return;
    }
    TMediaPlayer player;
    player.SetFileName(track.toStdString());
    player.Open();
    std::vector<double> play, pause, stop, seek;
    auto latency = [&](double commanded, std::optional<std::int64_t> heard) {
        return heard ? std::max(0.0, 1000.0 * (monitor.arrivalOf(*heard) - commanded)) : -1.0;
    };
    for (int round = 0; round < rounds; ++round) {
        const int block = 1 + round * 3 % 50;
        // Play from a stopped device, in the tone.
        player.SetFrom(msOf(block, 2));
        monitor.poll();
        std::int64_t from = monitor.size();
        double commanded = now();
        player.Play();
        auto heard = monitor.waitLoud(from);
        play.push_back(latency(commanded, heard));
        // Pause in the middle of the tone, after some of it was heard.
        const std::int64_t settle = monitor.size() + Rate / 2;
        monitor.waitLoud(settle);
        from = monitor.size();
        commanded = now();
        player.Pause();
        heard = monitor.waitQuiet(from);
        pause.push_back(latency(commanded, heard));
        // Resume, then stop.
        player.Resume();
        monitor.waitLoud(monitor.size() + Rate / 2);
        from = monitor.size();
        commanded = now();
        player.Stop();
        heard = monitor.waitQuiet(from);
        stop.push_back(latency(commanded, heard));
        // Seek while playing the silence into the tone, as the position slider does.
        player.SetFrom(msOf(block, ToneSeconds + 0.2));
        player.Play();
        monitor.waitQuiet(monitor.size());
        while (player.Position() < msOf(block, ToneSeconds + 0.7))
            monitor.idle();
        from = monitor.size();
        commanded = now();
        player.Pause();
        player.SetFrom(msOf(block + 1, 3));
        player.Play();
        heard = monitor.waitLoud(from);
        seek.push_back(latency(commanded, heard));
        player.Stop();
        monitor.waitQuiet(monitor.size());
    }
    player.Close();
    std::printf("Heard on the sink's monitor, from the command (the monitor's own delay included):\n");
    reportLatency("play", play);
    reportLatency("pause", pause);
    reportLatency("stop", stop);
    reportLatency("seek", seek);
}

// The child: the media device playing the track, the event loop running, until killed.
int playAlone(const char* track)
{
    TMediaPlayer player;
    player.SetFileName(track);
    player.Open();
    player.Play();
    return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc == 3 && std::string(argv[1]) == "--play")
        return playAlone(argv[2]);
    if (!startUnderTestEnvironment())
        return 1;
    const char* sink = std::getenv("KOLVI_TEST_SINK");
    const int window = argc > 1 ? std::max(5, std::atoi(argv[1])) : 30;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;
    QTemporaryDir dir;
    // A track made by an earlier run may be named, to save the encoding.
    const QString track = argc > 3 ? QString(argv[3]) : dir.filePath("long.mp3");
    if (!QFile::exists(track) && !makeTrack(track)) {
        std::fprintf(stderr, "sox or lame failed\n");
        return 1;
    }
    const std::string file = track.toStdString();
    const struct {
        const char* name;
        std::vector<std::string> command;
    } players[] = {
        {"KolviPlayer's media device", {QCoreApplication::applicationFilePath().toStdString(), "--play", file}},
        {"mpg123 -o pulse", {"mpg123", "-q", "-o", "pulse", file}},
        {"audacious -H", {"audacious", "-H", file}},
    };
    std::printf("Playing a 10-minute 320 kbit/s file, %d s window each:\n", window);
    for (const auto& player : players) {
        const auto cost = measure(player.command, window);
        if (cost)
            std::printf("  %-28s CPU %5.2f%% of a core, %6.1f wake-ups/s (%d threads); sound server %6.1f wake-ups/s\n",
                        player.name, cost->cpuPercent, cost->wakeups, cost->threads, cost->serverWakeups);
        else
            std::printf("  %-28s never heard\n", player.name);
    }
    latencies(sink, track, rounds);
    return 0;
}
