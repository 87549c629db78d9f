#pragma once
// Lyrics as (start, text) pairs, to compare with one expectation.
#include "lyrics/Lyrics.h"

#include <QString>
#include <cstdint>
#include <utility>
#include <vector>

using TimedLines = std::vector<std::pair<std::int64_t, QString>>;

inline TimedLines timedLines(const Lyrics& lyrics)
{
    TimedLines lines;
    for (const LyricLine& line : lyrics.lines)
        lines.emplace_back(line.startMs, line.text);
    return lines;
}
