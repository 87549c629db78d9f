#include "desktop/MprisService.h"

#include "framework/Application.h"
#include "desktop/MprisNames.h"
#include "desktop/MprisPlayerAdaptor.h"
#include "desktop/MprisRootAdaptor.h"
#include "desktop/OpenFromDesktop.h"
#include "forms/TfrmKolviPlayer.h"
#include "lyrics/LyricsReaders.h"
#include "platform/win/Logging.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QElapsedTimer>
#include <QStringList>
#include <QTimer>
#include <algorithm>
#include <climits>
#include <cmath>
#include <unistd.h>

namespace {

// Reading the speaker volume asks the sound server, up to a short bound: a
// server that did not answer is asked again only after this many seconds.
constexpr int VolumeReadsSkippedAfterFailure = 10;

// A file URL from the path's bytes, whatever the locale's code page.
QString FileUrl(const std::string& path)
{
    QByteArray absolute = QByteArray::fromStdString(path);
    if (!absolute.startsWith('/')) {
        char folder[PATH_MAX];
        if (::getcwd(folder, sizeof folder) != nullptr)
            absolute = QByteArray(folder) + '/' + absolute;
    }
    return QString::fromLatin1("file://" + absolute.toPercentEncoding("/"));
}

// Requests waiting beyond this many are dropped, the oldest first: no hand
// on a media key gets this far ahead of the player.
constexpr std::size_t QueuedLimit = 32;
// How long queued requests run before the window's own events come in.
constexpr qint64 RunSliceMs = 20;

}  // namespace

MprisService::MprisService(TfrmKolviPlayer& window) : window_(window)
{
    runQueued_.setSingleShot(true);
    runQueued_.setInterval(0);
    connect(&runQueued_, &QTimer::timeout, this, &MprisService::RunQueued);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        qCWarning(mprisLog) << "no session bus:" << bus.lastError().message();
        return;
    }
    object_ = new QObject(this);
    new MprisRootAdaptor(object_, *this);
    player_ = new MprisPlayerAdaptor(object_, *this);
    if (!bus.registerObject(MprisObjectPath, object_)) {
        qCWarning(mprisLog) << "cannot register" << MprisObjectPath << ":" << bus.lastError().message();
        return;
    }
    // A second player takes a name of its own, as MPRIS asks.
    const QString instanceName = MprisBusName + ".instance" + QString::number(QCoreApplication::applicationPid());
    for (const QString& name : {MprisBusName, instanceName}) {
        if (bus.registerService(name)) {
            busName_ = name;
            break;
        }
    }
    if (busName_.isEmpty()) {
        qCWarning(mprisLog) << "cannot take the bus name" << MprisBusName << ":" << bus.lastError().message();
        bus.unregisterObject(MprisObjectPath);
        return;
    }
    ReadSpeakerVolume();
    auto* volumeWatch = new QTimer(this);
    connect(volumeWatch, &QTimer::timeout, this, &MprisService::ReadSpeakerVolume);
    volumeWatch->start(1000);
    last_ = Snapshot();
    metadata_ = BuildMetadata(last_);
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &MprisService::Publish);
}

MprisService::~MprisService()
{
    if (busName_.isEmpty())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterService(busName_);
    bus.unregisterObject(MprisObjectPath);
}

PlayerSnapshot MprisService::Snapshot() const
{
    PlayerSnapshot snapshot = TakeSnapshot(window_);
    if (speakerVolume_ && snapshot.volumeMinimum <= snapshot.volumeMaximum)
        snapshot.volumePosition = std::clamp(*speakerVolume_, snapshot.volumeMinimum, snapshot.volumeMaximum);
    return snapshot;
}

void MprisService::ReadSpeakerVolume()
{
    if (volumeReadsSkipped_ > 0) {
        --volumeReadsSkipped_;
        return;
    }
    DWORD volume = 0;
    if (window_.GetSpeakerVolume(volume)) {
        speakerVolume_ = static_cast<int>(std::min<DWORD>(volume, INT_MAX));
    } else {
        speakerVolume_.reset();
        volumeReadsSkipped_ = VolumeReadsSkippedAfterFailure;
    }
}

