// The real timer playing through a playlist in which some entries cannot be
// played (missing, not MP3 though named .mp3): it passes over them with one
// message, never a second box while one is open, and after a whole round
// in which nothing opened it stands Idle.
#include "tests/support/EventLoopWait.h"
#include "tests/support/FileBytes.h"
#include "tests/support/mci/MciTesting.h"
#include "tests/support/ModalAnswerer.h"
#include "tests/support/windows/PlayerFixture.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <filesystem>

namespace {

using namespace std::chrono_literals;

class UnplayableEntries : public PlayerFixture {
protected:
    std::string textNamedMp3(const std::string& name)
    {
        const std::string path = folder() + name;
        writeFileBytes(path, "these are notes, not a song\n");
        return path;
    }

    std::string notFoundText() const { return ExceptionDisplayText(mciText(MCIERR_FILE_NOT_FOUND)); }
};

// The first box stays open until the last entry plays; meanwhile the timer
// goes on and passes over more failures without a box of their own.
TEST_F(UnplayableEntries, TheTimerPassesOverThemWithOneMessageWhilePlayingOn)
{
    start({track(0, 0.4), missing("gone.mp3"), textNamedMp3("notes.mp3"), track(3, 1.0), missing("away.mp3"),
           track(5, 60.0)},
          0);
    int indexWhenSeen = -1;
    int playingWhenSeen = 0;
    std::vector<QString> answered;
    const MessageBoxWatch user([&](const std::vector<QMessageBox*>& boxes) {
        if (indexWhenSeen < 0) {
            indexWhenSeen = form->CurrentIndex;
            playingWhenSeen = form->IsPlaying;
        }
        if (form->CurrentIndex == 5 || boxes.size() > 1) {
            answered.push_back(boxes.back()->text());
            boxes.back()->button(QMessageBox::Ok)->click();
        }
    });
    form->btnPlayClick(form->btnPlay);
    ASSERT_TRUE(waitUntil([&] { return !answered.empty() && openMessageBoxes().empty(); }, 60s));

    EXPECT_EQ(indexWhenSeen, 3) << "the message came once the next playable entry played";
    EXPECT_EQ(playingWhenSeen, 1);
    EXPECT_EQ(user.mostAtOnce(), 1u);
    EXPECT_EQ(answered, std::vector<QString>{QString::fromStdString(notFoundText())});
    EXPECT_EQ(form->CurrentIndex, 5);
    EXPECT_EQ(selected(), std::vector<int>{5});
    EXPECT_EQ(form->IsPlaying, 1);
    EXPECT_EQ(form->MP3->Mode(), mdPlaying);
}

TEST_F(UnplayableEntries, AfterAWholeRoundWithNothingPlayableThePlayerStandsIdle)
{
    const std::string only = track(0, 0.8);
    start({only, missing("gone.mp3"), textNamedMp3("notes.mp3")}, 0);
    const BoxAnswerer user;
    form->btnPlayClick(form->btnPlay);
    ASSERT_EQ(form->MP3->Mode(), mdPlaying);
    // The one playable file goes while it plays: the round comes back to it
    // and it fails too.
    std::filesystem::remove(only);
    ASSERT_TRUE(waitUntil([&] { return form->IsPlaying == 0; }));
    EXPECT_EQ(form->CurrentIndex, 0) << "the round ended on the entry it started after";
    ASSERT_TRUE(waitUntil([&] { return !user.texts().empty(); }));
    EXPECT_EQ(user.texts(), std::vector<QString>{QString::fromStdString(notFoundText())});

    // Idle: later ticks try nothing more.
    int ticks = 0;
    const QObject counting;
    QObject::connect(form->TrackTimer, &TTimer::OnTimer, &counting, [&] { ++ticks; });
    ASSERT_TRUE(waitUntil([&] { return ticks >= 2; }));
    EXPECT_EQ(user.texts().size(), 1u);
    EXPECT_EQ(form->CurrentIndex, 0);
}

}  // namespace
