#pragma once
// Whether the host of the page the program asked for answers: it does not
// when its name is not found, it refuses the connection (or any other
// network failure), it answers with an HTTP status of 400 or more, or
// nothing of it has arrived within the time limit. A page the user reaches
// from there by a link is none of its business.
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <functional>

class QWebEngineLoadingInfo;
class QWebEnginePage;

class HostAnswerWatch : public QObject {
public:
    // unavailable: called once for an address that got no answer; answered:
    // once for one whose page has come; limitMs: the time its host has from
    // the moment the engine asks it.
    HostAnswerWatch(int limitMs, std::function<void(const QUrl&)> unavailable, std::function<void()> answered);

    // Follows the loads of this page from now on.
    void Watch(QWebEnginePage* page);
    // The address the program has just asked for; any address before is forgotten.
    void Expect(const QUrl& address);
    void Forget();

private:
    void LoadingChanged(const QWebEngineLoadingInfo& info);
    void UrlChanged(const QUrl& url);
    void TimeUp();
    void Unavailable();
    void Answered();

    std::function<void(const QUrl&)> unavailable_;
    std::function<void()> answered_;
    const int limitMs_;
    QPointer<QWebEnginePage> page_;
    QTimer limit_;
    QUrl expected_;
    bool hostAsked_ = false;
    QUrl arrived_;  // what the host's answer was taken into the view as (after redirects)
};
