#pragma once
// LRCLIB's track records ("syncedLyrics", "plainLyrics", "instrumental",
// "duration", "trackName", "artistName", "albumName") turned into lyrics.
#include "lyrics/OnlineLyrics.h"

#include <QByteArray>
#include <optional>
#include <vector>

// How far a record's length may be from the track's and still be its lyrics.
inline constexpr double LengthToleranceSeconds = 2.0;
// A search answers twenty records; more are not offered.
inline constexpr std::size_t MostRecords = 20;

// The body of "/api/get": one record. Nothing when it holds no words and
// is not marked instrumental, or when it gives a length other than
// lengthSeconds (when that is known).
std::optional<Lyrics> LyricsOfRecord(const QByteArray& body, int lengthSeconds);

// The body of "/api/search": its records with words (or marked
// instrumental), in its order, at most MostRecords.
std::vector<OnlineRecord> RecordsOfSearch(const QByteArray& body);

// The record of records for a track of lengthSeconds: the first
// synchronised one of that length, else the first of that length; any
// length fits when it is unknown (0). -1 when none fits.
int FittingRecord(const std::vector<OnlineRecord>& records, int lengthSeconds);
