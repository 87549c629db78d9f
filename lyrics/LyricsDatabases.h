#pragma once
// The online lyrics database the lyrics window asks, chosen by name
// (platform/BackEnds.h):
//   lrclib:ADDRESS   LRCLIB at that base address (LrclibClient.h), made by
//                    the readers' module (LyricsReaders.h)
// The choice is "lrclib:" and the build's LRCLIB address, or none (no
// database: the look-up is off) when the build gives no address.
#include "lyrics/OnlineLyrics.h"
#include "platform/BackEnds.h"

#include <QByteArray>
#include <memory>

// An opener gets the program's user agent for its requests.
using OnlineLyricsDatabases = BackEnds<std::unique_ptr<OnlineLyrics>, const QByteArray&>;

OnlineLyricsDatabases& LyricsDatabases();
