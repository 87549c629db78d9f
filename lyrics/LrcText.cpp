#include "lyrics/LrcText.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <optional>

namespace {

// Calls lineFound(line) for each line; "\r\n", "\n" and "\r" all end one.
template <typename LineFound>
void ForEachLine(QStringView text, LineFound lineFound)
{
    qsizetype start = 0;
    for (qsizetype at = 0; at < text.size(); ++at) {
        const QChar c = text[at];
        if (c != u'\n' && c != u'\r')
            continue;
        lineFound(text.sliced(start, at - start));
        if (c == u'\r' && at + 1 < text.size() && text[at + 1] == u'\n')
            ++at;
        start = at + 1;
    }
    if (start < text.size())
        lineFound(text.sliced(start));
}

bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Reads at most maxDigits digits at text[at]; answers their value, or
// nothing when there is not at least one.
std::optional<std::int64_t> Digits(QStringView text, qsizetype& at, int maxDigits, int* count = nullptr)
{
    std::int64_t value = 0;
    int read = 0;
    while (at < text.size() && read < maxDigits && IsDigit(text[at])) {
        value = value * 10 + (text[at].unicode() - u'0');
        ++at;
        ++read;
    }
    if (count != nullptr)
        *count = read;
    return read > 0 ? std::optional(value) : std::nullopt;
}

// "mm:ss", "mm:ss.f", "mm:ss.ff", "mm:ss.fff" or "mm:ss:ff", in milliseconds.
std::optional<std::int64_t> TimeTag(QStringView tag)
{
    qsizetype at = 0;
    const auto minutes = Digits(tag, at, 5);
    if (!minutes || at >= tag.size() || tag[at] != u':')
        return std::nullopt;
    ++at;
    const auto seconds = Digits(tag, at, 2);
    if (!seconds)
        return std::nullopt;
    std::int64_t ms = (*minutes * 60 + *seconds) * 1000;
    if (at < tag.size() && (tag[at] == u'.' || tag[at] == u':')) {
        ++at;
        int count = 0;
        const auto fraction = Digits(tag, at, 3, &count);
        if (!fraction)
            return std::nullopt;
        ms += *fraction * (count == 1 ? 100 : count == 2 ? 10 : 1);
    }
    return at == tag.size() ? std::optional(ms) : std::nullopt;
}

// A header tag "key:value" whose key is letters only ("ar", "ti", "offset").
bool IsHeaderTag(QStringView tag, QStringView* key, QStringView* value)
{
    const qsizetype colon = tag.indexOf(u':');
    if (colon <= 0)
        return false;
    for (QChar c : tag.first(colon))
        if (!((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')))
            return false;
    *key = tag.first(colon);
    *value = tag.sliced(colon + 1).trimmed();
    return true;
}

std::optional<std::int64_t> OffsetValue(QStringView value)
{
    qsizetype at = 0;
    const bool negative = !value.isEmpty() && value[0] == u'-';
    if (!value.isEmpty() && (value[0] == u'-' || value[0] == u'+'))
        ++at;
    const auto ms = Digits(value, at, 9);
    if (!ms || at != value.size())
        return std::nullopt;
    return negative ? -*ms : *ms;
}

constexpr qsizetype MaxWordStamp = 12;  // "99999:59.999"

// The words of a line without the word stamps of extended LRC ("<00:12.34>").
QString WithoutWordStamps(QStringView words)
{
    QString kept;
    kept.reserve(words.size());
    for (qsizetype at = 0; at < words.size();) {
        if (words[at] == u'<') {
            // A stamp is short: looking further would make "<<<<" slow.
            const QStringView ahead = words.sliced(at + 1, std::min<qsizetype>(MaxWordStamp + 1, words.size() - at - 1));
            const qsizetype close = ahead.indexOf(u'>');
            if (close >= 0 && TimeTag(ahead.first(close))) {
                at += close + 2;
                continue;
            }
        }
        kept.append(words[at]);
        ++at;
    }
    return kept.trimmed();
}

// The words of a line split at its word stamps, each with its stamp (-1
// for words before the first stamp).
std::vector<LyricWord> StampedWords(QStringView words)
{
    std::vector<LyricWord> found;
    std::int64_t stamp = -1;
    QString text;
    const auto keep = [&] {
        if (!text.isEmpty() || stamp >= 0)
            found.push_back(LyricWord{stamp, text});
        text.clear();
    };
    bool stamped = false;
    for (qsizetype at = 0; at < words.size();) {
        if (words[at] == u'<') {
            const QStringView ahead = words.sliced(at + 1, std::min<qsizetype>(MaxWordStamp + 1, words.size() - at - 1));
            const qsizetype close = ahead.indexOf(u'>');
            if (close >= 0)
                if (const auto ms = TimeTag(ahead.first(close))) {
                    keep();
                    stamp = *ms;
                    stamped = true;
                    at += close + 2;
                    continue;
                }
        }
        text.append(words[at]);
        ++at;
    }
    keep();
    if (!stamped)
        return {};
    // Spaces around the line are not shown; an empty word shows nothing.
    if (!found.empty()) {
        found.front().text = found.front().text.trimmed().isEmpty() ? QString() : found.front().text;
        while (!found.front().text.isEmpty() && found.front().text.front().isSpace())
            found.front().text.remove(0, 1);
        while (!found.back().text.isEmpty() && found.back().text.back().isSpace())
            found.back().text.chop(1);
    }
    std::erase_if(found, [](const LyricWord& word) { return word.text.isEmpty(); });
    return found;
}

// Word stamps in order, none before its line's start nor after the next
// line's: a word stamped out of order starts with the word before it, one
// stamped beyond its line when the next line starts.
void SettleWords(std::vector<LyricLine>& lines)
{
    std::size_t groupEnd = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (groupEnd <= i)
            for (groupEnd = i + 1; groupEnd < lines.size() && lines[groupEnd].startMs == lines[i].startMs;)
                ++groupEnd;
        const std::int64_t limit = groupEnd < lines.size() ? lines[groupEnd].startMs : INT64_MAX;
        std::int64_t previous = lines[i].startMs;
        for (LyricWord& word : lines[i].words) {
            word.startMs = word.startMs < 0 ? previous : std::clamp(word.startMs, previous, std::max(previous, limit));
            previous = word.startMs;
        }
    }
}

void TrimEmptyEnds(std::vector<LyricLine>& lines)
{
    while (!lines.empty() && lines.back().text.trimmed().isEmpty())
        lines.pop_back();
    const auto firstWords =
        std::find_if(lines.begin(), lines.end(), [](const LyricLine& line) { return !line.text.trimmed().isEmpty(); });
    lines.erase(lines.begin(), firstWords);
}

}  // namespace

Lyrics ParseLrc(QStringView text)
{
    std::vector<LyricLine> timed;
    std::vector<LyricLine> untimed;
    std::int64_t offsetMs = 0;
    std::vector<std::int64_t> stamps;
    ForEachLine(text, [&](QStringView line) {
        stamps.clear();
        qsizetype at = 0;
        bool header = false;
        while (at < line.size() && line[at] == u'[') {
            const qsizetype close = line.indexOf(u']', at + 1);
            if (close < 0)
                break;
            const QStringView tag = line.sliced(at + 1, close - at - 1);
            if (const auto ms = TimeTag(tag)) {
                stamps.push_back(*ms);
                at = close + 1;
                continue;
            }
            QStringView key;
            QStringView value;
            if (stamps.empty() && IsHeaderTag(tag, &key, &value) && line.sliced(close + 1).trimmed().isEmpty()) {
                header = true;
                if (key.compare(u"offset", Qt::CaseInsensitive) == 0)
                    offsetMs = OffsetValue(value).value_or(offsetMs);
            }
            break;
        }
        if (!stamps.empty()) {
            const QString words = WithoutWordStamps(line.sliced(at));
            const std::vector<LyricWord> stamped = StampedWords(line.sliced(at));
            for (std::int64_t ms : stamps) {
                // Word stamps tell the moments of the first line stamp; a
                // line sung again has its words as far from its start.
                std::vector<LyricWord> moved = stamped;
                for (LyricWord& word : moved)
                    if (word.startMs >= 0)
                        word.startMs = std::max<std::int64_t>(0, word.startMs - stamps.front() + ms);
                timed.push_back(LyricLine{ms, words, std::move(moved)});
            }
        } else if (!header) {
            untimed.push_back(LyricLine{0, line.toString().trimmed(), {}});
        }
    });

    Lyrics lyrics;
    if (timed.empty()) {
        lyrics.lines = std::move(untimed);
        TrimEmptyEnds(lyrics.lines);
        return lyrics;
    }
    for (LyricLine& line : timed) {
        line.startMs = std::max<std::int64_t>(0, line.startMs - offsetMs);
        for (LyricWord& word : line.words)
            if (word.startMs >= 0)
                word.startMs = std::max<std::int64_t>(0, word.startMs - offsetMs);
    }
    std::stable_sort(timed.begin(), timed.end(),
                     [](const LyricLine& a, const LyricLine& b) { return a.startMs < b.startMs; });
    SettleWords(timed);
    lyrics.lines = std::move(timed);
    lyrics.synced = true;
    return lyrics;
}

Lyrics PlainLyrics(QStringView text)
{
    Lyrics lyrics;
    ForEachLine(text, [&](QStringView line) { lyrics.lines.push_back(LyricLine{0, line.toString().trimmed(), {}}); });
    TrimEmptyEnds(lyrics.lines);
    return lyrics;
}
