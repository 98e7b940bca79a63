#include "station/TrxLink.h"

#include "platform/SerialPort.h"
#include "station/TrxProtocol.h"

#include <QObject>
#include <QThread>
#include <QTimer>

// Lives on the link's thread; owns the port there.
class TrxLinkWorker : public QObject {
public:
    TrxLinkWorker(QString device, int baud, TrxLink::ReplyHandler onReply, TrxLink::FailureHandler onFailure,
                  TrxLink::FailureHandler onLost)
        : device_(std::move(device)), baud_(baud), onReply_(std::move(onReply)),
          onFailure_(std::move(onFailure)), onLost_(std::move(onLost)) {}

    void start() {
        pass_ = new QTimer(this);
        pass_->setSingleShot(true);
        pass_->setInterval(TrxLink::AnswerDelayMs);
        connect(pass_, &QTimer::timeout, this, [this] { readPass(); });
        QString why;
        if (device_.isEmpty()) {
            why = QStringLiteral("no port is chosen in the settings");
        } else {
            auto port = makeSerialPort();
            port->transmitted = [this] { commandLeft(); };
            // Queued: losing the port destroys it, which must not happen inside its own call.
            port->lost = [this](const QString& why) {
                QMetaObject::invokeMethod(
                    this, [this, why] { lose(why); }, Qt::QueuedConnection);
            };
            if (port->open(device_, baud_, &why)) port_ = std::move(port);
        }
        if (!port_ && onFailure_) onFailure_(why);
    }

    void send(QByteArray command) {
        if (!port_) return;
        command.truncate(TrxLink::CommandBufferSize);
        // A refused write is tried again at once, ten attempts in all; the outcome goes nowhere.
        for (int attempt = 0; attempt < 10; ++attempt)
            if (port_->write(command)) break;
    }

    void stop() {
        pass_->stop();
        if (port_) port_->drainAndClose(TrxLink::DrainLimitMs);
        port_.reset();
        QThread::currentThread()->quit();
    }

private:
    void lose(const QString& why) {
        if (!port_) return;
        pass_->stop();
        port_.reset();
        if (onLost_) onLost_(why);
        QThread::currentThread()->quit();
    }

    // One pass per command that left the port, each 70 ms after it.
    void commandLeft() {
        if (pass_->isActive())
            ++pendingPasses_;
        else
            pass_->start();
    }

    void readPass() {
        if (pendingPasses_ > 0) {
            --pendingPasses_;
            pass_->start();
        }
        if (!port_) return;
        // All that waits: at slow line speeds a pass that left bytes behind lagged for good.
        replies_.feed(port_->read(port_->bytesAvailable()), onReply_);
    }

    QString device_;
    int baud_;
    TrxLink::ReplyHandler onReply_;
    TrxLink::FailureHandler onFailure_;
    TrxLink::FailureHandler onLost_;
    std::unique_ptr<SerialPort> port_;
    TrxReplySplitter replies_;
    QTimer* pass_ = nullptr;
    int pendingPasses_ = 0;
};

TrxLink::TrxLink(const QString& device, int baud, ReplyHandler onReply, FailureHandler onFailure,
                 FailureHandler onLost)
    : thread_(new QThread),
      worker_(new TrxLinkWorker(device, baud, std::move(onReply), std::move(onFailure), std::move(onLost))) {
    thread_->setObjectName(QStringLiteral("TrxReaderThread"));
    worker_->moveToThread(thread_);
    QObject::connect(thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_->start();
    QMetaObject::invokeMethod(
        worker_, [w = worker_] { w->start(); }, Qt::QueuedConnection);
}

TrxLink::~TrxLink() {
    close();
}

void TrxLink::send(const QByteArray& command) {
    if (!running()) return;
    QMetaObject::invokeMethod(
        worker_, [w = worker_, command] { w->send(command); }, Qt::QueuedConnection);
}

void TrxLink::close() {
    if (!thread_) return;
    if (thread_->isRunning()) {
        QMetaObject::invokeMethod(
            worker_, [w = worker_] { w->stop(); }, Qt::QueuedConnection);
        thread_->wait();
    }
    delete thread_;
    thread_ = nullptr;
    worker_ = nullptr;
}

bool TrxLink::running() const {
    return thread_ && thread_->isRunning();
}
