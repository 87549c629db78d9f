#pragma once
// Qt's address type rewrites a query before the engine sees it (escapes in
// capitals, "%2d" made "-"); the engine itself keeps what it is given. So an
// address that must reach its host byte for byte is given to the engine as
// text: in a tiny page of the program's own whose refresh goes there at once.
#include <QString>
#include <QUrl>

// The page that moves on to address (as written) as soon as it is shown. It
// runs no script, loads nothing, and sends no referrer.
QString ExactAddressPageHtml(const QString& address);

// The address that page is shown under: on the target's own site, so that
// the engine keeps the one renderer process for both, and never the
// target itself.
QUrl ExactAddressPageBase(const QUrl& target);
