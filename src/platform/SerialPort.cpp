#include "platform/SerialPort.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPort>
#include <QThread>

#include <algorithm>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// The flow control the device has now, so opening it does not change it.
QSerialPort::FlowControl currentFlowControl(const QString& device) {
    const int fd = ::open(QFile::encodeName(device).constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return QSerialPort::NoFlowControl;
    termios t{};
    QSerialPort::FlowControl flow = QSerialPort::NoFlowControl;
    if (::tcgetattr(fd, &t) == 0) {
        if (t.c_cflag & CRTSCTS)
            flow = QSerialPort::HardwareControl;
        else if (t.c_iflag & (IXON | IXOFF))
            flow = QSerialPort::SoftwareControl;
    }
    ::close(fd);
    return flow;
}

QString reasonOf(const QSerialPort& port, const QString& device) {
    const QFileInfo info(device);
    switch (port.error()) {
    case QSerialPort::DeviceNotFoundError:
        return QStringLiteral("no such device");
    case QSerialPort::PermissionError:
        if (info.exists() && !(info.isReadable() && info.isWritable()))
            return QStringLiteral("permission denied; the user needs to be a member of the group \"%1\"")
                .arg(info.group().isEmpty() ? QStringLiteral("dialout") : info.group());
        return QStringLiteral("the device is in use by another program (%1)").arg(port.errorString());
    default:
        return port.errorString();
    }
}

class QtSerialPort : public SerialPort {
public:
    QtSerialPort() {
        QObject::connect(&port_, &QSerialPort::bytesWritten, [this] {
            if (port_.bytesToWrite() == 0 && transmitted) transmitted();
        });
        // A device that went away leaves its descriptor readable for ever: Qt then reports a read
        // or resource error on every pass of the event loop.
        QObject::connect(&port_, &QSerialPort::errorOccurred, [this](QSerialPort::SerialPortError e) {
            if (e == QSerialPort::ResourceError || e == QSerialPort::ReadError) reportLost();
        });
        // A device that floods the line cannot take memory: beyond this its bytes wait in the kernel.
        port_.setReadBufferSize(64 * 1024);
    }

    bool open(const QString& device, int baud, QString* why) override {
        // Such a name is no device, and Qt's lock-file code overflows the stack on a NUL in it.
        if (std::any_of(device.begin(), device.end(),
                        [](QChar c) { return c.category() == QChar::Other_Control; })) {
            if (why) *why = QStringLiteral("the port name holds a control character");
            return false;
        }
        port_.setPortName(device);
        port_.setBaudRate(baud);
        port_.setDataBits(QSerialPort::Data8);
        port_.setParity(QSerialPort::NoParity);
        port_.setStopBits(QSerialPort::OneStop);
        port_.setFlowControl(currentFlowControl(device));
        if (port_.open(QIODevice::ReadWrite)) return true;
        if (why) *why = reasonOf(port_, device);
        return false;
    }

    bool write(const QByteArray& bytes) override {
        return port_.isOpen() && port_.write(bytes) == bytes.size();
    }

    qint64 bytesAvailable() override {
        if (!port_.isOpen()) return 0;
        // Take in what the device has delivered but the event loop has not read yet.
        port_.waitForReadyRead(0);
        // Only "nothing came" is cleared: an error that says the device is gone must stay seen.
        if (port_.error() == QSerialPort::TimeoutError) port_.clearError();
        return port_.bytesAvailable();
    }

    QByteArray read(qint64 maxBytes) override {
        if (!port_.isOpen() || maxBytes <= 0) return {};
        QByteArray bytes(maxBytes, Qt::Uninitialized);
        const qint64 n = port_.read(bytes.data(), maxBytes);
        if (n < 0) {
            reportLost();
            return {};
        }
        bytes.truncate(n);
        return bytes;
    }

    void drainAndClose(int msecs) override {
        if (!port_.isOpen()) return;
        const QDeadlineTimer deadline(msecs);
        while (port_.bytesToWrite() > 0 && !deadline.hasExpired())
            if (!port_.waitForBytesWritten(int(deadline.remainingTime()))) break;
        // The kernel's output queue too: a close would drop what the line has not sent yet.
        int queued = 0;
        while (::ioctl(port_.handle(), TIOCOUTQ, &queued) == 0 && queued > 0 && !deadline.hasExpired())
            QThread::msleep(1);
        port_.close();
    }

private:
    void reportLost() {
        if (lostReported_) return;
        lostReported_ = true;
        if (lost) lost(QStringLiteral("the device has gone away (unplugged or switched off)"));
    }

    QSerialPort port_;
    bool lostReported_ = false;
};

} // namespace

std::unique_ptr<SerialPort> makeSerialPort() {
    return std::make_unique<QtSerialPort>();
}

QString serialDeviceOf(const QString& portSetting) {
    const QString s = portSetting.trimmed();
    if (s.isEmpty() || s.compare(QLatin1String("None"), Qt::CaseInsensitive) == 0) return {};
    static const QRegularExpression com(QStringLiteral("^COM([1-9]|10)$"),
                                        QRegularExpression::CaseInsensitiveOption);
    if (const auto m = com.match(s); m.hasMatch())
        return QStringLiteral("/dev/ttyS%1").arg(m.captured(1).toInt() - 1);
    return s;
}
