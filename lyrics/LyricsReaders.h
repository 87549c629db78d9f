#pragma once
// The readers that need libraries of their own, TagLib for ID3v2 tags and
// Qt Network for LRCLIB, live in a module that is loaded when lyrics are
// first looked for: a player that never does pays nothing for them.
#include "lyrics/Id3v2Lyrics.h"
#include "lyrics/OnlineLyrics.h"
#include "tags/TrackTitles.h"

#include <QByteArray>
#include <memory>
#include <string>

struct LyricsReaders {
    Id3v2Facts (*readId3v2Facts)(const std::string& trackPath);
    std::unique_ptr<OnlineLyrics> (*makeOnlineLyrics)(const QString& baseAddress, const QByteArray& userAgent);
    Id3v2TitleParser parseId3v2Titles;
};

// Loads the module on the first call; nullptr when it cannot be loaded.
const LyricsReaders* LoadedLyricsReaders();

// The track's titles, its ID3v2 tag read through the module when it loads.
TrackTitles ReadTrackTitles(const std::string& trackPath);

// The module's one entry point, found by this name.
using LyricsReadersFunction = const LyricsReaders* (*)();
inline constexpr char LyricsReadersName[] = "KolviLyricsReaders";
