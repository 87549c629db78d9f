#include "HostAnswerWatch.h"

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

HostAnswerWatch::HostAnswerWatch(int limitMs, std::function<void(const QUrl&)> unavailable)
    : unavailable_(std::move(unavailable)), limitMs_(limitMs)
{
    limit_.setSingleShot(true);
    connect(&limit_, &QTimer::timeout, this, &HostAnswerWatch::TimeUp);
}

void HostAnswerWatch::Watch(QWebEnginePage* page)
{
    Forget();
    disconnect(connection_);
    page_ = page;
    connection_ = connect(page, &QWebEnginePage::loadingChanged, this, &HostAnswerWatch::LoadingChanged);
}

void HostAnswerWatch::Expect(const QUrl& address)
{
    expected_ = address;
    limit_.start(EngineStartLimitMs);
}

void HostAnswerWatch::Forget()
{
    expected_ = QUrl();
    limit_.stop();
}

void HostAnswerWatch::LoadingChanged(const QWebEngineLoadingInfo& info)
{
    if (expected_.isEmpty() || !SameAddress(info.url(), expected_))
        return;
    switch (info.status()) {
    case QWebEngineLoadingInfo::LoadStartedStatus:
        limit_.start(limitMs_);  // the host is asked now
        break;
    case QWebEngineLoadingInfo::LoadFailedStatus:
        if (info.errorCode() != Aborted)
            Unavailable();
        break;
    case QWebEngineLoadingInfo::LoadSucceededStatus:
        if (info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain && info.errorCode() >= 400)
            Unavailable();
        else
            Forget();
        break;
    default:
        break;
    }
}

void HostAnswerWatch::TimeUp()
{
    if (expected_.isEmpty())
        return;
    // The page is taken into the view only once its host has answered (the
    // engine shows no address of a page the view's own page went to before
    // that); one that answered but still loads its pictures keeps its time.
    if (page_ && SameAddress(page_->url(), expected_))
        Forget();
    else
        Unavailable();
}

void HostAnswerWatch::Unavailable()
{
    const QUrl address = std::exchange(expected_, QUrl());
    limit_.stop();
    unavailable_(address);
}
