// The online database's answers kept in the user's cache folder: what the
// next run finds, for how long, within what size, and what a damaged file or
// a folder that cannot be written does.
#include "tests/support/FileBytes.h"
#include "lyrics/LrcText.h"
#include "lyrics/OnlineLyricsCache.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QString Address = QStringLiteral("https://lrclib.example");
constexpr qint64 Noon = 1800000000;
constexpr qint64 Day = OnlineLyricsCache::DayKeptSeconds;
const OnlineQuery Song{QStringLiteral("봄날"), QStringLiteral("가수"), 187};
const OnlineQuery Missing{QStringLiteral("없는 노래"), QStringLiteral("가수"), 200};
const OnlineQuery Offered{QStringLiteral("봄날"), QStringLiteral("가수"), 60};

TEST(OnlineLyricsCacheTest, TheNextRunFindsTheLyricsFoundAMissAndTheRecordsOfferedForADayAndTheTracksPick)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("kolviplayer/lrclib.json");
    {
        OnlineLyricsCache cache(path);
        cache.KeepFound(Address, Song, ParseLrc(u"[00:01.00]<00:01.00>봄 <00:01.50>날\n[00:02.00]둘째 줄"), Noon);
        cache.KeepMiss(Address, Missing, Noon);
        cache.KeepOffered(Address, Offered,
                          {{"봄날 (라이브)", "가수", "공연", 75.4, ParseLrc(u"[00:00.50]라이브 첫 줄")},
                           {"봄날", "가수", "첫 앨범", 187, PlainLyrics(u"스튜디오 가사")}},
                          Noon);
        cache.KeepChoice("/music/봄날.mp3", PlainLyrics(u"고른 가사\n둘째"), Noon);
    }
    OnlineLyricsCache next(path);
    const auto found = next.Find(Address, Song, Noon + 30 * Day);
    ASSERT_TRUE(found && found->lyrics);
    EXPECT_TRUE(found->lyrics->synced);
    ASSERT_EQ(found->lyrics->lines.size(), 2u);
    ASSERT_EQ(found->lyrics->lines[0].words.size(), 2u);
    EXPECT_EQ(found->lyrics->lines[0].words[1].startMs, 1500);
    EXPECT_EQ(found->lyrics->lines[1].text, "둘째 줄");
    // Another database, length or singer is another question.
    EXPECT_FALSE(next.Find(QStringLiteral("http://127.0.0.1:1"), Song, Noon));
    EXPECT_FALSE(next.Find(Address, {Song.title, Song.artist, 200}, Noon));
    EXPECT_FALSE(next.Find(Address, {Song.title, QString(), 187}, Noon));

    const auto miss = next.Find(Address, Missing, Noon + Day - 1);
    ASSERT_TRUE(miss);
    EXPECT_FALSE(miss->lyrics);
    EXPECT_FALSE(next.Find(Address, Missing, Noon + Day));
    EXPECT_FALSE(next.Find(Address, Missing, Noon - 60)) << "a clock set back";

    const auto offered = next.Find(Address, Offered, Noon + Day - 1);
    ASSERT_TRUE(offered);
    EXPECT_FALSE(offered->lyrics);
    ASSERT_EQ(offered->offered.size(), 2u);
    EXPECT_EQ(offered->offered[0].album, "공연");
    EXPECT_EQ(offered->offered[0].lengthSeconds, 75.4);
    EXPECT_TRUE(offered->offered[0].lyrics.synced);
    EXPECT_EQ(offered->offered[0].lyrics.lines[0].startMs, 500);
    EXPECT_EQ(offered->offered[1].lyrics.lines[0].text, "스튜디오 가사");
    EXPECT_FALSE(next.Find(Address, Offered, Noon + Day));

    const auto picked = next.Choice("/music/봄날.mp3", Noon + 365 * Day);
    ASSERT_TRUE(picked);
    EXPECT_FALSE(picked->synced);
    ASSERT_EQ(picked->lines.size(), 2u);
    EXPECT_EQ(picked->lines[0].text, "고른 가사");
    EXPECT_FALSE(next.Choice("/music/다른 노래.mp3", Noon));
}

