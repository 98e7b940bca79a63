#pragma once
// The page loader over HTTP: a plain GET that follows redirects and gives up after the time-out.

#include "platform/PageLoader.h"

#include <QPointer>

class QNetworkAccessManager;
class QNetworkReply;

class NetworkPageLoader : public PageLoader {
    Q_OBJECT
public:
    explicit NetworkPageLoader(QObject* parent = nullptr);
    ~NetworkPageLoader() override;

    void navigate(const QUrl& url) override;
    QStringList elementTexts() const override { return texts_; }
    QString error() const override { return error_; }

private:
    void finished(QNetworkReply* reply);

    QNetworkAccessManager* manager_;
    QPointer<QNetworkReply> reply_;
    QStringList texts_;
    QString error_;
};
