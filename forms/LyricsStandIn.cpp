#include "forms/LyricsStandIn.h"

#include "resources/BuildSettings.h"
#include "lyrics/LyricsDatabases.h"
#include "lyrics/LyricsReaders.h"
#include "lyrics/SidecarLyrics.h"
#include "framework/WebBrowser.h"

#include <QEvent>

LyricsStandIn::LyricsStandIn(TCppWebBrowser* browser, QWidget* window)
    : QObject(window), browser_(browser), window_(window), follower_(browser)
{
    connect(browser_, &TCppWebBrowser::NavigateRequested, this, &LyricsStandIn::Requested);
    connect(browser_, &TCppWebBrowser::NavigateFailed, this, &LyricsStandIn::HostFailed);
    window_->installEventFilter(this);
}

OnlineLyrics* LyricsStandIn::Online()
{
    std::string choice = LyricsDatabases().chosen();
    if (!online_ || choice != onlineChoice_) {
        online_ = LyricsDatabases().open(QByteArrayLiteral("KolviPlayer/1.0 (+http://" KOLVI_HOME_HOST ")"));
        onlineChoice_ = std::move(choice);
        if (online_)
            online_->OnAnswer([this](int ticket, const OnlineAnswer& answer) { OnlineAnswered(ticket, answer); });
    }
    return online_.get();
}

void LyricsStandIn::IndexAsked()
{
    StopWork();
    trackPath_.clear();
}

void LyricsStandIn::TrackAsked(const std::string& trackPath)
{
    StopWork();
    trackPath_ = trackPath;
}

void LyricsStandIn::Requested(const QUrl& address)
{
    requested_ = address;
}

bool LyricsStandIn::eventFilter(QObject* watched, QEvent* event)
{
    // A hidden window's page is ended; the next show asks for pages anew.
    if (watched == window_ && event->type() == QEvent::Hide)
        StopWork();
    return QObject::eventFilter(watched, event);
}

void LyricsStandIn::StopWork()
{
    if (online_)
        online_->Cancel();
    onlineTicket_ = 0;
    follower_.Stop();
}

void LyricsStandIn::HostFailed(const QUrl& address)
{
    if (address != requested_ || !window_->isVisible())
        return;
    if (trackPath_.empty())
        browser_->ShowOwnPage(IndexPageHtml());
    else
        ShowTrackStandIn();
}

void LyricsStandIn::ShowTrackStandIn()
{
    placesLooked_ = QStringList{QStringLiteral("가사 서비스 %1: 페이지를 열 수 없음").arg(requested_.host())};
    const LyricsReaders* readers = LoadedLyricsReaders();
    const Id3v2Facts id3v2 = readers != nullptr ? readers->readId3v2Facts(trackPath_) : Id3v2Facts();
    const TrackTitles titles = ReadTrackTitles(trackPath_);
    names_ = TrackNames{titles.title, titles.artist};

    QStringList fileNames;
    const std::optional<FoundLyrics> beside = ReadSidecarLyrics(trackPath_, fileNames);
    if (beside) {
        ShowLyrics(*beside);
        return;
    }
    placesLooked_.append(QStringLiteral("노래 파일 옆의 가사 파일: %1").arg(fileNames.join(QStringLiteral(", "))));
    if (id3v2.lyrics) {
        ShowLyrics(*id3v2.lyrics);
        return;
    }
    placesLooked_.append(QStringLiteral("노래 파일의 ID3v2 태그 (SYLT, USLT)"));
    OnlineLyrics* online = Online();
    if (online == nullptr || online->BaseAddress().isEmpty()) {
        ShowNotFound(QStringLiteral("이 프로그램에서 꺼져 있음"));
        return;
    }
    browser_->ShowOwnPage(SearchingPageHtml(names_, placesLooked_));
    onlineTicket_ = online->Ask(OnlineQuery{names_.title, names_.singer, id3v2.lengthSeconds});
}

void LyricsStandIn::OnlineAnswered(int ticket, const OnlineAnswer& answer)
{
    if (ticket != onlineTicket_ || !window_->isVisible())
        return;
    onlineTicket_ = 0;
    switch (answer.outcome) {
    case OnlineAnswer::Found:
        ShowLyrics(FoundLyrics{*answer.lyrics, OnlinePlace()});
        return;
    case OnlineAnswer::NotFound:
        ShowNotFound(QStringLiteral("이 노래의 가사가 없음"));
        return;
    case OnlineAnswer::NoAnswer:
        ShowNotFound(QStringLiteral("%1초 안에 답이 없음").arg(OnlineLyrics::AnswerLimitMs / 1000));
        return;
    case OnlineAnswer::Unreachable:
        ShowNotFound(QStringLiteral("연결할 수 없음"));
        return;
    case OnlineAnswer::Off:
        ShowNotFound(QStringLiteral("물어보지 않음"));
        return;
    }
}

QString LyricsStandIn::OnlinePlace() const
{
    const QString address = online_ ? online_->BaseAddress() : QString();
    return address.isEmpty() ? QStringLiteral("온라인 가사 데이터베이스 LRCLIB")
                             : QStringLiteral("온라인 가사 데이터베이스 LRCLIB (%1)").arg(address);
}

void LyricsStandIn::ShowLyrics(const FoundLyrics& found)
{
    browser_->ShowOwnPage(LyricsPageHtml(names_, found));
    if (found.lyrics.synced)
        follower_.Follow(found.lyrics, trackPath_);
}

void LyricsStandIn::ShowNotFound(const QString& onlineOutcome)
{
    placesLooked_.append(OnlinePlace() + QStringLiteral(": ") + onlineOutcome);
    browser_->ShowOwnPage(NotFoundPageHtml(names_, placesLooked_));
}
