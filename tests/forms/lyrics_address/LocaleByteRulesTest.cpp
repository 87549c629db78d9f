// The lyrics address's byte rules in the locales a Korean user runs:
// ko_KR.CP949 (double-byte characters) and UTF-8.
#include "resources/BuildSettings.h"
#include "tests/support/FileBytes.h"
#include "forms/LyricsAddress.h"
#include "tests/support/ScopedLocale.h"
#include "tests/support/TagFile.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const std::string Show = std::string("http://") + KOLVI_LYRICS_HOST + "/kr/lyrics_plugin_show.html?title=";

#define REQUIRE_LOCALE(locale)                                                                                   \
    const ScopedLocale locale##Scope(locale);                                                                    \
    if (!locale##Scope.active())                                                                                 \
        GTEST_SKIP() << "locale " << locale << " is not installed (localedef -i ko_KR -f CP949 ko_KR.CP949)";

std::string addressFor(const std::string& file)
{
    FormLyricsAddress(file);
    return LyricsAddress;
}

}  // namespace

TEST(LocaleByteRulesCp949, KoreanTitlesAreEncodedByteForByte)
{
    REQUIRE_LOCALE(Cp949Locale);
    QTemporaryDir dir;
    const std::string file = dir.filePath("song.mp3").toStdString();
    // 0xB0 0xA1 and 0x81 0x41 are Hangul syllables; 0x41 is also 'A'.
    writeTaggedMp3(file, TagFields{"\xB0\xA1\x81\x41", "\xB1\xE8 A"});
    EXPECT_EQ(addressFor(file), Show + "%b0%a1%81A&singer=%b1%e8+A");
    EXPECT_EQ(addressFor("/m/\xB3\xEB\xB7\xA1.MP3"), Show + "%b3%eb%b7%a1&singer=");
    EXPECT_EQ(addressFor("/m/\x81\x61.Mp3.mP3"), Show + "%81a&singer=") << "the trail byte 'a' is never upper-cased";
}

TEST(LocaleByteRulesCp949, AMatchNeverStartsOnATrailByte)
{
    REQUIRE_LOCALE(Cp949Locale);
    // Upper-cased byte by byte, 0x81 0x61 'b' 'c' would read 0x81 "ABC".
    EXPECT_EQ(RemoveEveryOccurrence("\x81\x61" "bc", "ABC"), "\x81\x61" "bc");
    EXPECT_EQ(RemoveEveryOccurrence("\x81\x41" "BCabc", "abc"), "\x81\x41" "BC");
    EXPECT_EQ(RemoveEveryOccurrence("x\x81\x41" "A\x81\x41", "\x81\x41"), "xA");
    EXPECT_EQ(RemoveEveryOccurrence("aAa", "A"), "");
    EXPECT_EQ(RemoveEveryOccurrence("abc", ""), "abc");
}

TEST(LocaleByteRulesUtf8, NamesAreUtf8Bytes)
{
    REQUIRE_LOCALE(Utf8Locale);
    EXPECT_EQ(addressFor("/m/\xEB\x85\xB8\xEB\x9E\x98.MP3"), Show + "%eb%85%b8%eb%9e%98&singer=");
    EXPECT_EQ(TitleFromFileName("/m/caf\xC3\xA9.\xC3\xA9.\xC3\xA9"), "caf\xC3\xA9") << "a non-ASCII extension";
    // 0xA9 alone would match the second byte of U+00E9 (0xC3 0xA9).
    EXPECT_EQ(RemoveEveryOccurrence("\xC3\xA9", "\xA9"), "\xC3\xA9");
    EXPECT_EQ(RemoveEveryOccurrence("\xA9\xC3\xA9\xA9", "\xA9"), "\xC3\xA9");
}
