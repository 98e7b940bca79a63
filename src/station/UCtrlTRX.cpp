#include "station/UCtrlTRX.h"

#include "platform/SerialPort.h"
#include "station/TrxLink.h"

#include <QMutex>
#include <QMutexLocker>
#include <QObject>
#include <memory>

SetingComTRXPort TrxSettings;

namespace {

QMutex statusLock;
TrxStatus status;                     // guarded by statusLock
TrxReceiver receiver;                 // guarded by statusLock
std::unique_ptr<TrxLink> currentLink; // GUI thread only
// Counts the openings, so a late report of an earlier one is not taken for the current link.
int linkGeneration = 0;

template <class F> void deliver(F&& call) {
    QMutexLocker lock(&statusLock);
    if (receiver.context)
        QMetaObject::invokeMethod(receiver.context, std::forward<F>(call), Qt::QueuedConnection);
}

using PortReport = std::function<void(const QString& port, const QString& why)> TrxReceiver::*;

// A report about the link of one opening, dropped when a later opening or a close came first.
std::function<void(const QString& why)> reportOf(PortReport which, const QString& port, int generation) {
    return [which, port, generation](const QString& why) {
        deliver([which, port, why, generation] {
            if (generation != linkGeneration || !currentLink) return;
            QMutexLocker lock(&statusLock);
            auto report = receiver.*which;
            lock.unlock();
            if (report) report(port, why);
        });
    };
}

} // namespace

TrxStatus TrxReadStatus() {
    QMutexLocker lock(&statusLock);
    return status;
}

void TrxDecodeReply(const QString& reply) {
    QString band;
    {
        QMutexLocker lock(&statusLock);
        if (!decodeTrxReply(reply, status)) return;
        band = trxBandForEntry(status.data.BandA);
    }
    // A reply that carries no band yet leaves the band box as it is.
    if (band.isEmpty()) return;
    deliver([band] {
        QMutexLocker lock(&statusLock);
        auto handOver = receiver.band;
        lock.unlock();
        if (handOver) handOver(band);
    });
}

void TrxInitMenuTable() {
    trxMenuText(0, 0);
}

void TrxSetReceiver(const TrxReceiver& r) {
    QMutexLocker lock(&statusLock);
    receiver = r;
}

void TrxOpenPort() {
    TrxClosePort();
    TrxInitMenuTable();
    const QString port = TrxSettings.TrxPort;
    const int generation = ++linkGeneration;
    currentLink = std::make_unique<TrxLink>(serialDeviceOf(port), TrxSettings.TrxBaud, TrxDecodeReply,
                                            reportOf(&TrxReceiver::openFailed, port, generation),
                                            reportOf(&TrxReceiver::lost, port, generation));
}

void TrxSend(const QString& command) {
    if (currentLink) currentLink->send(command.toLatin1());
}

void TrxClosePort() {
    if (!currentLink) return;
    currentLink->close();
    currentLink.reset();
}

bool TrxReaderRunning() {
    return currentLink && currentLink->running();
}
