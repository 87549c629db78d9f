#pragma once
// Windowed controls: a QWidget whose window messages (posted or sent by the
// platform layer as TMessageEvent) reach the virtual Dispatch.
#include "platform/win/WinMessage.h"

#include <QWidget>

class TWinControl : public QWidget {
    Q_OBJECT
public:
    explicit TWinControl(QWidget* parent = nullptr);

    // The handle messages are posted to.
    HWND Handle() { return this; }
    // Message routing; the base has no message of its own to act on.
    virtual void Dispatch(TMessage& message);

protected:
    bool event(QEvent* event) override;
};

class TCustomControl : public TWinControl {
    Q_OBJECT
public:
    using TWinControl::TWinControl;
};
