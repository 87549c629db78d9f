#include "resources/KolviResources.h"

#include <QtGlobal>

// Outside every namespace, as Q_INIT_RESOURCE requires.
static bool RegisterKolviResources()
{
    Q_INIT_RESOURCE(kolvi);
    return true;
}

QString ResourcePath(const char* name)
{
    static const bool registered = RegisterKolviResources();
    (void)registered;
    return QStringLiteral(":/kolvi/") + QLatin1String(name);
}
