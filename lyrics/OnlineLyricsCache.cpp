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
// What an entry costs beyond its text.
constexpr qint64 EntryOverhead = 128;

const QString KindNames[] = {QStringLiteral("found"), QStringLiteral("miss"), QStringLiteral("choice")};

QString QueryKey(const QString& address, const OnlineQuery& query)
{
    return QStringLiteral("ask\n%1\n%2\n%3\n%4").arg(address, query.title, query.artist).arg(query.lengthSeconds);
}

QString TrackKey(const std::string& trackPath)
{
    return QStringLiteral("track\n") + QString::fromLatin1(QByteArray::fromStdString(trackPath).toPercentEncoding("/"));
}

qint64 Cost(const QString& key, const QString& text)
{
    return EntryOverhead + key.toUtf8().size() + text.toUtf8().size();
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
        if (entry.kind != Kind::Miss && !object.value(u"text").isString())
            continue;
        entry.synced = object.value(u"synced").toBool();
        entry.instrumental = object.value(u"instrumental").toBool();
        entry.text = object.value(u"text").toString();
        entry.stored = static_cast<qint64>(object.value(u"stored").toDouble());
        entry.used = static_cast<qint64>(object.value(u"used").toDouble());
        entry.bytes = Cost(key, entry.text);
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
    if (entry->kind == Kind::Miss) {
        // A clock set back counts as a day gone by too.
        if (now < entry->stored || now - entry->stored >= MissKeptSeconds)
            return std::nullopt;
        return Kept{std::nullopt};
    }
    entry->used = now;
    Lyrics lyrics = entry->synced ? ParseLrc(entry->text) : PlainLyrics(entry->text);
    lyrics.instrumental = entry->instrumental;
    return Kept{std::move(lyrics)};
}

std::optional<Lyrics> OnlineLyricsCache::Choice(const std::string& trackPath, qint64 now)
{
    const auto entry = entries_.find(TrackKey(trackPath));
    if (entry == entries_.end() || entry->kind != Kind::Choice)
        return std::nullopt;
    entry->used = now;
    Lyrics lyrics = entry->synced ? ParseLrc(entry->text) : PlainLyrics(entry->text);
    lyrics.instrumental = entry->instrumental;
    return lyrics;
}

void OnlineLyricsCache::KeepFound(const QString& address, const OnlineQuery& query, const Lyrics& lyrics, qint64 now)
{
    Keep(QueryKey(address, query), Kind::Found, &lyrics, now);
}

void OnlineLyricsCache::KeepMiss(const QString& address, const OnlineQuery& query, qint64 now)
{
    Keep(QueryKey(address, query), Kind::Miss, nullptr, now);
}

void OnlineLyricsCache::KeepChoice(const std::string& trackPath, const Lyrics& lyrics, qint64 now)
{
    Keep(TrackKey(trackPath), Kind::Choice, &lyrics, now);
}

void OnlineLyricsCache::Keep(const QString& key, Kind kind, const Lyrics* lyrics, qint64 now)
{
    Entry entry;
    entry.kind = kind;
    if (lyrics != nullptr) {
        entry.synced = lyrics->synced;
        entry.instrumental = lyrics->instrumental;
        entry.text = LrcText(*lyrics, 0);
    }
    entry.stored = now;
    entry.used = now;
    entry.bytes = Cost(key, entry.text);
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
        if (entry->kind != Kind::Miss) {
            object.insert(u"synced", entry->synced);
            object.insert(u"instrumental", entry->instrumental);
            object.insert(u"text", entry->text);
        }
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
