#include "framework/Timer.h"

TTimer::TTimer(QObject* owner) : QObject(owner)
{
    timer_.setInterval(1000);
    connect(&timer_, &QTimer::timeout, this, &TTimer::Tick);
    Restart();
}

void TTimer::SetInterval(int interval)
{
    timer_.setInterval(interval);
    Restart();
}

void TTimer::SetEnabled(bool enabled)
{
    enabled_ = enabled;
    Restart();
}

void TTimer::Restart()
{
    if (enabled_ && timer_.interval() > 0)
        timer_.start();
    else
        timer_.stop();
}

// A message timer goes on ticking in a modal loop that its own handler
// opened (a message box), as its messages are dispatched there. Qt never
// delivers a timer into its own handler; one started anew it does.
void TTimer::Tick()
{
    timer_.start();
    emit OnTimer();
}
