#include "support/LoopbackHttpServer.h"

#include <QTcpSocket>

LoopbackHttpServer::LoopbackHttpServer(QObject* parent) : QObject(parent) {
    server_.listen(QHostAddress::LocalHost, 0);
    port_ = server_.serverPort();
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* s = server_.nextPendingConnection()) {
            s->setParent(this);
            connect(s, &QTcpSocket::readyRead, this, [this, s] { readRequest(s); });
            connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
        }
    });
}

QString LoopbackHttpServer::base() const {
    return QStringLiteral("http://127.0.0.1:%1").arg(port_);
}

void LoopbackHttpServer::serve(const QString& path, const QByteArray& body, const QByteArray& contentType) {
    pages_.insert(path, {body, contentType});
}

void LoopbackHttpServer::neverAnswer(const QString& path) {
    silent_.append(path);
}

void LoopbackHttpServer::close() {
    server_.close();
}

void LoopbackHttpServer::readRequest(QTcpSocket* s) {
    // The request's head ends with an empty line; a GET has no body.
    if (!s->peek(s->bytesAvailable()).contains("\r\n\r\n")) return;
    const QByteArray head = s->readAll();
    const QString line = QString::fromLatin1(head.left(head.indexOf("\r\n")));
    requests.append(line);
    const QString target = line.section(QLatin1Char(' '), 1, 1);
    const QString path = target.section(QLatin1Char('?'), 0, 0);
    if (silent_.contains(path)) return;
    const auto page = pages_.find(path);
    const bool found = page != pages_.end();
    const QByteArray body = found ? page->first : QByteArray("<html><body>Not found</body></html>");
    QByteArray reply = found ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n";
    reply += "Content-Type: " + (found ? page->second : QByteArray("text/html")) + "\r\n";
    reply += "Content-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
    s->write(reply);
    s->disconnectFromHost();
}
