#pragma once
// The title and singer the lyrics of a track are looked for by, away from
// the lyrics service: the ID3v2 tag's, else the ID3v1 tag's (read as the
// lyrics address reads it), else the file name as the lyrics address takes
// it, with no singer.
#include "lyrics/Id3v2Lyrics.h"
#include "lyrics/LyricsPages.h"

#include <string>

TrackNames LyricsSearchNames(const std::string& trackPath, const Id3v2Facts& id3v2);

// Bytes in the locale's encoding as text.
QString FromAnsi(const std::string& text);
