#include "framework/Exception.h"
#include "framework/SysUtils.h"

#include <gtest/gtest.h>

namespace {

std::string conversionMessage(const std::string& text)
{
    try {
        StrToInt(text);
    } catch (const EConvertError& error) {
        return error.Message();
    }
    return "(no error)";
}

}  // namespace

TEST(StrToInt, AcceptsSignedDecimalsAcrossThe32BitRange)
{
    EXPECT_EQ(StrToInt("0"), 0);
    EXPECT_EQ(StrToInt("12"), 12);
    EXPECT_EQ(StrToInt("-1"), -1);
    EXPECT_EQ(StrToInt("+7"), 7);
    EXPECT_EQ(StrToInt("007"), 7);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
}

TEST(StrToInt, AcceptsUnsignedHexadecimalsWithEachPrefix)
{
    EXPECT_EQ(StrToInt("$10"), 16);
    EXPECT_EQ(StrToInt("x1A"), 26);
    EXPECT_EQ(StrToInt("X1a"), 26);
    EXPECT_EQ(StrToInt("0x1f"), 31);
    EXPECT_EQ(StrToInt("0XFF"), 255);
    EXPECT_EQ(StrToInt("$7FFFFFFF"), 2147483647);
    // Thirty-two bits taken as a signed number.
    EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
    EXPECT_EQ(StrToInt("$80000000"), -2147483647 - 1);
}

TEST(StrToInt, RejectsEverythingElseWithTheConversionMessage)
{
    for (const std::string text : {"", "abc", "1a", " 1", "1 ", "--1", "+-1", "-", "+", "$", "0x", "x", "-$10",
                                   "+$10", "$-10", "$1G", "2147483648", "-2147483649", "$100000000", "1.0", "１"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(conversionMessage(text), "'" + text + "' is not a valid integer value");
    }
}

TEST(StrToInt, KeepsTheTextsBytesInTheMessage)
{
    const std::string bytes("\xB0\xA1\x01\xFF", 4);
    EXPECT_EQ(conversionMessage(bytes), "'" + bytes + "' is not a valid integer value");
}

TEST(Trim, RemovesBytesOfCode32OrBelowAtBothEndsOnly)
{
    EXPECT_EQ(Trim(std::string("\r\n \t\x01/a b\x1F\r\n", 12)), "/a b");
    EXPECT_EQ(Trim(std::string("\0x\0", 3)), "x");
    EXPECT_EQ(Trim("   "), "");
    // Bytes above 127 are not blanks.
    EXPECT_EQ(Trim("\xA0x\xA0"), "\xA0x\xA0");
}

TEST(FileNameParts, SplitAtTheLastSlashOnly)
{
    EXPECT_EQ(ExtractFileName("/music/a b/Song.MP3"), "Song.MP3");
    EXPECT_EQ(ExtractFilePath("/music/a b/Song.MP3"), "/music/a b/");
    // "\" and ":" are ordinary characters of a file name here.
    EXPECT_EQ(ExtractFileName("/m/C:\\x\\y.mp3"), "C:\\x\\y.mp3");
    EXPECT_EQ(ExtractFileName("plain.mp3"), "plain.mp3");
    EXPECT_EQ(ExtractFilePath("plain.mp3"), "");
    EXPECT_EQ(ExtractFileName("/dir/"), "");
}
