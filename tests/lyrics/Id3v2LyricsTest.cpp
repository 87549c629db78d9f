// Lyrics and names in a track's ID3v2 tag, written by TagLib into real
// MP3 files from the encoder and read back as the lyrics window reads them.
#include "tests/support/TimedLines.h"
#include "tests/support/id3v2/Id3v2Frames.h"
#include "lyrics/Id3v2Lyrics.h"
#include "tags/Id3v2Titles.h"
#include "tags/TrackTagBytes.h"
#include "tests/support/Mp3Fixture.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using TagLib::ID3v2::SynchronizedLyricsFrame;

class Id3v2LyricsTest : public ::testing::Test {
protected:
    Id3v2LyricsTest()
    {
        Mp3Spec tone;
        tone.seconds = 2.0;
        makeMp3(path, tone);
    }

    // Adds frames to the track's tag and saves it.
    void tagTrack(const std::function<void(TagLib::ID3v2::Tag&)>& addFrames) { ASSERT_TRUE(editId3v2Tag(path, addFrames)); }

    TrackTitles id3v2Titles() const { return ParseId3v2Titles(ReadTrackTagBytes(path).id3v2); }

    QTemporaryDir dir;
    std::string path = dir.filePath("track.mp3").toStdString();
};

TEST_F(Id3v2LyricsTest, SyltComesBeforeUsltAndTheTagNamesTheTrack)
{
    tagTrack([](TagLib::ID3v2::Tag& tag) {
        tag.setTitle(utf8Text("비 내리는 밤"));
        tag.setArtist(utf8Text("김 & 이"));
        tag.addFrame(usltFrame("plain words"));
        tag.addFrame(syltFrame(SynchronizedLyricsFrame::AbsoluteMilliseconds, {{3000, "셋"}, {1000, "하나"}, {2000, "둘"}}));
    });
    const Id3v2Facts facts = ReadId3v2Facts(path);
    EXPECT_EQ(id3v2Titles().title, "비 내리는 밤");
    EXPECT_EQ(id3v2Titles().artist, "김 & 이");
    EXPECT_EQ(facts.lengthSeconds, 2);
    ASSERT_TRUE(facts.lyrics.has_value());
    EXPECT_TRUE(facts.lyrics->source.contains("SYLT"));
    EXPECT_TRUE(facts.lyrics->lyrics.synced);
    EXPECT_EQ(timedLines(facts.lyrics->lyrics),
              (TimedLines{{1000, "하나"}, {2000, "둘"}, {3000, "셋"}}));
}

TEST_F(Id3v2LyricsTest, SyltSyllablesCountedInMpegFramesMakeLines)
{
    // 44.1 kHz MPEG-1 layer III: 1152 samples, 26.12 ms a frame. A line
    // starts with the syllable that begins with a line break.
    tagTrack([](TagLib::ID3v2::Tag& tag) {
        tag.addFrame(syltFrame(SynchronizedLyricsFrame::AbsoluteMpegFrames,
                          {{0, "Hel"}, {10, "lo "}, {20, "you"}, {38, "\nsecond"}, {50, " line"}}));
    });
    const Id3v2Facts facts = ReadId3v2Facts(path);
    ASSERT_TRUE(facts.lyrics.has_value());
    EXPECT_EQ(timedLines(facts.lyrics->lyrics),
              (TimedLines{{0, "Hello you"}, {992, "second line"}}));
    EXPECT_TRUE(id3v2Titles().title.isEmpty());
}

TEST_F(Id3v2LyricsTest, UsltAloneIsUsedAndMayCarryLrcStamps)
{
    tagTrack([](TagLib::ID3v2::Tag& tag) { tag.addFrame(usltFrame("[00:01.00]첫째\n[00:02.50]둘째")); });
    Id3v2Facts facts = ReadId3v2Facts(path);
    ASSERT_TRUE(facts.lyrics.has_value());
    EXPECT_TRUE(facts.lyrics->source.contains("USLT"));
    EXPECT_EQ(timedLines(facts.lyrics->lyrics),
              (TimedLines{{1000, "첫째"}, {2500, "둘째"}}));

    // Without any tag: only the length.
    makeMp3(path, Mp3Spec{});
    facts = ReadId3v2Facts(path);
    EXPECT_FALSE(facts.lyrics.has_value());
    EXPECT_TRUE(id3v2Titles().title.isEmpty());
    EXPECT_EQ(facts.lengthSeconds, 1);

    // A pipe named like a track, never written to: TagLib would wait on it.
    const std::string pipe = dir.filePath("pipe.mp3").toStdString();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    facts = ReadId3v2Facts(pipe);
    EXPECT_FALSE(facts.lyrics.has_value());
    EXPECT_EQ(facts.lengthSeconds, 0);
}

}  // namespace
