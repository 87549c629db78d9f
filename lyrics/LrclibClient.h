#pragma once
// The open lyrics database LRCLIB (lrclib.net), asked over HTTP: first for
// the track by title, artist and length ("/api/get"), then by a search for
// title and artist ("/api/search"). Asynchronous, and never longer than
// AnswerLimitMs for one question.
#include "Lyrics.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <memory>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;

struct OnlineQuery {
    QString title;
    QString artist;         // may be empty
    int lengthSeconds = 0;  // 0 when unknown
};

struct OnlineAnswer {
    enum Outcome { Found, NotFound, NoAnswer, Unreachable, Off };
    Outcome outcome = Off;
    std::optional<Lyrics> lyrics;  // with Found
};

class LrclibClient : public QObject {
    Q_OBJECT
public:
    static constexpr int AnswerLimitMs = 5000;

    // baseAddress: the service's address, such as "https://lrclib.net"; empty
    // switches the service off. userAgent: how the program names itself.
    LrclibClient(const QString& baseAddress, const QByteArray& userAgent, QObject* parent = nullptr);
    ~LrclibClient() override;

    QString BaseAddress() const { return base_.toString(); }
    void SetBaseAddress(const QString& baseAddress);

    // Starts a question and answers its ticket; Answered follows once for
    // it, unless Cancel or the next Ask comes first. With the service off
    // the answer (Off) comes at once.
    int Ask(const OnlineQuery& query);
    // Ends the question in flight without an answer.
    void Cancel();

Q_SIGNALS:
    void Answered(int ticket, const OnlineAnswer& answer);

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
};
