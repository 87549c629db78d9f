#include "lyrics/OnlineLyricsCache.h"

#include "lyrics/LrcText.h"
#include "lyrics/LrcWriting.h"
#include "platform/win/Logging.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>
#include <vector>

namespace {

// The file holds the lyrics and a little about each; one far larger than
// the lyrics allowed is not ours.
constexpr qint64 LargestFile = 2 * OnlineLyricsCache::MostBytes;
// What an entry, or a record offered in one, costs beyond its texts.
constexpr qint64 EntryOverhead = 128;

const QString KindNames[] = {QStringLiteral("found"), QStringLiteral("miss"), QStringLiteral("choice"),
                             QStringLiteral("offered")};

QString QueryKey(const QString& address, const OnlineQuery& query)
{
    return QStringLiteral("ask\n%1\n%2\n%3\n%4").arg(address, query.title, query.artist).arg(query.lengthSeconds);
}

QString TrackKey(const std::string& trackPath)
{
    return QStringLiteral("track\n") + QString::fromLatin1(QByteArray::fromStdString(trackPath).toPercentEncoding("/"));
}

// Lyrics as kept: in the LRC form, or plain lines.
QJsonObject Packed(const Lyrics& lyrics)
{
    return {{"synced", lyrics.synced}, {"instrumental", lyrics.instrumental}, {"text", LrcText(lyrics, 0)}};
}

Lyrics Unpacked(const QJsonObject& packed)
{
    const QString text = packed.value(u"text").toString();
    Lyrics lyrics = packed.value(u"synced").toBool() ? ParseLrc(text) : PlainLyrics(text);
    lyrics.instrumental = packed.value(u"instrumental").toBool();
    return lyrics;
}

bool IsPacked(const QJsonValue& value)
{
    return value.toObject().value(u"text").isString();
}

QJsonObject PackedRecord(const OnlineRecord& record)
{
    QJsonObject packed = Packed(record.lyrics);
    packed.insert(u"title", record.title);
    packed.insert(u"singer", record.singer);
    packed.insert(u"album", record.album);
    packed.insert(u"length", record.lengthSeconds);
    return packed;
}

OnlineRecord UnpackedRecord(const QJsonObject& packed)
{
    return {packed.value(u"title").toString(), packed.value(u"singer").toString(), packed.value(u"album").toString(),
            packed.value(u"length").toDouble(), Unpacked(packed)};
}

// The UTF-8 bytes of an object's texts.
qint64 TextBytes(const QJsonObject& object)
{
    qint64 bytes = 0;
    for (const QJsonValue& value : object)
        bytes += value.toString().toUtf8().size();
    return bytes;
}

qint64 Cost(const QString& key, const QJsonObject& lyrics, const QJsonArray& offered)
{
    qint64 bytes = EntryOverhead + key.toUtf8().size() + TextBytes(lyrics);
    for (const QJsonValue& record : offered)
        bytes += EntryOverhead + TextBytes(record.toObject());
    return bytes;
}

}  // namespace

QString OnlineLyricsCache::DefaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
        + QStringLiteral("/kolviplayer/lrclib.json");
}

OnlineLyricsCache::OnlineLyricsCache(const QString& path) : path_(path.isEmpty() ? DefaultPath() : path)
{
    writer_.setMaxThreadCount(1);
    QFile file(path_);
    if (!QFileInfo(path_).isFile() || file.size() > LargestFile || !file.open(QIODevice::ReadOnly))
        return;
    const QJsonArray entries = QJsonDocument::fromJson(file.read(LargestFile)).object().value(u"entries").toArray();
    for (const QJsonValue& value : entries) {
        const QJsonObject object = value.toObject();
        const QString key = object.value(u"key").toString();
        const auto kind = std::find(std::begin(KindNames), std::end(KindNames), object.value(u"kind").toString());
        if (key.isEmpty() || kind == std::end(KindNames) || entries_.contains(key) || !object.value(u"stored").isDouble()
            || !object.value(u"used").isDouble())
            continue;
        Entry entry;
        entry.kind = static_cast<Kind>(kind - std::begin(KindNames));
        if (entry.kind == Kind::Found || entry.kind == Kind::Choice) {
            if (!IsPacked(object))
                continue;
            entry.lyrics = {{"synced", object.value(u"synced").toBool()},
                            {"instrumental", object.value(u"instrumental").toBool()},
                            {"text", object.value(u"text")}};
        }
        if (entry.kind == Kind::Offered) {
            entry.offered = object.value(u"offered").toArray();
            if (entry.offered.isEmpty() || !std::all_of(entry.offered.begin(), entry.offered.end(), IsPacked))
                continue;
        }
        entry.stored = static_cast<qint64>(object.value(u"stored").toDouble());
        entry.used = static_cast<qint64>(object.value(u"used").toDouble());
        entry.bytes = Cost(key, entry.lyrics, entry.offered);
        if (entry.bytes > MostEntryBytes)
            continue;
        bytes_ += entry.bytes;
        entries_.insert(key, std::move(entry));
    }
    Trim();
}

