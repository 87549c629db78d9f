#include "tags/TrackTitles.h"

#include "tags/FileNameTitle.h"
#include "tags/Id3v1Tag.h"
#include "tags/LegacyText.h"
#include "tags/TrackTagBytes.h"

namespace {

QString Id3v1Text(const QByteArray& tag, std::size_t offset)
{
    const std::string_view field = Id3v1Field(tag.constData(), offset);
    return DecodeLegacyText(QByteArrayView(field.data(), static_cast<qsizetype>(field.size()))).trimmed();
}

}  // namespace

TrackTitles ReadTrackTitles(const std::string& path, Id3v2TitleParser parseId3v2)
{
    const TrackTagBytes tags = ReadTrackTagBytes(path);
    TrackTitles titles;
    if (parseId3v2 != nullptr && !tags.id3v2.isEmpty())
        titles = parseId3v2(tags.id3v2);
    if (titles.title.isEmpty() && !tags.id3v1.isEmpty())
        titles = {Id3v1Text(tags.id3v1, TagTitleOffset), Id3v1Text(tags.id3v1, TagArtistOffset),
                  Id3v1Text(tags.id3v1, TagAlbumOffset)};
    if (titles.title.isEmpty())
        titles = {DecodeLegacyText(TitleFromFileName(path)), QString(), QString()};
    return titles;
}
