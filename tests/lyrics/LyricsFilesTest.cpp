// Lyrics files beside a track: which one is read, how its bytes become
// text, how LRC stamps become timed lines, and what a huge or hostile file
// costs.
#include "tests/support/TimedLines.h"
#include "tests/support/FileBytes.h"
#include "tests/support/ScopedLocale.h"
#include "lyrics/SidecarLyrics.h"
#include "lyrics/LrcText.h"
#include "lyrics/LyricsSettings.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

class LyricsFilesTest : public ::testing::Test {
protected:
    std::string pathOf(const std::string& name) const { return dir.filePath(QString::fromStdString(name)).toStdString(); }
    void writeTrackFile(const std::string& name, const std::string& bytes) const { writeFileBytes(pathOf(name), bytes); }

    std::optional<FoundLyrics> readLyrics(const std::string& trackName)
    {
        looked.clear();
        return ReadSidecarLyrics(pathOf(trackName), looked);
    }

    QTemporaryDir dir;
    QStringList looked;
};

TEST_F(LyricsFilesTest, AnLrcFileGivesTimedLinesInTheOrderTheyAreSung)
{
    writeTrackFile("노래.lrc", "\xEF\xBB\xBF[ti:노래]\n[ar:가수]\n[offset:+500]\n"
                      "[00:05.00][00:15.50]후렴\r\n"
                      "[00:01.2]첫 줄 <00:01.50>단어\n"
                      "[00:x1.00]깨진 시각\n"
                      "[01:02:30]셋째\r"
                      "[00:03.456]둘째\n");
    const std::optional<FoundLyrics> found = readLyrics("노래.mp3");
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->source, "노래.lrc");
    const Lyrics& lyrics = found->lyrics;
    ASSERT_TRUE(lyrics.synced);
    // Every moment 500 ms sooner; the line with a broken stamp is no sung line.
    EXPECT_EQ(timedLines(lyrics), (TimedLines{
                                 {700, "첫 줄 단어"}, {2956, "둘째"}, {4500, "후렴"}, {15000, "후렴"}, {61800, "셋째"}}));
    EXPECT_EQ(LineAt(lyrics, 0), -1);
    EXPECT_EQ(LineAt(lyrics, 700), 0);
    EXPECT_EQ(LineAt(lyrics, 4499), 1);
    EXPECT_EQ(LineAt(lyrics, 3600000), 4);
    EXPECT_EQ(MsUntilLineAfter(lyrics, 0, 800), 2156);
    EXPECT_EQ(MsUntilLineAfter(lyrics, 4, 70000), -1);
}

TEST_F(LyricsFilesTest, TheLrcFileComesBeforeTheTxtFileAndOneWithoutWordsCountsAsNone)
{
    writeTrackFile("a.lrc", "[ar:nobody]\n\n");
    writeTrackFile("a.TXT", "\n[Verse]\r\nplain words  \n\nsecond\n\n");
    std::optional<FoundLyrics> found = readLyrics("a.mp3");
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->source, "a.TXT");
    EXPECT_FALSE(found->lyrics.synced);
    EXPECT_EQ(timedLines(found->lyrics), (TimedLines{
                                        {0, "[Verse]"}, {0, "plain words"}, {0, ""}, {0, "second"}}));
    EXPECT_EQ(looked, (QStringList{"a.lrc", "a.txt"}));

    writeTrackFile("a.lrc", "[00:01.00]timed");
    found = readLyrics("a.mp3");
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->source, "a.lrc");
    EXPECT_TRUE(found->lyrics.synced);

    EXPECT_FALSE(readLyrics("none.mp3").has_value());
    EXPECT_EQ(looked, (QStringList{"none.lrc", "none.txt"}));
}

TEST_F(LyricsFilesTest, KoreanFilesAreReadInTheirEncodingInAUtf8AndInACp949Locale)
{
    const std::string cp949 = "[00:01.00]\xBB\xE7\xB6\xFB\xC7\xD8\n";  // 사랑해
    writeTrackFile("cp949.lrc", cp949);
    static constexpr char utf16le[] = "\xFF\xFE[\0" "0\0" "0\0" ":\0" "0\0" "1\0" "]\0" "\x00\xAC";  // [00:01]가
    static constexpr char utf16be[] = "\xFE\xFF\xAC\x00\xC0\xAC";                                  // 가사
    writeTrackFile("utf16le.lrc", std::string(utf16le, sizeof utf16le - 1));
    writeTrackFile("utf16be.txt", std::string(utf16be, sizeof utf16be - 1));
    bool cp949Missing = false;
    for (const char* name : {Utf8Locale, Cp949Locale}) {
        const ScopedLocale locale(name);
        if (!locale.active()) {
            cp949Missing = true;
            continue;
        }
        std::optional<FoundLyrics> found = readLyrics("cp949.mp3");
        ASSERT_TRUE(found.has_value()) << name;
        ASSERT_EQ(found->lyrics.lines.size(), 1u);
        EXPECT_EQ(found->lyrics.lines[0].text, "사랑해") << name;
        found = readLyrics("utf16le.mp3");
        ASSERT_TRUE(found.has_value()) << name;
        EXPECT_EQ(timedLines(found->lyrics), (TimedLines{{1000, "가"}})) << name;
        found = readLyrics("utf16be.mp3");
        ASSERT_TRUE(found.has_value()) << name;
        EXPECT_EQ(found->lyrics.lines[0].text, "가사") << name;
    }
    if (cp949Missing)
        GTEST_SKIP() << Cp949Locale << " is not installed: only the UTF-8 locale was tried";
}