OnlineLyricsCache::~OnlineLyricsCache()
{
    writer_.waitForDone();
}

std::optional<OnlineLyricsCache::Kept> OnlineLyricsCache::Find(const QString& address, const OnlineQuery& query,
                                                               qint64 now)
{
    const auto entry = entries_.find(QueryKey(address, query));
    if (entry == entries_.end() || entry->kind == Kind::Choice)
        return std::nullopt;
    // A clock set back counts as a day gone by too.
    const bool dayOld = now < entry->stored || now - entry->stored >= DayKeptSeconds;
    if (entry->kind != Kind::Found && dayOld)
        return std::nullopt;
    entry->used = now;
    Kept kept;
    if (entry->kind == Kind::Found)
        kept.lyrics = Unpacked(entry->lyrics);
    for (const QJsonValue& record : std::as_const(entry->offered))
        kept.offered.push_back(UnpackedRecord(record.toObject()));
    return kept;
}

std::optional<Lyrics> OnlineLyricsCache::Choice(const std::string& trackPath, qint64 now)
{
    const auto entry = entries_.find(TrackKey(trackPath));
    if (entry == entries_.end() || entry->kind != Kind::Choice)
        return std::nullopt;
    entry->used = now;
    return Unpacked(entry->lyrics);
}

void OnlineLyricsCache::KeepFound(const QString& address, const OnlineQuery& query, const Lyrics& lyrics, qint64 now)
{
    Keep(QueryKey(address, query), Entry{Kind::Found, Packed(lyrics), {}}, now);
}

void OnlineLyricsCache::KeepMiss(const QString& address, const OnlineQuery& query, qint64 now)
{
    Keep(QueryKey(address, query), Entry{Kind::Miss, {}, {}}, now);
}

void OnlineLyricsCache::KeepOffered(const QString& address, const OnlineQuery& query,
                                    const std::vector<OnlineRecord>& offered, qint64 now)
{
    QJsonArray packed;
    for (const OnlineRecord& record : offered)
        packed.append(PackedRecord(record));
    Keep(QueryKey(address, query), Entry{Kind::Offered, {}, packed}, now);
}

void OnlineLyricsCache::KeepChoice(const std::string& trackPath, const Lyrics& lyrics, qint64 now)
{
    Keep(TrackKey(trackPath), Entry{Kind::Choice, Packed(lyrics), {}}, now);
}

void OnlineLyricsCache::Keep(const QString& key, Entry entry, qint64 now)
{
    entry.stored = now;
    entry.used = now;
    entry.bytes = Cost(key, entry.lyrics, entry.offered);
    if (const auto old = entries_.find(key); old != entries_.end()) {
        bytes_ -= old->bytes;
        entries_.erase(old);
    }
    if (entry.bytes > MostEntryBytes)
        return;
    bytes_ += entry.bytes;
    entries_.insert(key, std::move(entry));
    Trim();
    Save();
}

void OnlineLyricsCache::Trim()
{
    if (bytes_ <= MostBytes)
        return;
    const QList<QString> keys = entries_.keys();
    std::vector<QString> order(keys.begin(), keys.end());
    // Picks last, then the entries used longest ago first.
    std::sort(order.begin(), order.end(), [this](const QString& a, const QString& b) {
        const Entry& x = *entries_.constFind(a);
        const Entry& y = *entries_.constFind(b);
        const bool xChoice = x.kind == Kind::Choice;
        const bool yChoice = y.kind == Kind::Choice;
        return xChoice != yChoice ? yChoice : x.used < y.used;
    });
    for (const QString& key : order) {
        if (bytes_ <= MostBytes)
            break;
        bytes_ -= entries_.take(key).bytes;
    }
}

void OnlineLyricsCache::Save()
{
    QJsonArray entries;
    for (auto entry = entries_.cbegin(); entry != entries_.cend(); ++entry) {
        QJsonObject object{{"key", entry.key()},
                           {"kind", KindNames[static_cast<int>(entry->kind)]},
                           {"stored", static_cast<double>(entry->stored)},
                           {"used", static_cast<double>(entry->used)}};
        // The lyrics' own fields beside the entry's.
        for (auto field = entry->lyrics.begin(); field != entry->lyrics.end(); ++field)
            object.insert(field.key(), field.value());
        if (!entry->offered.isEmpty())
            object.insert(u"offered", entry->offered);
        entries.append(object);
    }
    const QByteArray bytes = QJsonDocument(QJsonObject{{"entries", entries}}).toJson(QJsonDocument::Compact);
    // Written whole or not at all, off the interface thread: a slow disk
    // holds nothing up, and a run ended half-way leaves the old file.
    writer_.start([path = path_, bytes] {
        QSaveFile file(path);
        if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !file.open(QIODevice::WriteOnly)
            || file.write(bytes) != bytes.size() || !file.commit())
            qCWarning(lyricsLog) << "the lyrics cache" << path << "was not written:" << file.errorString();
    });
}
