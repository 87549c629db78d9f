// What a remote page shown in the browser control can reach of this
// machine: real web engine, pages from a local server on 127.0.0.1 (a
// secure origin, so permission requests do reach the control).
#include "tests/support/LocalHttpServer.h"
#include "framework/WebBrowser.h"
#include "tests/support/webengine/WebEngineTesting.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QTest>
#include <QVBoxLayout>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

class BrowserIsolationTest : public ::testing::Test {
protected:
    BrowserIsolationTest()
    {
        window.resize(420, 375);
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        browser = new TCppWebBrowser(&window);
        layout->addWidget(browser);
    }

    QUrl pageUrl(const std::string& path) const { return QUrl(QString::fromStdString(server.origin() + path)); }

    // Serves html at path, shows the window and waits until it has loaded.
    QWebEngineView* navigate(const std::string& path, const std::string& html)
    {
        server.setPage(path, html);
        const TVariant missing = TVariant::Missing();
        browser->Navigate(pageUrl(path).toString().toStdU16String(), missing, missing, missing, missing);
        window.show();
        QWebEngineView* view = engineViewOf(browser);
        loads = std::make_unique<LoadRecorder>(view);
        return loads->waitFor(pageUrl(path)) ? view : nullptr;
    }

    LocalHttpServer server;
    QWidget window;
    TCppWebBrowser* browser = nullptr;
    std::unique_ptr<LoadRecorder> loads;
};

TEST_F(BrowserIsolationTest, APageCannotReadLocalFiles)
{
    QWebEngineView* view = navigate("/files.html", R"(<html><body><script>
        fetch('file:///etc/hostname').then(() => document.title = 'fetch read')
                                     .catch(() => document.title = 'fetch refused');
        </script></body></html>)");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(waitForTitle(view, {"fetch read", "fetch refused"}), "fetch refused");
    const QVariant request = runScript(view, R"((() => {
        const x = new XMLHttpRequest();
        try { x.open('GET', 'file:///etc/hostname', false); x.send(); return 'read ' + x.responseText; }
        catch (e) { return 'refused'; } })())");
    EXPECT_EQ(request.toString(), "refused");
}

TEST_F(BrowserIsolationTest, APageCannotReadTheClipboard)
{
    QApplication::clipboard()->setText("secret of the user");
    QWebEngineView* view = navigate("/clipboard.html", "<html><body><textarea id=t></textarea></body></html>");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(runScript(view, "document.getElementById('t').focus(); document.execCommand('paste')").toBool(), false);
    EXPECT_EQ(runScript(view, "document.getElementById('t').value").toString(), "");
    runScript(view, R"(navigator.clipboard.readText().then(t => document.title = 'read ' + t)
                                                  .catch(() => document.title = 'clipboard refused'); 0)");
    EXPECT_EQ(waitForTitle(view, {"read secret of the user", "clipboard refused"}), "clipboard refused");
}

TEST_F(BrowserIsolationTest, EveryPermissionAPageAsksForIsDenied)
{
    QWebEngineView* view = navigate("/permissions.html", "<html><body>asks</body></html>");
    ASSERT_NE(view, nullptr);
    runScript(view, "Notification.requestPermission().then(p => document.title = 'notifications ' + p); 0");
    EXPECT_EQ(waitForTitle(view, {"notifications granted", "notifications denied", "notifications default"}),
              "notifications denied");
    runScript(view, R"(navigator.geolocation.getCurrentPosition(() => document.title = 'position given',
                                                               e => document.title = 'position ' + e.code); 0)");
    EXPECT_EQ(waitForTitle(view, {"position given", "position 1", "position 2", "position 3"}), "position 1");
    runScript(view, R"(navigator.mediaDevices.getUserMedia({audio: true})
                           .then(() => document.title = 'microphone given')
                           .catch(e => document.title = 'microphone ' + e.name); 0)");
    const QString microphone = waitForTitle(view, {"microphone given", "microphone NotAllowedError",
                                                   "microphone NotFoundError", "microphone NotReadableError"});
    EXPECT_NE(microphone, "microphone given");
    EXPECT_FALSE(microphone.isEmpty());
}

TEST_F(BrowserIsolationTest, NoPageOpensAWindowOfItsOwn)
{
    QWebEngineView* view = navigate("/opener.html", R"(<html><body style="margin:0">
        <a id=link href="/clicked.html" target="_blank"
           style="display:block;position:absolute;left:0;top:0;width:400px;height:300px">new window</a>
        </body></html>)");
    ASSERT_NE(view, nullptr);
    const auto windowsBefore = QApplication::topLevelWidgets().size();
    // Of its own accord: refused outright.
    EXPECT_TRUE(runScript(view, "window.open('/popup.html') === null").toBool());

    // A link the user clicks opens in the lyrics window itself.
    QWidget* surface = view->focusProxy() ? view->focusProxy() : view;
    QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(50, 50));
    ASSERT_TRUE(loads->waitFor(pageUrl("/clicked.html")));
    EXPECT_EQ(view->url(), pageUrl("/clicked.html"));
    EXPECT_EQ(QApplication::topLevelWidgets().size(), windowsBefore);
    for (const std::string& request : server.pageRequests())
        EXPECT_NE(request, "/popup.html");
}

TEST_F(BrowserIsolationTest, NothingIsDownloaded)
{
    QWebEngineView* view = navigate("/start.html", "<html><body>start</body></html>");
    ASSERT_NE(view, nullptr);
    server.setPage("/song.mp3", "not really music", "Content-Disposition: attachment; filename=song.mp3\r\n");
    QWebEngineProfile* profile = view->page()->profile();
    const QDir downloads(profile->downloadPath());
    const QStringList before = downloads.entryList(QDir::Files);
    std::optional<QWebEngineDownloadRequest::DownloadState> state;
    QObject::connect(profile, &QWebEngineProfile::downloadRequested, [&](QWebEngineDownloadRequest* download) {
        QObject::connect(download, &QWebEngineDownloadRequest::stateChanged,
                         [&](QWebEngineDownloadRequest::DownloadState changed) { state = changed; });
        state = download->state();
    });
    runScript(view, "location.href = '/song.mp3'; 0");
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return state == QWebEngineDownloadRequest::DownloadCancelled ||
               state == QWebEngineDownloadRequest::DownloadCompleted ||
               state == QWebEngineDownloadRequest::DownloadInterrupted;
    }, 60000));
    EXPECT_EQ(*state, QWebEngineDownloadRequest::DownloadCancelled);
    EXPECT_EQ(downloads.entryList(QDir::Files), before);
}

}  // namespace
