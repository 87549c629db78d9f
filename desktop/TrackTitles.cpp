#include "TrackTitles.h"

#include "AnsiText.h"
#include "LyricsAddress.h"
#include "TrackTag.h"

#include <cstring>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

namespace {

// ID3v2 frames carry their own encoding, so TagLib's Unicode is right here.
TrackTitles FromId3v2(const std::string& path)
{
    TagLib::MPEG::File file(path.c_str(), false);
    if (!file.isValid() || !file.hasID3v2Tag())
        return {};
    const TagLib::ID3v2::Tag* tag = file.ID3v2Tag();
    return {QString::fromStdWString(tag->title().toWString()).trimmed(),
            QString::fromStdWString(tag->artist().toWString()).trimmed()};
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
