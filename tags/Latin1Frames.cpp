#include "tags/Latin1Frames.h"

#include "tags/LegacyText.h"

#include <id3v2tag.h>

namespace {

class LegacyTextHandler final : public TagLib::ID3v2::Latin1StringHandler {
public:
    TagLib::String parse(const TagLib::ByteVector& data) const override
    {
        // A field ends at its first NUL, as TagLib's own reading ends it.
        const int nul = data.find('\0');
        const auto size = nul < 0 ? static_cast<qsizetype>(data.size()) : static_cast<qsizetype>(nul);
        const QByteArray text = DecodeLegacyText(QByteArrayView(data.data(), size)).toUtf8();
        return TagLib::String(text.toStdString(), TagLib::String::UTF8);
    }
};

}  // namespace

void ReadLatin1FramesAsLegacyText()
{
    static const LegacyTextHandler handler;
    TagLib::ID3v2::Tag::setLatin1StringHandler(&handler);
}
