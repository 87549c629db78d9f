// The main window as the layout builds it: every control's place, size,
// caption, font and colour, the tab order and first focus, the anchors on
// a resize, the saved entry selected at start-up, and the message loop
// ending with the main window.
#include "tests/support/FileBytes.h"
#include "tests/support/windows/PlayerFixture.h"
#include "forms/TfrmLyrics.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

namespace {

const QColor Blue(1, 86, 203);

struct Expected {
    const char* name;
    QRect geometry;
    const char* caption;
};

class MainWindow : public PlayerFixture {
protected:
    void TearDown() override { stop(); }

    QWidget* control(const char* name) { return qobject_cast<QWidget*>(form->FindComponent(name)); }
};

const Expected Buttons[] = {
    {"btnPrev", {7, 8, 50, 25}, "이전곡"},        {"btnPlay", {57, 8, 50, 25}, "재생"},
    {"btnPause", {107, 8, 50, 25}, "멈춤"},       {"btnStop", {157, 8, 50, 25}, "정지"},
    {"btnNext", {207, 8, 50, 25}, "다음곡"},      {"btnOpen", {257, 8, 57, 25}, "파일열기"},
    {"btnLyrics", {107, 356, 62, 25}, "가사보기"}, {"btnAdd", {7, 356, 50, 25}, "추가"},
    {"btnDel", {57, 356, 50, 25}, "삭제"},        {"btnAbout", {169, 356, 62, 25}, "About"},
    {"btnConnectHomePage", {231, 356, 62, 25}, "홈페이지"},
};

}  // namespace

TEST_F(MainWindow, TheWindowItselfIsBuiltAsDesigned)
{
    start();
    EXPECT_EQ(form->Caption(), "KolviPlayer");
    EXPECT_EQ(form->pos(), QPoint(417, 229));
    EXPECT_EQ(form->size(), QSize(321, 394));
    EXPECT_EQ(form->palette().color(QPalette::Window), Blue);
    EXPECT_EQ(form->font().family(), "MS Sans Serif");
    EXPECT_EQ(form->font().pixelSize(), 11);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(form->windowFlags() & Qt::WindowMinimizeButtonHint);
}

TEST_F(MainWindow, EveryButtonHasItsPlaceCaptionAndFontAndTakesNoFocus)
{
    start();
    for (const Expected& expected : Buttons) {
        SCOPED_TRACE(expected.name);
        auto* button = qobject_cast<TSpeedButton*>(control(expected.name));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->geometry(), expected.geometry);
        EXPECT_EQ(button->Caption(), QString::fromUtf8(expected.caption));
        EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
        EXPECT_FALSE(button->isFlat());
        EXPECT_EQ(button->font().family(), "MS Sans Serif");
        EXPECT_EQ(button->font().pixelSize(), 11);
        EXPECT_EQ(button->font().bold(), std::string(expected.name) == "btnLyrics");
    }
}

TEST_F(MainWindow, TheOtherControlsHaveTheirPlacesAndProperties)
{
    start();
    EXPECT_EQ(form->Bevel1->geometry(), QRect(8, 40, 304, 286));
    EXPECT_EQ(form->Bevel1->frameShape(), QFrame::Box);
    EXPECT_EQ(form->Bevel1->frameShadow(), QFrame::Sunken);

    // Label1 takes the size of its text; Label2 keeps its own.
    EXPECT_EQ(form->Label1->pos(), QPoint(8, 334));
    EXPECT_EQ(form->Label1->size(), form->Label1->sizeHint());
    EXPECT_EQ(form->Label1->Caption(), "Volumn");
    EXPECT_EQ(form->Label2->geometry(), QRect(168, 334, 33, 13));
    EXPECT_EQ(form->Label2->Caption(), "Pos");
    for (TLabel* label : {form->Label1, form->Label2}) {
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::white));
        EXPECT_EQ(label->font().pixelSize(), 11);
    }

    // The volume slider's range and position come from the mixer when
    // there is one; the position slider's are the layout's.
    EXPECT_EQ(form->TrackVol->geometry(), QRect(48, 334, 113, 12));
    EXPECT_EQ(form->TrackPos->geometry(), QRect(192, 334, 113, 12));
    EXPECT_EQ(form->TrackPos->Min(), 0);
    EXPECT_EQ(form->TrackPos->Max(), 10);
    EXPECT_EQ(form->TrackPos->Position(), 0);
    for (TTrackBar* track : {form->TrackVol, form->TrackPos}) {
        EXPECT_EQ(track->Frequency(), 1);
        EXPECT_EQ(track->tickPosition(), QSlider::TicksBelow);
    }

    TListView* list = form->lvFileList;
    EXPECT_EQ(list->geometry(), QRect(16, 48, 289, 273));
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(list->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(list->frameShape(), QFrame::NoFrame);
    EXPECT_EQ(list->palette().color(QPalette::Base), Blue);
    EXPECT_EQ(list->palette().color(QPalette::Text), QColor(Qt::white));
    EXPECT_EQ(list->model()->columnCount(), 1);
    EXPECT_EQ(list->model()->headerData(0, Qt::Horizontal).toString(), QString::fromUtf8("MP3 파일 목록"));

    EXPECT_EQ(form->MP3->geometry(), QRect(264, 441, 141, 20));
    EXPECT_TRUE(form->MP3->isHidden());
    EXPECT_EQ(form->TrackTimer->Interval(), 1000);
    EXPECT_TRUE(form->TrackTimer->Enabled());
}

