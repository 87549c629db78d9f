#include "framework/webengine/ExactAddressPage.h"

namespace {

// The address between single quotes in an attribute: the few characters that
// would end either, or that an address cannot hold as they are, percent-
// encoded (the engine would encode them the same way); the rest kept.
QString QuotedAddress(const QString& address)
{
    QString quoted;
    for (QChar c : address) {
        const char16_t unit = c.unicode();
        if (unit <= 0x20 || unit == 0x7F || unit == u'\'' || unit == u'"' || unit == u'<' || unit == u'>')
            quoted += QStringLiteral("%%1").arg(unit, 2, 16, QChar(u'0')).toUpper();
        else if (unit == u'&')
            quoted += QStringLiteral("&amp;");
        else
            quoted += c;
    }
    return quoted;
}

}  // namespace

QString ExactAddressPageHtml(const QString& address)
{
    return QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\">"
                          "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'\">"
                          "<meta name=\"referrer\" content=\"no-referrer\">"
                          "<meta http-equiv=\"refresh\" content=\"0; url='")
        + QuotedAddress(address) + QStringLiteral("'\"></head><body></body></html>");
}

QUrl ExactAddressPageBase(const QUrl& target)
{
    QUrl base = target.adjusted(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment);
    base.setPath(QStringLiteral("/"));
    base.setFragment(QStringLiteral("kolvi-refresh"));
    return base;
}
