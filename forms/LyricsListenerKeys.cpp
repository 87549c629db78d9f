#include "forms/LyricsListenerKeys.h"

#include "framework/WebBrowser.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QLabel>
#include <QKeyEvent>
#include <QWheelEvent>
#include <cmath>

namespace {

constexpr int NoteShownMs = 1500;
constexpr double ZoomStep = 1.1;

}  // namespace

LyricsListenerKeys::LyricsListenerKeys(QWidget* window, TCppWebBrowser* browser,
                                       std::function<void(int offsetMs)> offsetChanged, std::function<void()> saveAsked,
                                       std::function<void()> chooseAsked)
    : QObject(window), window_(window), browser_(browser), offsetChanged_(std::move(offsetChanged)),
      saveAsked_(std::move(saveAsked)), chooseAsked_(std::move(chooseAsked)), note_(new QLabel(window))
{
    auto* save = new QAction(QStringLiteral("가사 파일로 저장"), this);
    save->setShortcut(QKeySequence::Save);
    connect(save, &QAction::triggered, this, [this] { saveAsked_(); });
    browser_->AddMenuAction(save);
    auto* choose = new QAction(QStringLiteral("다른 가사 고르기"), this);
    choose->setShortcut(QKeySequence(Qt::ControlModifier | Qt::Key_F));
    connect(choose, &QAction::triggered, this, [this] { chooseAsked_(); });
    browser_->AddMenuAction(choose);

    note_->setStyleSheet(QStringLiteral("background: rgba(40, 40, 40, 210); color: white; padding: 6px 12px;"
                                        " border-radius: 6px; font-size: 16px;"));
    note_->hide();
    noteTimer_.setSingleShot(true);
    connect(&noteTimer_, &QTimer::timeout, note_, &QLabel::hide);
    // Keys and the wheel go to the engine's own widgets inside the window,
    // which take them all: they are seen before, whether the window is the
    // active one or not.
    qApp->installEventFilter(this);
}

LyricsSettings& LyricsListenerKeys::Settings()
{
    if (!settings_) {
        settings_.emplace();
        browser_->SetZoom(settings_->Zoom());
    }
    return *settings_;
}

int LyricsListenerKeys::FollowTrack(const std::string& trackPath)
{
    trackPath_ = trackPath;
    // The first call, on the window's first show, brings the kept zoom.
    const LyricsSettings& settings = Settings();
    return trackPath.empty() ? 0 : settings.OffsetMs(trackPath);
}

void LyricsListenerKeys::ShiftBy(int ms)
{
    if (trackPath_.empty()) {
        Say(QStringLiteral("시간 정보가 있는 가사가 보일 때만 맞출 수 있습니다"));
        return;
    }
    const int offsetMs = Settings().OffsetMs(trackPath_) + ms;
    Settings().SetOffsetMs(trackPath_, offsetMs);
    offsetChanged_(offsetMs);
    Say(QStringLiteral("%1%2초").arg(offsetMs >= 0 ? QStringLiteral("+") : QStringLiteral("-"))
            .arg(std::abs(offsetMs) / 1000.0, 0, 'f', 1));
}

void LyricsListenerKeys::ZoomTo(double zoom)
{
    Settings().SetZoom(zoom);
    browser_->SetZoom(Settings().Zoom());
    Say(QStringLiteral("%1%").arg(std::lround(Settings().Zoom() * 100)));
}

void LyricsListenerKeys::Say(const QString& text)
{
    note_->setText(text);
    note_->adjustSize();
    note_->move((window_->width() - note_->width()) / 2, 12);
    note_->raise();
    note_->show();
    noteTimer_.start(NoteShownMs);
}

bool LyricsListenerKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Wheel && event->type() != QEvent::KeyPress)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != window_ || !window_->isVisible())
        return false;
    if (event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (!(wheel->modifiers() & Qt::ControlModifier))
            return false;
        const int steps = wheel->angleDelta().y() / 120;
        if (steps != 0)
            ZoomTo(Settings().Zoom() * std::pow(ZoomStep, steps));
        return true;
    }
    return KeyPressed(*static_cast<QKeyEvent*>(event));
}

bool LyricsListenerKeys::KeyPressed(const QKeyEvent& key)
{
    const bool control = key.modifiers() & Qt::ControlModifier;
    const bool alt = key.modifiers() & (Qt::AltModifier | Qt::MetaModifier);
    if (alt)
        return false;
    switch (key.key()) {
    case Qt::Key_S:
        if (!control)
            return false;
        saveAsked_();
        return true;
    case Qt::Key_F:
        if (!control)
            return false;
        chooseAsked_();
        return true;
    case Qt::Key_BracketLeft:
        if (control)
            return false;
        ShiftBy(-OffsetStepMs);
        return true;
    case Qt::Key_BracketRight:
        if (control)
            return false;
        ShiftBy(OffsetStepMs);
        return true;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        if (!control)
            return false;
        ZoomTo(Settings().Zoom() * ZoomStep);
        return true;
    case Qt::Key_Minus:
        if (!control)
            return false;
        ZoomTo(Settings().Zoom() / ZoomStep);
        return true;
    case Qt::Key_0:
        if (!control)
            return false;
        ZoomTo(1.0);
        return true;
    default:
        return false;
    }
}
