// What a screen reader is told, through Qt's accessibility interfaces (the
// ones its AT-SPI bridge reads): both windows are frames; every control of
// the main window has a Korean name; the sliders are labelled by their
// captions, read the volume as a percentage and the position as the time
// that the window shows. The control with the keyboard focus is framed in a
// colour that stands out on the window's.
#include "forms/TrackTime.h"
#include "tests/support/SinkVolume.h"
#include "tests/support/windows/PlayerFixture.h"

#include <QAccessible>
#include <QTest>
#include <map>

namespace {

struct TimeCase {
    DWORD position;
    DWORD length;
    const char* shown;
    const char* spoken;
};

TEST(TrackTime, ElapsedAndTotalInWholeSecondsWithHoursOnlyWhenThereAreAny)
{
    const TimeCase cases[] = {
        {83000, 245000, "1:23 / 4:05", "1분 23초 / 4분 05초"},
        {999, 59999, "0:00 / 0:59", "0분 00초 / 0분 59초"},
        {600000, 3723999, "10:00 / 1:02:03", "10분 00초 / 1시간 02분 03초"},
    };
    for (const TimeCase& c : cases) {
        EXPECT_EQ(TrackTimeText(c.position, c.length), QString::fromUtf8(c.shown));
        EXPECT_EQ(SpokenTrackTime(c.position, c.length), QString::fromUtf8(c.spoken));
    }
}

class AccessibleTree : public PlayerFixture {
protected:
    void TearDown() override
    {
        PlayerFixture::TearDown();
        if (!sharedSinkName().empty())
            setSinkVolumes(sharedPulseServer(), sharedSinkName(), {65536});
    }

    static QAccessibleInterface* of(QObject* object) { return QAccessible::queryAccessibleInterface(object); }
    static QString value(QObject* object) { return of(object)->text(QAccessible::Value); }
    static std::vector<QString> labelsOf(QObject* object)
    {
        std::vector<QString> labels;
        for (const auto& [label, relation] : of(object)->relations(QAccessible::Label))
            labels.push_back(label->text(QAccessible::Name));
        return labels;
    }
};

TEST_F(AccessibleTree, WindowsAreFramesAndEveryControlIsNamedTheSlidersReadAsPercentAndTime)
{
    ASSERT_TRUE(setSinkVolumes(sharedPulseServer(), sharedSinkName(), {32768}));
    start({track(0, 20)}, 0);
    startLyricsWindow();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form));

    QAccessibleInterface* window = of(form);
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), QString("KolviPlayer"));
    EXPECT_EQ(of(frmLyrics)->role(), QAccessible::Window);
    EXPECT_EQ(of(frmLyrics)->text(QAccessible::Name), QString("Lyrics Viewer"));

    // Every control the reader reaches from the window has a name.
    std::multimap<QAccessible::Role, QString> named;
    for (int i = 0; i < window->childCount(); ++i) {
        QAccessibleInterface* child = window->child(i);
        // Captions, the frame drawn round the list and the hidden media device say nothing of their own.
        if (child->role() == QAccessible::StaticText || child->role() == QAccessible::Border || child->state().invisible)
            continue;
        EXPECT_FALSE(child->text(QAccessible::Name).isEmpty()) << "role " << child->role();
        named.emplace(child->role(), child->text(QAccessible::Name));
    }
    EXPECT_EQ(named.count(QAccessible::Button), 11u);
    EXPECT_EQ(named.count(QAccessible::Slider), 2u);

    EXPECT_EQ(of(form->TrackVol)->role(), QAccessible::Slider);
    EXPECT_EQ(of(form->TrackVol)->text(QAccessible::Name), QString("음량"));
    EXPECT_EQ(labelsOf(form->TrackVol), std::vector<QString>{"Volumn"});
    EXPECT_EQ(of(form->TrackPos)->text(QAccessible::Name), QString("재생 위치"));
    EXPECT_EQ(labelsOf(form->TrackPos), std::vector<QString>{"Pos"});
    EXPECT_EQ(of(form->lvFileList)->text(QAccessible::Name), QString("MP3 파일 목록"));
    EXPECT_FALSE(of(form->lvFileList)->text(QAccessible::Description).isEmpty());

    ASSERT_NE(of(form->TrackVol)->valueInterface(), nullptr);
    EXPECT_EQ(of(form->TrackVol)->valueInterface()->currentValue().toInt(), 32768);
    EXPECT_EQ(value(form->TrackVol), QString("50%"));
    EXPECT_EQ(value(form->TrackPos), QString("재생 중이 아님"));

    form->btnPlayClick(form->btnPlay);
    EXPECT_EQ(form->lblTime->Caption(), QString("0:00 / 0:20"));
    EXPECT_EQ(value(form->TrackPos), QString("0분 00초 / 0분 20초"));
    EXPECT_EQ(of(form->TrackPos)->valueInterface()->maximumValue().toInt(), 20000);
    ASSERT_TRUE(waitForPosition(1000));
    form->TrackTimerTimer(form->TrackTimer);
    // The tick shows the time played, and the slider reads what is shown.
    DWORD shownSeconds = 0;
    while (shownSeconds < 20 && form->lblTime->Caption() != TrackTimeText(shownSeconds * 1000, 20000))
        ++shownSeconds;
    EXPECT_GE(shownSeconds, 1u) << form->lblTime->Caption().toStdString();
    EXPECT_LT(shownSeconds, 20u) << form->lblTime->Caption().toStdString();
    EXPECT_EQ(value(form->TrackPos), SpokenTrackTime(shownSeconds * 1000, 20000));
    EXPECT_EQ(form->TrackPos->Position(), 0);
}

TEST_F(AccessibleTree, TheControlWithTheFocusIsFramedInWhiteOnTheBlueWindow)
{
    start({});
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    const QColor window = form->palette().color(QPalette::Window);
    // Just left of a control, halfway down.
    const auto besideOf = [&](const QWidget* control) {
        QApplication::processEvents();
        return form->grab().toImage().pixelColor(control->x() - 1, control->y() + control->height() / 2);
    };

    form->TrackPos->setFocus();
    EXPECT_EQ(besideOf(form->TrackPos), QColor(Qt::white));
    EXPECT_EQ(besideOf(form->lvFileList), window);
    form->lvFileList->setFocus();
    EXPECT_EQ(besideOf(form->lvFileList), QColor(Qt::white));
    EXPECT_EQ(besideOf(form->TrackPos), window) << "the frame follows the focus";
}

}  // namespace
