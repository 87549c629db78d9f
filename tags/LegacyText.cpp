#include "tags/LegacyText.h"

#include <QList>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <langinfo.h>
#include <optional>
#include <string>
#include <strings.h>

namespace {

class Converter {
public:
    explicit Converter(const char* from) : handle_(iconv_open("UTF-8", from)) {}
    ~Converter()
    {
        if (Valid())
            iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t Get() const { return handle_; }

private:
    iconv_t handle_;
};

enum class CutEnd { Dropped, Refused };

// The bytes in `encoding`; nothing when a byte does not fit. A double-byte
// character cut by the end of the text (a 30-byte ID3v1 field, a lyrics file
// read up to its limit) may lose only itself.
std::optional<QString> Strictly(QByteArrayView bytes, const char* encoding, CutEnd cutEnd)
{
    const Converter converter(encoding);
    if (!converter.Valid())
        return std::nullopt;
    std::string out(static_cast<std::size_t>(bytes.size()) * 3 + 16, '\0');
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = static_cast<std::size_t>(bytes.size());
    std::size_t written = 0;
    while (inLeft > 0) {
        char* outAt = out.data() + written;
        std::size_t outLeft = out.size() - written;
        const std::size_t result = iconv(converter.Get(), &in, &inLeft, &outAt, &outLeft);
        written = out.size() - outLeft;
        if (result != static_cast<std::size_t>(-1))
            break;
        if (errno == EINVAL && inLeft == 1 && cutEnd == CutEnd::Dropped)
            break;
        if (errno != E2BIG)
            return std::nullopt;
        out.resize(out.size() * 2);
    }
    return QString::fromUtf8(out.data(), static_cast<qsizetype>(written));
}

bool IsAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// UTF-8 text cut inside its last character (a lyrics file read up to its
// limit) loses only that character; but the rest must show it is UTF-8 by
// a character of its own, as "Beyonc" before a Latin-1 é does not.
std::optional<QString> AsUtf8(QByteArrayView bytes)
{
    if (bytes.isValidUtf8())
        return QString::fromUtf8(bytes);
    for (qsizetype cut = 1; cut <= 3 && cut < bytes.size(); ++cut) {
        const auto byte = static_cast<unsigned char>(bytes[bytes.size() - cut]);
        if (byte < 0x80)
            return std::nullopt;
        if (byte < 0xC0)
            continue;  // a continuation byte: its lead is further back
        const qsizetype needed = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
        const QByteArrayView rest = bytes.first(bytes.size() - cut);
        if (needed <= cut || !rest.isValidUtf8() || IsAscii(rest))
            return std::nullopt;
        return QString::fromUtf8(rest);
    }
    return std::nullopt;
}

bool IsAsciiLetter(unsigned char byte)
{
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
}

bool IsLatin1Letter(unsigned char byte)
{
    return byte >= 0xC0 && byte != 0xD7 && byte != 0xF7;
}

// Western names in Latin-1 put an accented letter beside plain letters
// ("Beyoncé", "Ángel", "Coração"); CP949 Korean is pairs of high bytes, many
// of them Latin-1 symbols. Some of those Latin-1 pairs are valid CP949 too
// (Á n is a Hangul syllable of the extended set, ç ã a Hanja), so this
// reading wins over CP949.
bool ReadsAsLatin1Words(QByteArrayView bytes)
{
    bool anyHigh = false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte < 0x80)
            continue;
        anyHigh = true;
        const bool letterBefore = i > 0 && IsAsciiLetter(static_cast<unsigned char>(bytes[i - 1]));
        const bool letterAfter = i + 1 < bytes.size() && IsAsciiLetter(static_cast<unsigned char>(bytes[i + 1]));
        if (!IsLatin1Letter(byte) || !(letterBefore || letterAfter))
            return false;
    }
    return anyHigh;
}

// What Korean text is written with: Hangul, Hanja, kana, and the
// punctuation and symbols of the Korean character set that titles use.
bool IsKoreanTextCharacter(char32_t c)
{
    return c == 0x00B0 || c == 0x00B1 || c == 0x00B7 || c == 0x00D7 || c == 0x00F7 || (c >= 0x2010 && c <= 0x206F) || (c >= 0x2160 && c <= 0x21FF)
        || (c >= 0x2460 && c <= 0x24FF) || (c >= 0x25A0 && c <= 0x26FF) || (c >= 0x3000 && c <= 0x30FF)
        || (c >= 0x3130 && c <= 0x318F) || (c >= 0x3200 && c <= 0x33FF) || (c >= 0x4E00 && c <= 0x9FFF)
        || (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF01 && c <= 0xFFEF);
}

// Random bytes are often valid CP949 too, but then read mostly as box
// drawings, Cyrillic or Greek rather than as Korean text. A long lyrics
// text may hold a few of those among its Hangul.
bool IsKoreanText(const QString& text)
{
    qsizetype korean = 0;
    qsizetype other = 0;
    for (const char32_t c : text.toUcs4())
        if (c >= 0x80)
            ++(IsKoreanTextCharacter(c) ? korean : other);
    return korean > 0 && other * 10 <= korean;
}

std::optional<QString> AsKorean(QByteArrayView bytes)
{
    if (ReadsAsLatin1Words(bytes))
        return std::nullopt;
    std::optional<QString> text = Strictly(bytes, "CP949", CutEnd::Dropped);
    if (!text || !IsKoreanText(*text))
        return std::nullopt;
    return text;
}

std::optional<QString> InLocaleCodePage(QByteArrayView bytes)
{
    // UTF-8 and the Korean sets were tried already, under the rules above:
    // trying them again would undo those rules on Korean locales only.
    const char* codeSet = nl_langinfo(CODESET);
    for (const char* tried : {"UTF-8", "CP949", "UHC", "EUC-KR"})
        if (strcasecmp(codeSet, tried) == 0)
            return std::nullopt;
    return Strictly(bytes, codeSet, CutEnd::Refused);
}

}  // namespace

QString DecodeLegacyText(QByteArrayView bytes)
{
    if (std::optional<QString> utf8 = AsUtf8(bytes))
        return *utf8;
    if (std::optional<QString> korean = AsKorean(bytes))
        return *korean;
    if (std::optional<QString> local = InLocaleCodePage(bytes))
        return *local;
    return QString::fromLatin1(bytes);
}
