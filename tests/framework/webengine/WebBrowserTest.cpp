// The browser control against the real web engine and a local web server.
#include "tests/support/LocalHttpServer.h"
#include "framework/QuickOwnPage.h"
#include "framework/WebBrowser.h"
#include "tests/support/webengine/WebEngineTesting.h"

#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

std::u16string wideText(const std::string& text)
{
    return QString::fromStdString(text).toStdU16String();
}

HRESULT navigateTo(TCppWebBrowser& browser, const std::string& url)
{
    const TVariant missing = TVariant::Missing();
    return browser.Navigate(wideText(url), missing, missing, missing, missing);
}

class WebBrowserTest : public ::testing::Test {
protected:
    WebBrowserTest()
    {
        window.resize(420, 375);
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        browser = new TCppWebBrowser(&window);
        layout->addWidget(browser);
    }

    QUrl pageUrl(const std::string& pathAndQuery) const
    {
        return QUrl(QString::fromStdString(server.origin() + pathAndQuery));
    }

    LocalHttpServer server;
    QWidget window;
    TCppWebBrowser* browser = nullptr;
};

// First in this file: it needs a process in which no web engine has started yet.
TEST_F(WebBrowserTest, StartsTheEngineOnlyWhenFirstShownAndThenOpensTheLaterRememberedAddress)
{
    ASSERT_EQ(webEngineHelperProcesses(), 0) << "run this case in a fresh process";
    EXPECT_EQ(navigateTo(*browser, server.origin() + "/first.html"), S_OK);
    EXPECT_EQ(navigateTo(*browser, server.origin() + "/remembered.html"), S_OK);
    EXPECT_EQ(engineViewOf(browser), nullptr);
    EXPECT_EQ(webEngineHelperProcesses(), 0);

    window.show();
    QWebEngineView* view = engineViewOf(browser);
    ASSERT_NE(view, nullptr);
    LoadRecorder loads(view);
    ASSERT_TRUE(loads.waitFor(pageUrl("/remembered.html")));
    EXPECT_EQ(server.pageRequests(), std::vector<std::string>{"/remembered.html"});
    EXPECT_GT(webEngineHelperProcesses(), 0);
    EXPECT_EQ(view->geometry(), browser->rect());
}

TEST_F(WebBrowserTest, TheLaterOfTwoQuickRequestsIsThePageThatStays)
{
    window.show();
    QWebEngineView* view = engineViewOf(browser);
    ASSERT_NE(view, nullptr);
    LoadRecorder loads(view);
    navigateTo(*browser, server.origin() + "/start.html");
    ASSERT_TRUE(loads.waitFor(pageUrl("/start.html")));

    QSignalSpy requested(browser, &TCppWebBrowser::NavigateRequested);
    navigateTo(*browser, server.origin() + "/kr/index.html");
    navigateTo(*browser, server.origin() + "/kr/show.html?title=Rain&singer=Kim");
    ASSERT_EQ(requested.count(), 2);
    EXPECT_EQ(requested[0][0].toUrl(), pageUrl("/kr/index.html"));
    EXPECT_EQ(requested[1][0].toUrl(), pageUrl("/kr/show.html?title=Rain&singer=Kim"));

    ASSERT_TRUE(loads.waitFor(pageUrl("/kr/show.html?title=Rain&singer=Kim")));
    EXPECT_EQ(server.pageRequests().back(), "/kr/show.html?title=Rain&singer=Kim");
    EXPECT_EQ(view->url(), pageUrl("/kr/show.html?title=Rain&singer=Kim"));
    EXPECT_EQ(runScript(view, "location.pathname + location.search").toString(),
              "/kr/show.html?title=Rain&singer=Kim");
}

TEST_F(WebBrowserTest, KeepsItsPageWhileHiddenAndOpensWhatWasAskedMeanwhileWhenShown)
{
    window.show();
    QWebEngineView* view = engineViewOf(browser);
    ASSERT_NE(view, nullptr);
    LoadRecorder loads(view);
    navigateTo(*browser, server.origin() + "/a.html");
    ASSERT_TRUE(loads.waitFor(pageUrl("/a.html")));

    window.hide();
    EXPECT_EQ(view->url(), pageUrl("/a.html"));
    navigateTo(*browser, server.origin() + "/b.html");
    window.show();
    EXPECT_EQ(engineViewOf(browser), view);
    ASSERT_TRUE(loads.waitFor(pageUrl("/b.html")));
    EXPECT_EQ(server.pageRequests(), (std::vector<std::string>{"/a.html", "/b.html"}));
}

