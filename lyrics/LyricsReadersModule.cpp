// The entry point of the module that holds the readers needing TagLib and
// Qt Network (see LyricsReaders.h).
#include "lyrics/Id3v2Lyrics.h"
#include "lyrics/LrclibClient.h"
#include "lyrics/LyricsReaders.h"

namespace {

std::unique_ptr<OnlineLyrics> MakeLrclibClient(const QString& baseAddress, const QByteArray& userAgent)
{
    return std::make_unique<LrclibClient>(baseAddress, userAgent);
}

}  // namespace

extern "C" Q_DECL_EXPORT const LyricsReaders* KolviLyricsReaders()
{
    static const LyricsReaders readers{&ReadId3v2Facts, &MakeLrclibClient};
    return &readers;
}
