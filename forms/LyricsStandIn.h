#pragma once
// What the lyrics window shows when the lyrics host's page cannot be had: a
// page of the program's own. For the index page a short note; for a track
// its lyrics from the first place that has them (a file beside the track,
// its ID3v2 tag, the LRCLIB database), else a page saying what was looked
// for and where. Only the window's latest request is ever answered: a page
// for an earlier one, from the engine or from LRCLIB, is dropped.
#include "lyrics/LyricsPages.h"
#include "lyrics/OnlineLyrics.h"
#include "forms/SungLineFollower.h"

#include <QObject>
#include <QUrl>
#include <memory>
#include <string>

class TCppWebBrowser;

class LyricsStandIn : public QObject {
    Q_OBJECT
public:
    // Follows the requests of browser, which fills window.
    LyricsStandIn(TCppWebBrowser* browser, QWidget* window);

    // Said just before the window asks the browser for the index page, or
    // for the lyrics page of the track at trackPath.
    void IndexAsked();
    void TrackAsked(const std::string& trackPath);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The chosen online database (LyricsDatabases.h), asked when nothing
    // else has the lyrics; made anew when the choice changed. nullptr when
    // none is chosen or it cannot be made.
    OnlineLyrics* Online();
    void Requested(const QUrl& address);
    void HostFailed(const QUrl& address);
    void ShowTrackStandIn();
    void OnlineAnswered(int ticket, const OnlineAnswer& answer);
    void ShowLyrics(const FoundLyrics& found);
    void ShowNotFound(const QString& onlineOutcome);
    void StopWork();
    QString OnlinePlace() const;

    TCppWebBrowser* browser_;
    QWidget* window_;
    std::unique_ptr<OnlineLyrics> online_;
    std::string onlineChoice_;  // what online_ was made from
    SungLineFollower follower_;
    std::string trackPath_;  // of the latest request; empty for the index page
    QUrl requested_;         // the address of the latest request
    TrackNames names_;
    QStringList placesLooked_;
    int onlineTicket_ = 0;  // the question asked for the latest request
};
