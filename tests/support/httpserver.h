#pragma once

#include <QHash>
#include <QTcpServer>
#include <QTcpSocket>

// A web server on 127.0.0.1 with the ways a download goes wrong: "/moved/x"
// sends to "/dir/x", "/loop/x" sends to itself, "/drop/" closes mid-body,
// "/stall/" stops sending, "/large/" sends `largeBytes` with their length
// and "/endless/" the same without one. It counts the requests of the file
// fetcher (which calls itself "MyApp") apart from the browser's.
class HttpServer : public QTcpServer {
public:
    QHash<QByteArray, QByteArray> files;
    bool serveEverything = false;
    qint64 largeBytes = 100000;
    int fetcherRequests = 0;
    int browserRequests = 0;

    HttpServer() {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = nextPendingConnection())
                connect(s, &QTcpSocket::readyRead, this, [this, s] { answer(s); });
        });
    }
    QString url(const QString& path) const {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(serverPort()).arg(path);
    }

private:
    void answer(QTcpSocket* s) {
        if (!s->peek(1 << 16).contains("\r\n\r\n"))
            return;
        const QByteArray request = s->readAll();
        const QByteArray path = request.split(' ').value(1);
        ++(request.contains("User-Agent: MyApp") ? fetcherRequests : browserRequests);
        auto send = [s](const QByteArray& status, const QByteArray& body, qint64 length,
                        const QByteArray& more = {}) {
            s->write("HTTP/1.1 " + status + "\r\nConnection: close\r\n" + more +
                     (length < 0 ? QByteArray()
                                 : "Content-Length: " + QByteArray::number(length) + "\r\n") +
                     "\r\n" + body);
        };
        if (path.startsWith("/stall/")) {
            send("200 OK", "0123456789", 1000);
            return; // held open, silent
        }
        if (path.startsWith("/moved/"))
            send("302 Found", {}, 0, "Location: /dir/" + path.mid(7) + "\r\n");
        else if (path.startsWith("/loop/"))
            send("302 Found", {}, 0, "Location: " + path + "\r\n");
        else if (path.startsWith("/drop/"))
            send("200 OK", QByteArray(100, 'd'), 1000);
        else if (path.startsWith("/large/"))
            send("200 OK", QByteArray(largeBytes, 'L'), largeBytes);
        else if (path.startsWith("/endless/"))
            send("200 OK", QByteArray(largeBytes, 'E'), -1);
        else if (files.contains(path) || serveEverything)
            send("200 OK", files.value(path, "served"), files.value(path, "served").size());
        else
            send("404 Not Found", "missing", 7);
        s->disconnectFromHost();
    }
};
