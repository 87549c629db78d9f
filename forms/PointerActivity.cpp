#include "forms/PointerActivity.h"

#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

PointerActivity::PointerActivity(QWidget* watched) : watched_(watched) {}

bool PointerActivity::BusyWithin(int ms)
{
    if (watched_ == nullptr)
        return false;
    // The window exists once shown; it is watched from then on.
    QWindow* window = watched_->window()->windowHandle();
    if (window != window_ && window != nullptr) {
        if (window_ != nullptr)
            window_->removeEventFilter(this);
        window_ = window;
        window_->installEventFilter(this);
    }
    return busy_.isValid() && busy_.elapsed() < ms;
}

bool PointerActivity::eventFilter(QObject* watched, QEvent* event)
{
    QPointF global;
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
        global = static_cast<QMouseEvent*>(event)->globalPosition();
        break;
    case QEvent::Wheel:
        global = static_cast<QWheelEvent*>(event)->globalPosition();
        break;
    default:
        return QObject::eventFilter(watched, event);
    }
    if (watched_ != nullptr && watched_->isVisible() && watched_->rect().contains(watched_->mapFromGlobal(global.toPoint())))
        busy_.start();
    return QObject::eventFilter(watched, event);
}
