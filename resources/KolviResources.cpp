#include "KolviResources.h"

#include <QtGlobal>

// Outside every namespace, as Q_INIT_RESOURCE requires.
static bool registerKolviResources()
{
    Q_INIT_RESOURCE(kolvi);
    return true;
}

QString ResourcePath(const char* name)
{
    static const bool registered = registerKolviResources();
    (void)registered;
    return QStringLiteral(":/kolvi/") + QLatin1String(name);
}
