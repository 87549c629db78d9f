// A whole session on the real window with keys alone, each sent where the
// keyboard focus is, as a keyboard would: files added through the real open
// dialog, one played from the list, paused and continued, skipped with the
// media key (also held down), one deleted, the lyrics window shown and put
// away, the volume and the position stepped, a key pressed while a message
// box is open, stop, close. The sink's monitor and volume are the witnesses;
// "List.lst" is read back at the end.
#include "forms/TrackTime.h"
#include "resources/BuildSettings.h"
#include "tests/support/EventLoopWait.h"
#include "tests/support/FileBytes.h"
#include "tests/support/HeardTracks.h"
#include "tests/support/LocalHttpServer.h"
#include "tests/support/ModalAnswerer.h"
#include "tests/support/SinkVolume.h"
#include "tests/support/windows/PlayerFixture.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

constexpr long StartVolume = 40000;
constexpr long FullVolume = 65536;
constexpr double TrackSeconds = 20;

class KeyboardSession : public PlayerFixture {
protected:
    void SetUp() override
    {
        PlayerFixture::SetUp();
        if (IsSkipped())
            return;
        routeHostToServer(KOLVI_LYRICS_HOST, server_);
        ASSERT_FALSE(sharedSinkName().empty());
        ASSERT_TRUE(setSinkVolumes(sharedPulseServer(), sharedSinkName(), {StartVolume}));
        for (int i = 0; i < 3; ++i) {
            tracks_.push_back(track(i, TrackSeconds));
            pitches_.push_back(440.0 + 110.0 * i);
        }
    }
    void TearDown() override
    {
        PlayerFixture::TearDown();
        if (!sharedSinkName().empty())
            setSinkVolumes(sharedPulseServer(), sharedSinkName(), {FullVolume});
    }

    static QWidget* focused()
    {
        QWidget* widget = QApplication::focusWidget();
        return widget != nullptr ? widget : QApplication::activeWindow();
    }
    static void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        ASSERT_NE(focused(), nullptr) << "no window has the keyboard";
        QTest::keyClick(focused(), Qt::Key(key), modifiers);
    }
    // A key held down: one press, then the window system's repeats.
    static void hold(int key, int repeats)
    {
        QWidget* target = focused();
        QTest::simulateEvent(target, true, key, Qt::NoModifier, QString(), false);
        for (int i = 0; i < repeats; ++i) {
            QTest::simulateEvent(target, false, key, Qt::NoModifier, QString(), true);
            QTest::simulateEvent(target, true, key, Qt::NoModifier, QString(), true);
        }
        QTest::simulateEvent(target, false, key, Qt::NoModifier, QString(), false);
    }
    static bool activate(QWidget* window)
    {
        window->activateWindow();
        return QTest::qWaitForWindowActive(window);
    }

    // Listens until the tone of entry `track` has been heard for a while without a break.
    bool hearing(HeardTracks& listener, int track)
    {
        return waitUntil([&] {
            const std::vector<int>& heard = listener.heard();
            return !heard.empty() && heard.back() == track && listener.silentMs() == 0 && listener.lastRunMs() >= 300;
        });
    }
    bool hearingSilence(HeardTracks& listener)
    {
        return waitUntil([&] {
            listener.heard();
            return listener.silentMs() >= 300;
        });
    }
    int pitchIndexOf(int entry) const
    {
        const std::string path = paths()[static_cast<std::size_t>(entry)];
        return static_cast<int>(std::find(tracks_.begin(), tracks_.end(), path) - tracks_.begin());
    }
    std::vector<long> sinkNow() const { return sinkVolumes(sharedPulseServer(), sharedSinkName()); }

    LocalHttpServer server_;
    ModalAnswerer answerer_;
    std::vector<std::string> tracks_;
    std::vector<double> pitches_;
};

