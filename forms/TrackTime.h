#pragma once
// The playing track's time as the window shows it ("1:23 / 4:05") and as a
// screen reader says it ("1분 23초 / 4분 05초"): elapsed, then total, each
// in whole seconds; hours only when there are any.
#include "platform/win/WinTypes.h"

#include <QString>

QString TrackTimeText(DWORD positionMs, DWORD lengthMs);
QString SpokenTrackTime(DWORD positionMs, DWORD lengthMs);
