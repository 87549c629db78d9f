#include "platform/files/CodePage.h"

#include <climits>
#include <cstring>
#include <cwchar>

namespace {

constexpr char16_t ReplacementCharacter = 0xFFFD;

std::size_t bytesOfCharacter(const char* text, std::size_t available)
{
    std::mbstate_t state{};
    const std::size_t length = std::mbrlen(text, available, &state);
    // 0 is the NUL character; -1 and -2 are invalid or cut-off sequences.
    return length == 0 || length > available ? 1 : length;
}

template <typename MapLetter>
std::string mapSingleByteLetters(std::string_view text, MapLetter map)
{
    std::string result(text);
    for (std::size_t at = 0; at < result.size();) {
        const std::size_t length = characterLength(result, at);
        if (length == 1)
            result[at] = map(result[at]);
        at += length;
    }
    return result;
}

// Appends one UTF-32 code point as one or two UTF-16 units.
int appendUtf16(char32_t codePoint, char16_t* out)
{
    if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        out[0] = ReplacementCharacter;
        return 1;
    }
    if (codePoint < 0x10000) {
        out[0] = static_cast<char16_t>(codePoint);
        return 1;
    }
    const char32_t offset = codePoint - 0x10000;
    out[0] = static_cast<char16_t>(0xD800 + (offset >> 10));
    out[1] = static_cast<char16_t>(0xDC00 + (offset & 0x3FF));
    return 2;
}

}  // namespace

bool IsDBCSLeadByte(BYTE b)
{
    const char byte = static_cast<char>(b);
    std::mbstate_t state{};
    return std::mbrlen(&byte, 1, &state) == static_cast<std::size_t>(-2);
}

std::size_t characterLength(std::string_view text, std::size_t at)
{
    return bytesOfCharacter(text.data() + at, text.size() - at);
}

std::string AnsiUpperCase(std::string_view text)
{
    return mapSingleByteLetters(text, [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; });
}

std::string AnsiLowerCase(std::string_view text)
{
    return mapSingleByteLetters(text, [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
}

int MultiByteToWideChar(UINT codePage, DWORD flags, const char* text, int bytes, char16_t* wide, int wideChars)
{
    if (codePage != CP_ACP || text == nullptr || bytes == 0 || bytes < -1 || wideChars < 0)
        return 0;
    const std::size_t size = bytes == -1 ? std::strlen(text) + 1 : static_cast<std::size_t>(bytes);
    const bool measuring = wide == nullptr || wideChars == 0;
    long written = 0;
    std::mbstate_t state{};
    for (std::size_t at = 0; at < size;) {
        wchar_t character = 0;
        std::size_t length = std::mbrtowc(&character, text + at, size - at, &state);
        char16_t units[2];
        int count = 0;
        if (length == static_cast<std::size_t>(-1) || length == static_cast<std::size_t>(-2)) {
            if (flags & MB_ERR_INVALID_CHARS)
                return 0;
            state = std::mbstate_t{};
            units[0] = ReplacementCharacter;
            count = 1;
            length = 1;
        } else {
            count = appendUtf16(static_cast<char32_t>(character), units);
            length = length == 0 ? 1 : length;  // the NUL character
        }
        if (!measuring) {
            if (written + count > wideChars)
                return 0;
            std::memcpy(wide + written, units, sizeof(char16_t) * static_cast<std::size_t>(count));
        }
        written += count;
        if (written > 0x7FFFFFFF)
            return 0;
        at += length;
    }
    return static_cast<int>(written);
}

namespace {

// The code point of the UTF-8 sequence at utf8[at] and its length; a byte
// that starts no valid sequence answers 0xFFFFFFFF and length 1.
char32_t decodeUtf8(std::string_view utf8, std::size_t& at)
{
    constexpr char32_t Invalid = 0xFFFFFFFF;
    const auto lead = static_cast<unsigned char>(utf8[at++]);
    if (lead < 0x80)
        return lead;
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : 0;
    if (extra == 0 || lead > 0xF4 || at + static_cast<std::size_t>(extra) > utf8.size())
        return Invalid;
    char32_t code = lead & (0x3F >> extra);
    for (int i = 0; i < extra; ++i) {
        const auto next = static_cast<unsigned char>(utf8[at + static_cast<std::size_t>(i)]);
        if ((next & 0xC0) != 0x80)
            return Invalid;
        code = (code << 6) | (next & 0x3F);
    }
    at += static_cast<std::size_t>(extra);
    return code;
}

}  // namespace

std::string Utf8ToAnsi(std::string_view utf8)
{
    std::string bytes;
    std::mbstate_t state{};
    char buffer[MB_LEN_MAX];
    for (std::size_t at = 0; at < utf8.size();) {
        const char32_t code = decodeUtf8(utf8, at);
        const std::size_t length = code > 0x10FFFF ? static_cast<std::size_t>(-1)
                                                    : std::wcrtomb(buffer, static_cast<wchar_t>(code), &state);
        if (code > 0x10FFFF) {
            state = std::mbstate_t{};
            bytes += '?';
        } else if (length == static_cast<std::size_t>(-1)) {
            return std::string(utf8);
        } else {
            bytes.append(buffer, length);
        }
    }
    return bytes;
}
