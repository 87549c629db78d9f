#include "desktop/ApplicationAdaptor.h"

#include "desktop/OpenFromDesktop.h"
#include "forms/TfrmKolviPlayer.h"
#include "framework/Application.h"
#include "resources/BuildSettings.h"

#include <QDBusConnection>
#include <QMetaObject>
#include <QPointer>

namespace {

const QString ApplicationId = QStringLiteral(KOLVI_APP_ID);

// "/" and the id's dots turned into slashes, as the desktop entry rules ask.
QString ApplicationPath() { return QLatin1Char('/') + QString(ApplicationId).replace(QLatin1Char('.'), QLatin1Char('/')); }

void BringUp(TfrmKolviPlayer& window)
{
    QPointer<TfrmKolviPlayer> target(&window);
    QMetaObject::invokeMethod(
        &window,
        [target] {
            if (!target)
                return;
            if (target->isMinimized())
                target->showNormal();
            target->Show();
            target->activateWindow();
        },
        Qt::QueuedConnection);
}

}  // namespace

ApplicationAdaptor::ApplicationAdaptor(QObject* object, TfrmKolviPlayer& window)
    : QDBusAbstractAdaptor(object), window_(window)
{
}

void ApplicationAdaptor::Activate(const QVariantMap&) { BringUp(window_); }

void ApplicationAdaptor::Open(const QStringList& uris, const QVariantMap&) { OpenFromDesktop(window_, uris); }

void ApplicationAdaptor::ActivateAction(const QString&, const QVariantList&, const QVariantMap&) { BringUp(window_); }

ApplicationService::ApplicationService(TfrmKolviPlayer& window)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    auto* object = new QObject(this);
    new ApplicationAdaptor(object, window);
    if (!bus.registerObject(ApplicationPath(), object))
        return;
    if (!bus.registerService(ApplicationId)) {
        bus.unregisterObject(ApplicationPath());
        return;
    }
    registered_ = true;
}

ApplicationService::~ApplicationService()
{
    if (!registered_)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterService(ApplicationId);
    bus.unregisterObject(ApplicationPath());
}
