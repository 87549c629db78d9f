#include "lyrics/TextDecoding.h"

#include <QStringDecoder>
#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <langinfo.h>
#include <optional>
#include <string>

namespace {

class Converter {
public:
    explicit Converter(const char* from) : handle_(iconv_open("UTF-8", from)) {}
    ~Converter()
    {
        if (valid())
            iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return handle_; }

private:
    iconv_t handle_;
};

// The bytes in `encoding` as UTF-8; nothing when any byte does not fit.
std::optional<QString> Strictly(QByteArrayView bytes, const char* encoding)
{
    const Converter converter(encoding);
    if (!converter.valid())
        return std::nullopt;
    std::string out(static_cast<std::size_t>(bytes.size()) * 3 + 16, '\0');
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = static_cast<std::size_t>(bytes.size());
    std::size_t written = 0;
    while (inLeft > 0) {
        char* outAt = out.data() + written;
        std::size_t outLeft = out.size() - written;
        const std::size_t result = iconv(converter.get(), &in, &inLeft, &outAt, &outLeft);
        written = out.size() - outLeft;
        if (result != static_cast<std::size_t>(-1))
            break;
        if (errno != E2BIG)
            return std::nullopt;  // a byte sequence the encoding does not have, or one cut off
        out.resize(out.size() * 2);
    }
    return QString::fromUtf8(out.data(), static_cast<qsizetype>(written));
}

bool StartsWith(QByteArrayView bytes, const char* mark)
{
    return bytes.startsWith(QByteArrayView(mark));
}

QString Utf16(QByteArrayView bytes, QStringDecoder::Encoding encoding)
{
    QStringDecoder decoder(encoding, QStringDecoder::Flag::Default);
    return decoder.decode(bytes.sliced(2));
}

}  // namespace

QString DecodeLyricsText(QByteArrayView bytes)
{
    if (StartsWith(bytes, "\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.sliced(3));
    if (StartsWith(bytes, "\xFF\xFE"))
        return Utf16(bytes, QStringDecoder::Utf16LE);
    if (StartsWith(bytes, "\xFE\xFF"))
        return Utf16(bytes, QStringDecoder::Utf16BE);
    if (bytes.isValidUtf8())
        return QString::fromUtf8(bytes);
    const char* localeEncoding = nl_langinfo(CODESET);
    if (std::strcmp(localeEncoding, "UTF-8") != 0)
        if (auto text = Strictly(bytes, localeEncoding))
            return *text;
    if (auto text = Strictly(bytes, "CP949"))
        return *text;
    return QString::fromUtf8(bytes);
}
