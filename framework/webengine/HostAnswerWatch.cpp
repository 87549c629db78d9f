#include "framework/webengine/HostAnswerWatch.h"

#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <utility>

namespace {

// The engine's code for a load it gave up because another one replaced it.
constexpr int Aborted = -3;

// From the request to the moment the engine turns to the host: the engine
// may still be starting (seconds on a busy machine), which is no fault of
// the host's.
constexpr int EngineStartLimitMs = 30000;

bool SameAddress(const QUrl& a, const QUrl& b)
{
    const auto form = QUrl::NormalizePathSegments | QUrl::StripTrailingSlash;
    return a.adjusted(form) == b.adjusted(form);
}

}  // namespace

HostAnswerWatch::HostAnswerWatch(int limitMs, std::function<void(const QUrl&)> unavailable,
                                 std::function<void()> answered)
    : unavailable_(std::move(unavailable)), answered_(std::move(answered)), limitMs_(limitMs)
{
    limit_.setSingleShot(true);
    connect(&limit_, &QTimer::timeout, this, &HostAnswerWatch::TimeUp);
}

void HostAnswerWatch::Watch(QWebEnginePage* page)
{
    Forget();
    if (page_)
        page_->disconnect(this);
    page_ = page;
    connect(page, &QWebEnginePage::loadingChanged, this, &HostAnswerWatch::LoadingChanged);
    connect(page, &QWebEnginePage::urlChanged, this, &HostAnswerWatch::UrlChanged);
}

void HostAnswerWatch::Expect(const QUrl& address)
{
    Forget();
    expected_ = address;
    limit_.start(EngineStartLimitMs);
}

void HostAnswerWatch::Forget()
{
    expected_ = QUrl();
    hostAsked_ = false;
    arrived_ = QUrl();
    limit_.stop();
}

void HostAnswerWatch::UrlChanged(const QUrl& url)
{
    // The view takes a page's address once its host has answered (the
    // engine shows no address a page's own refresh goes to before that).
    if (hostAsked_)
        arrived_ = url;
}

void HostAnswerWatch::LoadingChanged(const QWebEngineLoadingInfo& info)
{
    if (expected_.isEmpty())
        return;
    if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) {
        if (SameAddress(info.url(), expected_) && !hostAsked_) {
            hostAsked_ = true;
            limit_.start(limitMs_);
        }
        return;
    }
    const bool ours = SameAddress(info.url(), expected_) || (!arrived_.isEmpty() && SameAddress(info.url(), arrived_));
    if (!hostAsked_ || !ours)
        return;
    if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus) {
        if (info.errorCode() != Aborted)
            Unavailable();
    } else if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus) {
        if (info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain && info.errorCode() >= 400)
            Unavailable();
        else
            Answered();
    }
}

void HostAnswerWatch::TimeUp()
{
    // A host whose page has arrived but still loads its pictures keeps its time.
    if (!arrived_.isEmpty())
        Answered();
    else if (!expected_.isEmpty())
        Unavailable();
}

void HostAnswerWatch::Answered()
{
    Forget();
    answered_();
}

void HostAnswerWatch::Unavailable()
{
    const QUrl address = expected_;
    Forget();
    unavailable_(address);
}
