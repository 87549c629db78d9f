#include "desktop/PlayerSnapshot.h"

#include "forms/TfrmKolviPlayer.h"

#include <algorithm>
#include <cmath>

QString PlaybackStatusText(PlaybackStatus status)
{
    switch (status) {
    case PlaybackStatus::Playing:
        return QStringLiteral("Playing");
    case PlaybackStatus::Paused:
        return QStringLiteral("Paused");
    case PlaybackStatus::Stopped:
        break;
    }
    return QStringLiteral("Stopped");
}

double PlayerSnapshot::Volume() const
{
    if (volumeMaximum <= volumeMinimum)
        return 0.0;
    return static_cast<double>(volumePosition - volumeMinimum) / (volumeMaximum - volumeMinimum);
}

int PlayerSnapshot::VolumePositionFor(double volume) const
{
    const double fraction = std::clamp(volume, 0.0, 1.0);
    return volumeMinimum + static_cast<int>(std::lround(fraction * (volumeMaximum - volumeMinimum)));
}

PlayerSnapshot TakeSnapshot(const TfrmKolviPlayer& window)
{
    PlayerSnapshot snapshot;
    if (window.IsPlaying != 0)
        snapshot.status = window.IsPaused != 0 ? PlaybackStatus::Paused : PlaybackStatus::Playing;
    snapshot.currentIndex = window.CurrentIndex;
    snapshot.fileName = window.MP3->FileName();
    snapshot.entries = window.lvFileList->Items()->Count();
    snapshot.seekPosition = window.TrackPos->Position();
    snapshot.volumePosition = window.TrackVol->Position();
    snapshot.volumeMinimum = window.TrackVol->Min();
    snapshot.volumeMaximum = window.TrackVol->Max();
    return snapshot;
}
