// The browser control as the player has it: this test program does not link
// Qt WebEngine, so the engine comes in only through the control's module
// when the control is first shown, as in the player.
#include "tests/support/EngineProcesses.h"
#include "tests/support/LocalHttpServer.h"
#include "framework/WebBrowser.h"
#include "platform/win/Modules.h"

#include <QImage>
#include <QLabel>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

TEST(LazyWebEngine, ComesInOnTheFirstShowAndDrawsThePage)
{
    ASSERT_FALSE(webEngineLibraryLoaded()) << "run this case in a fresh process";
    LocalHttpServer server;
    server.setPage("/red.html", "<html><body style=\"background:#ff0000\">lyrics</body></html>");
    QWidget window;
    window.resize(420, 375);
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* browser = new TCppWebBrowser(&window);
    layout->addWidget(browser);
    const TVariant missing = TVariant::Missing();
    const std::u16string page = QString::fromStdString(server.origin() + "/red.html").toStdU16String();
    EXPECT_EQ(browser->Navigate(page, missing, missing, missing, missing), S_OK);
    EXPECT_FALSE(webEngineLibraryLoaded());
    EXPECT_EQ(webEngineHelperProcesses(), 0);

    window.show();
    EXPECT_TRUE(webEngineLibraryLoaded());
    ASSERT_TRUE(server.waitForPageRequests(1));
    EXPECT_EQ(server.pageRequests(), std::vector<std::string>{"/red.html"});
    EXPECT_GT(webEngineHelperProcesses(), 0);
    // The page reaches the screen: the control shows its red background.
    const QPoint inside(browser->width() / 2, browser->height() - 20);
    EXPECT_TRUE(QTest::qWaitFor([&] { return browser->grab().toImage().pixelColor(inside) == QColor(255, 0, 0); },
                                60000));
}

// Without its module the control says so in its place, and what the window
// asks of it meanwhile (its zoom, a page) is taken without a crash.
TEST(LazyWebEngine, WithoutItsModuleSaysSoInItsPlace)
{
    ASSERT_FALSE(webEngineLibraryLoaded()) << "run this case in a fresh process";
    const QStringList before = chooseModuleFolders({});
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* browser = new TCppWebBrowser(&window);
    layout->addWidget(browser);
    window.show();
    browser->SetZoom(1.5);
    browser->ShowOwnPage(QStringLiteral("<p>lyrics</p>"));
    chooseModuleFolders(before);
    const auto* failure = browser->findChild<QLabel*>();
    ASSERT_NE(failure, nullptr);
    EXPECT_TRUE(failure->text().startsWith(QStringLiteral("웹 엔진을 시작할 수 없습니다"))) << failure->text().toStdString();
    EXPECT_FALSE(webEngineLibraryLoaded());
}

}  // namespace
