#include "desktop/TrackTitles.h"

#include "framework/AnsiText.h"
#include "forms/LyricsAddress.h"
#include "lyrics/LyricsReaders.h"
#include "forms/TrackTag.h"

#include <cstring>

namespace {

// ID3v2 frames carry their own encoding, so the tag reader's Unicode is right
// here. The reader is the lyrics readers' module, loaded on the first track
// the desktop asks about rather than at start-up.
TrackTitles FromId3v2(const std::string& path)
{
    const LyricsReaders* readers = LoadedLyricsReaders();
    if (readers == nullptr)
        return {};
    const Id3v2Facts facts = readers->readId3v2Facts(path);
    return {facts.title.trimmed(), facts.artist.trimmed()};
}

// ID3v1 fields are bytes in the code page of whoever wrote them: the
// locale's, as for every other text of the program.
QString Id3v1Field(std::size_t offset)
{
    const char* field = TagBuffer.data() + offset;
    const void* nul = std::memchr(field, '\0', TagFieldLength);
    const std::size_t length = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - field) : TagFieldLength;
    return FromAnsi(std::string_view(field, length)).trimmed();
}

}  // namespace

TrackTitles ReadTrackTitles(const std::string& path)
{
    TrackTitles titles = FromId3v2(path);
    if (titles.title.isEmpty() && ReadTrackTag(path.c_str()))
        titles = {Id3v1Field(TagTitleOffset), Id3v1Field(TagArtistOffset)};
    if (titles.title.isEmpty())
        titles = {FromAnsi(TitleFromFileName(path)), QString()};
    return titles;
}
