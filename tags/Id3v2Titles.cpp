#include "tags/Id3v2Titles.h"

#include <id3v2framefactory.h>
#include <id3v2tag.h>
#include <mpegfile.h>
#include <tbytevectorstream.h>

namespace {

QString Text(const TagLib::String& text)
{
    return QString::fromStdString(text.to8Bit(true)).trimmed();
}

}  // namespace

TrackTitles ParseId3v2Titles(const QByteArray& tag)
{
    TagLib::ByteVectorStream stream(TagLib::ByteVector(tag.constData(), static_cast<unsigned int>(tag.size())));
    TagLib::MPEG::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), false);
    const TagLib::ID3v2::Tag* id3v2 = file.isValid() && file.hasID3v2Tag() ? file.ID3v2Tag() : nullptr;
    if (id3v2 == nullptr)
        return {};
    return {Text(id3v2->title()), Text(id3v2->artist()), Text(id3v2->album())};
}
