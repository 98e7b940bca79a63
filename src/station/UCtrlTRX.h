#pragma once
// The transceiver link's unit: the port settings, the status records that the replies fill, the
// decoder that the reader calls, and the routines that open, feed and close the port.

#include "station/TrxProtocol.h"

#include <QString>
#include <functional>

class QObject;

struct SetingComTRXPort {
    QString TrxName; // the model: "None" or "Kenwood TS-570"
    QString TrxPort; // the port name: "None", "COM1" ... or a device path
    int TrxBaud = 9600;
};

extern SetingComTRXPort TrxSettings;

// The status records (TrxData, TrxInform, TrxMenu, TrxMemory) as one copy taken under their
// lock; only TrxDecodeReply writes them, on the reader thread.
TrxStatus TrxReadStatus();

// Decodes one reply into the status records and hands the band of VFO A to the band receiver.
void TrxDecodeReply(const QString& reply);
// The menu texts are a constant table; kept for the order of the opening.
void TrxInitMenuTable();

// What the link tells the program, delivered on the thread of `context` in the order it
// happened: the band for the band box, a port that could not be opened (once per opening), and
// an open port whose device went away (once; the reader has then ended).
struct TrxReceiver {
    QObject* context = nullptr;
    std::function<void(const QString& band)> band;
    std::function<void(const QString& port, const QString& why)> openFailed;
    std::function<void(const QString& port, const QString& why)> lost;
};
void TrxSetReceiver(const TrxReceiver& receiver);

// Opens the port of TrxSettings on the link's own thread (a link still open is closed first).
void TrxOpenPort();
// Sends one command through the link's thread.
void TrxSend(const QString& command);
// Lets the last command leave, closes the port and ends the reader.
void TrxClosePort();
bool TrxReaderRunning();
