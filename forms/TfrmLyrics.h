#pragma once
// The lyrics viewer: a second top-level window, created hidden at start-up
// and living until the program ends. Each time it is shown it opens the
// lyrics service's index page; the main window hands it the track to show.
// Its layout is resources/frmLyrics.dfm.
#include "framework/Forms.h"
#include "forms/LyricsStandIn.h"
#include "framework/WebBrowser.h"

#include <string>

class TfrmLyrics : public TForm {
    Q_OBJECT
public:
    TCppWebBrowser* Browser;
    // Shows the program's own page when the lyrics host's cannot be had.
    LyricsStandIn* StandIn;

    explicit TfrmLyrics(QObject* Owner);

    // Opens an address given in the locale's 8-bit encoding.
    void NavigateTo(const std::string& Address);
    // Opens the lyrics page of the MP3 file at Path (its full path).
    void ShowTrackLyrics(const std::string& Path);
    // Before the window is shown for the MP3 file at Path: its own lyrics
    // are read while the window and its web engine come up.
    void PrepareTrackLyrics(const std::string& Path);

Q_SIGNALS:
    // The user asked to hear the track from ms (a line of its lyrics clicked).
    void PlaybackSeekAsked(qint64 ms);

public Q_SLOTS:
    void FormShow(QObject* Sender);
};

extern TfrmLyrics* frmLyrics;
