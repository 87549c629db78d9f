#include "forms/PlayerKeys.h"

#include "framework/Application.h"
#include "forms/TfrmKolviPlayer.h"

#include <QApplication>
#include <QShortcut>
#include <functional>

namespace {

constexpr int PositionLineMs = 5000;
constexpr int PositionPageMs = 30000;
constexpr int VolumeLinePercent = 5;
constexpr int VolumePagePercent = 20;

enum class Repeat { Allowed, Ignored };

// A key held down repeats only where repeating is of use (next, previous,
// delete); toggles and windows act once per press.
void Bind(QWidget* scope, const QKeySequence& keys, Repeat repeat, std::function<void()> action,
          Qt::ShortcutContext context = Qt::WindowShortcut)
{
    auto* shortcut = new QShortcut(keys, scope);
    shortcut->setContext(context);
    shortcut->setAutoRepeat(repeat == Repeat::Allowed);
    // Qt tries shortcuts before it holds input back from windows under a
    // modal box, so a key pressed as a box opens could still reach the
    // window: while a box or dialog is open, keys are its own.
    QObject::connect(shortcut, &QShortcut::activated, scope, [action = std::move(action)] {
        if (QApplication::activeModalWidget() == nullptr)
            RunGuarded(action);
    });
}

int StepOf(const TTrackBar* bar, int percent)
{
    const long long range = static_cast<long long>(bar->Max()) - bar->Min();
    return static_cast<int>(std::max(1LL, (range * percent + 50) / 100));
}

}  // namespace

void InstallPlayerKeys(TfrmKolviPlayer& window)
{
    TfrmKolviPlayer* w = &window;
    const auto playOrPause = [w] { w->PlayOrPause(); };
    const auto pause = [w] { w->btnPauseClick(w->btnPause); };
    const auto stop = [w] { w->btnStopClick(w->btnStop); };
    const auto next = [w] { w->btnNextClick(w->btnNext); };
    const auto previous = [w] { w->btnPrevClick(w->btnPrev); };
    const auto play = [w] { w->lvFileListDblClick(w->lvFileList); };

    Bind(w, Qt::Key_Space, Repeat::Ignored, playOrPause);
    Bind(w, Qt::Key_MediaPlay, Repeat::Ignored, playOrPause);
    Bind(w, Qt::Key_MediaTogglePlayPause, Repeat::Ignored, playOrPause);
    Bind(w, Qt::Key_MediaPause, Repeat::Ignored, pause);
    Bind(w, Qt::Key_MediaStop, Repeat::Ignored, stop);
    Bind(w, Qt::Key_MediaNext, Repeat::Allowed, next);
    Bind(w, Qt::Key_MediaPrevious, Repeat::Allowed, previous);
    Bind(w->lvFileList, Qt::Key_Return, Repeat::Ignored, play, Qt::WidgetShortcut);
    Bind(w->lvFileList, Qt::Key_Enter, Repeat::Ignored, play, Qt::WidgetShortcut);
    Bind(w, Qt::Key_Delete, Repeat::Allowed, [w] { w->btnDelClick(w->btnDel); });
    Bind(w, Qt::CTRL | Qt::Key_O, Repeat::Ignored, [w] { w->btnAddClick(w->btnAdd); });
    Bind(w, Qt::CTRL | Qt::SHIFT | Qt::Key_O, Repeat::Ignored, [w] { w->btnOpenClick(w->btnOpen); });
    Bind(w, Qt::CTRL | Qt::Key_L, Repeat::Ignored, [w] { w->btnLyricsClick(w->btnLyrics); });
    Bind(w, Qt::Key_F1, Repeat::Ignored, [w] { w->btnAboutClick(w->btnAbout); });
    Bind(w, Qt::CTRL | Qt::Key_Q, Repeat::Ignored, [w] { w->close(); });

    // The range of the volume is the mixer's, known by now.
    w->TrackVol->SetLineSize(StepOf(w->TrackVol, VolumeLinePercent));
    w->TrackVol->SetPageSize(StepOf(w->TrackVol, VolumePagePercent));
    w->TrackPos->SetLineSize(PositionLineMs);
    w->TrackPos->SetPageSize(PositionPageMs);
}
