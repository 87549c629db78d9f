#include "platform/win/WinMessage.h"

#include <QCoreApplication>
#include <QPointer>

TMessageEvent::TMessageEvent(const TMessage& message) : QEvent(eventType()), message_(message) {}

QEvent::Type TMessageEvent::eventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void PostMessageA(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (window == nullptr)
        return;
    // Qt takes ownership of posted events and drops them with a destroyed receiver.
    QCoreApplication::postEvent(window, new TMessageEvent(TMessage{msg, wParam, lParam, 0}));
}

LRESULT SendMessageA(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (window == nullptr)
        return 0;
    TMessageEvent event(TMessage{msg, wParam, lParam, 0});
    QCoreApplication::sendEvent(window, &event);
    return event.message().Result;
}
