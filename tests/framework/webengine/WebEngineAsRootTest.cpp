// The web engine refuses to start for root with its sandbox on. The browser
// control switches the sandbox off by itself in that case, so the test
// clears everything the test environment would otherwise do for it. Like
// the player, this program does not link Qt WebEngine.
#include "tests/support/EngineProcesses.h"
#include "tests/support/LocalHttpServer.h"
#include "tests/support/ScopedEnvironment.h"
#include "framework/WebBrowser.h"

#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>
#include <unistd.h>

TEST(WebEngineAsRoot, ShowsPagesWithoutBeingToldToDropTheSandbox)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "only root has to run the web engine without its sandbox";
    ASSERT_FALSE(webEngineLibraryLoaded()) << "run this case in a fresh process";
    const ScopedEnvironment sandboxOn = ScopedEnvironment::removed("QTWEBENGINE_DISABLE_SANDBOX");
    const ScopedEnvironment noSandboxFlag("QTWEBENGINE_CHROMIUM_FLAGS",
                                          qgetenv("QTWEBENGINE_CHROMIUM_FLAGS").replace("--no-sandbox", "").toStdString());

    LocalHttpServer server;
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* browser = new TCppWebBrowser(&window);
    layout->addWidget(browser);
    const TVariant missing = TVariant::Missing();
    const std::u16string page = QString::fromStdString(server.origin() + "/as-root.html").toStdU16String();
    browser->Navigate(page, missing, missing, missing, missing);
    window.show();
    ASSERT_TRUE(server.waitForPageRequests(1));
    EXPECT_EQ(server.pageRequests(), std::vector<std::string>{"/as-root.html"});
    EXPECT_GT(webEngineHelperProcesses(), 0);
}
