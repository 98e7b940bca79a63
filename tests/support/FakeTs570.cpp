#include "support/FakeTs570.h"

#include <QMutexLocker>
#include <QObject>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

FakeTs570::FakeTs570() {
    char name[256] = {};
    termios raw{};
    cfmakeraw(&raw);
    if (::openpty(&master_, &slave_, name, &raw, nullptr) != 0) qFatal("openpty failed: %s", strerror(errno));
    slaveName_ = QString::fromLocal8Bit(name);
    // The slave stays open here too, so the line does not hang up while the program's port is closed.
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    thread_ = new QThread;
    thread_->setObjectName(QStringLiteral("FakeTs570"));
    context_ = new QObject;
    context_->moveToThread(thread_);
    QObject::connect(thread_, &QThread::finished, context_, &QObject::deleteLater);
    thread_->start();
    QMetaObject::invokeMethod(
        context_,
        [this] {
            auto* notifier = new QSocketNotifier(master_, QSocketNotifier::Read, context_);
            QObject::connect(notifier, &QSocketNotifier::activated, context_, [this] { readCommands(); });
            notifier_ = notifier;
        },
        Qt::BlockingQueuedConnection);
}

FakeTs570::~FakeTs570() {
    thread_->quit();
    thread_->wait();
    delete thread_;
    if (master_ >= 0) ::close(master_);
    ::close(slave_);
}

void FakeTs570::unplug() {
    QMetaObject::invokeMethod(
        context_,
        [this] {
            delete notifier_;
            notifier_ = nullptr;
            ::close(master_);
            master_ = -1;
        },
        Qt::BlockingQueuedConnection);
}

QByteArray FakeTs570::received() const {
    QMutexLocker l(&lock_);
    return received_;
}

void FakeTs570::clearReceived() {
    QMutexLocker l(&lock_);
    received_.clear();
}

QStringList FakeTs570::commands() const {
    QStringList out;
    QByteArray cmd;
    for (char c : received()) {
        cmd += c;
        if (c == ';') {
            out << QString::fromLatin1(cmd);
            cmd.clear();
        }
    }
    return out;
}

void FakeTs570::sendUnsolicited(const QByteArray& bytes) {
    if (master_ < 0) return; // unplugged
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(master_, p, size_t(left));
        if (n <= 0) qFatal("fake transceiver cannot write: %s", strerror(errno));
        p += n;
        left -= n;
    }
}

QByteArray FakeTs570::ifReply(qint64 hz, bool transmitting, int modeDigit) {
    // Frequency at 3-13, unread 14-23, RIT 24, XIT 25, 26, memory channel 27-28, TX/RX 29,
    // mode 30, VFO 31, scan 32, split 33, tone 34, tone number 35-36.
    return "IF" + QByteArray::number(hz).rightJustified(11, '0') + "0000000000" + "00" + "0" + "00" +
           (transmitting ? "1" : "0") + QByteArray::number(modeDigit) + "0" + "0" + "0" + "0" + "00" + ";";
}

void FakeTs570::readCommands() {
    char buf[512];
    ssize_t n;
    while ((n = ::read(master_, buf, sizeof buf)) > 0) {
        {
            QMutexLocker l(&lock_);
            received_.append(buf, n);
        }
        pending_.append(buf, n);
    }
    qsizetype end;
    while ((end = pending_.indexOf(';')) >= 0) {
        const QByteArray command = pending_.left(end + 1);
        pending_.remove(0, end + 1);
        const QByteArray answer = answerTo(command);
        if (silent || answer.isEmpty()) continue;
        if (const int delay = answerDelayMs; delay > 0)
            QTimer::singleShot(delay, context_, [this, answer] { sendUnsolicited(answer); });
        else
            sendUnsolicited(answer);
    }
}

QByteArray FakeTs570::answerTo(const QByteArray& command) const {
    if (command == "IF;") return ifReply(frequency, transmitting, modeDigit);
    if (command == "PC;") return "PC" + QByteArray::number(int(power)).rightJustified(3, '0') + ";";
    if (command == "FA;") return "FA" + QByteArray::number(qint64(frequency)).rightJustified(11, '0') + ";";
    if (command.startsWith("AI")) return {};
    return "?;";
}
