#pragma once
// Lyrics in a file beside the track: the track's name with ".lrc" (or
// ".LRC") instead of its extension, else with ".txt" (or ".TXT").
#include "lyrics/Lyrics.h"

#include <QStringList>
#include <optional>
#include <string>

// Files longer than this are read only this far.
constexpr qsizetype LyricsFileLimit = 1 << 20;

// trackPath: bytes in the locale's encoding. The names looked for (".lrc"
// and ".txt") are added to namesLooked. A file without any words counts as
// none.
std::optional<FoundLyrics> ReadSidecarLyrics(const std::string& trackPath, QStringList& namesLooked);
