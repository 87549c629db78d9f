// The percent-encoding of query values, byte by byte.
#include "forms/LyricsAddress.h"

#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>

namespace {

std::string encode(const std::string& source)
{
    std::string destination(source.size() * 3 + 1, '#');
    EXPECT_EQ(EncodeQueryValue(source.c_str(), destination.data()), destination.data());
    const std::size_t length = std::strlen(destination.c_str());
    EXPECT_LE(length, source.size() * 3);
    return destination.substr(0, length);
}

}  // namespace

TEST(QueryEncoding, Examples)
{
    EXPECT_EQ(encode("Hello World"), "Hello+World");
    EXPECT_EQ(encode("A/B"), "A%2fB");
    EXPECT_EQ(encode("a-b_c"), "a%2db%5fc");
    EXPECT_EQ(encode("\xB0\xA1"), "%b0%a1");
    EXPECT_EQ(encode("v1.0"), "v1.0");
    EXPECT_EQ(encode("me@host.kr"), "me@host.kr");
    EXPECT_EQ(encode("~*&=+%"), "%7e%2a%26%3d%2b%25");
    EXPECT_EQ(encode(""), "");
}

TEST(QueryEncoding, EveryByteFollowsTheTable)
{
    const std::string keep = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz@.";
    int kept = 0;
    for (int byte = 1; byte < 256; ++byte) {
        const std::string source(1, static_cast<char>(byte));
        const std::string result = encode(source);
        if (byte == ' ') {
            EXPECT_EQ(result, "+");
        } else if (keep.find(static_cast<char>(byte)) != std::string::npos) {
            EXPECT_EQ(result, source);
            ++kept;
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02x", byte);
            EXPECT_EQ(result, escaped) << "byte " << byte;
        }
    }
    EXPECT_EQ(kept, 64);
}

TEST(QueryEncoding, ANullSourceWritesNothing)
{
    char destination[4] = {'x', 'y', 'z', 'w'};
    EXPECT_EQ(EncodeQueryValue(nullptr, destination), nullptr);
    EXPECT_EQ(std::string(destination, 4), "xyzw");
}

TEST(QueryEncoding, TheTextEndsAtItsNul)
{
    char destination[16];
    std::memset(destination, '#', sizeof destination);
    EXPECT_EQ(EncodeQueryValue("a b\0c", destination), destination);
    EXPECT_EQ(std::string(destination, 5), std::string("a+b\0#", 5));
}
