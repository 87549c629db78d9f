#pragma once
// Window messages on top of Qt events: the platform posts or sends a
// TMessageEvent to a window handle; the framework hands it to the window's
// Dispatch on the user-interface thread.
#include "platform/win/WinTypes.h"

#include <QEvent>

constexpr UINT WM_DROPFILES = 0x0233;
constexpr UINT MM_MCINOTIFY = 0x03B9;
constexpr UINT MM_MIXM_LINE_CHANGE = 0x03D0;
constexpr UINT MM_MIXM_CONTROL_CHANGE = 0x03D1;

struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

class TMessageEvent : public QEvent {
public:
    explicit TMessageEvent(const TMessage& message);
    static QEvent::Type eventType();
    TMessage& message() { return message_; }

private:
    TMessage message_;
};

// Queued: the message is delivered later by the receiver's event loop.
void PostMessageA(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
// Immediate: delivered before the call returns; answers the message's Result.
LRESULT SendMessageA(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
