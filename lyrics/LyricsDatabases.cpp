#include "lyrics/LyricsDatabases.h"

#include "lyrics/LyricsReaders.h"
#include "platform/win/Logging.h"
#include "resources/BuildSettings.h"

#include <QString>
#include <string_view>

namespace {

std::unique_ptr<OnlineLyrics> OpenLrclib(std::string_view address, const QByteArray& userAgent)
{
    const LyricsReaders* readers = LoadedLyricsReaders();
    if (readers == nullptr) {
        qCWarning(lyricsLog) << "no LRCLIB: the lyrics readers' module did not load";
        return nullptr;
    }
    if (address.empty())
        return nullptr;
    return readers->makeOnlineLyrics(QString::fromUtf8(address.data(), static_cast<qsizetype>(address.size())),
                                     userAgent);
}

}  // namespace

OnlineLyricsDatabases& LyricsDatabases()
{
    static const std::string_view BuildAddress = KOLVI_LRCLIB_URL;
    static OnlineLyricsDatabases instance({{"lrclib", &OpenLrclib}},
                                          BuildAddress.empty() ? std::string() : "lrclib:" + std::string(BuildAddress));
    return instance;
}
