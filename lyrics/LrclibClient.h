#pragma once
// The open lyrics database LRCLIB (lrclib.net), asked over HTTP with Qt
// Network: first for the track by title, artist and length ("/api/get"),
// then by a search for title and artist ("/api/search"), whose records are
// offered to the listener when none is of the track's length. Never longer than
// AnswerLimitMs for one question. Redirects only within the service's own
// address, a few at most; a service that says it is busy (429, 5xx) is
// left alone for as long as it asks.
#include "lyrics/OnlineLyrics.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <memory>

class QNetworkAccessManager;
class QNetworkReply;

class LrclibClient : public QObject, public OnlineLyrics {
public:
    // userAgent: how the program names itself to the service.
    LrclibClient(const QString& baseAddress, const QByteArray& userAgent);
    ~LrclibClient() override;

    QString BaseAddress() const override { return base_.toString(); }
    void SetBaseAddress(const QString& baseAddress) override;
    int Ask(const OnlineQuery& query) override;
    void Cancel() override;

private:
    void Get();
    void Search();
    void Send(const QString& path, const QList<std::pair<QString, QString>>& items);
    void Received();
    void Finish(OnlineAnswer answer);

    QUrl base_;
    QByteArray userAgent_;
    std::unique_ptr<QNetworkAccessManager> network_;  // made for the first question
    QPointer<QNetworkReply> reply_;
    QTimer limit_;
    OnlineQuery query_;
    bool searching_ = false;
    int lastTicket_ = 0;
    int open_ = 0;  // the ticket still to be answered, 0 for none
    QDeadlineTimer backOff_;  // no question before it expires; made expired
};
