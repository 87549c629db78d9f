#include "Timer.h"

TTimer::TTimer(QObject* owner) : QObject(owner)
{
    timer_.setInterval(1000);
    connect(&timer_, &QTimer::timeout, this, &TTimer::OnTimer);
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
