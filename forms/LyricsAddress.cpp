#include "forms/LyricsAddress.h"

#include "resources/BuildSettings.h"
#include "forms/TrackTag.h"

#include <cstring>

std::string LyricsAddress;

namespace {

const std::string PageFolder = std::string("http://") + KOLVI_LYRICS_HOST + "/kr/";

bool KeptAsIs(unsigned char byte)
{
    return (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || byte == '@'
        || byte == '.';
}

// The encoding in a buffer sized for any text, so no name is ever cut.
std::string Encoded(const std::string& text)
{
    std::string buffer(text.size() * 3 + 1, '\0');
    EncodeQueryValue(text.c_str(), buffer.data());
    buffer.resize(std::strlen(buffer.c_str()));
    return buffer;
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
        } else if (KeptAsIs(byte)) {
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

void FormLyricsAddress(const std::string& path)
{
    if (ReadTrackTag(path.c_str()))
        LyricsAddress = LyricsShowAddress(Encoded(std::string(Id3v1Field(TagBuffer.data(), TagTitleOffset))),
                                          Encoded(std::string(Id3v1Field(TagBuffer.data(), TagArtistOffset))));
    else
        LyricsAddress = LyricsShowAddressWithoutSinger(Encoded(TitleFromFileName(path)));
}
