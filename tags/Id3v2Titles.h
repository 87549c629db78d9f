#pragma once
// The titles of an ID3v2 tag held in memory, read with TagLib. Lives in the
// module that carries TagLib (lyrics/LyricsReaders.h), not in the player.
#include "tags/TrackTitles.h"

TrackTitles ParseId3v2Titles(const QByteArray& tag);
