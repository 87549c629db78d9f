#pragma once
// Lyrics written out as a UTF-8 ".lrc" file beside their track: synced
// lyrics with their stamps (and word stamps), others as plain lines.
#include "lyrics/Lyrics.h"

#include <QString>
#include <string>

// The text of the file; offsetMs: how much sooner the listener has the
// lines come than their stamps say, written into the stamps.
QString LrcText(const Lyrics& lyrics, std::int64_t offsetMs);

// Writes text beside the track at trackPath (bytes in the locale's
// encoding) under its name with ".lrc", never over a file already there.
// Answers what the user is told, in Korean.
QString SaveLrcBeside(const std::string& trackPath, const QString& text);
