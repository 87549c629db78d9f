// Byte rules of the system code page, in a UTF-8 locale and in ko_KR.CP949.
#include "platform/files/CodePage.h"
#include "tests/support/ScopedLocale.h"

#include <gtest/gtest.h>
#include <vector>

using namespace std::string_literals;

namespace {

std::u16string wide(const std::string& text, int bytes, DWORD flags = 0)
{
    const int needed = MultiByteToWideChar(CP_ACP, flags, text.c_str(), bytes, nullptr, 0);
    std::u16string result(static_cast<std::size_t>(needed), u'?');
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, flags, text.c_str(), bytes, result.data(), needed), needed);
    return result;
}

#define REQUIRE_LOCALE(locale)                                                                                   \
    const ScopedLocale locale##Scope(locale);                                                                    \
    if (!locale##Scope.active())                                                                                 \
        GTEST_SKIP() << "locale " << locale << " is not installed (localedef -i ko_KR -f CP949 ko_KR.CP949)";

}  // namespace

TEST(CodePageCp949, LeadBytesAndCharacterBoundaries)
{
    REQUIRE_LOCALE(Cp949Locale);
    EXPECT_TRUE(IsDBCSLeadByte(0xB0));
    EXPECT_TRUE(IsDBCSLeadByte(0x81));
    EXPECT_FALSE(IsDBCSLeadByte('A'));
    EXPECT_FALSE(IsDBCSLeadByte('.'));
    EXPECT_FALSE(IsDBCSLeadByte(0x80));
    const std::string text = "\xB0\xA1" "a\x81\x41" "\xB0";
    EXPECT_EQ(characterLength(text, 0), 2u);
    EXPECT_EQ(characterLength(text, 2), 1u);
    EXPECT_EQ(characterLength(text, 3), 2u) << "0x81 0x41 is one character of the extended range";
    EXPECT_EQ(characterLength(text, 5), 1u) << "a lead byte cut off at the end is a byte of its own";
}

TEST(CodePageCp949, CaseMappingLeavesDoubleByteCharactersAlone)
{
    REQUIRE_LOCALE(Cp949Locale);
    // 0x81 0x41 and 0x81 0x61 are two different Hangul syllables.
    EXPECT_EQ(AnsiLowerCase("\x81\x41" "AB\xB0\xA1" "Cd"), "\x81\x41" "ab\xB0\xA1" "cd");
    EXPECT_EQ(AnsiUpperCase("\x81\x61" "ab\xB0\xA1" "cD"), "\x81\x61" "AB\xB0\xA1" "CD");
    EXPECT_EQ(AnsiLowerCase("/MUSIC/\xC7\xD1.MP3"), "/music/\xC7\xD1.mp3");
}

TEST(CodePageCp949, ConversionToUtf16)
{
    REQUIRE_LOCALE(Cp949Locale);
    EXPECT_EQ(wide("\xB0\xA1\xB3\xAA" " A", -1), u"\uAC00\uB098 A"s + u'\0');
    EXPECT_EQ(wide("\x81\x41", 2), u"\uAC02");
    EXPECT_EQ(wide("http://h/?t=%b0%a1", -1), u"http://h/?t=%b0%a1"s + u'\0');
}

TEST(CodePageUtf8, BytesAreUtf8)
{
    REQUIRE_LOCALE(Utf8Locale);
    EXPECT_TRUE(IsDBCSLeadByte(0xEA));
    EXPECT_FALSE(IsDBCSLeadByte(0x80)) << "a continuation byte starts nothing";
    EXPECT_FALSE(IsDBCSLeadByte('a'));
    const std::string text = "\xEA\xB0\x80" "b\xF0\x9F\x8E\xB5";
    EXPECT_EQ(characterLength(text, 0), 3u);
    EXPECT_EQ(characterLength(text, 3), 1u);
    EXPECT_EQ(characterLength(text, 4), 4u);
    EXPECT_EQ(AnsiUpperCase("caf\xC3\xA9 \xEA\xB0\x80z"), "CAF\xC3\xA9 \xEA\xB0\x80Z");
    EXPECT_EQ(AnsiLowerCase("\xC3\x89T\xC3\x89"), "\xC3\x89t\xC3\x89");
    EXPECT_EQ(wide("\xEA\xB0\x80\xF0\x9F\x8E\xB5", 7), u"\uAC00\U0001F3B5");
    EXPECT_EQ(wide("\xF0\x9F\x8E\xB5", 4).size(), 2u) << "a character beyond U+FFFF takes a surrogate pair";
}

TEST(CodePageUtf8, MeasuringBuffersAndInvalidBytes)
{
    REQUIRE_LOCALE(Utf8Locale);
    const char* text = "a\xEA\xB0\x80";
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0), 3) << "the NUL counts when bytes is -1";
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, 4, nullptr, 0), 2);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "a\0b", 3, nullptr, 0), 3) << "an inner NUL is a character";

    char16_t small[2] = {u'x', u'x'};
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, small, 2), 0) << "too small a buffer fails";
    char16_t exact[3] = {};
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, exact, 3), 3);
    EXPECT_EQ(std::u16string(exact, 3), u"a\uAC00"s + u'\0');

    EXPECT_EQ(wide("a\xFF" "b\xEA\xB0", 5), u"a\uFFFD" "b\uFFFD\uFFFD");
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, "a\xFF", 2, nullptr, 0), 0);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", 0, nullptr, 0), 0);
    EXPECT_EQ(MultiByteToWideChar(65001, 0, "abc", 3, nullptr, 0), 0) << "only the system code page is known";
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, nullptr, -1, nullptr, 0), 0);
}
