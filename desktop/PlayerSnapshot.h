#pragma once
// The main window's state as the desktop's media controls see it: taken
// cheaply from the window's fields and controls, and compared with the last
// one to find what changed.
#include <QString>
#include <string>

class TfrmKolviPlayer;

enum class PlaybackStatus { Stopped, Playing, Paused };

// "Playing", "Paused" or "Stopped", as MPRIS names them.
QString PlaybackStatusText(PlaybackStatus status);

struct PlayerSnapshot {
    PlaybackStatus status = PlaybackStatus::Stopped;
    int currentIndex = -1;
    std::string fileName;  // the file last given to the media device
    int entries = 0;
    int seekPosition = 0;  // the position slider: where the last seek went
    int volumePosition = 0;
    int volumeMinimum = 0;
    int volumeMaximum = 0;

    bool operator==(const PlayerSnapshot&) const = default;

    // The speaker volume as a fraction of the slider's range, 0.0 to 1.0.
    double Volume() const;
    // The slider position for a fraction of its range.
    int VolumePositionFor(double volume) const;
    bool SameTrack(const PlayerSnapshot& other) const
    {
        return currentIndex == other.currentIndex && fileName == other.fileName;
    }
};

PlayerSnapshot TakeSnapshot(const TfrmKolviPlayer& window);
