#include "forms/SungLineFollower.h"

#include "lyrics/LyricsPages.h"
#include "media/MPlayer.h"
#include "forms/TfrmKolviPlayer.h"
#include "framework/WebBrowser.h"

#include <algorithm>

namespace {

// The device's position moves in steps of a few milliseconds: waking
// sooner would only find the same line again.
constexpr int LeastWaitMs = 10;

}  // namespace

SungLineFollower::SungLineFollower(TCppWebBrowser* browser) : browser_(browser), pointer_(browser)
{
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &SungLineFollower::Check);
}

void SungLineFollower::Follow(const Lyrics& lyrics, const std::string& trackPath)
{
    lyrics_ = lyrics;
    trackPath_ = trackPath;
    shownGroup_ = LineGroup();
    shownWords_.clear();
    scrollOwed_ = false;
    lastPositionMs_ = -1;
    Check();
}

void SungLineFollower::SetOffsetMs(int offsetMs)
{
    offsetMs_ = offsetMs;
    if (lyrics_.synced) {
        lastPositionMs_ = -1;
        Check();
    }
}

void SungLineFollower::Stop()
{
    timer_.stop();
    lyrics_ = Lyrics();
}

void SungLineFollower::Check()
{
    TMediaPlayer* device = frmKolviPlayer != nullptr ? frmKolviPlayer->MP3 : nullptr;
    if (!lyrics_.synced || !browser_->isVisible() || device == nullptr || !frmKolviPlayer->IsPlaying
        || device->FileName() != trackPath_) {
        Stop();
        return;
    }
    const qint64 heardMs = device->Position();
    const qint64 positionMs = heardMs + offsetMs_;
    const int line = LineAt(lyrics_, positionMs);
    const LineGroup group = GroupOf(lyrics_, line);
    std::vector<int> words = WordsSung(lyrics_, group, positionMs);
    const bool scrollDue = group != shownGroup_ || scrollOwed_;
    const bool aiming = scrollDue && pointer_.BusyWithin(AimingMs);
    if (group != shownGroup_ || words != shownWords_ || (scrollOwed_ && !aiming)) {
        browser_->RunInOwnPage(HighlightScript(group, words, scrollDue && !aiming));
        shownGroup_ = group;
        shownWords_ = std::move(words);
    }
    scrollOwed_ = aiming;
    // A position that stands still (a pause) brings no line nearer.
    qint64 untilNext = heardMs == lastPositionMs_ ? -1 : MsUntilLineAfter(lyrics_, line, positionMs);
    const qint64 untilWord = heardMs == lastPositionMs_ ? -1 : MsUntilNextWord(lyrics_, group, positionMs);
    if (untilWord >= 0 && (untilNext < 0 || untilWord < untilNext))
        untilNext = untilWord;
    lastPositionMs_ = heardMs;
    timer_.start(untilNext < 0 ? RecheckMs : static_cast<int>(std::clamp<qint64>(untilNext, LeastWaitMs, RecheckMs)));
}
