#include "forms/LyricsSearchNames.h"

#include "platform/files/CodePage.h"
#include "forms/LyricsAddress.h"
#include "forms/TrackTag.h"

#include <cstring>
#include <vector>

namespace {

// A tag field's bytes up to its first NUL, at most the whole field.
std::string TagField(std::size_t offset)
{
    const char* field = TagBuffer.data() + offset;
    const void* nul = std::memchr(field, '\0', TagFieldLength);
    return std::string(field, nul ? static_cast<const char*>(nul) - field : TagFieldLength);
}

}  // namespace

QString FromAnsi(const std::string& text)
{
    if (text.empty())
        return {};
    const int bytes = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), bytes, nullptr, 0);
    std::vector<char16_t> wide(static_cast<std::size_t>(length));
    MultiByteToWideChar(CP_ACP, 0, text.data(), bytes, wide.data(), length);
    return QString::fromUtf16(wide.data(), length);
}

TrackNames LyricsSearchNames(const std::string& trackPath, const Id3v2Facts& id3v2)
{
    if (!id3v2.title.isEmpty())
        return TrackNames{id3v2.title, id3v2.artist};
    if (ReadTrackTag(trackPath.c_str()))
        return TrackNames{FromAnsi(TagField(TagTitleOffset)).trimmed(), FromAnsi(TagField(TagArtistOffset)).trimmed()};
    return TrackNames{FromAnsi(TitleFromFileName(trackPath)), QString()};
}
