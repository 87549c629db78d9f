#include "framework/QuickOwnPage.h"

QuickOwnPage::QuickOwnPage(QWidget* parent)
    : QTextBrowser(parent)
{
    setOpenLinks(false);
    setFrameShape(QFrame::NoFrame);
}

bool QuickOwnPage::ShowPage(const QString& html)
{
    if (html.size() > LongestPage) {
        clear();
        return false;
    }
    setHtml(html);
    return true;
}

QVariant QuickOwnPage::loadResource(int, const QUrl&)
{
    return {};
}
