#include "forms/LyricsAddress.h"

#include "resources/BuildSettings.h"
#include "platform/files/CodePage.h"
#include "forms/TrackTag.h"

#include <cstring>

std::string LyricsAddress;

namespace {

const std::string PageFolder = std::string("http://") + KOLVI_LYRICS_HOST + "/kr/";

bool keptAsIs(unsigned char byte)
{
    return (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || byte == '@'
        || byte == '.';
}

// The encoding in a buffer sized for any text, so no name is ever cut.
std::string encoded(const std::string& text)
{
    std::string buffer(text.size() * 3 + 1, '\0');
    EncodeQueryValue(text.c_str(), buffer.data());
    buffer.resize(std::strlen(buffer.c_str()));
    return buffer;
}

// A tag field's bytes up to its first NUL, at most the whole field.
std::string tagField(std::size_t offset)
{
    const char* field = TagBuffer.data() + offset;
    const void* nul = std::memchr(field, '\0', TagFieldLength);
    return std::string(field, nul ? static_cast<const char*>(nul) - field : TagFieldLength);
}

}  // namespace

char* EncodeQueryValue(const char* source, char* destination)
{
    if (source == nullptr)
        return nullptr;
    static constexpr char hexDigits[] = "0123456789abcdef";
    char* out = destination;
    for (const char* in = source; *in != '\0'; ++in) {
        const auto byte = static_cast<unsigned char>(*in);
        if (byte == ' ') {
            *out++ = '+';
        } else if (keptAsIs(byte)) {
            *out++ = static_cast<char>(byte);
        } else {
            *out++ = '%';
            *out++ = hexDigits[byte >> 4];
            *out++ = hexDigits[byte & 0xF];
        }
    }
    *out = '\0';
    return destination;
}

std::string LyricsIndexAddress()
{
    return PageFolder + "lyrics_plugin_index.html";
}

std::string LyricsShowAddress(std::string_view encodedTitle, std::string_view encodedSinger)
{
    return PageFolder + "lyrics_plugin_show.html?title=" + std::string(encodedTitle) + "&singer="
        + std::string(encodedSinger);
}

std::string LyricsShowAddressWithoutSinger(std::string_view encodedName)
{
    return LyricsShowAddress(encodedName, "");
}

std::string RemoveEveryOccurrence(const std::string& text, const std::string& pattern)
{
    if (pattern.empty())
        return text;
    const std::string upperText = AnsiUpperCase(text);
    const std::string upperPattern = AnsiUpperCase(pattern);
    std::string result;
    result.reserve(text.size());
    // Stepping a whole character at a time keeps a match from starting on
    // the second byte of a double-byte character.
    for (std::size_t at = 0; at < text.size();) {
        if (upperText.compare(at, upperPattern.size(), upperPattern) == 0) {
            at += upperPattern.size();
            continue;
        }
        const std::size_t length = CharacterLength(text, at);
        result.append(text, at, length);
        at += length;
    }
    return result;
}

std::string TitleFromFileName(const std::string& path)
{
    const auto slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const auto dot = name.rfind('.');
    if (dot == std::string::npos)
        return name;
    return RemoveEveryOccurrence(name, name.substr(dot));
}

void FormLyricsAddress(const std::string& path)
{
    if (ReadTrackTag(path.c_str()))
        LyricsAddress = LyricsShowAddress(encoded(tagField(TagTitleOffset)), encoded(tagField(TagArtistOffset)));
    else
        LyricsAddress = LyricsShowAddressWithoutSinger(encoded(TitleFromFileName(path)));
}
