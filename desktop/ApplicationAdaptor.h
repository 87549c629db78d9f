#pragma once
// org.freedesktop.Application: how the desktop starts the player on the
// session bus (D-Bus activation of its desktop entry) and hands it the
// files chosen in a file manager.
#include <QDBusAbstractAdaptor>
#include <QDBusVariant>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

class TfrmKolviPlayer;

class ApplicationAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")
public:
    ApplicationAdaptor(QObject* object, TfrmKolviPlayer& window);

public Q_SLOTS:
    // Brings the main window up.
    void Activate(const QVariantMap& platformData);
    // Adds the MP3 files among uris and starts the first.
    void Open(const QStringList& uris, const QVariantMap& platformData);
    // The player has no actions of its own: it is brought up, as by Activate.
    void ActivateAction(const QString& actionName, const QVariantList& parameter, const QVariantMap& platformData);

private:
    TfrmKolviPlayer& window_;
};

// Puts the player on the session bus under its application id, at the
// object path the id makes; nothing without a bus or when the name is taken.
class ApplicationService : public QObject {
    Q_OBJECT
public:
    explicit ApplicationService(TfrmKolviPlayer& window);
    ~ApplicationService() override;
    ApplicationService(const ApplicationService&) = delete;
    ApplicationService& operator=(const ApplicationService&) = delete;

private:
    bool registered_ = false;
};
