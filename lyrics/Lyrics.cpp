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
    const auto next = static_cast<std::size_t>(line) + 1;
    if (!lyrics.synced || next >= lyrics.lines.size())
        return -1;
    return std::max<std::int64_t>(0, lyrics.lines[next].startMs - positionMs);
}

LineGroup GroupOf(const Lyrics& lyrics, int line)
{
    if (line < 0 || static_cast<std::size_t>(line) >= lyrics.lines.size())
        return {};
    const std::int64_t startMs = lyrics.lines[static_cast<std::size_t>(line)].startMs;
    const auto less = [](const LyricLine& a, const LyricLine& b) { return a.startMs < b.startMs; };
    const auto [from, to] = std::equal_range(lyrics.lines.begin(), lyrics.lines.end(), LyricLine{startMs, {}, {}}, less);
    return {static_cast<int>(from - lyrics.lines.begin()), static_cast<int>(to - lyrics.lines.begin()) - 1};
}

std::vector<int> WordsSung(const Lyrics& lyrics, LineGroup group, std::int64_t positionMs)
{
    std::vector<int> sung;
    for (int line = std::max(group.first, 0); line <= group.last; ++line) {
        const auto& words = lyrics.lines[static_cast<std::size_t>(line)].words;
        const auto after = std::upper_bound(words.begin(), words.end(), positionMs,
                                            [](std::int64_t position, const LyricWord& word) { return position < word.startMs; });
        sung.push_back(static_cast<int>(after - words.begin()));
    }
    return sung;
}

std::int64_t MsUntilNextWord(const Lyrics& lyrics, LineGroup group, std::int64_t positionMs)
{
    std::int64_t soonest = -1;
    for (int line = std::max(group.first, 0); line <= group.last; ++line)
        for (const LyricWord& word : lyrics.lines[static_cast<std::size_t>(line)].words)
            if (word.startMs > positionMs) {
                if (soonest < 0 || word.startMs - positionMs < soonest)
                    soonest = word.startMs - positionMs;
                break;
            }
    return soonest;
}
