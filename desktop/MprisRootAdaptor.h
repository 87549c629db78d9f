#pragma once
// org.mpris.MediaPlayer2: who the player is, raising and quitting it.
#include <QDBusAbstractAdaptor>
#include <QStringList>

class MprisService;

class MprisRootAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ CanQuit)
    Q_PROPERTY(bool CanRaise READ CanRaise)
    Q_PROPERTY(bool HasTrackList READ HasTrackList)
    Q_PROPERTY(QString Identity READ Identity)
    Q_PROPERTY(QString DesktopEntry READ DesktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ SupportedUriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ SupportedMimeTypes)
public:
    MprisRootAdaptor(QObject* object, MprisService& service);

    bool CanQuit() const { return true; }
    bool CanRaise() const { return true; }
    bool HasTrackList() const { return false; }
    QString Identity() const;
    QString DesktopEntry() const;
    // Local MP3 files, by OpenUri.
    QStringList SupportedUriSchemes() const { return {QStringLiteral("file")}; }
    QStringList SupportedMimeTypes() const { return {QStringLiteral("audio/mpeg"), QStringLiteral("audio/x-mp3")}; }

public Q_SLOTS:
    void Raise();
    void Quit();

private:
    MprisService& service_;
};
