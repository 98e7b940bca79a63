#include "platform/NetworkPageLoader.h"

#include "platform/HtmlElements.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

NetworkPageLoader::NetworkPageLoader(QObject* parent)
    : PageLoader(parent), manager_(new QNetworkAccessManager(this)) {}

NetworkPageLoader::~NetworkPageLoader() {
    if (reply_) {
        reply_->disconnect(this);
        reply_->abort();
    }
}

void NetworkPageLoader::navigate(const QUrl& url) {
    if (reply_) {
        reply_->disconnect(this);
        reply_->abort();
        reply_->deleteLater();
    }
    texts_.clear();
    error_.clear();
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(Pages::transferTimeoutMs());
    QNetworkReply* reply = manager_->get(request);
    reply_ = reply;
    connect(reply, &QNetworkReply::finished, this, [this, reply] { finished(reply); });
    // A body larger than the reader takes is not downloaded to its end.
    connect(reply, &QNetworkReply::downloadProgress, this, [this, reply](qint64 received, qint64 total) {
        if (reply_ != reply ||
            (received <= HtmlElements::kMaxPageBytes && total <= HtmlElements::kMaxPageBytes))
            return;
        error_ = QStringLiteral("the page is larger than 4 MB");
        reply->abort();
    });
    // The download has begun once the request is on its way: told from the event loop, as the
    // browser control did, after the caller's own steps.
    QTimer::singleShot(0, this, [this, reply] {
        if (reply_ == reply) emit downloadBegin();
    });
}

void NetworkPageLoader::finished(QNetworkReply* reply) {
    reply->deleteLater();
    if (reply_ != reply) return;
    reply_ = nullptr;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (!error_.isEmpty()) {
        // refused while downloading
    } else if (reply->error() == QNetworkReply::OperationCanceledError) {
        error_ = QStringLiteral("time-out");
    } else if (reply->error() != QNetworkReply::NoError) {
        error_ = reply->errorString();
    } else if (status >= 400) {
        error_ = QStringLiteral("HTTP status %1").arg(status);
    } else {
        const QString page = HtmlElements::decode(
            reply->readAll(), reply->header(QNetworkRequest::ContentTypeHeader).toString());
        texts_ = HtmlElements::innerTexts(page, &error_);
    }
    emit downloadComplete();
}
