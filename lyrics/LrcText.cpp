#include "lyrics/LrcText.h"

#include <algorithm>
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
            for (std::int64_t ms : stamps)
                timed.push_back(LyricLine{ms, words});
        } else if (!header) {
            untimed.push_back(LyricLine{0, line.toString().trimmed()});
        }
    });

    Lyrics lyrics;
    if (timed.empty()) {
        lyrics.lines = std::move(untimed);
        TrimEmptyEnds(lyrics.lines);
        return lyrics;
    }
    for (LyricLine& line : timed)
        line.startMs = std::max<std::int64_t>(0, line.startMs - offsetMs);
    std::stable_sort(timed.begin(), timed.end(),
                     [](const LyricLine& a, const LyricLine& b) { return a.startMs < b.startMs; });
    lyrics.lines = std::move(timed);
    lyrics.synced = true;
    return lyrics;
}

Lyrics PlainLyrics(QStringView text)
{
    Lyrics lyrics;
    ForEachLine(text, [&](QStringView line) { lyrics.lines.push_back(LyricLine{0, line.toString().trimmed()}); });
    TrimEmptyEnds(lyrics.lines);
    return lyrics;
}
