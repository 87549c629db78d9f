#include "tests/support/LocalHttpServer.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QTest>
#include <stdexcept>

LocalHttpServer::LocalHttpServer()
{
    if (!server_.listen(QHostAddress::LocalHost, 0))
        throw std::runtime_error("local web server: " + server_.errorString().toStdString());
    connect(&server_, &QTcpServer::newConnection, this, &LocalHttpServer::accept);
}

LocalHttpServer::~LocalHttpServer()
{
    // Open connections go with the server, after this object's own members:
    // they must not call back into it.
    for (QTcpSocket* socket : server_.findChildren<QTcpSocket*>())
        socket->disconnect(this);
}

std::string LocalHttpServer::origin() const
{
    return "http://127.0.0.1:" + std::to_string(port());
}

bool LocalHttpServer::waitForPageRequests(std::size_t count, int limitMs)
{
    return QTest::qWaitFor([&] { return pageRequests_.size() >= count; }, limitMs);
}

void LocalHttpServer::setPage(const std::string& path, const std::string& html, const std::string& extraHeaders,
                              const std::string& status)
{
    pages_.insert(QByteArray::fromStdString(path), Page{QByteArray::fromStdString(html),
                                                        QByteArray::fromStdString(extraHeaders),
                                                        QByteArray::fromStdString(status)});
}

void LocalHttpServer::hold(const std::string& path, bool held)
{
    const QByteArray key = QByteArray::fromStdString(path);
    if (held) {
        held_.insert(key, {});
        return;
    }
    for (QTcpSocket* socket : held_.take(key))
        respond(socket, key);
}

void LocalHttpServer::accept()
{
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            pending_.remove(socket);
            for (QList<QTcpSocket*>& waiting : held_)
                waiting.removeAll(socket);
            socket->deleteLater();
        });
    }
}

void LocalHttpServer::read(QTcpSocket* socket)
{
    QByteArray& buffer = pending_[socket];
    buffer += socket->readAll();
    const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return;
    // "GET /path?query HTTP/1.1"
    const QList<QByteArray> requestLine = buffer.left(buffer.indexOf("\r\n")).split(' ');
    buffer.clear();
    answer(socket, requestLine.size() >= 2 ? requestLine[1] : QByteArray());
}

void LocalHttpServer::answer(QTcpSocket* socket, const QByteArray& target)
{
    const qsizetype queryStart = target.indexOf('?');
    const QByteArray path = queryStart < 0 ? target : target.left(queryStart);
    if (path != "/favicon.ico") {
        pageRequests_.push_back(target.toStdString());
        if (held_.contains(path)) {
            held_[path].append(socket);
            return;
        }
    }
    respond(socket, path);
}

void LocalHttpServer::respond(QTcpSocket* socket, const QByteArray& path)
{
    const Page page = path == "/favicon.ico"
        ? Page{{}, {}, "404 Not Found"}
        : pages_.value(path, Page{"<!DOCTYPE html><html><head><title>page</title></head><body>page</body></html>", {}});
    socket->write("HTTP/1.1 " + page.status + "\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: " +
                  QByteArray::number(page.body.size()) + "\r\nCache-Control: no-store\r\nConnection: close\r\n" +
                  page.extraHeaders + "\r\n" + page.body);
    socket->disconnectFromHost();
}

void routeHostToServer(const std::string& host, const LocalHttpServer& server)
{
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    flags += " --no-proxy-server --host-resolver-rules=\"MAP " + QByteArray::fromStdString(host) + " 127.0.0.1:" +
             QByteArray::number(server.port()) + "\"";
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.trimmed());
}
