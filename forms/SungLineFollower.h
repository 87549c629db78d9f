#pragma once
// Keeps the line being sung highlighted on a page of synchronised lyrics.
// It reads the media device's position itself, and only while the lyrics
// window is visible and the page's track plays: it wakes when the next line
// is due, and at most RecheckMs later in any case, to see seeks and pauses.
// While the pointer is busy over the page the lines light where they are,
// and the page catches up with the sung line once it has been still for
// AimingMs.
#include "forms/PointerActivity.h"
#include "lyrics/Lyrics.h"

#include <QObject>
#include <QTimer>
#include <string>
#include <vector>

class TCppWebBrowser;

class SungLineFollower : public QObject {
public:
    static constexpr int RecheckMs = 200;
    static constexpr int AimingMs = 1500;

    explicit SungLineFollower(TCppWebBrowser* browser);

    // The browser now shows synced lyrics of the track at trackPath.
    void Follow(const Lyrics& lyrics, const std::string& trackPath);
    void Stop();
    // The lyrics come offsetMs sooner than their stamps say (later when negative).
    void SetOffsetMs(int offsetMs);

private:
    void Check();

    TCppWebBrowser* browser_;
    PointerActivity pointer_;
    QTimer timer_;
    Lyrics lyrics_;
    std::string trackPath_;
    LineGroup shownGroup_;
    std::vector<int> shownWords_;
    bool scrollOwed_ = false;  // the shown group is not yet brought into view
    int offsetMs_ = 0;
    qint64 lastPositionMs_ = -1;
};
