#include "Controls.h"

TWinControl::TWinControl(QWidget* parent) : QWidget(parent) {}

void TWinControl::Dispatch(TMessage&) {}

bool TWinControl::event(QEvent* event)
{
    if (event->type() == TMessageEvent::eventType()) {
        Dispatch(static_cast<TMessageEvent*>(event)->message());
        return true;
    }
    return QWidget::event(event);
}
