#pragma once
// The online database's answers kept in the user's cache folder
// ($XDG_CACHE_HOME/kolviplayer/lrclib.json), so that a track looked up
// before shows its lyrics with no request: lyrics found, "none" for a day,
// and the lyrics the listener picked for a track. At most MostBytes of
// lyrics: the entries used longest ago go first, picks last. A damaged,
// oversized or unreadable file counts as empty; one that cannot be written
// loses nothing but the answers of this run for the next. The file is read
// when the cache is made (it is small) and written on a worker thread.
#include "lyrics/OnlineLyrics.h"

#include <QHash>
#include <QString>
#include <QThreadPool>
#include <optional>
#include <string>

class OnlineLyricsCache {
public:
    static constexpr qint64 MostBytes = 2 << 20;
    // Larger lyrics are shown but not kept.
    static constexpr qint64 MostEntryBytes = 256 << 10;
    static constexpr qint64 MissKeptSeconds = 24 * 3600;

    // Reads the file at path; the default path when path is empty.
    explicit OnlineLyricsCache(const QString& path = QString());
    // Waits for the file being written.
    ~OnlineLyricsCache();
    OnlineLyricsCache(const OnlineLyricsCache&) = delete;
    OnlineLyricsCache& operator=(const OnlineLyricsCache&) = delete;

    static QString DefaultPath();

    // What the database at address answered to query: lyrics, or nullopt
    // lyrics for "none" (kept a day). Nothing when it was not asked, or
    // asked too long ago. now: seconds since the epoch.
    struct Kept {
        std::optional<Lyrics> lyrics;
    };
    std::optional<Kept> Find(const QString& address, const OnlineQuery& query, qint64 now);
    void KeepFound(const QString& address, const OnlineQuery& query, const Lyrics& lyrics, qint64 now);
    void KeepMiss(const QString& address, const OnlineQuery& query, qint64 now);

    // The lyrics the listener picked for the track at trackPath (bytes in
    // the locale's encoding).
    std::optional<Lyrics> Choice(const std::string& trackPath, qint64 now);
    void KeepChoice(const std::string& trackPath, const Lyrics& lyrics, qint64 now);

private:
    enum class Kind { Found, Miss, Choice };
    struct Entry {
        Kind kind = Kind::Found;
        bool synced = false;
        bool instrumental = false;
        QString text;  // the lyrics in the LRC form, or plain lines
        qint64 stored = 0;
        qint64 used = 0;
        qint64 bytes = 0;  // what it counts against MostBytes
    };

    void Keep(const QString& key, Kind kind, const Lyrics* lyrics, qint64 now);
    // The entries used longest ago dropped until the rest fit.
    void Trim();
    void Save();

    QString path_;
    QHash<QString, Entry> entries_;
    qint64 bytes_ = 0;
    QThreadPool writer_;  // one thread: the files are written in turn, the last one stays
};
