#include "tests/support/webengine/WebEngineTesting.h"

#include <QTest>
#include <QWebEnginePage>
#include <memory>
#include <optional>

QWebEngineView* engineViewOf(QWidget* control)
{
    return control->findChild<QWebEngineView*>();
}

LoadRecorder::LoadRecorder(QWebEngineView* view) : view_(view)
{
    connect(view, &QWebEngineView::loadFinished, this, [this](bool) { finished_.append(view_->url()); });
}

bool LoadRecorder::waitFor(const QUrl& url, int limitMs)
{
    return QTest::qWaitFor([&] { return finished_.contains(url); }, limitMs);
}

QVariant runScript(QWebEngineView* view, const QString& script, int limitMs)
{
    // Shared: the answer may come after a time-out has given up on it.
    auto result = std::make_shared<std::optional<QVariant>>();
    view->page()->runJavaScript(script, [result](const QVariant& value) { *result = value; });
    (void)QTest::qWaitFor([&] { return result->has_value(); }, limitMs);
    return result->value_or(QVariant());
}

QString waitForTitle(QWebEngineView* view, const QStringList& titles, int limitMs)
{
    (void)QTest::qWaitFor([&] { return titles.contains(view->title()); }, limitMs);
    return titles.contains(view->title()) ? view->title() : QString();
}

void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
