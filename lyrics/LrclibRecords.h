#pragma once
// LRCLIB's track records ("syncedLyrics", "plainLyrics", "instrumental",
// "duration") turned into lyrics.
#include "lyrics/Lyrics.h"

#include <QByteArray>
#include <optional>

// The body of "/api/get": one record. Nothing when it holds no words and
// is not marked instrumental.
std::optional<Lyrics> LyricsOfRecord(const QByteArray& body);

// The body of "/api/search": a list of records. The first one with words
// whose length is within two seconds of lengthSeconds (when that is known),
// else the first one with words; synchronised lyrics preferred among them.
std::optional<Lyrics> LyricsOfSearch(const QByteArray& body, int lengthSeconds);
