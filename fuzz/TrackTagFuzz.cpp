// Arbitrary bytes as the end of an MP3 file and as a file name. The tag
// reader and the address formation must not crash or overrun, the tag's
// fields must come out as the rule gives them, and every address must keep
// to the encoder's alphabet and decode back to its title and singer.
#include "resources/BuildSettings.h"
#include "fuzz/FuzzScratch.h"
#include "forms/LyricsAddress.h"
#include "forms/TrackTag.h"

#include <cstdint>
#include <cstring>

namespace {

const std::string ShowPage = std::string("http://") + KOLVI_LYRICS_HOST + "/kr/lyrics_plugin_show.html?title=";

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;  // upper-case digits are outside the table too
}

// Decodes an encoded value, trapping on any byte outside the table.
std::string decoded(std::string_view encoded)
{
    std::string text;
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        const char c = encoded[i];
        if (c == '+') {
            text.push_back(' ');
        } else if (c == '%') {
            require(i + 2 < encoded.size());
            const int high = hexDigit(encoded[i + 1]);
            const int low = hexDigit(encoded[i + 2]);
            require(high >= 0 && low >= 0);
            const char byte = static_cast<char>(high * 16 + low);
            // A byte that is kept as it is must never be escaped.
            require(!((byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z')
                      || byte == '@' || byte == '.' || byte == ' ' || byte == '\0'));
            text.push_back(byte);
            i += 2;
        } else {
            require((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '@' || c == '.');
            text.push_back(c);
        }
    }
    return text;
}

void requireShowAddress(const std::string& title, const std::string& singer)
{
    require(LyricsAddress.compare(0, ShowPage.size(), ShowPage) == 0);
    const std::string query = LyricsAddress.substr(ShowPage.size());
    const auto separator = query.find("&singer=");
    require(separator != std::string::npos);
    require(decoded(query.substr(0, separator)) == title);
    require(decoded(query.substr(separator + 8)) == singer);
}

std::string untilNul(const char* field, std::size_t length)
{
    const void* nul = std::memchr(field, '\0', length);
    return std::string(field, nul ? static_cast<const char*>(nul) - field : length);
}

// The field as the reader must leave it: trailing spaces from index 29
// down to 1 cleared, the walk ending at the first byte that is no space.
std::string expectedField(const char* raw)
{
    std::string field(raw, TagFieldLength);
    for (std::size_t i = TagFieldLength - 1; i >= 1 && field[i] == ' '; --i)
        field[i] = '\0';
    return field;
}

void checkTagAndAddress(const std::string& bytes)
{
    const std::string file = scratchFolder() + "/track.mp3";
    writeScratchFile(file, bytes);
    TagBuffer.fill('\x55');
    const bool tagged = ReadTrackTag(file.c_str());
    const char* tail = bytes.data() + bytes.size() - (bytes.size() >= TagSize ? TagSize : 0);
    require(tagged == (bytes.size() >= TagSize && std::memcmp(tail, "TAG", 3) == 0));
    if (tagged) {
        const std::string title = expectedField(tail + TagTitleOffset);
        const std::string artist = expectedField(tail + TagArtistOffset);
        require(std::memcmp(TagBuffer.data() + TagTitleOffset, title.data(), TagFieldLength) == 0);
        require(std::memcmp(TagBuffer.data() + TagArtistOffset, artist.data(), TagFieldLength) == 0);
        require(std::memcmp(TagBuffer.data() + 63, tail + 63, TagSize - 63) == 0);
        FormLyricsAddress(file);
        requireShowAddress(untilNul(title.data(), TagFieldLength), untilNul(artist.data(), TagFieldLength));
    } else {
        FormLyricsAddress(file);
        requireShowAddress("track", "");
    }
}

void checkFileNameBranch(const std::string& bytes)
{
    // Below a folder that does not exist, so no name can reach a real file
    // (not even through ".."); the address comes from the name alone.
    const std::string path = "/nonexistent-kolvi-fuzz/" + untilNul(bytes.data(), bytes.size());
    const std::string title = TitleFromFileName(path);
    require(title.size() <= path.size());
    FormLyricsAddress(path);
    requireShowAddress(title, "");
}

void checkEncoder(const std::string& bytes)
{
    const std::string source = untilNul(bytes.data(), bytes.size());
    std::string destination(source.size() * 3 + 2, '\x7F');
    require(EncodeQueryValue(source.c_str(), destination.data()) == destination.data());
    const std::size_t length = std::strlen(destination.c_str());
    require(length <= source.size() * 3);
    require(destination[length + 1] == '\x7F');
    require(decoded(std::string_view(destination).substr(0, length)) == source);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    useKoreanLocale();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    checkEncoder(bytes);
    checkTagAndAddress(bytes);
    checkFileNameBranch(bytes);
    return 0;
}
