// The real player as a user meets it on their screen and in their
// language: on a small HiDPI screen (800x600 pixels at scale 2) both
// windows are fully visible, and in a Korean locale Qt's own file dialog
// speaks Korean.
#include "tests/support/ChildProcess.h"
#include "tests/support/EventLoopWait.h"
#include "tests/support/executable/PlayerProcess.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/ScopedLocale.h"
#include "tests/support/executable/WindowFacts.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

bool fullyInside(const XWindow& window, int width, int height)
{
    return window.x >= 0 && window.y >= 0 && window.x + window.width <= width && window.y + window.height <= height;
}

std::string describeWindow(const XWindow& window)
{
    return std::to_string(window.x) + "," + std::to_string(window.y) + " " + std::to_string(window.width) + "x" +
           std::to_string(window.height);
}

TEST(SmallScreen, AtScaleTwoOn800x600BothWindowsAreFullyVisible)
{
    int number = 600 + static_cast<int>(::getpid() % 300);
    while (QFile::exists(QString("/tmp/.X11-unix/X%1").arg(number)) || QFile::exists(QString("/tmp/.X%1-lock").arg(number)))
        ++number;
    const std::string display = ":" + std::to_string(number);
    ChildProcess xvfb({"Xvfb", display, "-screen", "0", "800x600x24", "-nolisten", "tcp", "-noreset"});
    ASSERT_TRUE(waitUntil([&] { return runProgram({"xdpyinfo", "-display", display}) == 0; }));
    const ScopedEnvironment onSmallScreen("DISPLAY", display);
    const ScopedEnvironment atScaleTwo("QT_SCALE_FACTOR", "2");

    PlayerProcess player;
    player.start();
    const auto window = waitForWindow("KolviPlayer");
    ASSERT_TRUE(window.has_value());
    EXPECT_TRUE(fullyInside(*window, 800, 600)) << describeWindow(*window);

    // The lyrics button: its centre 138 from the left, 25.5 above the
    // client's bottom edge (the bottom row keeps that distance), at scale 2.
    clickAt(*window, 2 * 138, window->height - 51);
    const auto lyrics = waitForWindow("Lyrics Viewer");
    ASSERT_TRUE(lyrics.has_value());
    EXPECT_TRUE(fullyInside(*lyrics, 800, 600)) << describeWindow(*lyrics);
    // Closing is the other tests' business; the player goes with the test.
}

TEST(KoreanLocale, QtsOwnFileDialogSpeaksKorean)
{
    {
        const ScopedLocale korean(Cp949Locale);
        if (!korean.active())
            GTEST_SKIP() << "the ko_KR.CP949 locale is not installed";
    }
    QTranslator qtTexts;
    ASSERT_TRUE(qtTexts.load(QLocale(QLocale::Korean, QLocale::SouthKorea), "qtbase", "_",
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
    const QString title = qtTexts.translate("QFileDialog", "Open");
    ASSERT_FALSE(title.isEmpty());
    ASSERT_NE(title, "Open");

    const ScopedEnvironment inKorean("LC_ALL", Cp949Locale);
    PlayerProcess player;
    player.start();
    const auto window = waitForWindow("KolviPlayer");
    ASSERT_TRUE(window.has_value());
    clickAt(*window, 257 + 28, 8 + 12);
    const auto dialog = waitForWindow(title.toStdString());
    ASSERT_TRUE(dialog.has_value()) << "a file dialog titled " << title.toStdString();
    runHelper({"close", QString::number(dialog->id)});
    runHelper({"close", QString::number(window->id)});
    ASSERT_TRUE(player.waitForExit());
    EXPECT_EQ(player.exitCode(), 0);
}

}  // namespace
