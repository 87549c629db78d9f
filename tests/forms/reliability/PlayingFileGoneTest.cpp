// The file that is playing deleted or cut short under the window: nothing
// breaks, and the real timer still moves on to the following entry.
#include "tests/support/EventLoopWait.h"
#include "tests/support/ModalAnswerer.h"
#include "tests/support/windows/PlayerFixture.h"

#include <filesystem>

namespace {

class PlayingFileGone : public PlayerFixture {
protected:
    // Starts the first of two entries, lets it play a moment, harms its file,
    // then waits for the timer to start the second.
    void harmThenExpectTheNextEntry(const std::function<void(const std::string&)>& harm)
    {
        const std::string first = track(0, 2.0);
        start({first, track(1, 3.0)});
        form->btnNextClick(form->btnNext);
        ASSERT_EQ(openedEntry(), 0);
        ASSERT_TRUE(waitForPosition(200));

        BoxAnswerer boxes;
        harm(first);
        ASSERT_TRUE(waitUntil([&] { return openedEntry() == 1; })) << "the playlist moves on";
        EXPECT_EQ(form->CurrentIndex, 1);
        EXPECT_EQ(selected(), std::vector<int>{1});
        ASSERT_TRUE(waitForPosition(200)) << "the following entry plays";
        EXPECT_EQ(form->MP3->Mode(), mdPlaying);
        EXPECT_TRUE(boxes.texts().empty()) << boxes.texts().front().toStdString();
    }
};

TEST_F(PlayingFileGone, ADeletedFileEndsAndTheNextEntryStarts)
{
    harmThenExpectTheNextEntry([](const std::string& file) { std::filesystem::remove(file); });
}

TEST_F(PlayingFileGone, AFileCutShortEndsAndTheNextEntryStarts)
{
    harmThenExpectTheNextEntry([](const std::string& file) {
        std::filesystem::resize_file(file, std::filesystem::file_size(file) / 3);
    });
}

TEST_F(PlayingFileGone, AFileEmptiedEndsAndTheNextEntryStarts)
{
    harmThenExpectTheNextEntry([](const std::string& file) { std::filesystem::resize_file(file, 0); });
}

}  // namespace
