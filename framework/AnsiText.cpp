#include "framework/AnsiText.h"

#include "tags/LegacyText.h"

QString FromAnsi(std::string_view text)
{
    return DecodeLegacyText(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
}
