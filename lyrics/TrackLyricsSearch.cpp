#include "lyrics/TrackLyricsSearch.h"

#include "lyrics/LyricsReaders.h"
#include "lyrics/SidecarLyrics.h"

#include <utility>

TrackLyricsFindings FindTrackLyrics(const std::string& trackPath, const LyricsReaders* readers)
{
    TrackLyricsFindings findings;
    findings.beside = ReadSidecarLyrics(trackPath, findings.namesLooked);
    if (readers != nullptr)
        findings.id3v2 = readers->readId3v2Facts(trackPath);
    findings.titles = ReadTrackTitles(trackPath, readers != nullptr ? readers->parseId3v2Titles : nullptr);
    return findings;
}

TrackLyricsSearch::TrackLyricsSearch(QObject* parent) : QObject(parent)
{
    // A second worker lets the next track's search start while a slow one
    // for an earlier track still reads.
    workers_.setMaxThreadCount(2);
    workers_.setExpiryTimeout(1000);
}

TrackLyricsSearch::~TrackLyricsSearch()
{
    Cancel();
    workers_.clear();
    workers_.waitForDone();
}

void TrackLyricsSearch::Start(const std::string& trackPath, Answered answered)
{
    const int ticket = ++latest_;
    answered_ = std::move(answered);
    // The module is loaded here, on the asking thread, not on a worker.
    const LyricsReaders* readers = LoadedLyricsReaders();
    workers_.start([this, ticket, trackPath, readers] {
        // A question overtaken while it waited for a worker is not worth reading for.
        if (latest_.load() != ticket)
            return;
        auto findings = std::make_shared<TrackLyricsFindings>(FindTrackLyrics(trackPath, readers));
        QMetaObject::invokeMethod(this, [this, ticket, findings] { Deliver(ticket, findings); }, Qt::QueuedConnection);
    });
}

void TrackLyricsSearch::Cancel()
{
    ++latest_;
    answered_ = nullptr;
}

void TrackLyricsSearch::Deliver(int ticket, const std::shared_ptr<TrackLyricsFindings>& findings)
{
    if (ticket != latest_.load() || !answered_)
        return;
    // The handler may start the next search.
    Answered answered = std::exchange(answered_, nullptr);
    answered(*findings);
}
