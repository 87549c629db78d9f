#pragma once
// Looks for a track's own lyrics (files beside it, its ID3v2 tag) on a
// worker thread: a huge tag or lyrics file never stalls the window. Only
// the latest question is answered, on the thread that asked it; an answer
// for an earlier track is dropped.
#include "lyrics/Id3v2Lyrics.h"
#include "tags/TrackTitles.h"

#include <QObject>
#include <QStringList>
#include <QThreadPool>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>

struct LyricsReaders;

struct TrackLyricsFindings {
    Id3v2Facts id3v2;
    std::optional<FoundLyrics> beside;
    QStringList namesLooked;  // the files beside the track looked for
    TrackTitles titles;       // what the track is called, looked for by
};

// What the search does on its worker; readers may be nullptr (no TagLib module).
TrackLyricsFindings FindTrackLyrics(const std::string& trackPath, const LyricsReaders* readers);

class TrackLyricsSearch : public QObject {
public:
    using Answered = std::function<void(const TrackLyricsFindings& findings)>;

    explicit TrackLyricsSearch(QObject* parent = nullptr);
    ~TrackLyricsSearch() override;

    // Starts looking for the lyrics of trackPath; answered is called later
    // unless Cancel or the next Start comes first.
    void Start(const std::string& trackPath, Answered answered);
    void Cancel();

private:
    void Deliver(int ticket, const std::shared_ptr<TrackLyricsFindings>& findings);

    std::atomic<int> latest_{0};
    Answered answered_;
    // Last, so that it is ended, waiting for a read under way, before the rest.
    QThreadPool workers_;
};
