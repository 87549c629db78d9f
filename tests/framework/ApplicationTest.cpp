#include "framework/Application.h"
#include "tests/support/ModalAnswerer.h"
#include "tests/support/ScopedLocale.h"

#include <QApplication>
#include <gtest/gtest.h>
#include <stdexcept>

TEST(ApplicationTitle, IsTheFileNameUpToItsFirstDotWithOnlyTheFirstLetterUpperCase)
{
    ScopedLocale locale(Utf8Locale);
    EXPECT_EQ(ApplicationTitle("/opt/kolvi/kolviplayer"), "Kolviplayer");
    EXPECT_EQ(ApplicationTitle("/x/KolviPlayer.exe"), "Kolviplayer");
    EXPECT_EQ(ApplicationTitle("/x/MY.PLAYER.BIN"), "My");
    EXPECT_EQ(ApplicationTitle("/x/.hidden"), "");
    EXPECT_EQ(ApplicationTitle("/x/9lives"), "9lives");
    // Only ASCII letters change case; the folder plays no part.
    EXPECT_EQ(ApplicationTitle("/A.B/\xED\x95\x9C" "ABC"), "\xED\x95\x9C" "abc");
}

TEST(ExceptionDisplayText, AddsADotOnlyAfterACharacterThatSortsAboveTheDot)
{
    ScopedLocale locale(Utf8Locale);
    EXPECT_EQ(ExceptionDisplayText("'abc' is not a valid integer value"), "'abc' is not a valid integer value.");
    EXPECT_EQ(ExceptionDisplayText("Done."), "Done.");
    EXPECT_EQ(ExceptionDisplayText("Failed (code 5)"), "Failed (code 5)");
    EXPECT_EQ(ExceptionDisplayText("Really?"), "Really?.");
    EXPECT_EQ(ExceptionDisplayText("a-"), "a-");
    EXPECT_EQ(ExceptionDisplayText("a/"), "a/.");
    EXPECT_EQ(ExceptionDisplayText("9"), "9.");
    EXPECT_EQ(ExceptionDisplayText(""), "");
    EXPECT_EQ(ExceptionDisplayText("\xEC\x97\x86\xEC\x9D\x8C"), "\xEC\x97\x86\xEC\x9D\x8C.");
}

TEST(ExceptionDisplay, IsAStopBoxCaptionedWithTheTitleShowingTheMessageWithItsDot)
{
    TApplication application("/somewhere/kolviplayer");
    ModalAnswerer answerer;
    answerer.expectMessageBox();
    application.ShowException(Exception("'abc' is not a valid integer value"));

    ASSERT_EQ(answerer.messageBoxes().size(), 1u);
    const SeenMessageBox& box = answerer.messageBoxes().front();
    EXPECT_EQ(box.title, "Kolviplayer");
    EXPECT_EQ(box.text, "'abc' is not a valid integer value.");
    EXPECT_EQ(box.icon, QMessageBox::Critical);
    EXPECT_EQ(box.buttonCount, 1);
}

TEST(ExceptionDisplay, ShowsMarkupAndLocaleBytesAsPlainText)
{
    ScopedLocale locale(Utf8Locale);
    TApplication application("/somewhere/kolviplayer");
    ModalAnswerer answerer;
    answerer.expectMessageBox();
    application.ShowException(Exception("<b>\xEC\x97\x86\xEC\x9D\x8C</b>"));
    ASSERT_EQ(answerer.messageBoxes().size(), 1u);
    EXPECT_EQ(answerer.messageBoxes().front().text, QString::fromUtf8("<b>없음</b>."));
}

TEST(RunGuarded, ShowsFrameworkExceptionsAndGivesOthersAnEmptyMessage)
{
    TApplication application("/somewhere/kolviplayer");
    ModalAnswerer answerer;
    answerer.expectMessageBox();
    answerer.expectMessageBox();
    bool after = false;
    RunGuarded([] { throw Exception("Disk full"); });
    RunGuarded([] { throw std::runtime_error("not ours"); });
    RunGuarded([&] { after = true; });

    ASSERT_EQ(answerer.messageBoxes().size(), 2u);
    EXPECT_EQ(answerer.messageBoxes()[0].text, "Disk full.");
    EXPECT_EQ(answerer.messageBoxes()[1].text, "");
    EXPECT_EQ(answerer.messageBoxes()[1].title, "Kolviplayer");
    EXPECT_TRUE(after);
}

TEST(MessageBox, ShowsTextAndCaptionFromLocaleBytesWithTheIconOfItsFlags)
{
    ScopedLocale locale(Utf8Locale);
    TApplication application("/somewhere/kolviplayer");
    ModalAnswerer answerer;
    answerer.expectMessageBox();
    answerer.expectMessageBox();
    EXPECT_EQ(application.MessageBox("line 1\r\n\r\nline 3", "About", MB_OK), IDOK);
    EXPECT_EQ(application.MessageBox("\xEA\xB0\x80", "x", MB_OK | MB_ICONINFORMATION), IDOK);

    ASSERT_EQ(answerer.messageBoxes().size(), 2u);
    EXPECT_EQ(answerer.messageBoxes()[0].title, "About");
    EXPECT_EQ(answerer.messageBoxes()[0].icon, QMessageBox::NoIcon);
    EXPECT_EQ(answerer.messageBoxes()[0].buttonCount, 1);
    EXPECT_EQ(answerer.messageBoxes()[1].text, QString::fromUtf8("가"));
    EXPECT_EQ(answerer.messageBoxes()[1].icon, QMessageBox::Information);
}

TEST(ExecutablePath, NamesThisTestProgram)
{
    const std::string path = ExecutablePath();
    EXPECT_EQ(path.front(), '/');
    EXPECT_TRUE(path.ends_with("/framework_tests"));
}
