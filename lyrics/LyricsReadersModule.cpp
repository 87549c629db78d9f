// The entry point of the module that holds the readers needing TagLib and
// Qt Network (see LyricsReaders.h).
#include "lyrics/Id3v2Lyrics.h"
#include "lyrics/LrclibClient.h"
#include "lyrics/LyricsReaders.h"
#include "tags/Id3v2Titles.h"
#include "tags/Latin1Frames.h"

namespace {

std::unique_ptr<OnlineLyrics> MakeLrclibClient(const QString& baseAddress, const QByteArray& userAgent)
{
    return std::make_unique<LrclibClient>(baseAddress, userAgent);
}

}  // namespace

extern "C" Q_DECL_EXPORT const LyricsReaders* KolviLyricsReaders()
{
    static const LyricsReaders* const readers = [] {
        ReadLatin1FramesAsLegacyText();
        static const LyricsReaders entries{&ReadId3v2Facts, &MakeLrclibClient, &ParseId3v2Titles};
        return &entries;
    }();
    return readers;
}