TEST(OnlineLyricsCacheTest, ItKeepsToItsSizeDroppingWhatWasUsedLongestAgoAndPicksLast)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("lrclib.json");
    const Lyrics large = PlainLyrics(QString(100000, u'x'));
    const auto song = [](int number) { return OnlineQuery{QStringLiteral("song %1").arg(number), QString(), 0}; };
    {
        OnlineLyricsCache cache(path);
        cache.KeepChoice("/music/picked.mp3", large, Noon);
        for (int number = 0; number < 40; ++number) {
            cache.KeepFound(Address, song(number), large, Noon + number);
            if (number == 15) {
                ASSERT_TRUE(cache.Find(Address, song(0), Noon + 100));
            }
        }
        // Far larger lyrics are shown, not kept.
        cache.KeepFound(Address, song(99), PlainLyrics(QString(OnlineLyricsCache::MostEntryBytes, u'y')), Noon);
        EXPECT_FALSE(cache.Find(Address, song(99), Noon));
    }
    EXPECT_LE(QFileInfo(path).size(), OnlineLyricsCache::MostBytes);
    OnlineLyricsCache next(path);
    EXPECT_TRUE(next.Choice("/music/picked.mp3", Noon));
    EXPECT_TRUE(next.Find(Address, song(39), Noon));
    EXPECT_TRUE(next.Find(Address, song(0), Noon)) << "used lately";
    EXPECT_FALSE(next.Find(Address, song(1), Noon));
}

// Where the cache file is to be and what is there instead.
struct Damage {
    const char* what;
    std::function<void(const QTemporaryDir& dir)> make;
    bool writable;  // a new file can take its place
};

TEST(OnlineLyricsCacheTest, ADamagedFileCountsAsEmptyAndOneThatCannotBeWrittenLosesOnlyTheNextRunsCopy)
{
    const Lyrics lyrics = PlainLyrics(u"가사");
    const auto cachePath = [](const QTemporaryDir& dir) { return dir.filePath("kolviplayer/lrclib.json"); };
    const auto write = [&](const QTemporaryDir& dir, const std::string& bytes) {
        QDir().mkpath(dir.filePath("kolviplayer"));
        writeFileBytes(cachePath(dir).toStdString(), bytes);
    };
    const Damage damages[] = {
        {"not JSON", [&](const QTemporaryDir& dir) { write(dir, std::string("\x00\xff{\"entries\": [", 15)); }, true},
        {"entries of the wrong shape",
         [&](const QTemporaryDir& dir) {
             write(dir, R"({"entries": [1, "x", {"key": 5, "kind": "found"}, {"key": "k", "kind": "other"},
                            {"key": "k", "kind": "found", "text": 7, "stored": "now", "used": []},
                            {"key": "k", "kind": "offered", "offered": [{"text": 1}], "stored": 1, "used": 1}]})");
         },
         true},
        {"a kept answer in a file far too large",
         [&](const QTemporaryDir& dir) {
             {
                 OnlineLyricsCache cache(cachePath(dir));
                 cache.KeepFound(Address, Song, lyrics, Noon);
             }
             write(dir, readFileBytes(cachePath(dir).toStdString()) + std::string(5 << 20, ' '));
         },
         true},
        {"its folder's place taken by a file",
         [](const QTemporaryDir& dir) { writeFileBytes(dir.filePath("kolviplayer").toStdString(), "a file"); }, false},
        {"its place taken by a folder", [&](const QTemporaryDir& dir) { QDir().mkpath(cachePath(dir)); }, false},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.what);
        QTemporaryDir dir;
        damage.make(dir);
        {
            OnlineLyricsCache cache(cachePath(dir));
            EXPECT_FALSE(cache.Find(Address, Song, Noon));
            cache.KeepFound(Address, Song, lyrics, Noon);
            const auto kept = cache.Find(Address, Song, Noon);
            ASSERT_TRUE(kept && kept->lyrics);
            EXPECT_EQ(kept->lyrics->lines[0].text, "가사");
        }
        EXPECT_EQ(OnlineLyricsCache(cachePath(dir)).Find(Address, Song, Noon).has_value(), damage.writable);
    }
}

}  // namespace
