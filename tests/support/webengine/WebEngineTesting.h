#pragma once
// Helpers for tests that drive the real web engine: finding the view inside
// a browser control, waiting for pages, and counting the engine's helper
// processes.
#include "tests/support/EngineProcesses.h"

#include <QList>
#include <QUrl>
#include <QWebEngineView>
#include <ostream>

class QWidget;

// The engine's view inside a control, or nullptr while it has not been made.
QWebEngineView* engineViewOf(QWidget* control);

// Records the address of every page the view finished loading.
class LoadRecorder : public QObject {
public:
    explicit LoadRecorder(QWebEngineView* view);
    const QList<QUrl>& finished() const { return finished_; }
    // Runs the event loop until `url` has finished loading (within a
    // generous limit); true when it did.
    bool waitFor(const QUrl& url, int limitMs = 60000);

private:
    QWebEngineView* view_;
    QList<QUrl> finished_;
};

// Runs script in the view's page and waits for its result.
QVariant runScript(QWebEngineView* view, const QString& script, int limitMs = 60000);
// Waits until the page's title becomes one of `titles`; answers it, or "" on time-out.
QString waitForTitle(QWebEngineView* view, const QStringList& titles, int limitMs = 60000);

// Readable failure messages for Qt texts.
void PrintTo(const QString& text, std::ostream* out);
