#include "lyrics/LrclibClient.h"

#include "lyrics/LrclibRecords.h"

#include <QDateTime>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <algorithm>

namespace {

// A record is a few kilobytes; a server that sends more is not LRCLIB.
constexpr qint64 LargestBody = 4 << 20;
// Redirects are followed only to the same scheme, host and port, and only a
// few: a loop ends quickly, and no other server's answer counts as LRCLIB's.
constexpr int RedirectsAllowed = 3;
// A busy or failing service is not asked again before it says (Retry-After),
// else before this; nor later than the longest.
constexpr qint64 DefaultBackOffSeconds = 30;
constexpr qint64 LongestBackOffSeconds = 3600;

bool ServiceBusy(int status) { return status == 429 || status >= 500; }

// Seconds to wait from Retry-After: a count of seconds or an HTTP date.
qint64 BackOffSeconds(const QNetworkReply& reply)
{
    const QByteArray retryAfter = reply.rawHeader("Retry-After").trimmed();
    bool isNumber = false;
    qint64 seconds = retryAfter.toLongLong(&isNumber);
    if (!isNumber) {
        const QDateTime when = QDateTime::fromString(QString::fromLatin1(retryAfter), Qt::RFC2822Date);
        seconds = when.isValid() ? QDateTime::currentDateTimeUtc().secsTo(when) : DefaultBackOffSeconds;
    }
    return std::clamp<qint64>(seconds, 1, LongestBackOffSeconds);
}

QString QueryText(const QList<std::pair<QString, QString>>& items)
{
    QString query;
    for (const auto& [key, value] : items) {
        if (!query.isEmpty())
            query += u'&';
        query += key + u'=' + QString::fromLatin1(QUrl::toPercentEncoding(value));
    }
    return query;
}

}  // namespace

LrclibClient::LrclibClient(const QString& baseAddress, const QByteArray& userAgent) : userAgent_(userAgent)
{
    SetBaseAddress(baseAddress);
    limit_.setSingleShot(true);
    limit_.setInterval(AnswerLimitMs);
    connect(&limit_, &QTimer::timeout, this, [this] { Finish(OnlineAnswer{OnlineAnswer::NoAnswer, {}, {}}); });
}

LrclibClient::~LrclibClient()
{
    Cancel();
}

void LrclibClient::SetBaseAddress(const QString& baseAddress)
{
    base_ = QUrl(baseAddress);
    if (base_.path().endsWith(u'/'))
        base_.setPath(base_.path().chopped(1));
}

int LrclibClient::Ask(const OnlineQuery& query)
{
    Cancel();
    const int ticket = ++lastTicket_;
    open_ = ticket;
    const bool off = !base_.isValid() || base_.isEmpty() || query.title.trimmed().isEmpty();
    if (off || !backOff_.hasExpired()) {
        const auto outcome = off ? OnlineAnswer::Off : OnlineAnswer::Unreachable;
        QMetaObject::invokeMethod(
            this, [this, ticket, outcome] {
                if (open_ == ticket)
                    Finish(OnlineAnswer{outcome, {}, {}});
            },
            Qt::QueuedConnection);
        return ticket;
    }
    if (!network_)
        network_ = std::make_unique<QNetworkAccessManager>();
    query_ = query;
    limit_.start();
    if (query_.artist.trimmed().isEmpty() || query_.everyRecord)
        Search();
    else
        Get();
    return ticket;
}

void LrclibClient::Cancel()
{
    open_ = 0;
    limit_.stop();
    if (QNetworkReply* reply = reply_.data()) {
        reply_ = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
}

void LrclibClient::Get()
{
    searching_ = false;
    QList<std::pair<QString, QString>> items{{"track_name", query_.title}, {"artist_name", query_.artist}};
    if (query_.lengthSeconds > 0)
        items.append({"duration", QString::number(query_.lengthSeconds)});
    Send("/api/get", items);
}

void LrclibClient::Search()
{
    searching_ = true;
    QList<std::pair<QString, QString>> items{{"track_name", query_.title}};
    if (!query_.artist.trimmed().isEmpty())
        items.append({"artist_name", query_.artist});
    Send("/api/search", items);
}

void LrclibClient::Send(const QString& path, const QList<std::pair<QString, QString>>& items)
{
    QUrl address = base_;
    address.setPath(base_.path() + path);
    address.setQuery(QueryText(items));
    QNetworkRequest request(address);
    request.setHeader(QNetworkRequest::UserAgentHeader, userAgent_);
    request.setRawHeader("Accept", "application/json");
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::SameOriginRedirectPolicy);
    request.setMaximumRedirectsAllowed(RedirectsAllowed);
    reply_ = network_->get(request);
    connect(reply_, &QNetworkReply::finished, this, &LrclibClient::Received);
    connect(reply_, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64) {
        if (received > LargestBody)
            Finish(OnlineAnswer{OnlineAnswer::Unreachable, {}, {}});
    });
}

void LrclibClient::Received()
{
    QNetworkReply* reply = reply_.data();
    if (reply == nullptr)
        return;
    reply_ = nullptr;
    reply->deleteLater();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QByteArray body = reply->read(LargestBody);
    if (ServiceBusy(status))
        backOff_ = QDeadlineTimer(BackOffSeconds(*reply) * 1000);
    // No HTTP answer at all (refused, not resolved, broken off), a redirect
    // not followed, or a busy service: asking again now gets no further.
    if (status == 0 || (status >= 300 && status < 400) || ServiceBusy(status)) {
        Finish(OnlineAnswer{OnlineAnswer::Unreachable, {}, {}});
        return;
    }
    if (!searching_) {
        std::optional<Lyrics> lyrics = status == 200 ? LyricsOfRecord(body, query_.lengthSeconds) : std::nullopt;
        if (lyrics)
            Finish(OnlineAnswer{OnlineAnswer::Found, std::move(lyrics), {}});
        else
            Search();
        return;
    }
    std::vector<OnlineRecord> records = status == 200 ? RecordsOfSearch(body) : std::vector<OnlineRecord>();
    if (records.empty()) {
        Finish(OnlineAnswer{status == 200 || status == 404 ? OnlineAnswer::NotFound : OnlineAnswer::Unreachable, {}, {}});
        return;
    }
    const int fitting = query_.everyRecord ? -1 : FittingRecord(records, query_.lengthSeconds);
    if (fitting >= 0)
        Finish(OnlineAnswer{OnlineAnswer::Found, std::move(records[static_cast<std::size_t>(fitting)].lyrics), {}});
    else
        Finish(OnlineAnswer{OnlineAnswer::Choices, std::nullopt, std::move(records)});
}

void LrclibClient::Finish(OnlineAnswer answer)
{
    const int ticket = open_;
    Cancel();
    if (ticket != 0)
        Answer(ticket, answer);
}