TEST_F(LyricsFilesTest, AHugeOrHostileFileIsReadOnlyAsFarAsTheLimitAndAPipeIsNeverWaitedFor)
{
    std::string huge;
    for (int line = 0; huge.size() < 50u << 20; ++line) {
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "[%02d:%02d.%02d]", line / 6000 % 100, line / 100 % 60, line % 100);
        huge += stamp + std::string("line ") + std::to_string(line) + "\n";
    }
    writeTrackFile("huge.lrc", huge);
    std::optional<FoundLyrics> found = readLyrics("huge.mp3");
    ASSERT_TRUE(found.has_value());
    EXPECT_TRUE(found->lyrics.cut);
    const auto& lines = found->lyrics.lines;
    ASSERT_GT(lines.size(), 10000u);
    EXPECT_LT(lines.size(), 100000u);
    EXPECT_EQ(lines.front().text, "line 0");
    EXPECT_EQ(lines.back().text, QStringLiteral("line %1").arg(lines.size() - 1));

    // Text that makes a careless reader look far ahead at every character.
    writeTrackFile("angles.lrc", "[00:01.00]" + std::string(LyricsFileLimit - 20, '<') + "\n" + std::string(1 << 19, '['));
    found = readLyrics("angles.mp3");
    ASSERT_TRUE(found.has_value());
    ASSERT_EQ(found->lyrics.lines.size(), 1u);
    EXPECT_EQ(found->lyrics.lines[0].text.size(), LyricsFileLimit - 20);

    ASSERT_EQ(mkfifo(pathOf("pipe.lrc").c_str(), 0600), 0);
    writeTrackFile("pipe.txt", "words beside the pipe");
    found = readLyrics("pipe.mp3");
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->source, "pipe.txt");
}

TEST(WordTimedLrcTest, WordsKeepTheirMomentsInOrderWithinTheirLine)
{
    struct Case {
        const char* lrc;
        std::vector<std::int64_t> wordMs;  // of the first line
        QString text;
    };
    const Case cases[] = {
        {"[00:12.00]<00:12.00>봄 <00:12.40>날\n[00:14.00]다음", {12000, 12400}, "봄 날"},
        // Out of order: a word starts with the one before it.
        {"[00:12.00]<00:12.50>a <00:12.20>b <00:12.80>c\n[00:14.00]x", {12500, 12500, 12800}, "a b c"},
        // Beyond the line's end, or before its start.
        {"[00:12.00]<00:11.00>a <00:20.00>b\n[00:14.00]x", {12000, 14000}, "a b"},
        // Words before the first stamp start with the line; a line sung again keeps its words' spacing.
        {"[offset:+500]\n[00:02.00][00:10.00]la <00:02.50>di <00:03.00>da", {1500, 2000, 2500}, "la di da"},
    };
    for (const Case& test : cases) {
        const Lyrics lyrics = ParseLrc(QString::fromUtf8(test.lrc));
        ASSERT_FALSE(lyrics.lines.empty()) << test.lrc;
        std::vector<std::int64_t> moments;
        for (const LyricWord& word : lyrics.lines[0].words)
            moments.push_back(word.startMs);
        EXPECT_EQ(moments, test.wordMs) << test.lrc;
        EXPECT_EQ(lyrics.lines[0].text, test.text) << test.lrc;
    }
    const Lyrics again = ParseLrc(u"[00:02.00][00:10.00]la <00:02.50>di");
    ASSERT_EQ(again.lines.size(), 2u);
    EXPECT_EQ(again.lines[1].words[1].startMs, 10500);
    EXPECT_EQ(WordsSung(again, GroupOf(again, 1), 10499), std::vector<int>{1});
    EXPECT_EQ(MsUntilNextWord(again, GroupOf(again, 1), 10400), 100);
}

TEST(LyricsSettingsTest, KeptAcrossRunsAndADamagedOrUnwritableFileGivesTheDefaults)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("kolviplayer/lyrics.json");
    {
        LyricsSettings settings(path);
        settings.SetOffsetMs("/music/봄.mp3", -300);
        settings.SetZoom(1.5);
    }
    const LyricsSettings read(path);
    EXPECT_EQ(read.OffsetMs("/music/봄.mp3"), -300);
    EXPECT_EQ(read.OffsetMs("/music/other.mp3"), 0);
    EXPECT_DOUBLE_EQ(read.Zoom(), 1.5);

    for (const std::string damaged : {"{\"zoom\": 1.5, \"offs", "[1, 2]", "\x00\xff\xfe garbage",
                                      R"({"zoom": "big", "offsets": [1, 2]})", R"({"zoom": 1e999, "offsets": {"/a": "x"}})"}) {
        writeFileBytes(path.toStdString(), damaged);
        const LyricsSettings settings(path);
        EXPECT_DOUBLE_EQ(settings.Zoom(), 1.0) << damaged;
        EXPECT_EQ(settings.OffsetMs("/a"), 0) << damaged;
    }

    // Its folder's place taken by a file: the change is lost, nothing else.
    writeFileBytes(dir.filePath("taken").toStdString(), "a file");
    LyricsSettings unwritable(dir.filePath("taken/lyrics.json"));
    unwritable.SetZoom(2.0);
    EXPECT_DOUBLE_EQ(unwritable.Zoom(), 2.0);
    EXPECT_EQ(readFileBytes(dir.filePath("taken").toStdString()), "a file");
}

}  // namespace
