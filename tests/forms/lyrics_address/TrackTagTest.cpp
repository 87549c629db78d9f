// Reading the ID3v1 tag of real MP3 files that the tests make.
#include "tests/support/FileBytes.h"
#include "tests/support/Mp3Fixture.h"
#include "tests/support/TagFile.h"
#include "forms/TrackTag.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace std::string_literals;

namespace {

class TrackTagTest : public ::testing::Test {
protected:
    std::string path(const char* name) const { return dir_.filePath(name).toStdString(); }

    static std::string title() { return std::string(TagBuffer.data() + TagTitleOffset, TagFieldLength); }
    static std::string artist() { return std::string(TagBuffer.data() + TagArtistOffset, TagFieldLength); }

    QTemporaryDir dir_;
};

TEST_F(TrackTagTest, TrailingSpacesOfTitleAndArtistAreCleared)
{
    const std::string file = path("rain.mp3");
    writeTaggedMp3(file, TagFields{"Rain", "Kim Gun Mo"});
    ASSERT_TRUE(ReadTrackTag(file.c_str()));
    EXPECT_EQ(title(), "Rain" + std::string(26, '\0'));
    EXPECT_EQ(artist(), "Kim Gun Mo" + std::string(20, '\0'));
    EXPECT_EQ(std::string(TagBuffer.data(), 3), "TAG");
    EXPECT_EQ(std::string(TagBuffer.data() + 63, 30), std::string(30, 'L')) << "the album is left as it was";
}

TEST_F(TrackTagTest, AFieldOfSpacesKeepsItsFirstOne)
{
    const std::string file = path("blank.mp3");
    writeTaggedMp3(file, TagFields{"", " "});
    ASSERT_TRUE(ReadTrackTag(file.c_str()));
    EXPECT_EQ(title(), " " + std::string(29, '\0'));
    EXPECT_EQ(artist(), " " + std::string(29, '\0'));
}

TEST_F(TrackTagTest, NulBytesEndTheWalkAndStayAsTheyAre)
{
    const std::string file = path("nul.mp3");
    // Spaces before a NUL padding are not trailing: the walk starts at the
    // field's last byte and stops at the first byte that is no space.
    writeTaggedMp3(file, TagFields{"Rain  ", "Kim", '\0'});
    ASSERT_TRUE(ReadTrackTag(file.c_str()));
    EXPECT_EQ(title(), "Rain  " + std::string(24, '\0'));
    EXPECT_EQ(artist(), "Kim" + std::string(27, '\0'));

    const TagFields mixed{"a b  ", ""};
    writeFileBytes(file, "ID3 and frames" + tagBytes(mixed));
    ASSERT_TRUE(ReadTrackTag(file.c_str()));
    EXPECT_EQ(title(), "a b" + std::string(27, '\0'));
    EXPECT_EQ(artist(), " " + std::string(29, '\0'));
}

TEST_F(TrackTagTest, AFullFieldIsKeptWhole)
{
    const std::string file = path("full.mp3");
    const std::string full = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123";
    writeTaggedMp3(file, TagFields{full, "Z" + std::string(28, ' ') + "Y"});
    ASSERT_TRUE(ReadTrackTag(file.c_str()));
    EXPECT_EQ(title(), full);
    EXPECT_EQ(artist(), "Z" + std::string(28, ' ') + "Y");
}

TEST_F(TrackTagTest, OnlyAnExactMarkerAtTheVeryEndIsATag)
{
    const std::string file = path("song.mp3");
    writeTaggedMp3(file, TagFields{"Rain", "", ' ', "tag"});
    EXPECT_FALSE(ReadTrackTag(file.c_str()));
    writeTaggedMp3(file, TagFields{"Rain", "", ' ', "TAg"});
    EXPECT_FALSE(ReadTrackTag(file.c_str()));

    writeFileBytes(file, tagBytes(TagFields{"Rain", ""}) + "one more byte");
    EXPECT_FALSE(ReadTrackTag(file.c_str())) << "a tag that is not the file's last 128 bytes";

    makeMp3(file);
    EXPECT_FALSE(ReadTrackTag(file.c_str())) << "an MP3 from lame carries no tag";
}

TEST_F(TrackTagTest, FilesTooShortOrMissingHaveNoTag)
{
    const std::string file = path("short.mp3");
    writeFileBytes(file, tagBytes(TagFields{"Exact", ""}));
    ASSERT_TRUE(ReadTrackTag(file.c_str())) << "a file of just 128 bytes is all tag";
    EXPECT_EQ(title().substr(0, 6), "Exact"s + '\0');

    TagBuffer.fill('*');
    writeFileBytes(file, tagBytes(TagFields{"Short", ""}).substr(0, 100));
    EXPECT_FALSE(ReadTrackTag(file.c_str()));
    writeFileBytes(file, tagBytes(TagFields{"Short", ""}).substr(0, 127));
    EXPECT_FALSE(ReadTrackTag(file.c_str()));
    writeFileBytes(file, "");
    EXPECT_FALSE(ReadTrackTag(file.c_str()));
    EXPECT_FALSE(ReadTrackTag(path("absent.mp3").c_str()));
    EXPECT_FALSE(ReadTrackTag(dir_.path().toStdString().c_str())) << "a folder";
    EXPECT_EQ(TagBuffer[0], '*') << "a failed read leaves the buffer alone";
}

}  // namespace
