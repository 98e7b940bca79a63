#pragma once
// The transceiver link: a serial port served by a worker thread of its own, from its opening to
// its closing. The worker writes the commands in the order they were sent; after each write has
// left the port it waits 70 ms for the radio, then reads all the bytes that have come and hands
// every reply ended by ";" to the reply handler; a reply cut by the end of a pass is completed by
// the next. Every call returns at once except close().

#include <QByteArray>
#include <QString>
#include <functional>

class QThread;
class TrxLinkWorker;

class TrxLink {
public:
    // Both handlers run on the worker thread.
    using ReplyHandler = std::function<void(const QString& reply)>;
    using FailureHandler = std::function<void(const QString& why)>;

    static constexpr int CommandBufferSize = 256;
    static constexpr int AnswerDelayMs = 70;
    static constexpr int DrainLimitMs = 500;

    // Starts the worker, which opens `device` (empty: no device) at `baud`; a failed opening is
    // reported once through `onFailure`, and the worker then waits idle until close(). A device
    // that goes away while open is reported once through `onLost`: the worker closes the port
    // and its thread ends.
    TrxLink(const QString& device, int baud, ReplyHandler onReply, FailureHandler onFailure,
            FailureHandler onLost);
    ~TrxLink();
    TrxLink(const TrxLink&) = delete;
    TrxLink& operator=(const TrxLink&) = delete;

    // Queues one command for the port (at most 256 bytes; what is beyond is not sent).
    void send(const QByteArray& command);
    // Lets the commands already sent leave the port (at most 500 ms), closes it and ends the
    // worker thread; returns when the thread has ended.
    void close();
    bool running() const;

private:
    QThread* thread_ = nullptr;
    TrxLinkWorker* worker_ = nullptr;
};
