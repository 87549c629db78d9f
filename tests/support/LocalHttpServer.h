#pragma once
// A tiny web server on 127.0.0.1 for the browser tests: it answers every
// page with a small HTML document (or one the test sets) and records what
// was asked for, in the order the requests arrived.
#include <QByteArray>
#include <QHash>
#include <QTcpServer>
#include <string>
#include <vector>

class QTcpSocket;

class LocalHttpServer : public QObject {
public:
    // Listens on a free port of 127.0.0.1; throws std::runtime_error when it cannot.
    LocalHttpServer();
    ~LocalHttpServer() override;

    quint16 port() const { return server_.serverPort(); }
    // "http://127.0.0.1:PORT"
    std::string origin() const;

    // Path and query of every request except the browser's /favicon.ico.
    const std::vector<std::string>& pageRequests() const { return pageRequests_; }
    // Runs the event loop until `count` page requests have arrived or the
    // (generous) time limit has passed; true when they arrived.
    bool waitForPageRequests(std::size_t count, int limitMs = 60000);

    // The body answered for this path (without query) from now on, with
    // extra header lines ("Name: value\r\n") and a status line other than
    // "200 OK" if given.
    void setPage(const std::string& path, const std::string& html, const std::string& extraHeaders = "",
                 const std::string& status = "200 OK");
    // While held, requests for path are recorded but not answered; letting
    // go answers those still connected.
    void hold(const std::string& path, bool held);

private:
    void accept();
    void read(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const QByteArray& target);
    void respond(QTcpSocket* socket, const QByteArray& path);

    QTcpServer server_;
    struct Page {
        QByteArray body;
        QByteArray extraHeaders;
        QByteArray status = "200 OK";
    };
    QHash<QByteArray, Page> pages_;
    QHash<QByteArray, QList<QTcpSocket*>> held_;
    QHash<QTcpSocket*, QByteArray> pending_;
    std::vector<std::string> pageRequests_;
};

// Sends the web engine's requests for `host` to this server instead. Must
// run before the first web view of the process is made: the engine reads
// its command line once, when it starts.
void routeHostToServer(const std::string& host, const LocalHttpServer& server);