qlonglong MprisService::PositionUs() const
{
    if (window_.IsPlaying == 0)
        return 0;
    try {
        return static_cast<qlonglong>(window_.TrackPosition()) * 1000;
    } catch (const Exception&) {
        return 0;
    }
}

QVariantMap MprisService::Metadata()
{
    Publish();
    return metadata_;
}

QString MprisService::TrackId() const
{
    return metadata_.value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>().path();
}

void MprisService::Later(std::function<void(TfrmKolviPlayer&)> action)
{
    queued_.push_back(std::move(action));
    if (queued_.size() > QueuedLimit)
        queued_.pop_front();
    if (!runQueued_.isActive())
        runQueued_.start();
}

// A timer rather than posted calls: Qt delivers every call posted before it
// starts in one go, which a flood would make endless.
void MprisService::RunQueued()
{
    QElapsedTimer slice;
    slice.start();
    while (!queued_.empty() && slice.elapsed() < RunSliceMs) {
        const auto action = std::move(queued_.front());
        queued_.pop_front();
        RunGuarded([&] { action(window_); });
    }
    if (!queued_.empty())
        runQueued_.start();
}

void MprisService::Raise()
{
    Later([](TfrmKolviPlayer& window) {
        if (window.isMinimized())
            window.showNormal();
        window.Show();
    });
}

void MprisService::Quit()
{
    Later([](TfrmKolviPlayer& window) { window.close(); });
}

void MprisService::StartFromIdle()
{
    TListItems* items = window_.lvFileList->Items();
    if (window_.lvFileList->Selected() == nullptr) {
        TListItem* item = items->Item(window_.CurrentIndex);
        if (item == nullptr)
            item = items->Item(0);
        if (item == nullptr)
            return;
        item->SetSelected(true);
    }
    window_.btnPlayClick(window_.btnPlay);
}

void MprisService::Play()
{
    Later([this](TfrmKolviPlayer& window) {
        if (window.IsPlaying == 0)
            StartFromIdle();
        else if (window.IsPaused != 0)
            window.btnPauseClick(window.btnPause);
    });
}

void MprisService::Pause()
{
    Later([](TfrmKolviPlayer& window) {
        if (window.IsPlaying != 0 && window.IsPaused == 0)
            window.btnPauseClick(window.btnPause);
    });
}

void MprisService::PlayPause()
{
    Later([this](TfrmKolviPlayer& window) {
        if (window.IsPlaying == 0)
            StartFromIdle();
        else
            window.btnPauseClick(window.btnPause);
    });
}

void MprisService::Stop()
{
    Later([](TfrmKolviPlayer& window) { window.btnStopClick(window.btnStop); });
}

void MprisService::Next()
{
    Later([](TfrmKolviPlayer& window) { window.btnNextClick(window.btnNext); });
}

void MprisService::Previous()
{
    Later([](TfrmKolviPlayer& window) { window.btnPrevClick(window.btnPrev); });
}

void MprisService::SeekTo(int ms)
{
    TTrackBar* slider = window_.TrackPos;
    if (slider->Position() != ms) {
        slider->SetPosition(ms);
        return;
    }
    // The slider stands there already, so moving it raises no change: seek
    // as its end-of-drag report would, and say so, as nothing else will.
    window_.TrackPosChange(slider);
    if (player_ != nullptr)
        emit player_->Seeked(static_cast<qlonglong>(ms) * 1000);
}

void MprisService::SeekBy(qlonglong offsetUs)
{
    Later([this, offsetUs](TfrmKolviPlayer& window) {
        if (window.IsPlaying == 0)
            return;
        const qlonglong target = PositionUs() / 1000 + offsetUs / 1000;
        if (target > window.TrackPos->Max())
            window.btnNextClick(window.btnNext);
        else
            SeekTo(static_cast<int>(std::max<qlonglong>(target, 0)));
    });
}

