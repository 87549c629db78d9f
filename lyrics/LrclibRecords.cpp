#include "lyrics/LrclibRecords.h"

#include "lyrics/LrcText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

namespace {

constexpr double LongestSeconds = 24 * 3600;

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

// A record without a length of its own is taken as of any length.
bool LengthFits(double recordSeconds, int lengthSeconds)
{
    return lengthSeconds <= 0 || !std::isfinite(recordSeconds) || recordSeconds <= 0
        || std::abs(recordSeconds - lengthSeconds) <= LengthToleranceSeconds;
}

}  // namespace

std::optional<Lyrics> LyricsOfRecord(const QByteArray& body, int lengthSeconds)
{
    const QJsonDocument document = QJsonDocument::fromJson(body);
    if (!document.isObject() || !LengthFits(document.object().value(u"duration").toDouble(), lengthSeconds))
        return std::nullopt;
    return RecordLyrics(document.object());
}

std::vector<OnlineRecord> RecordsOfSearch(const QByteArray& body)
{
    const QJsonDocument document = QJsonDocument::fromJson(body);
    std::vector<OnlineRecord> records;
    for (const QJsonValue& value : document.array()) {
        const QJsonObject record = value.toObject();
        std::optional<Lyrics> lyrics = RecordLyrics(record);
        if (!lyrics)
            continue;
        // A length no song has counts as unknown.
        double seconds = record.value(u"duration").toDouble();
        if (!std::isfinite(seconds) || seconds < 0 || seconds > LongestSeconds)
            seconds = 0;
        records.push_back(OnlineRecord{record.value(u"trackName").toString(), record.value(u"artistName").toString(),
                                       record.value(u"albumName").toString(), seconds, std::move(*lyrics)});
        if (records.size() == MostRecords)
            break;
    }
    return records;
}

int FittingRecord(const std::vector<OnlineRecord>& records, int lengthSeconds)
{
    int fitting = -1;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (!LengthFits(records[i].lengthSeconds, lengthSeconds))
            continue;
        if (records[i].lyrics.synced)
            return static_cast<int>(i);
        if (fitting < 0)
            fitting = static_cast<int>(i);
    }
    return fitting;
}
