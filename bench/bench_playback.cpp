// The main window's transport under load, on a real file played into the
// sound server: the cost of a timer tick while playing, and a drag of the
// position slider and of the volume slider, 200 change events each, as a
// mouse delivers them (one move every 8 ms). For each drag: the time the
// window spends on one move (seek or volume write), how late a 0 ms timer
// fires meanwhile (how long the window cannot answer), and the longest
// silence heard on the sink while seeking. Run under the test environment:
//   scripts/with-test-env.sh build/bench/bench/bench_playback
#include "bench/BenchStart.h"
#include "framework/Application.h"
#include "tests/support/MonitorRecorder.h"
#include "tests/support/Mp3Fixture.h"
#include "forms/TfrmKolviPlayer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <vector>

namespace {

constexpr int Moves = 200;
constexpr int MoveIntervalMs = 8;

double milliseconds(qint64 nanoseconds) { return static_cast<double>(nanoseconds) / 1e6; }

double percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1))];
}

double mean(const std::vector<double>& values)
{
    double sum = 0;
    for (double value : values)
        sum += value;
    return sum / static_cast<double>(values.size());
}

struct Player {
    Player(const std::string& folder, const std::string& track)
    {
        std::ofstream(folder + "List.lst", std::ios::binary) << "0\r\r\n" << track << "\r\r\n";
        application = std::make_unique<TApplication>(folder + "kolviplayer");
        application->CreateForm(form);
        form->show();
        if (!QTest::qWaitForWindowExposed(form))
            std::fprintf(stderr, "the window was not exposed\n");
        form->btnPlayClick(form->btnPlay);
        if (form->IsPlaying == 0)
            std::fprintf(stderr, "the track did not start\n");
    }
    std::unique_ptr<TApplication> application;
    TfrmKolviPlayer* form = nullptr;
};

QRect handleRect(TTrackBar* slider)
{
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    return slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider);
}

QPoint handleCentre(TTrackBar* slider) { return handleRect(slider).center(); }

void sendMouse(TTrackBar* slider, QEvent::Type type, QPoint at, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, at, slider->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(slider, &event);
}

struct DragFigures {
    int changes = 0;
    std::vector<double> moveMs;
    double worstTimerLateMs = 0;
    std::vector<double> timerLateMs;
};

// Presses the handle, moves back and forth across the slider once every
// 8 ms, releases; a 0 ms timer measures the gaps in the event loop.
DragFigures drag(TTrackBar* slider)
{
    DragFigures figures;
    QObject counting;
    QObject::connect(slider, &TTrackBar::OnChange, &counting, [&] { ++figures.changes; });
    const QPoint start = handleCentre(slider);
    const int handleHalf = handleCentre(slider).x() - handleRect(slider).left();
    sendMouse(slider, QEvent::MouseButtonPress, start, Qt::LeftButton);

    QElapsedTimer sinceProbe;
    QTimer probe;
    probe.setInterval(0);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        figures.timerLateMs.push_back(milliseconds(sinceProbe.nsecsElapsed()));
        sinceProbe.restart();
    });
    int moved = 0;
    QTimer mouse;
    mouse.setInterval(MoveIntervalMs);
    QEventLoop loop;
    QObject::connect(&mouse, &QTimer::timeout, [&] {
        const int span = slider->width() - 2 * handleHalf;
        const int step = moved % (2 * span);
        const int x = handleHalf + (step < span ? step : 2 * span - step);
        QElapsedTimer clock;
        clock.start();
        sendMouse(slider, QEvent::MouseMove, QPoint(x, start.y()), Qt::LeftButton);
        figures.moveMs.push_back(milliseconds(clock.nsecsElapsed()));
        if (++moved == Moves)
            loop.quit();
    });
    sinceProbe.start();
    probe.start();
    mouse.start();
    loop.exec();
    probe.stop();
    sendMouse(slider, QEvent::MouseButtonRelease, QPoint(start.x() + 1, start.y()), Qt::NoButton);
    figures.worstTimerLateMs = *std::max_element(figures.timerLateMs.begin(), figures.timerLateMs.end());
    return figures;
}

void report(const char* what, const DragFigures& figures)
{
    std::printf("%s: %d change events from %d moves; per move mean %.2f ms, 95%% %.2f ms, max %.2f ms; "
                "0 ms timer late by at most %.2f ms (99%% %.2f ms)\n",
                what, figures.changes, Moves, mean(figures.moveMs), percentile(figures.moveMs, 0.95),
                percentile(figures.moveMs, 1.0), figures.worstTimerLateMs, percentile(figures.timerLateMs, 0.99));
}

struct Silences {
    double longestMs = 0;
    int over10Ms = 0;
};

// The runs of silent frames between the first and the last sound.
Silences silencesIn(const std::vector<std::int16_t>& samples)
{
    std::size_t first = samples.size();
    std::size_t last = 0;
    for (std::size_t i = 0; i < samples.size(); ++i)
        if (samples[i] != 0) {
            first = std::min(first, i);
            last = i;
        }
    Silences silences;
    constexpr std::size_t TenMs = 441;
    std::size_t run = 0;
    for (std::size_t frame = first / 2; frame < last / 2; ++frame) {
        const bool silent = samples[2 * frame] == 0 && samples[2 * frame + 1] == 0;
        run = silent ? run + 1 : 0;
        if (run == TenMs)
            ++silences.over10Ms;
        silences.longestMs = std::max(silences.longestMs, static_cast<double>(run) * 1000.0 / 44100.0);
    }
    return silences;
}

void reportSilences(const char* what, const Silences& silences)
{
    std::printf("%s: longest silence heard %.1f ms, %d silences of 10 ms or more\n", what, silences.longestMs,
                silences.over10Ms);
}

}  // namespace

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "");
    QApplication qtApplication(argc, argv);
    if (!startUnderTestEnvironment())
        return 1;
    const char* sink = std::getenv("KOLVI_TEST_SINK");
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/";
    Mp3Spec settings;
    settings.seconds = 30;
    const std::string track = folder + "tone.mp3";
    makeMp3(track, settings);

    Player player(folder, track);
    TfrmKolviPlayer* form = player.form;

    constexpr int Ticks = 2000;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < Ticks; ++i)
        form->TrackTimerTimer(form->TrackTimer);
    std::printf("tick while playing: %.1f us\n", milliseconds(clock.nsecsElapsed()) * 1000.0 / Ticks);

    MonitorRecorder plain(sink);
    if (!plain.start())
        std::fprintf(stderr, "the sink's monitor cannot be recorded\n");
    QTest::qWait(Moves * MoveIntervalMs);
    reportSilences("plain playback", silencesIn(plain.stop()));

    MonitorRecorder recorder(sink);
    if (!recorder.start())
        std::fprintf(stderr, "the sink's monitor cannot be recorded\n");
    const DragFigures seeking = drag(form->TrackPos);
    QTest::qWait(200);
    report("position slider drag", seeking);
    reportSilences("position slider drag", silencesIn(recorder.stop()));

    const DragFigures volume = drag(form->TrackVol);
    report("volume slider drag", volume);
    form->TrackVol->SetPosition(form->TrackVol->Max());
    return 0;
}
