#pragma once
// The player on the session bus as an MPRIS 2 media player, the desktop's
// standard way to show and drive the playing track (media keys, the panel's
// media controls, playerctl).
//
// Every request acts through the main window's own handlers, as the
// buttons and sliders do, queued to run after the bus call has been
// answered; what a handler throws goes to the standard exception display,
// as a click's would. Queued requests run a few at a time between the
// window's own events, and a flood of them keeps only the latest: the
// window goes on answering, and the last request is the last carried out.
// Changes are found by comparing a snapshot of the window's state each
// time the event loop is about to wait, so they are announced at once. The
// one timer of its own reads the speaker volume once a second, so that a
// change made elsewhere (the desktop's volume control) is told too.
#include "desktop/PlayerSnapshot.h"
#include "tags/TrackTitles.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariantMap>
#include <deque>
#include <functional>
#include <string>
#include <optional>

class MprisPlayerAdaptor;
class TfrmKolviPlayer;

class MprisService : public QObject {
    Q_OBJECT
public:
    // Registers on the session bus when there is one; without one the
    // service does nothing, and says nothing.
    explicit MprisService(TfrmKolviPlayer& window);
    ~MprisService() override;
    MprisService(const MprisService&) = delete;
    MprisService& operator=(const MprisService&) = delete;

    // The bus name it owns; empty when it is not on a bus.
    const QString& BusName() const { return busName_; }

    // The window's state, with the speaker volume as last read, not the
    // slider's, which moves the speaker only while a track is playing.
    PlayerSnapshot Snapshot() const;
    // Brought up to date first: a change may not have been announced yet.
    QVariantMap Metadata();
    // Where the playing track is, in microseconds; 0 when stopped.
    qlonglong PositionUs() const;
    // The track id of the current metadata.
    QString TrackId() const;

    void Raise();
    void Quit();
    // Play with nothing selected starts the entry at CurrentIndex, or the
    // first one when that names none; while paused it continues.
    void Play();
    void Pause();
    void PlayPause();
    void Stop();
    void Next();
    void Previous();
    void SeekBy(qlonglong offsetUs);
    void SetPosition(const QString& trackId, qlonglong positionUs);
    // The speaker takes it at once, playing or not; NaN and infinities are refused.
    void SetVolume(double volume);
    // A file URI: added and started as a file opened from the desktop.
    void OpenUri(const QString& uri);

private:
    // Reads the speaker volume; after a failure it waits a while before asking again.
    void ReadSpeakerVolume();
    // Runs an action on the window once the current bus call has returned.
    void Later(std::function<void(TfrmKolviPlayer&)> action);
    // Runs queued actions for a short while, then lets the window's events in.
    void RunQueued();
    // Seeks as the position slider does; ms within the track.
    void SeekTo(int ms);
    void StartFromIdle();
    QVariantMap BuildMetadata(const PlayerSnapshot& snapshot);
    // The track's titles, read once when the track changes, not on every
    // change of state.
    const TrackTitles& TitlesOf(const std::string& path);
    // Announces what changed since the last look.
    void Publish();

    TfrmKolviPlayer& window_;
    QObject* object_ = nullptr;
    MprisPlayerAdaptor* player_ = nullptr;
    QString busName_;
    PlayerSnapshot last_;
    QVariantMap metadata_;
    std::string titledPath_;
    TrackTitles titles_;
    std::optional<int> speakerVolume_;
    int volumeReadsSkipped_ = 0;
    std::deque<std::function<void(TfrmKolviPlayer&)>> queued_;
    QTimer runQueued_;
};
