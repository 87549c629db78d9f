// The media device's error texts are Korean, and come out as bytes of the
// locale's code page: UTF-8, or CP949 in a ko_KR.CP949 locale, where a text
// cut to a small buffer never ends inside a double-byte character; UTF-8
// where the locale has no Hangul.
#include "platform/mci/Mci.h"
#include "tests/support/ScopedLocale.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace {

// The bytes read back by the C library in the current locale.
std::wstring decodedText(const char* bytes)
{
    std::wstring wide(std::strlen(bytes) + 1, L'\0');
    const std::size_t count = std::mbstowcs(wide.data(), bytes, wide.size());
    if (count == static_cast<std::size_t>(-1))
        return L"(not valid in this locale)";
    wide.resize(count);
    return wide;
}

void expectKoreanTexts(const char* locale, std::size_t syllableBytes)
{
    const ScopedLocale active(locale);
    if (!active.active())
        GTEST_SKIP() << locale << " is not installed";
    char text[256];
    ASSERT_TRUE(mciGetErrorStringA(MCIERR_FILE_NOT_FOUND, text, sizeof text));
    EXPECT_EQ(decodedText(text), L"파일을 찾을 수 없습니다.");
    EXPECT_EQ(std::strlen(text), 10 * syllableBytes + 3 + 1) << "ten syllables, three spaces and a full stop";
    ASSERT_TRUE(mciGetErrorStringA(MCIERR_WAVE_OUTPUTSUNSUITABLE, text, sizeof text));
    EXPECT_EQ(decodedText(text).rfind(L"소리를 낼 출력 장치가 없습니다.", 0), 0u);

    // Seven bytes of room: in CP949 three syllables and the space fit, in
    // UTF-8 two syllables; the next character is left out whole.
    char small[8];
    ASSERT_TRUE(mciGetErrorStringA(MCIERR_FILE_NOT_FOUND, small, sizeof small));
    EXPECT_EQ(decodedText(small), syllableBytes == 2 ? L"파일을 " : L"파일");
}

TEST(KoreanText, MediaDeviceErrorsInAUtf8Locale) { expectKoreanTexts(Utf8Locale, 3); }

TEST(KoreanText, MediaDeviceErrorsInTheKoreanCodePage) { expectKoreanTexts(Cp949Locale, 2); }

// A locale that cannot write Hangul gets the UTF-8 bytes rather than '?'s,
// so that wherever the text is shown it reads right.
TEST(KoreanText, MediaDeviceErrorsStayUtf8WhereTheLocaleCannotWriteThem)
{
    const ScopedLocale c("C");
    char text[256];
    ASSERT_TRUE(mciGetErrorStringA(MCIERR_FILE_NOT_FOUND, text, sizeof text));
    EXPECT_STREQ(text, "파일을 찾을 수 없습니다.");
}

}  // namespace
