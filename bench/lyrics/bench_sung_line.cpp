// How closely the lyrics window's highlighted line follows the sound: the
// real player plays a minute-long track into the sound server, the lyrics
// host cannot be reached and a file beside the track holds a line every
// half second, so the window shows its own page of synced lyrics. Sampled
// a few hundred times: the device's position just before and just after
// reading the highlighted line from the page. A line shown while a later
// one is already sung is late by at least (position before - that later
// line's start) and at most (position after - its start); the second
// figure includes the time the read itself takes. Then a seek, and the
// time until the line of the new position is highlighted. Run under the
// test environment:
//   scripts/with-test-env.sh build/bench/bench/lyrics/bench_sung_line
#include "bench/BenchStart.h"
#include "framework/Application.h"
#include "resources/BuildSettings.h"
#include "tests/support/Mp3Fixture.h"
#include "tests/support/ScopedBackends.h"
#include "forms/TfrmKolviPlayer.h"
#include "forms/TfrmLyrics.h"
#include "tests/support/webengine/WebEngineTesting.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <vector>

namespace {

constexpr int LineMs = 500;
constexpr int Lines = 120;
constexpr int Samples = 300;

double percentile(std::vector<double> values, double fraction)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1))];
}

int highlightedLine(QWebEngineView* view)
{
    const QString id = runScript(view, "(document.querySelector('.lyrics p.now') || {id: ''}).id").toString();
    return id.startsWith('l') ? id.mid(1).toInt() : -1;
}

// Lateness of a shown line at a position: how long the line after it has been sung.
double lateMs(int shown, qint64 positionMs)
{
    const qint64 nextStart = static_cast<qint64>(shown + 1) * LineMs;
    return positionMs > nextStart ? static_cast<double>(positionMs - nextStart) : 0.0;
}

}  // namespace

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "");
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") +
                                              " --host-resolver-rules=\"MAP " KOLVI_LYRICS_HOST " ~NOTFOUND\"");
    QApplication qtApplication(argc, argv);
    if (!startUnderTestEnvironment())
        return 1;
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/";
    Mp3Spec settings;
    settings.seconds = 60;
    makeMp3(folder + "song.mp3", settings);
    {
        std::ofstream lrc(folder + "song.lrc", std::ios::binary);
        for (int line = 0; line < Lines; ++line) {
            const int ms = line * LineMs;
            char stamp[32];
            std::snprintf(stamp, sizeof stamp, "[%02d:%02d.%02d]", ms / 60000, ms / 1000 % 60, ms % 1000 / 10);
            lrc << stamp << "line " << line << "\n";
        }
    }
    std::ofstream(folder + "List.lst", std::ios::binary) << "0\r\r\n" << folder << "song.mp3\r\r\n";

    const ScopedLyricsDatabase noDatabase("");
    auto application = std::make_unique<TApplication>(folder + "kolviplayer");
    application->CreateForm(frmKolviPlayer);
    application->CreateForm(frmLyrics);
    TfrmKolviPlayer* form = frmKolviPlayer;
    form->show();
    form->btnPlayClick(form->btnPlay);
    form->btnLyrics->click();
    QWebEngineView* view = engineViewOf(frmLyrics->Browser);
    const QString lastLine = QStringLiteral("line %1").arg(Lines - 1);
    if (form->IsPlaying == 0 || view == nullptr
        || !QTest::qWaitFor([&] { return runScript(view, "document.body.innerText").toString().contains(lastLine); }, 60000)
        || !QTest::qWaitFor([&] { return highlightedLine(view) >= 0; }, 30000)) {
        std::fprintf(stderr, "the lyrics window did not show the synced lyrics of the playing track\n");
        return 1;
    }

    std::vector<double> lateAtLeast;
    std::vector<double> lateAtMost;
    std::vector<double> readMs;
    int ahead = 0;
    for (int sample = 0; sample < Samples && form->MP3->Position() < 50000; ++sample) {
        QTest::qWait(10 + sample % 31);  // not in step with the lines
        QElapsedTimer read;
        read.start();
        const qint64 before = form->MP3->Position();
        const int shown = highlightedLine(view);
        const qint64 after = form->MP3->Position();
        readMs.push_back(static_cast<double>(read.nsecsElapsed()) / 1e6);
        lateAtLeast.push_back(lateMs(shown, before));
        lateAtMost.push_back(lateMs(shown, after));
        ahead += static_cast<qint64>(shown) * LineMs > after;
    }
    std::printf("%zu samples of the highlighted line against the device's position (a line every %d ms):\n",
                lateAtLeast.size(), LineMs);
    std::printf("  late by at least: median %.0f ms, 95%% %.0f ms, worst %.0f ms\n", percentile(lateAtLeast, 0.5),
                percentile(lateAtLeast, 0.95), percentile(lateAtLeast, 1.0));
    std::printf("  late by at most:  median %.0f ms, 95%% %.0f ms, worst %.0f ms (reading the page: median %.1f ms)\n",
                percentile(lateAtMost, 0.5), percentile(lateAtMost, 0.95), percentile(lateAtMost, 1.0),
                percentile(readMs, 0.5));
    std::printf("  a line ahead of the sound: %d times\n", ahead);

    std::vector<double> seekMs;
    for (int seek = 0; seek < 5; ++seek) {
        const int target = seek % 2 == 0 ? 40200 : 10200;
        QElapsedTimer clock;
        clock.start();
        form->TrackPos->SetPosition(target);
        const auto atTarget = [&] {
            const int start = highlightedLine(view) * LineMs;
            return start >= target - LineMs && start <= target + 2 * LineMs;
        };
        if (!QTest::qWaitFor(atTarget, 10000)) {
            std::fprintf(stderr, "the line of the new position was never highlighted\n");
            return 1;
        }
        seekMs.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        QTest::qWait(700);
    }
    std::printf("seek to the line of the new position highlighted: median %.0f ms, worst %.0f ms (5 seeks)\n",
                percentile(seekMs, 0.5), percentile(seekMs, 1.0));
    application.reset();
    return 0;
}
