// The about box of the real main window.
#include "resources/BuildSettings.h"
#include "tests/support/ModalAnswerer.h"
#include "tests/support/windows/PlayerFixture.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

const QString AboutText = QString::fromUtf8("Kolvi Lyrics Ver 1.0 (Release Date = Sep 11 2002)\r\n"
                                            "\r\n"
                                            "제작 : " KOLVI_MAKER_NAME " (" KOLVI_MAKER_EMAIL ")\r\n"
                                            "http://" KOLVI_HOME_HOST "\r\n"
                                            "http://" KOLVI_SECOND_HOST);

class AboutBoxTest : public PlayerFixture {
protected:
    void SetUp() override
    {
        PlayerFixture::SetUp();
        start();
        startLyricsWindow();
    }

    ModalAnswerer answerer;
};

TEST_F(AboutBoxTest, ShowsFiveLinesWithTheReleaseDateUnderTheTitleAboutWithOneOkButton)
{
    form->show();
    answerer.expectMessageBox();
    form->btnAbout->click();
    ASSERT_EQ(answerer.messageBoxes().size(), 1u);
    const SeenMessageBox& box = answerer.messageBoxes()[0];
    EXPECT_EQ(box.title, "About");
    EXPECT_EQ(box.icon, QMessageBox::NoIcon);
    EXPECT_EQ(box.buttonCount, 1);
    EXPECT_EQ(box.text.toStdString(), AboutText.toStdString());
    const QStringList lines = box.text.split("\r\n");
    ASSERT_EQ(lines.size(), 5);
    EXPECT_TRUE(lines[0].endsWith("(Release Date = Sep 11 2002)"));
    EXPECT_TRUE(lines[1].isEmpty());
    EXPECT_FALSE(lines[4].isEmpty());
}

TEST_F(AboutBoxTest, ShowsTheSameTextInAKoreanCodePageLocaleAndInTheCLocale)
{
    // In C the locale cannot write Hangul: the text must still read right.
    std::size_t shown = 0;
    for (const char* locale : {Cp949Locale, "C"}) {
        ScopedLocale scope(locale);
        if (!scope.active())
            continue;
        answerer.expectMessageBox();
        form->btnAbout->click();
        ASSERT_EQ(answerer.messageBoxes().size(), ++shown) << locale;
        EXPECT_EQ(answerer.messageBoxes().back().text.toStdString(), AboutText.toStdString()) << locale;
    }
}

TEST_F(AboutBoxTest, TheLinesAreShownOneBelowTheOther)
{
    int shownHeight = 0;
    int separateLinesHeight = 0;
    int oneLineHeight = 0;
    answerer.expect([&](QWidget* dialog) {
        auto* label = dialog->findChild<QLabel*>("qt_msgbox_label");
        if (label != nullptr) {
            QLabel reference;
            reference.setFont(label->font());
            reference.setTextFormat(Qt::PlainText);
            reference.setText(AboutText.split("\r\n").join('\n'));
            separateLinesHeight = reference.sizeHint().height();
            reference.setText("Kolvi");
            oneLineHeight = reference.sizeHint().height();
            shownHeight = label->sizeHint().height();
        }
        dialog->close();
    });
    form->btnAbout->click();
    ASSERT_GT(oneLineHeight, 0);
    EXPECT_EQ(shownHeight, separateLinesHeight);
    EXPECT_GE(shownHeight, 4 * oneLineHeight);
}

TEST_F(AboutBoxTest, WhileOpenNeitherWindowTakesInputAndTheActiveWindowReturnsAfterwards)
{
    TfrmKolviPlayer* main = form;
    TfrmLyrics* lyrics = frmLyrics;
    main->show();
    lyrics->show();
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main));

    // A click on the lyrics button, through the window system as a user's would come.
    const auto clickLyricsButton = [&] {
        const QPoint centre = main->btnLyrics->mapTo(main, main->btnLyrics->rect().center());
        QTest::mouseClick(main->windowHandle(), Qt::LeftButton, {}, centre);
    };
    bool modal = false;
    bool lyricsStillVisible = false;
    bool lyricsWindowBlocked = false;
    answerer.expect([&](QWidget* dialog) {
        modal = dialog->windowModality() == Qt::ApplicationModal;
        clickLyricsButton();
        QApplication::processEvents();
        lyricsStillVisible = lyrics->isVisible();
        lyricsWindowBlocked = QGuiApplication::modalWindow() == dialog->windowHandle() &&
                              !lyrics->isActiveWindow() && !main->isActiveWindow();
        dialog->close();
    });
    main->btnAbout->click();
    EXPECT_TRUE(answerer.allAnswered());
    EXPECT_TRUE(modal);
    EXPECT_TRUE(lyricsStillVisible);
    EXPECT_TRUE(lyricsWindowBlocked);

    EXPECT_TRUE(QTest::qWaitForWindowActive(main));
    // The same click, now that the box is gone, reaches the button and hides the lyrics window.
    clickLyricsButton();
    EXPECT_FALSE(lyrics->isVisible());
}

}  // namespace
