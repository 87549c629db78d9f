#include "desktop/MprisPlayerAdaptor.h"

#include "desktop/MprisService.h"

MprisPlayerAdaptor::MprisPlayerAdaptor(QObject* object, MprisService& service)
    : QDBusAbstractAdaptor(object), service_(service)
{
}

QString MprisPlayerAdaptor::PlaybackStatus() const { return PlaybackStatusText(service_.Snapshot().status); }

QVariantMap MprisPlayerAdaptor::Metadata() const { return service_.Metadata(); }

double MprisPlayerAdaptor::Volume() const { return service_.Snapshot().Volume(); }

void MprisPlayerAdaptor::SetVolume(double volume) { service_.SetVolume(volume); }

qlonglong MprisPlayerAdaptor::Position() const { return service_.PositionUs(); }

bool MprisPlayerAdaptor::CanGoNext() const { return service_.Snapshot().entries > 0; }

bool MprisPlayerAdaptor::CanGoPrevious() const { return service_.Snapshot().entries > 0; }

bool MprisPlayerAdaptor::CanPlay() const { return service_.Snapshot().entries > 0; }

bool MprisPlayerAdaptor::CanPause() const { return service_.Snapshot().status != ::PlaybackStatus::Stopped; }

bool MprisPlayerAdaptor::CanSeek() const { return service_.Snapshot().status != ::PlaybackStatus::Stopped; }

void MprisPlayerAdaptor::Next() { service_.Next(); }

void MprisPlayerAdaptor::Previous() { service_.Previous(); }

void MprisPlayerAdaptor::Pause() { service_.Pause(); }

void MprisPlayerAdaptor::PlayPause() { service_.PlayPause(); }

void MprisPlayerAdaptor::Stop() { service_.Stop(); }

void MprisPlayerAdaptor::Play() { service_.Play(); }

void MprisPlayerAdaptor::Seek(qlonglong Offset) { service_.SeekBy(Offset); }

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath& TrackId, qlonglong Position)
{
    service_.SetPosition(TrackId.path(), Position);
}

void MprisPlayerAdaptor::OpenUri(const QString& Uri) { service_.OpenUri(Uri); }
