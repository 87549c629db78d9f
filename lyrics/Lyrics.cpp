#include "lyrics/Lyrics.h"

#include <algorithm>

int LineAt(const Lyrics& lyrics, std::int64_t positionMs)
{
    if (!lyrics.synced)
        return -1;
    const auto after = std::upper_bound(lyrics.lines.begin(), lyrics.lines.end(), positionMs,
                                        [](std::int64_t position, const LyricLine& line) { return position < line.startMs; });
    return static_cast<int>(after - lyrics.lines.begin()) - 1;
}

std::int64_t MsUntilLineAfter(const Lyrics& lyrics, int line, std::int64_t positionMs)
{
    const auto next = static_cast<std::size_t>(line + 1);
    if (!lyrics.synced || next >= lyrics.lines.size())
        return -1;
    return std::max<std::int64_t>(0, lyrics.lines[next].startMs - positionMs);
}
