// The entry point of the module that holds the readers needing TagLib and
// Qt Network (see LyricsReaders.h).
#include "Id3v2Lyrics.h"
#include "LrclibClient.h"
#include "LyricsReaders.h"

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
