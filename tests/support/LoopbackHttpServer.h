#pragma once
// A small HTTP server on 127.0.0.1 for the page windows: it serves fixed bodies by path,
// answers 404 for other paths, can leave a request without an answer, and records every
// request line ("GET /path?query HTTP/1.1").

#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTcpServer>

class QTcpSocket;

class LoopbackHttpServer : public QObject {
    Q_OBJECT
public:
    explicit LoopbackHttpServer(QObject* parent = nullptr);

    // "http://127.0.0.1:port"
    QString base() const;
    // path: the request's path without its query.
    void serve(const QString& path, const QByteArray& body,
               const QByteArray& contentType = "text/html; charset=utf-8");
    // Requests for path are read and never answered.
    void neverAnswer(const QString& path);
    // Stops listening: requests then find no server.
    void close();

    QStringList requests;

private:
    void readRequest(QTcpSocket* socket);

    QTcpServer server_;
    quint16 port_ = 0;
    QHash<QString, QPair<QByteArray, QByteArray>> pages_;
    QStringList silent_;
};
