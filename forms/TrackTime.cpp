#include "forms/TrackTime.h"

namespace {

struct Clock {
    DWORD hours;
    DWORD minutes;
    DWORD seconds;
};

Clock ClockOf(DWORD ms)
{
    const DWORD seconds = ms / 1000;
    return {seconds / 3600, seconds / 60 % 60, seconds % 60};
}

QString TwoDigits(DWORD value) { return QString::number(value).rightJustified(2, QLatin1Char('0')); }

QString Shown(DWORD ms)
{
    const Clock clock = ClockOf(ms);
    if (clock.hours > 0)
        return QString::number(clock.hours) + QLatin1Char(':') + TwoDigits(clock.minutes) + QLatin1Char(':') + TwoDigits(clock.seconds);
    return QString::number(clock.minutes) + QLatin1Char(':') + TwoDigits(clock.seconds);
}

QString Spoken(DWORD ms)
{
    const Clock clock = ClockOf(ms);
    const QString minutesAndSeconds = QStringLiteral("%1분 %2초").arg(TwoDigits(clock.minutes), TwoDigits(clock.seconds));
    if (clock.hours > 0)
        return QStringLiteral("%1시간 ").arg(clock.hours) + minutesAndSeconds;
    return QStringLiteral("%1분 %2초").arg(clock.minutes).arg(TwoDigits(clock.seconds));
}

}  // namespace

QString TrackTimeText(DWORD positionMs, DWORD lengthMs)
{
    return Shown(positionMs) + QStringLiteral(" / ") + Shown(lengthMs);
}

QString SpokenTrackTime(DWORD positionMs, DWORD lengthMs)
{
    return Spoken(positionMs) + QStringLiteral(" / ") + Spoken(lengthMs);
}
