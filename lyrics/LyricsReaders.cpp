#include "lyrics/LyricsReaders.h"

#include "platform/win/Modules.h"

const LyricsReaders* LoadedLyricsReaders()
{
    static const LyricsReaders* const readers = []() -> const LyricsReaders* {
        const auto entry = reinterpret_cast<LyricsReadersFunction>(
            loadModuleEntry(QStringLiteral(KOLVI_LYRICS_MODULE), LyricsReadersName).entry);
        return entry != nullptr ? entry() : nullptr;
    }();
    return readers;
}

TrackTitles ReadTrackTitles(const std::string& trackPath)
{
    const LyricsReaders* readers = LoadedLyricsReaders();
    return ReadTrackTitles(trackPath, readers != nullptr ? readers->parseId3v2Titles : nullptr);
}
