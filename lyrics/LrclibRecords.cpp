#include "lyrics/LrclibRecords.h"

#include "lyrics/LrcText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

namespace {

std::optional<Lyrics> RecordLyrics(const QJsonObject& record)
{
    const QString synced = record.value(u"syncedLyrics").toString();
    if (!synced.trimmed().isEmpty()) {
        Lyrics lyrics = ParseLrc(synced);
        if (!lyrics.lines.empty())
            return lyrics;
    }
    const QString plain = record.value(u"plainLyrics").toString();
    if (!plain.trimmed().isEmpty())
        return PlainLyrics(plain);
    if (record.value(u"instrumental").toBool()) {
        Lyrics none;
        none.instrumental = true;
        return none;
    }
    return std::nullopt;
}

bool LengthFits(const QJsonObject& record, int lengthSeconds)
{
    return lengthSeconds <= 0 || std::abs(record.value(u"duration").toDouble() - lengthSeconds) <= 2.0;
}

}  // namespace

std::optional<Lyrics> LyricsOfRecord(const QByteArray& body)
{
    const QJsonDocument document = QJsonDocument::fromJson(body);
    return document.isObject() ? RecordLyrics(document.object()) : std::nullopt;
}

std::optional<Lyrics> LyricsOfSearch(const QByteArray& body, int lengthSeconds)
{
    const QJsonDocument document = QJsonDocument::fromJson(body);
    std::optional<Lyrics> fitting;
    std::optional<Lyrics> first;
    for (const QJsonValue& value : document.array()) {
        const QJsonObject record = value.toObject();
        std::optional<Lyrics> lyrics = RecordLyrics(record);
        if (!lyrics)
            continue;
        if (LengthFits(record, lengthSeconds)) {
            if (lyrics->synced)
                return lyrics;
            if (!fitting)
                fitting = std::move(lyrics);
        } else if (!first) {
            first = std::move(lyrics);
        }
    }
    return fitting ? fitting : first;
}