TEST_F(WebBrowserTest, AnOwnPageShownMeanwhileIsReadableAtOnceAndGivesWayToTheEnginesDrawingOfIt)
{
    server.hold("/slow.html", true);
    window.show();
    ASSERT_NE(engineViewOf(browser), nullptr);
    navigateTo(*browser, server.origin() + "/slow.html");
    browser->ShowOwnPageMeanwhile("<html><body><p>own words</p></body></html>");

    // Before any renderer has drawn: Qt's drawing of it, in front.
    auto* quick = browser->findChild<QuickOwnPage*>();
    ASSERT_NE(quick, nullptr);
    EXPECT_TRUE(quick->isVisible());
    EXPECT_TRUE(quick->toPlainText().contains("own words"));
    EXPECT_TRUE(quick->isAncestorOf(browser->childAt(browser->rect().center())));

    // The engine's drawing takes its place once loaded.
    ASSERT_TRUE(QTest::qWaitFor([&] { return quick->isHidden(); }, 60000));
    QWidget* shown = browser->childAt(browser->rect().center());
    while (shown != nullptr && qobject_cast<QWebEngineView*>(shown) == nullptr)
        shown = shown->parentWidget();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(runScript(static_cast<QWebEngineView*>(shown), "document.body.innerText").toString(), "own words");

    // A long page is left to the engine: laying it out in Qt would hold the window.
    browser->ShowOwnPageMeanwhile("<html><body><p>more words</p></body></html>");
    EXPECT_TRUE(quick->isVisible());
    browser->ShowOwnPageMeanwhile("<html><body><p>" + QString(QuickOwnPage::LongestPage, u'x') + "</p></body></html>");
    EXPECT_TRUE(quick->isHidden());

    // A page asked for ends it at once: its words belong to the page before.
    browser->ShowOwnPageMeanwhile("<html><body><p>more words</p></body></html>");
    EXPECT_TRUE(quick->isVisible());
    navigateTo(*browser, server.origin() + "/next.html");
    EXPECT_TRUE(quick->isHidden());
}

TEST_F(WebBrowserTest, RefusesOptionalArgumentsThatAreGivenAndAddressesThatAreNoWebPages)
{
    QSignalSpy requested(browser, &TCppWebBrowser::NavigateRequested);
    const TVariant missing = TVariant::Missing();
    const TVariant otherError{VT_ERROR, E_INVALIDARG};
    const std::u16string page = wideText(server.origin() + "/never.html");
    EXPECT_EQ(browser->Navigate(page, otherError, missing, missing, missing), E_INVALIDARG);
    EXPECT_EQ(browser->Navigate(page, missing, otherError, missing, missing), E_INVALIDARG);
    EXPECT_EQ(browser->Navigate(page, missing, missing, otherError, missing), E_INVALIDARG);
    EXPECT_EQ(browser->Navigate(page, missing, missing, missing, otherError), E_INVALIDARG);
    EXPECT_EQ(navigateTo(*browser, "file:///etc/passwd"), E_INVALIDARG);
    EXPECT_EQ(navigateTo(*browser, "javascript:alert(1)"), E_INVALIDARG);
    EXPECT_EQ(navigateTo(*browser, ""), E_INVALIDARG);
    EXPECT_EQ(requested.count(), 0);

    // Empty variants count as left out; the address ends at its first NUL.
    const TVariant empty;
    std::u16string withNul = wideText(server.origin() + "/shown.html");
    withNul += u'\0';
    withNul += u"/ignored";
    EXPECT_EQ(browser->Navigate(withNul, empty, missing, empty, missing), S_OK);
    window.show();
    LoadRecorder loads(engineViewOf(browser));
    ASSERT_TRUE(loads.waitFor(pageUrl("/shown.html")));
    EXPECT_EQ(server.pageRequests(), std::vector<std::string>{"/shown.html"});
}

}  // namespace
