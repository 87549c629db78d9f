#pragma once

#include <QTextBrowser>

// A page of the program's own drawn by Qt's rich text, shown while the web
// engine's renderer is still starting. It runs no script and fetches
// nothing, and a page too long to lay out at once is not drawn here at all.
class QuickOwnPage : public QTextBrowser {
    Q_OBJECT

public:
    explicit QuickOwnPage(QWidget* parent);

    // Longer pages are left to the engine: laying out a long page in Qt
    // would hold the interface thread for longer than the engine takes.
    static constexpr qsizetype LongestPage = 64 * 1024;

    // Draws html and returns true, or clears and returns false when it is
    // longer than LongestPage.
    bool ShowPage(const QString& html);

    QVariant loadResource(int type, const QUrl& name) override;
};
