#pragma once
// The online database's answers kept in the user's cache folder
// ($XDG_CACHE_HOME/kolviplayer/lrclib.json), so that a track looked up
// before shows its lyrics with no request: lyrics found, "none" and the
// records offered to pick from for a day (the database may yet get the
// track's lyrics), and the lyrics the listener picked for a track. At most
// MostBytes of lyrics: the entries used longest ago go first, picks last.
// A damaged, oversized or unreadable file counts as empty; one that cannot
// be written loses nothing but the answers of this run for the next. The
// file is read when the cache is made (it is small) and written on a
// worker thread.
#include "lyrics/OnlineLyrics.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QThreadPool>
#include <optional>
#include <string>
#include <vector>

class OnlineLyricsCache {
public:
    static constexpr qint64 MostBytes = 2 << 20;
    // Larger lyrics are shown but not kept.
    static constexpr qint64 MostEntryBytes = 256 << 10;
    static constexpr qint64 DayKeptSeconds = 24 * 3600;

    // Reads the file at path; the default path when path is empty.
    explicit OnlineLyricsCache(const QString& path = QString());
    // Waits for the file being written.
    ~OnlineLyricsCache();
    OnlineLyricsCache(const OnlineLyricsCache&) = delete;
    OnlineLyricsCache& operator=(const OnlineLyricsCache&) = delete;

    static QString DefaultPath();

    // What the database at address answered to query: lyrics, records to
    // pick from, or neither for "none". Nothing when it was not asked, or
    // asked too long ago. now: seconds since the epoch.
    struct Kept {
        std::optional<Lyrics> lyrics;
        std::vector<OnlineRecord> offered;
    };
    std::optional<Kept> Find(const QString& address, const OnlineQuery& query, qint64 now);
    void KeepFound(const QString& address, const OnlineQuery& query, const Lyrics& lyrics, qint64 now);
    void KeepMiss(const QString& address, const OnlineQuery& query, qint64 now);
    void KeepOffered(const QString& address, const OnlineQuery& query, const std::vector<OnlineRecord>& offered,
                     qint64 now);

    // The lyrics the listener picked for the track at trackPath (bytes in
    // the locale's encoding).
    std::optional<Lyrics> Choice(const std::string& trackPath, qint64 now);
    void KeepChoice(const std::string& trackPath, const Lyrics& lyrics, qint64 now);

private:
    enum class Kind { Found, Miss, Choice, Offered };
    struct Entry {
        Kind kind = Kind::Found;
        QJsonObject lyrics;  // with Found and Choice
        QJsonArray offered;  // with Offered
        qint64 stored = 0;
        qint64 used = 0;
        qint64 bytes = 0;  // what it counts against MostBytes
    };

    void Keep(const QString& key, Entry entry, qint64 now);
    // The entries used longest ago dropped until the rest fit.
    void Trim();
    void Save();

    QString path_;
    QHash<QString, Entry> entries_;
    qint64 bytes_ = 0;
    QThreadPool writer_;  // one thread: the files are written in turn, the last one stays
};
