#include "lyrics/TextDecoding.h"

#include "tags/LegacyText.h"

#include <QStringDecoder>

namespace {

QString Utf16(QByteArrayView bytes, QStringDecoder::Encoding encoding)
{
    QStringDecoder decoder(encoding, QStringDecoder::Flag::Default);
    return decoder.decode(bytes.sliced(2));
}

}  // namespace

QString DecodeLyricsText(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.sliced(3));
    if (bytes.startsWith("\xFF\xFE"))
        return Utf16(bytes, QStringDecoder::Utf16LE);
    if (bytes.startsWith("\xFE\xFF"))
        return Utf16(bytes, QStringDecoder::Utf16BE);
    return DecodeLegacyText(bytes);
}