TEST_F(KeyboardSession, EveryStepOfASessionIsReachedByKeysAndHeard)
{
    start({});
    startLyricsWindow();
    form->show();
    ASSERT_TRUE(activate(form));
    MonitorRecorder recorder(sharedSinkName());
    ASSERT_TRUE(recorder.start());
    HeardTracks listener(recorder, pitches_);

    // Ctrl+O adds, through the real open dialog.
    answerer_.expect([this](QWidget* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        ASSERT_NE(files, nullptr);
        files->setDirectory(dir_.path());
        files->findChild<QLineEdit*>("fileNameEdit")->setText("\"track 0.mp3\" \"track 1.mp3\" \"track 2.mp3\"");
        files->findChild<QDialogButtonBox*>("buttonBox")->button(QDialogButtonBox::Open)->click();
    });
    key(Qt::Key_O, Qt::ControlModifier);
    ASSERT_TRUE(answerer_.allAnswered());
    ASSERT_EQ(paths(), tracks_);
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    EXPECT_EQ(form->IsPlaying, 0) << "nothing plays before asked";

    // Tab reaches the list; End selects the last entry, Enter plays it.
    ASSERT_EQ(focused(), form->TrackVol) << "the first control in tab order";
    key(Qt::Key_Tab);
    key(Qt::Key_Tab);
    ASSERT_EQ(focused(), form->lvFileList);
    key(Qt::Key_End);
    ASSERT_EQ(selected(), std::vector<int>{2});
    key(Qt::Key_Return);
    EXPECT_EQ(form->CurrentIndex, 2);
    ASSERT_TRUE(hearing(listener, 2));
    EXPECT_EQ(form->lblTime->Caption().right(7), QString(" / 0:20"));

    // Space pauses and continues, whatever has the focus.
    key(Qt::Key_Space);
    EXPECT_EQ(form->IsPaused, 1);
    EXPECT_EQ(pauseCaption(), Continue);
    ASSERT_TRUE(hearingSilence(listener));
    key(Qt::Key_Space);
    EXPECT_EQ(form->IsPaused, 0);
    ASSERT_TRUE(hearing(listener, 2));

    // The media key for next wraps to the first entry; held down for three
    // seconds of repeats it keeps up and ends where it is heard.
    key(Qt::Key_MediaNext);
    ASSERT_TRUE(hearing(listener, 0));
    hold(Qt::Key_MediaNext, 89);
    EXPECT_EQ(form->CurrentIndex, 0) << "90 presses from entry 0 round a list of 3";
    ASSERT_TRUE(hearing(listener, 0));
    EXPECT_EQ(form->IsPlaying, 1);

    // Delete, even held, deletes the selected entry once; playing goes on.
    key(Qt::Key_Home);
    key(Qt::Key_Down);
    ASSERT_EQ(selected(), std::vector<int>{1});
    hold(Qt::Key_Delete, 30);
    ASSERT_EQ(paths(), (std::vector<std::string>{tracks_[0], tracks_[2]}));
    ASSERT_TRUE(hearing(listener, 0));

    // Space held pauses once: its repeats do not toggle.
    hold(Qt::Key_Space, 30);
    EXPECT_EQ(form->IsPaused, 1);
    ASSERT_TRUE(hearingSilence(listener));
    key(Qt::Key_Space);
    ASSERT_TRUE(hearing(listener, 0));

    // Ctrl+L shows the lyrics window; Escape there puts it away.
    key(Qt::Key_L, Qt::ControlModifier);
    ASSERT_TRUE(frmLyrics->Visible());
    ASSERT_TRUE(activate(frmLyrics));
    key(Qt::Key_Escape);
    EXPECT_FALSE(frmLyrics->Visible());
    ASSERT_TRUE(activate(form));

    // The volume slider steps by 5 % and pages by 20 % of the mixer's range,
    // each step heard by the sink.
    key(Qt::Key_Tab);
    ASSERT_EQ(focused(), form->TrackVol);
    key(Qt::Key_Right);
    EXPECT_EQ(sinkNow(), (std::vector<long>{StartVolume + 3277, StartVolume + 3277}));
    key(Qt::Key_PageDown);
    EXPECT_EQ(sinkNow(), (std::vector<long>{StartVolume + 3277 - 13107, StartVolume + 3277 - 13107}));

    // The position slider steps by 5 s: two steps seek to 0:10, shown at once,
    // and the next tick shows the time going on while the slider stays.
    key(Qt::Key_Tab);
    ASSERT_EQ(focused(), form->TrackPos);
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    EXPECT_EQ(form->TrackPos->Position(), 10000);
    EXPECT_EQ(form->lblTime->Caption(), QString("0:10 / 0:20"));
    ASSERT_TRUE(waitUntil([&] { return form->lblTime->Caption() != QString("0:10 / 0:20"); }));
    DWORD shownSeconds = 11;
    while (shownSeconds < 20 && form->lblTime->Caption() != TrackTimeText(shownSeconds * 1000, 20000))
        ++shownSeconds;
    EXPECT_LT(shownSeconds, 20u) << "on from 0:10: " << form->lblTime->Caption().toStdString();
    EXPECT_GE(form->MP3->Position(), shownSeconds * 1000);
    EXPECT_EQ(form->TrackPos->Position(), 10000) << "the slider does not follow playback";
    ASSERT_TRUE(hearing(listener, 0));

    // While the about box (F1) is open, keys go to it: Delete and next do
    // nothing to the player, Space presses the box's button.
    const int playing = form->CurrentIndex;
    answerer_.expect([](QWidget* box) {
        EXPECT_TRUE(QTest::qWaitForWindowActive(box));
        key(Qt::Key_Delete);
        key(Qt::Key_MediaNext);
        key(Qt::Key_Space);
        if (box->isVisible()) {
            ADD_FAILURE() << "Space did not reach the box's button";
            box->close();
        }
    });
    key(Qt::Key_F1);
    ASSERT_TRUE(answerer_.allAnswered());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form)) << "the window has the keyboard again";
    EXPECT_EQ(paths().size(), 2u);
    EXPECT_EQ(form->CurrentIndex, playing);

    // The stop key stops; Ctrl+Q closes the window, which saves the list.
    key(Qt::Key_MediaStop);
    EXPECT_EQ(form->IsPlaying, 0);
    EXPECT_EQ(form->lblTime->Caption(), QString());
    ASSERT_TRUE(hearingSilence(listener));
    EXPECT_EQ(pitchIndexOf(form->CurrentIndex), 0);
    key(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(form->isVisible());
    stop();
    EXPECT_EQ(readFileBytes(listFile()), "0\r\r\n" + tracks_[0] + "\r\r\n" + tracks_[2] + "\r\r\n");
}

}  // namespace
