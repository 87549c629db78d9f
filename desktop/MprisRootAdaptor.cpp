#include "desktop/MprisRootAdaptor.h"

#include "resources/BuildSettings.h"
#include "desktop/MprisService.h"

MprisRootAdaptor::MprisRootAdaptor(QObject* object, MprisService& service)
    : QDBusAbstractAdaptor(object), service_(service)
{
}

QString MprisRootAdaptor::Identity() const { return QStringLiteral("KolviPlayer"); }

QString MprisRootAdaptor::DesktopEntry() const { return QStringLiteral(KOLVI_APP_ID); }

void MprisRootAdaptor::Raise() { service_.Raise(); }

void MprisRootAdaptor::Quit() { service_.Quit(); }