TEST_F(MainWindow, FocusGoesToTheVolumeSliderAndTabFollowsTheTabOrder)
{
    start();
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    EXPECT_EQ(form->focusWidget(), form->TrackVol);
    QTest::keyClick(form->TrackVol, Qt::Key_Tab);
    EXPECT_EQ(form->focusWidget(), form->TrackPos);
    QTest::keyClick(form->TrackPos, Qt::Key_Tab);
    EXPECT_EQ(form->focusWidget(), form->lvFileList);
    QTest::keyClick(form->lvFileList, Qt::Key_Tab);
    EXPECT_EQ(form->focusWidget(), form->TrackVol);
}

TEST_F(MainWindow, AHundredPixelsMoreMovesTheBottomRowsAndStretchesTheList)
{
    start();
    form->show();
    QCoreApplication::processEvents();
    std::map<std::string, QRect> before;
    for (QObject* child : form->children())
        if (auto* widget = qobject_cast<QWidget*>(child))
            before[widget->objectName().toStdString()] = widget->geometry();
    const int columnBefore = form->lvFileList->header()->sectionSize(0);

    form->resize(421, 494);
    QCoreApplication::processEvents();
    for (const char* name : {"btnAdd", "btnDel", "btnLyrics", "btnAbout", "btnConnectHomePage", "Label1", "Label2",
                             "TrackVol", "TrackPos"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(control(name)->geometry(), before[name].translated(0, 100));
    }
    for (const char* name : {"btnPrev", "btnPlay", "btnPause", "btnStop", "btnNext", "btnOpen", "MP3"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(control(name)->geometry(), before[name]);
    }
    for (const char* name : {"Bevel1", "lvFileList"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(control(name)->geometry(), before[name].adjusted(0, 0, 100, 100));
    }
    EXPECT_EQ(form->lvFileList->header()->sectionSize(0), columnBefore + 100);
}

TEST_F(MainWindow, TheSavedEntryIsSelectedOnlyNeitherFocusedNorScrolledNorPlayed)
{
    std::string bytes = "42\r\r\n";
    for (int i = 0; i < 60; ++i)
        bytes += "/m/" + std::to_string(i) + ".mp3\r\r\n";
    writeFileBytes(listFile(), bytes);
    start();
    form->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(selected(), (std::vector<int>{42}));
    EXPECT_EQ(form->lvFileList->selectionModel()->selectedRows().size(), 1);
    EXPECT_FALSE(form->lvFileList->currentIndex().isValid());
    EXPECT_EQ(form->lvFileList->verticalScrollBar()->value(), 0);
    EXPECT_EQ(form->IsPlaying, 0);
    EXPECT_EQ(form->IsPaused, 0);
    EXPECT_EQ(form->MP3->FileName(), "");
}

TEST_F(MainWindow, AnIndexOutsideTheListSelectsNothingAndIsKept)
{
    for (const char* line : {"3\r\r\n", "-3\r\r\n"}) {
        writeFileBytes(listFile(), std::string(line) + "/a.mp3\r\r\n/b.mp3\r\r\n/c.mp3\r\r\n");
        start();
        EXPECT_EQ(selected(), (std::vector<int>{}));
        EXPECT_EQ(form->CurrentIndex, std::stoi(line));
        stop();
    }
}

TEST_F(MainWindow, ClosingTheMainWindowEndsTheLoopThenTheFormsGoLastCreatedFirstAndItSaves)
{
    writeFileBytes(listFile(), "0\r\r\n/a.mp3\r\r\n");
    start();
    TfrmLyrics* lyrics = nullptr;
    application_->CreateForm(lyrics);
    EXPECT_FALSE(lyrics->isVisible());
    EXPECT_EQ(lyrics->Caption(), "Lyrics Viewer");
    EXPECT_EQ(application_->MainForm(), form);
    form->CurrentIndex = 7;
    QTimer::singleShot(0, [&] { form->close(); });
    application_->Run();
    EXPECT_FALSE(form->isVisible());

    std::vector<std::string> destroyed;
    QObject::connect(form, &TForm::OnDestroy, [&] { destroyed.push_back("main"); });
    QObject::connect(lyrics, &TForm::OnDestroy, [&] { destroyed.push_back("lyrics"); });
    stop();
    EXPECT_EQ(destroyed, (std::vector<std::string>{"lyrics", "main"}));
    EXPECT_EQ(readFileBytes(listFile()), "7\r\r\n/a.mp3\r\r\n");
}
