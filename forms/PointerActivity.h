#pragma once
// When the pointer last moved, pressed or turned the wheel over a widget.
// A page that scrolls by itself while the listener aims at a line would
// move the line away from under the click.
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QWindow>

class QWidget;

class PointerActivity : public QObject {
public:
    explicit PointerActivity(QWidget* watched);

    // The pointer was busy over the widget within the last ms milliseconds.
    bool BusyWithin(int ms);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> watched_;
    // Its window sees every pointer event before the widget under the
    // pointer does, the web engine's among them.
    QPointer<QWindow> window_;
    QElapsedTimer busy_;
};
