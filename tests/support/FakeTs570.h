#pragma once
// A transceiver on a pseudo-terminal, served by a thread of its own so it answers as fast as a
// radio whatever the test thread is doing. The program opens portName() like a serial port; the
// fake records every command it receives and answers "IF;", "PC;" and "FA;" from its state in
// the radio's reply formats, takes "AI..;" silently and answers anything else with "?;".

#include <QByteArray>
#include <QMutex>
#include <QStringList>
#include <atomic>

class QThread;
class QObject;

class FakeTs570 {
public:
    FakeTs570();
    ~FakeTs570();
    FakeTs570(const FakeTs570&) = delete;
    FakeTs570& operator=(const FakeTs570&) = delete;

    QString portName() const { return slaveName_; }
    // Every byte received, and the commands split at ";" (each with its ";").
    QByteArray received() const;
    QStringList commands() const;
    void clearReceived();

    // The radio's state that its replies report.
    std::atomic<qint64> frequency{14074000};
    std::atomic<bool> transmitting{false};
    std::atomic<int> modeDigit{2}; // USB
    std::atomic<int> power{50};
    // Answers wait this long (ms); a silent radio answers nothing at all.
    std::atomic<int> answerDelayMs{0};
    std::atomic<bool> silent{false};

    // Bytes the radio sends on its own, at once.
    void sendUnsolicited(const QByteArray& bytes);
    static QByteArray ifReply(qint64 hz, bool transmitting, int modeDigit = 2);
    // The cable pulled out: the line goes dead for good, as for a USB adapter unplugged.
    void unplug();

private:
    void readCommands();
    QByteArray answerTo(const QByteArray& command) const;

    int master_ = -1;
    int slave_ = -1;
    QString slaveName_;
    QThread* thread_ = nullptr;
    QObject* context_ = nullptr;  // lives on thread_
    QObject* notifier_ = nullptr; // lives on thread_
    mutable QMutex lock_;
    QByteArray received_; // guarded by lock_
    QByteArray pending_;  // fake thread only
};
