#pragma once
// What the lyrics window shows when the lyrics host's page cannot be had: a
// page of the program's own. For the index page a short note; for a track
// its lyrics from the first place that has them (the lyrics the listener
// picked for it, a file beside it, its ID3v2 tag, the LRCLIB database or
// its answers kept from before), else a page saying what was looked for and
// where. When LRCLIB has no lyrics of the track's length, or the listener
// asks, its records are offered to pick from. Only the window's latest
// request is ever answered: a page for an earlier one, from the engine or
// from LRCLIB, is dropped.
#include "lyrics/LyricsPages.h"
#include "lyrics/OnlineLyrics.h"
#include "lyrics/OnlineLyricsCache.h"
#include "lyrics/TrackLyricsSearch.h"
#include "forms/SungLineFollower.h"
#include "forms/LyricsListenerKeys.h"

#include <QObject>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class TCppWebBrowser;

class LyricsStandIn : public QObject {
    Q_OBJECT
public:
    // Follows the requests of browser, which fills window.
    LyricsStandIn(TCppWebBrowser* browser, QWidget* window);

    // Said before the window is shown for the track at trackPath: its own
    // lyrics are looked for while the web engine starts, and shown once
    // TrackAsked names the same track.
    void TrackComing(const std::string& trackPath);
    // Said just before the window asks the browser for the index page, or
    // for the lyrics page of the track at trackPath.
    void IndexAsked();
    void TrackAsked(const std::string& trackPath);

    // Called with the moment of a line of synchronised lyrics the user
    // clicked: where playback is to go, in milliseconds.
    void OnSeekAsked(std::function<void(qint64 ms)> handler) { seekAsked_ = std::move(handler); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The chosen online database (LyricsDatabases.h), asked when nothing
    // else has the lyrics; made anew when the choice changed. nullptr when
    // none is chosen or it cannot be made.
    OnlineLyrics* Online();
    void Requested(const QUrl& address);
    void HostFailed(const QUrl& address);
    void LocalFound(const TrackLyricsFindings& findings);
    void ShowLocalFindings();
    void ShowTrackStandIn();
    OnlineLyricsCache& Cache();
    // The lyrics the listener picked for the latest track, if any.
    std::optional<FoundLyrics> Chosen();
    void AskOnline(OnlineLyrics& online, const OnlineQuery& query);
    void OnlineAnswered(int ticket, const OnlineAnswer& answer);
    void ChooseAsked();
    // In place of the host's page, or in front of it while it comes.
    enum class Showing { Instead, Meanwhile };
    void ShowLyrics(const FoundLyrics& found, Showing showing = Showing::Instead);
    // The database's records the answer to query offers the listener to pick from.
    void OfferChoices(const OnlineQuery& query, std::vector<OnlineRecord> choices);
    void ShowNotFound(const QString& onlineOutcome);
    void StopWork();
    void StopLocalSearch();
    void StopPageWork();
    void LinkClicked(const QString& target);
    void SaveShown();
    QString OnlinePlace() const;

    TCppWebBrowser* browser_;
    QWidget* window_;
    std::unique_ptr<OnlineLyrics> online_;
    std::string onlineChoice_;  // what online_ was made from
    SungLineFollower follower_;
    LyricsListenerKeys keys_;
    TrackLyricsSearch localSearch_;
    std::optional<TrackLyricsFindings> local_;  // of the latest track request, once read
    std::string comingTrack_;  // looked for before the window asked for it
    bool hostFailed_ = false;                   // for the latest request
    std::string trackPath_;  // of the latest request; empty for the index page
    QUrl requested_;         // the address of the latest request
    TrackNames names_;
    QStringList placesLooked_;
    int onlineTicket_ = 0;  // the question asked for the latest request
    OnlineQuery asked_;     // that question
    std::vector<OnlineRecord> choices_;  // offered on the page of the latest request
    std::optional<OnlineLyricsCache> cache_;  // read on first need
    std::optional<FoundLyrics> shown_;  // the lyrics on the page of the latest request
    std::function<void(qint64)> seekAsked_;
};
