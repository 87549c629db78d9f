#pragma once
// A message timer: OnTimer every Interval milliseconds while Enabled, on
// the user-interface thread, also while a handler of it waits in a modal
// loop.
#include <QObject>
#include <QTimer>

class TTimer : public QObject {
    Q_OBJECT
    Q_PROPERTY(int Interval READ Interval WRITE SetInterval)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
public:
    explicit TTimer(QObject* owner = nullptr);

    int Interval() const { return timer_.interval(); }
    void SetInterval(int interval);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

Q_SIGNALS:
    void OnTimer();

private:
    void Restart();
    void Tick();

    QTimer timer_;
    bool enabled_ = true;
};
