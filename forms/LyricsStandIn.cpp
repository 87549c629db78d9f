#include "forms/LyricsStandIn.h"

#include "resources/BuildSettings.h"
#include "lyrics/LyricsDatabases.h"
#include "lyrics/LyricsReaders.h"
#include "framework/WebBrowser.h"
#include "framework/WebEngineView.h"
#include "lyrics/LrcWriting.h"

#include <QDateTime>
#include <QEvent>

namespace {

// A line's link on the lyrics page: what a click on it tells the window.
const QString LineLinks = QStringLiteral("http://%1/line/").arg(QLatin1String(OwnLinkHost));
// A record's link on the page of records to pick from.
const QString ChoiceLinks = QStringLiteral("http://%1/choose/").arg(QLatin1String(OwnLinkHost));

qint64 Now() { return QDateTime::currentSecsSinceEpoch(); }

// The number after prefix in target, -1 for none.
qsizetype NumberAfter(const QString& target, QStringView prefix)
{
    bool isNumber = false;
    const qsizetype number = target.startsWith(prefix) ? target.sliced(prefix.size()).toLongLong(&isNumber) : -1;
    return isNumber ? number : -1;
}

}  // namespace

LyricsStandIn::LyricsStandIn(TCppWebBrowser* browser, QWidget* window)
    : QObject(window), browser_(browser), window_(window), follower_(browser),
      keys_(window, browser, [this](int offsetMs) { follower_.SetOffsetMs(offsetMs); }, [this] { SaveShown(); },
            [this] { ChooseAsked(); })
{
    connect(browser_, &TCppWebBrowser::NavigateRequested, this, &LyricsStandIn::Requested);
    connect(browser_, &TCppWebBrowser::NavigateFailed, this, &LyricsStandIn::HostFailed);
    connect(browser_, &TCppWebBrowser::OwnLinkClicked, this, &LyricsStandIn::LinkClicked);
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

OnlineLyricsCache& LyricsStandIn::Cache()
{
    if (!cache_)
        cache_.emplace();
    return *cache_;
}

std::optional<FoundLyrics> LyricsStandIn::Chosen()
{
    std::optional<Lyrics> chosen = Cache().Choice(trackPath_, Now());
    if (!chosen)
        return std::nullopt;
    return FoundLyrics{std::move(*chosen), OnlinePlace() + QStringLiteral(" - 직접 고른 가사")};
}

void LyricsStandIn::TrackComing(const std::string& trackPath)
{
    StopWork();
    comingTrack_ = trackPath;
    localSearch_.Start(trackPath, [this](const TrackLyricsFindings& findings) { LocalFound(findings); });
}

void LyricsStandIn::IndexAsked()
{
    StopPageWork();
    if (comingTrack_.empty())
        StopLocalSearch();
    trackPath_.clear();
}

void LyricsStandIn::TrackAsked(const std::string& trackPath)
{
    StopPageWork();
    trackPath_ = trackPath;
    if (trackPath == comingTrack_) {
        comingTrack_.clear();
        if (local_)
            ShowLocalFindings();
        return;
    }
    StopLocalSearch();
    localSearch_.Start(trackPath, [this](const TrackLyricsFindings& findings) { LocalFound(findings); });
}

void LyricsStandIn::LocalFound(const TrackLyricsFindings& findings)
{
    local_ = findings;
    // Read before the window asked for the track's page: shown once it has.
    if (!trackPath_.empty())
        ShowLocalFindings();
}

void LyricsStandIn::ShowLocalFindings()
{
    names_ = TrackNames{local_->titles.title, local_->titles.artist};
    if (hostFailed_) {
        ShowTrackStandIn();
        return;
    }
    // The track's own lyrics at once, in front of the host's page while it
    // comes; if it does not, they are the stand-in anyway.
    std::optional<FoundLyrics> own = Chosen();
    if (!own)
        own = local_->beside ? local_->beside : local_->id3v2.lyrics;
    if (own)
        ShowLyrics(*own, Showing::Meanwhile);
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
    StopLocalSearch();
    StopPageWork();
}

void LyricsStandIn::StopLocalSearch()
{
    localSearch_.Cancel();
    local_.reset();
    comingTrack_.clear();
}

void LyricsStandIn::StopPageWork()
{
    shown_.reset();
    hostFailed_ = false;
    if (online_)
        online_->Cancel();
    onlineTicket_ = 0;
    choices_.clear();
    placesLooked_.clear();
    follower_.Stop();
    keys_.FollowTrack(std::string());
}

void LyricsStandIn::HostFailed(const QUrl& address)
{
    if (address != requested_ || !window_->isVisible())
        return;
    hostFailed_ = true;
    if (trackPath_.empty())
        browser_->ShowOwnPage(IndexPageHtml());
    else if (local_)
        ShowTrackStandIn();
    // else: once the track's own lyrics have been read
}

void LyricsStandIn::ShowTrackStandIn()
{
    placesLooked_ = QStringList{QStringLiteral("가사 서비스 %1: 페이지를 열 수 없음").arg(requested_.host())};
    const Id3v2Facts& id3v2 = local_->id3v2;

    if (std::optional<FoundLyrics> chosen = Chosen()) {
        ShowLyrics(*chosen);
        return;
    }
    if (local_->beside) {
        ShowLyrics(*local_->beside);
        return;
    }
    placesLooked_.append(
        QStringLiteral("노래 파일 옆의 가사 파일: %1").arg(local_->namesLooked.join(QStringLiteral(", "))));
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
    const OnlineQuery query{names_.title, names_.singer, id3v2.lengthSeconds};
    if (auto kept = Cache().Find(online->BaseAddress(), query, Now())) {
        if (kept->lyrics) {
            ShowLyrics(FoundLyrics{*kept->lyrics, OnlinePlace()});
        } else if (!kept->offered.empty()) {
            OfferChoices(query, std::move(kept->offered));
        } else {
            ShowNotFound(QStringLiteral("이 노래의 가사가 없음 (24시간 안에 찾아본 결과, Ctrl+F로 다시 찾기)"));
        }
        return;
    }
    AskOnline(*online, query);
}

void LyricsStandIn::AskOnline(OnlineLyrics& online, const OnlineQuery& query)
{
    browser_->ShowOwnPage(SearchingPageHtml(names_, placesLooked_));
    asked_ = query;
    onlineTicket_ = online.Ask(query);
}

void LyricsStandIn::OnlineAnswered(int ticket, const OnlineAnswer& answer)
{
    if (ticket != onlineTicket_ || !window_->isVisible())
        return;
    onlineTicket_ = 0;
    switch (answer.outcome) {
    case OnlineAnswer::Found:
        if (!asked_.everyRecord)
            Cache().KeepFound(online_->BaseAddress(), asked_, *answer.lyrics, Now());
        ShowLyrics(FoundLyrics{*answer.lyrics, OnlinePlace()});
        return;
    case OnlineAnswer::Choices:
        if (!asked_.everyRecord)
            Cache().KeepOffered(online_->BaseAddress(), asked_, answer.choices, Now());
        OfferChoices(asked_, answer.choices);
        return;
    case OnlineAnswer::NotFound:
        if (!asked_.everyRecord)
            Cache().KeepMiss(online_->BaseAddress(), asked_, Now());
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

void LyricsStandIn::ShowLyrics(const FoundLyrics& found, Showing showing)
{
    shown_ = found;
    const QString html = LyricsPageHtml(names_, found, LineLinks);
    if (showing == Showing::Meanwhile)
        browser_->ShowOwnPageMeanwhile(html);
    else
        browser_->ShowOwnPage(html);
    if (found.lyrics.synced) {
        follower_.SetOffsetMs(keys_.FollowTrack(trackPath_));
        follower_.Follow(found.lyrics, trackPath_);
    }
}

void LyricsStandIn::OfferChoices(const OnlineQuery& query, std::vector<OnlineRecord> choices)
{
    choices_ = std::move(choices);
    browser_->ShowOwnPage(ChoicesPageHtml(names_, query.lengthSeconds, choices_, ChoiceLinks, query.everyRecord));
}

void LyricsStandIn::ShowNotFound(const QString& onlineOutcome)
{
    placesLooked_.append(OnlinePlace() + QStringLiteral(": ") + onlineOutcome);
    browser_->ShowOwnPage(NotFoundPageHtml(names_, placesLooked_));
}

void LyricsStandIn::ChooseAsked()
{
    OnlineLyrics* online = Online();
    if (trackPath_.empty()) {
        keys_.Say(QStringLiteral("노래를 재생하면 가사를 고를 수 있습니다"));
        return;
    }
    if (!local_) {
        keys_.Say(QStringLiteral("노래 정보를 읽고 있습니다. 잠시 뒤에 다시 골라 주세요"));
        return;
    }
    if (online == nullptr || online->BaseAddress().isEmpty()) {
        keys_.Say(QStringLiteral("온라인 가사 데이터베이스가 꺼져 있어 고를 수 없습니다"));
        return;
    }
    shown_.reset();
    choices_.clear();
    follower_.Stop();
    keys_.FollowTrack(std::string());
    OnlineQuery query{names_.title, names_.singer, local_->id3v2.lengthSeconds};
    query.everyRecord = true;
    AskOnline(*online, query);
}

void LyricsStandIn::LinkClicked(const QString& target)
{
    if (const qsizetype choice = NumberAfter(target, u"choose/"); choice >= 0) {
        if (static_cast<std::size_t>(choice) >= choices_.size())
            return;
        const Lyrics chosen = choices_[static_cast<std::size_t>(choice)].lyrics;
        choices_.clear();
        Cache().KeepChoice(trackPath_, chosen, Now());
        ShowLyrics(*Chosen());
        return;
    }
    const qsizetype line = NumberAfter(target, u"line/");
    if (!shown_ || !shown_->lyrics.synced || line < 0 || static_cast<std::size_t>(line) >= shown_->lyrics.lines.size()
        || !seekAsked_)
        return;
    // Where the line shows, with the listener's shift.
    const std::int64_t startMs = shown_->lyrics.lines[static_cast<std::size_t>(line)].startMs;
    seekAsked_(std::max<std::int64_t>(0, startMs - keys_.FollowTrack(trackPath_)));
}

void LyricsStandIn::SaveShown()
{
    if (!shown_ || trackPath_.empty()) {
        keys_.Say(QStringLiteral("저장할 가사가 없습니다"));
        return;
    }
    const int offsetMs = shown_->lyrics.synced ? keys_.FollowTrack(trackPath_) : 0;
    keys_.Say(SaveLrcBeside(trackPath_, LrcText(shown_->lyrics, offsetMs)));
}
