#include "framework/Controls.h"

#include "framework/Application.h"

TWinControl::TWinControl(QWidget* parent) : QWidget(parent) {}

void TWinControl::Dispatch(TMessage&) {}

bool TWinControl::event(QEvent* event)
{
    if (event->type() == TMessageEvent::eventType()) {
        // A message handler's exception is shown like an event handler's.
        RunGuarded([&] { Dispatch(static_cast<TMessageEvent*>(event)->message()); });
        return true;
    }
    return QWidget::event(event);
}