void MprisService::SetPosition(const QString& trackId, qlonglong positionUs)
{
    Later([this, trackId, positionUs](TfrmKolviPlayer& window) {
        if (window.IsPlaying == 0 || trackId != TrackId() || positionUs < 0 ||
            positionUs / 1000 > window.TrackPos->Max())
            return;
        SeekTo(static_cast<int>(positionUs / 1000));
    });
}

void MprisService::SetVolume(double volume)
{
    if (!std::isfinite(volume))
        return;
    Later([this, volume](TfrmKolviPlayer& window) {
        const int position = Snapshot().VolumePositionFor(volume);
        window.TrackVol->SetPosition(position);
        // The slider alone sends nothing while stopped, nor when it stands there already.
        if (window.SetSpeakerVolume(static_cast<DWORD>(position)))
            speakerVolume_ = position;
    });
}

const TrackTitles& MprisService::TitlesOf(const std::string& path)
{
    if (path != titledPath_) {
        titles_ = ReadTrackTitles(path);
        titledPath_ = path;
    }
    return titles_;
}

void MprisService::OpenUri(const QString& uri) { OpenFromDesktop(window_, {uri}); }

QVariantMap MprisService::BuildMetadata(const PlayerSnapshot& snapshot)
{
    QVariantMap metadata;
    if (snapshot.fileName.empty() || snapshot.currentIndex < 0) {
        metadata.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(NoTrackId)));
        return metadata;
    }
    metadata.insert(QStringLiteral("mpris:trackid"),
                    QVariant::fromValue(QDBusObjectPath(TrackIdPrefix + QString::number(snapshot.currentIndex))));
    const TrackTitles& titles = TitlesOf(snapshot.fileName);
    metadata.insert(QStringLiteral("xesam:title"), titles.title);
    if (!titles.artist.isEmpty())
        metadata.insert(QStringLiteral("xesam:artist"), QStringList{titles.artist});
    if (!titles.album.isEmpty())
        metadata.insert(QStringLiteral("xesam:album"), titles.album);
    metadata.insert(QStringLiteral("xesam:url"), FileUrl(snapshot.fileName));
    try {
        // Known while the file is open: after a failed open it is not.
        metadata.insert(QStringLiteral("mpris:length"),
                        static_cast<qlonglong>(window_.MP3->TrackLength(1)) * 1000);
    } catch (const Exception&) {
    }
    return metadata;
}

void MprisService::Publish()
{
    const PlayerSnapshot now = Snapshot();
    if (now == last_)
        return;
    QVariantMap changed;
    const bool statusChanged = now.status != last_.status;
    if (statusChanged) {
        changed.insert(QStringLiteral("PlaybackStatus"), PlaybackStatusText(now.status));
        changed.insert(QStringLiteral("CanPause"), now.status != PlaybackStatus::Stopped);
        changed.insert(QStringLiteral("CanSeek"), now.status != PlaybackStatus::Stopped);
    }
    if (now.entries != last_.entries) {
        changed.insert(QStringLiteral("CanGoNext"), now.entries > 0);
        changed.insert(QStringLiteral("CanGoPrevious"), now.entries > 0);
        changed.insert(QStringLiteral("CanPlay"), now.entries > 0);
    }
    if (statusChanged || !now.SameTrack(last_)) {
        QVariantMap metadata = BuildMetadata(now);
        if (metadata != metadata_) {
            metadata_ = std::move(metadata);
            changed.insert(QStringLiteral("Metadata"), metadata_);
        }
    }
    if (now.Volume() != last_.Volume())
        changed.insert(QStringLiteral("Volume"), now.Volume());
    if (now.seekPosition != last_.seekPosition && now.SameTrack(last_) && now.status != PlaybackStatus::Stopped)
        emit player_->Seeked(static_cast<qlonglong>(now.seekPosition) * 1000);
    last_ = now;
    if (changed.isEmpty())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(MprisObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << MprisPlayerInterface << changed << QStringList();
    QDBusConnection::sessionBus().send(signal);
}
