#pragma once
// The program's own pages in the lyrics window, in Korean. Each is one
// self-contained document: no script, nothing loaded from anywhere (its
// Content-Security-Policy forbids it), every text from a file, a tag or the
// network escaped so that it shows as text.
#include "lyrics/Lyrics.h"
#include "lyrics/OnlineLyrics.h"

#include <QString>
#include <QStringList>

struct TrackNames {
    QString title;
    QString singer;  // may be empty
};

// Shown when nothing plays: the lyrics of the playing song appear here.
QString IndexPageHtml();
// While the online database is asked; placesLooked: where the lyrics were not.
QString SearchingPageHtml(const TrackNames& names, const QStringList& placesLooked);
// The lyrics, line i with the element id "l<i>"; each line of synchronised
// lyrics a link to lineLinks followed by i, when lineLinks is given.
QString LyricsPageHtml(const TrackNames& names, const FoundLyrics& found, const QString& lineLinks = QString());
// The online database's records for the listener to pick from: each row's
// title, singer, album, length and whether it is synchronised, a link to
// choiceLinks followed by its index. lengthSeconds: the track's (0 when
// unknown); listenerAsked: the listener asked for them, else none had the
// track's length.
QString ChoicesPageHtml(const TrackNames& names, int lengthSeconds, const std::vector<OnlineRecord>& choices,
                        const QString& choiceLinks, bool listenerAsked);
// No lyrics anywhere: what was looked for and where.
QString NotFoundPageHtml(const TrackNames& names, const QStringList& placesLooked);

// A script for a lyrics page (run in a world of its own beside the page's)
// that marks the lines of `group` as the ones being sung and scrolls them
// into view (their start, when they are taller than the window).
// wordsSung: for each line of the group, how many of its words show as
// sung; scroll: bring the group into view.
QString HighlightScript(LineGroup group, const std::vector<int>& wordsSung = {}, bool scroll = true);
// The id of a line's element; HighlightScript marks it with the class "now".
QString LineElementId(int line);

// text with & < > " ' as character references and control characters
// other than tab left out.
QString EscapeHtml(QStringView text);
