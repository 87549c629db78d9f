// What becomes of a page the browser control is asked for, with the real
// web engine: the address reaches the host byte for byte; a page that cannot
// be had is reported, for the latest request only; the program's own pages
// take a script beside them that web pages never see; hiding the control
// ends the page's renderer process.
#include "tests/support/LocalHttpServer.h"
#include "tests/support/ScopedEnvironment.h"
#include "framework/WebBrowser.h"
#include "framework/WebEngineView.h"
#include "tests/support/webengine/WebEngineTesting.h"

#include <QSignalSpy>
#include <QTest>
#include <QTcpServer>
#include <QVBoxLayout>
#include <QWidget>
#include <fstream>
#include <gtest/gtest.h>

namespace {

constexpr char UnknownHost[] = "nowhere.kolvi.example";

// True when the process has ended (a zombie not yet reaped has too).
bool processEnded(qint64 pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return true;
    const auto close = line.rfind(')');
    return close == std::string::npos || (close + 2 < line.size() && line[close + 2] == 'Z');
}

class BrowserPageFateTest : public ::testing::Test {
protected:
    BrowserPageFateTest()
    {
        window.resize(420, 375);
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        browser = new TCppWebBrowser(&window);
        layout->addWidget(browser);
    }

    HRESULT navigate(const std::string& address)
    {
        const TVariant missing = TVariant::Missing();
        return browser->Navigate(QString::fromStdString(address).toStdU16String(), missing, missing, missing, missing);
    }

    QUrl pageUrl(const std::string& pathAndQuery) const { return QUrl(QString::fromStdString(server.origin() + pathAndQuery)); }

    QWebEngineView* shownView()
    {
        window.show();
        return engineViewOf(browser);
    }

    // Read once, when the engine starts: before the first show.
    const ScopedEnvironment unknownHostNowhere = ScopedEnvironment::appended(
        "QTWEBENGINE_CHROMIUM_FLAGS", std::string(" --host-resolver-rules=\"MAP ") + UnknownHost + " ~NOTFOUND\"");
    LocalHttpServer server;
    QWidget window;
    TCppWebBrowser* browser = nullptr;
};

TEST_F(BrowserPageFateTest, TheHostGetsTheAddressByteForByte)
{
    QWebEngineView* view = shownView();
    ASSERT_NE(view, nullptr);
    LoadRecorder loads(view);
    QSignalSpy requested(browser, &TCppWebBrowser::NavigateRequested);
    const std::string query = "/kr/show.html?title=a%2db%5fc%7e+%2a&singer=%b0%a1%2FB";
    ASSERT_EQ(navigate(server.origin() + query), S_OK);
    ASSERT_TRUE(loads.waitFor(pageUrl(query)));
    EXPECT_EQ(server.pageRequests(), std::vector<std::string>{query});
    ASSERT_EQ(requested.size(), 1);
    EXPECT_EQ(requested[0][0].toUrl(), pageUrl(query));
    EXPECT_EQ(runScript(view, "location.search").toString(), "?title=a%2db%5fc%7e+%2a&singer=%b0%a1%2FB");
}

TEST_F(BrowserPageFateTest, APageThatCannotBeHadIsReportedForTheLatestRequestOnly)
{
    QWebEngineView* view = shownView();
    ASSERT_NE(view, nullptr);
    LoadRecorder loads(view);
    QSignalSpy failed(browser, &TCppWebBrowser::NavigateFailed);
    server.setPage("/missing.html", "<html><body>not here</body></html>", "", "404 Not Found");
    server.setPage("/broken.html", "<html><body>broken</body></html>", "", "500 Internal Server Error");
    server.hold("/silent.html", true);
    quint16 closedPort = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        closedPort = probe.serverPort();
    }

    const std::vector<std::string> unavailable{server.origin() + "/missing.html", server.origin() + "/broken.html",
                                               "http://127.0.0.1:" + std::to_string(closedPort) + "/refused.html",
                                               std::string("http://") + UnknownHost + "/unknown.html",
                                               server.origin() + "/silent.html"};
    for (const std::string& address : unavailable) {
        failed.clear();
        ASSERT_EQ(navigate(address), S_OK);
        ASSERT_TRUE(failed.wait(60000)) << address;
        ASSERT_EQ(failed.size(), 1) << address;
        EXPECT_EQ(failed[0][0].toUrl(), QUrl(QString::fromStdString(address)));
    }

    // A page that answers is not reported, nor one overtaken by the next
    // request, nor one its host sends elsewhere, even once the time is up.
    failed.clear();
    server.setPage("/moved.html", "", "Location: /fine.html\r\n", "302 Found");
    navigate(server.origin() + "/missing.html");
    navigate(server.origin() + "/moved.html");
    ASSERT_TRUE(loads.waitFor(pageUrl("/fine.html")));
    EXPECT_EQ(view->url(), pageUrl("/fine.html"));
    EXPECT_FALSE(failed.wait(WebEngineView::HostAnswerLimitMs + 2000));
}

TEST_F(BrowserPageFateTest, AScriptRunsBesideTheProgramsOwnPageOnlyAndAfterItHasLoaded)
{
    QWebEngineView* view = shownView();
    ASSERT_NE(view, nullptr);
    LoadRecorder loads(view);
    browser->ShowOwnPage("<html><body><p id=\"line\">waiting</p></body></html>");
    browser->RunInOwnPage("document.getElementById('line').textContent = 'marked';");
    EXPECT_TRUE(QTest::qWaitFor([&] { return runScript(view, "document.body.textContent").toString() == "marked"; },
                                60000));

    server.setPage("/web.html", "<html><body><p id=\"line\">web page</p></body></html>");
    navigate(server.origin() + "/web.html");
    browser->RunInOwnPage("document.getElementById('line').textContent = 'marked';");
    ASSERT_TRUE(loads.waitFor(pageUrl("/web.html")));
    EXPECT_EQ(runScript(view, "document.body.textContent").toString(), "web page");
}

TEST_F(BrowserPageFateTest, HidingEndsThePagesRendererAndTheNextShowStartsAnother)
{
    QWebEngineView* view = shownView();
    ASSERT_NE(view, nullptr);
    LoadRecorder loads(view);
    navigate(server.origin() + "/first.html");
    ASSERT_TRUE(loads.waitFor(pageUrl("/first.html")));
    const qint64 renderer = view->page()->renderProcessPid();
    ASSERT_GT(renderer, 0);

    window.hide();
    EXPECT_TRUE(QTest::qWaitFor([&] { return processEnded(renderer); }, 60000));
    EXPECT_EQ(engineViewOf(browser), view);

    LoadRecorder laterLoads(view);
    window.show();
    navigate(server.origin() + "/second.html");
    ASSERT_TRUE(laterLoads.waitFor(pageUrl("/second.html")));
    EXPECT_GT(view->page()->renderProcessPid(), 0);
    EXPECT_NE(view->page()->renderProcessPid(), renderer);
    EXPECT_EQ(server.pageRequests(), (std::vector<std::string>{"/first.html", "/second.html"}));
}

}  // namespace
