// The lyrics page addresses formed for real files, with and without a tag.
#include "resources/BuildSettings.h"
#include "tests/support/FileBytes.h"
#include "forms/LyricsAddress.h"
#include "tests/support/TagFile.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const std::string Show = std::string("http://") + KOLVI_LYRICS_HOST + "/kr/lyrics_plugin_show.html?title=";

class LyricsAddressTest : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return dir_.filePath(QString::fromStdString(name)).toStdString(); }

    static std::string addressFor(const std::string& file)
    {
        LyricsAddress = "stale";
        FormLyricsAddress(file);
        return LyricsAddress;
    }

    QTemporaryDir dir_;
};

TEST_F(LyricsAddressTest, ThePageAddresses)
{
    EXPECT_EQ(LyricsIndexAddress(), std::string("http://") + KOLVI_LYRICS_HOST + "/kr/lyrics_plugin_index.html");
    EXPECT_EQ(LyricsShowAddress("T", "S"), Show + "T&singer=S");
    EXPECT_EQ(LyricsShowAddressWithoutSinger("N"), Show + "N&singer=");
}

TEST_F(LyricsAddressTest, ATaggedFileGivesTitleAndSinger)
{
    const std::string file = path("01 track.mp3");
    writeTaggedMp3(file, TagFields{"Rain", "Kim", '\0'});
    EXPECT_EQ(addressFor(file), Show + "Rain&singer=Kim");

    writeTaggedMp3(file, TagFields{"Rain", "Kim"});
    EXPECT_EQ(addressFor(file), Show + "Rain&singer=Kim");

    writeTaggedMp3(file, TagFields{"", ""});
    EXPECT_EQ(addressFor(file), Show + "+&singer=+") << "a field of spaces keeps one";

    writeTaggedMp3(file, TagFields{"", "", '\0'});
    EXPECT_EQ(addressFor(file), Show + "&singer=") << "empty fields, and still not the file name";

    writeTaggedMp3(file, TagFields{"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123", "Singer/Band"});
    EXPECT_EQ(addressFor(file), Show + "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123&singer=Singer%2fBand");

    writeTaggedMp3(file, TagFields{"\xB0\xA1 \xB3\xAA", "\x81\x41"});
    EXPECT_EQ(addressFor(file), Show + "%b0%a1+%b3%aa&singer=%81A");
}

TEST_F(LyricsAddressTest, AnUntaggedFileGivesItsNameWithoutExtension)
{
    writeFileBytes(path("My Song.mp3"), std::string(4000, '\xFF'));
    EXPECT_EQ(addressFor(path("My Song.mp3")), Show + "My+Song&singer=");
    writeTaggedMp3(path("Lower.MP3"), TagFields{"Rain", "", ' ', "tag"});
    EXPECT_EQ(addressFor(path("Lower.MP3")), Show + "Lower&singer=");
    writeFileBytes(path("tiny.mp3"), std::string(100, 'T'));
    EXPECT_EQ(addressFor(path("tiny.mp3")), Show + "tiny&singer=");
    EXPECT_EQ(addressFor("/nowhere/at all/Missing File.mp3"), Show + "Missing+File&singer=");
}

TEST_F(LyricsAddressTest, EveryOccurrenceOfTheExtensionGoes)
{
    const auto titleOf = [](const std::string& path) { return TitleFromFileName(path); };
    EXPECT_EQ(titleOf("/m/Song.MP3"), "Song");
    EXPECT_EQ(titleOf("/m/SONG.MP3"), "SONG");
    EXPECT_EQ(titleOf("/m/track"), "track");
    EXPECT_EQ(titleOf("/m/a.mp3.mp3"), "a");
    EXPECT_EQ(titleOf("/m/x.mp3y.mp3"), "xy");
    EXPECT_EQ(titleOf("/m/x.Mp3y.mP3z.mp3"), "xyz");
    EXPECT_EQ(titleOf("/m/a.b.c"), "a.b");
    EXPECT_EQ(titleOf("/m/.mp3"), "");
    EXPECT_EQ(titleOf("/m/name."), "name");
    EXPECT_EQ(titleOf("/music.d/track"), "track") << "a dot in a folder is no extension";
    EXPECT_EQ(titleOf("song.mp3"), "song") << "a bare name is its own file-name part";
    EXPECT_EQ(titleOf("/m/"), "");
}

TEST_F(LyricsAddressTest, BackslashesAndColonsAreOrdinaryCharacters)
{
    EXPECT_EQ(addressFor("C:\\Music\\My Song.mp3"), Show + "C%3a%5cMusic%5cMy+Song&singer=");
    EXPECT_EQ(addressFor("/m/a:b\\c.mp3"), Show + "a%3ab%5cc&singer=");
}

TEST_F(LyricsAddressTest, LongNamesAreNeitherCutNorOverrun)
{
    // 400 bytes that all need encoding: 1200 encoded characters, far past
    // the 255 and 511 a fixed buffer would hold.
    std::string name;
    for (int i = 0; i < 400; ++i)
        name.push_back(static_cast<char>(0x80 + i % 128));
    std::string expected;
    for (const char c : name) {
        char escaped[4];
        std::snprintf(escaped, sizeof escaped, "%%%02x", static_cast<unsigned char>(c));
        expected += escaped;
    }
    EXPECT_EQ(addressFor("/nowhere/" + name + ".mp3"), Show + expected + "&singer=");
}

}  // namespace
