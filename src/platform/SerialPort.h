#pragma once
// A serial port, used only from the thread that opened it (the link's worker thread). Writes
// are queued and sent by that thread's event loop; `transmitted` fires when everything written
// so far has left for the device.

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Opens an existing device for reading and writing, not shared, at `baud` with 8 data bits,
    // no parity and one stop bit; flow control stays as the device had it. On failure returns
    // false and puts a reason the user can act on into `why`.
    virtual bool open(const QString& device, int baud, QString* why) = 0;
    // Queues bytes for sending; false when the port refused them.
    virtual bool write(const QByteArray& bytes) = 0;
    // Bytes received and not read yet (those the device has delivered up to now).
    virtual qint64 bytesAvailable() = 0;
    virtual QByteArray read(qint64 maxBytes) = 0;
    // Waits at most `msecs` until the queued output has left; then closes.
    virtual void drainAndClose(int msecs) = 0;

    std::function<void()> transmitted;
    // Called once when the device has gone away (unplugged, switched off), possibly from inside
    // a call of this port: the port is of no further use, and its owner closes it later.
    std::function<void(const QString& why)> lost;
};

// The port backend of this platform (QSerialPort).
std::unique_ptr<SerialPort> makeSerialPort();

// The device a port setting names: "COM1" ... "COM10" are the first serial ports, any other
// text a device path as given; "None" and an empty text name no device (empty result).
QString serialDeviceOf(const QString& portSetting);
