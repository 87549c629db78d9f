#pragma once
// The lyrics of one song as the lyrics window shows them: lines of text,
// each with the moment it is sung when the lyrics are synchronised.
#include <QString>
#include <cstdint>
#include <vector>

// A word of a word-timed line ("<00:12.40>날" in enhanced LRC).
struct LyricWord {
    std::int64_t startMs = 0;  // never before its line's nor its previous word's start
    QString text;
};

struct LyricLine {
    std::int64_t startMs = 0;  // from the start of the track; unused when not synchronised
    QString text;
    std::vector<LyricWord> words;  // the text word by word, when it is word-timed
};

struct Lyrics {
    std::vector<LyricLine> lines;  // in the order they are sung
    bool synced = false;           // every line has its moment
    bool instrumental = false;     // known to have no words at all
    bool cut = false;              // only the first part of a very long text
};

// The line being sung at positionMs: the last line that has started, or -1
// before the first one.
int LineAt(const Lyrics& lyrics, std::int64_t positionMs);

// The lines sung together with `line` (an original, its pronunciation and
// its translation under one stamp): those sharing its moment. -1, -1 for
// no line.
struct LineGroup {
    int first = -1;
    int last = -1;
    bool operator==(const LineGroup&) const = default;
};
LineGroup GroupOf(const Lyrics& lyrics, int line);

// How many words of each line of `group` have started at positionMs.
std::vector<int> WordsSung(const Lyrics& lyrics, LineGroup group, std::int64_t positionMs);
// Milliseconds from positionMs until the next word of `group` starts; -1
// when none is still to come.
std::int64_t MsUntilNextWord(const Lyrics& lyrics, LineGroup group, std::int64_t positionMs);

// Milliseconds from positionMs until the line after `line` starts; -1 when
// there is none.
std::int64_t MsUntilLineAfter(const Lyrics& lyrics, int line, std::int64_t positionMs);

// Lyrics and where they were found, in words for the user.
struct FoundLyrics {
    Lyrics lyrics;
    QString source;
};
