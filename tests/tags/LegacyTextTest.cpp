// Real byte strings from Korean and Western collections, read by the one
// rule on every locale a user may run.
#include "tags/LegacyText.h"
#include "tests/support/ScopedLocale.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char* what;
    QByteArray bytes;
    const char* utf8;  // what a person must see
};

const Case Cases[] = {
    {"UTF-8 Hangul", "\xEC\x82\xAC\xEB\x9E\x91\xED\x95\xB4", "사랑해"},
    {"UTF-8 Latin", "Beyonc\xC3\xA9", "Beyoncé"},
    {"UTF-8 cut inside its last character", "\xEC\x82\xAC\xEB\x9E\x91\xED\x95", "사랑"},
    {"CP949 Hangul", "\xBB\xE7\xB6\xFB\xC7\xD8", "사랑해"},
    {"CP949 singer", "\xB1\xE8\xB0\xC7\xB8\xF0", "김건모"},
    {"CP949 outside EUC-KR", "\x8C\x63\xB9\xE6\xB0\xA2\xC7\xCF \x94\xEE", "똠방각하 뷁"},
    {"CP949 cut after a lead byte", "\xBB\xE7\xB6\xFB\xC7", "사랑"},
    {"CP949 lyrics cut inside the last line", "\xC3\xB9\xC2\xB0 \xC1\xD9\n\xB5\xD1\xC2\xB0 \xC1\xD9\n\xBC",
     "첫째 줄\n둘째 줄\n"},
    {"CP949 beside English", "Love \xBB\xE7\xB6\xFB", "Love 사랑"},
    {"CP949 Hanja", "\xF4\xB6", "千"},
    {"Latin-1 ending in an accented letter", "Beyonc\xE9", "Beyoncé"},
    {"Latin-1 capital that is a CP949 lead", "\xC1ngel", "Ángel"},
    {"Latin-1 letters that are a CP949 Hanja", "Cora\xE7\xE3o", "Coração"},
    {"Latin-1 umlaut", "Bj\xF6rk", "Björk"},
    {"Latin-1 two words", "Sigur R\xF3s - \xC1g\xE6tis byrjun", "Sigur Rós - Ágætis byrjun"},
    {"box drawings are no Korean", "\xA6\xA1\xA6\xA2", "¦¡¦¢"},
    {"30 bytes of 0xFF", QByteArray(30, '\xFF'), "ÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿ"},
    {"nothing", "", ""},
};

const char* const Locales[] = {"C", "C.UTF-8", "en_US.UTF-8", "ko_KR.UTF-8", "ko_KR.CP949"};

TEST(LegacyText, EachCaseReadsTheSameOnEveryLocale)
{
    int localesTried = 0;
    for (const char* locale : Locales) {
        const ScopedLocale scope(locale);
        if (!scope.active())
            continue;
        ++localesTried;
        for (const Case& c : Cases)
            EXPECT_EQ(DecodeLegacyText(c.bytes).toStdString(), c.utf8) << c.what << " in " << locale;
    }
    EXPECT_GE(localesTried, 2) << "C and C.UTF-8 are always there";
}

}  // namespace
