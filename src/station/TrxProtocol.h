#pragma once
// The transceiver's CAT protocol as values: the commands the program sends, the status records
// its replies fill, and the decoder of one reply. No thread, no window, no global.

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <functional>

namespace TrxCommand {
inline constexpr char Poll[] = "IF;";
inline constexpr char Connect[] = "AI3;PC;";
inline constexpr char Disconnect[] = "AI0;";
inline constexpr char WindowClosed[] = "AI2;";
} // namespace TrxCommand

struct TrxMeter {
    qint32 Reading = 0;
    qint32 Meter1 = 0;
    qint32 Meter2 = 0;
    qint32 Meter3 = 0;
};

// The radio's last reported state, field by field as its replies carry it.
struct InDataTRX {
    qint32 FreqA = 0;
    qint32 FreqB = 0;
    QString BandA, BandB;
    QString TunerRx, TunerTx, TunerOn;
    qint32 AfGain = 0, AutoInfo = 0, Antenna = 0;
    QString BeatCancel, Busy, CwTune, RxVfo, TxVfo, FineStep;
    qint32 FilterWidth = 0;
    QString AgcTime;
    qint32 IfShift = 0, KeySpeed = 0;
    QString KeyerBuffer, Lock, MemChannel;
    qint32 MicGain = 0;
    QString Mode, NoiseBlanker, NoiseReduction, PreAmp;
    qint32 Power = 0;
    QString Processor, PowerSwitch;
    qint32 Pitch = 0;
    QString Attenuator;
    qint32 RfGain = 0;
    TrxMeter Meter;
    QString Rit, Xit, Scan;
    qint32 BreakInDelay = 0, SlopeHigh = 0, SlopeLow = 0, SMeter = 0, Squelch = 0, ToneNumber = 0;
    QString Tone;
    qint32 VoxDelay = 0;
    QString Vox;
    qint32 VoxGain = 0, CtcssNumber = 0;
    QString Ctcss, RadioId;
};

// The information reply IF.
struct InDataTRXInform {
    qint32 Freq = 0;
    QString Band, Rit, Xit, MemChannel, TxRx, Mode, Vfo, Scan, Split, Tone, ToneNumber;
};

// The menu reply EX.
struct InDataTRXMenu {
    qint32 MenuNumber = 0;
    qint32 MenuValue = 0;
    QString MenuText;
};

// The memory reply MR.
struct InDataTRXMemory {
    QString MemKind, Channel;
    qint32 Freq = 0;
    QString Mode, LockOut, Tone, ToneNumber;
};

struct TrxStatus {
    InDataTRX data;
    InDataTRXInform inform;
    InDataTRXMenu menu;
    InDataTRXMemory memory;
};

// Cuts the bytes of the line into replies at ";", over any number of reads: a reply whose ";"
// has not come yet is kept and completed by the next bytes. A reply longer than MaxReply is no
// reply of the radio's (its longest has 36 characters); it is dropped whole, up to its ";", so
// whatever the line delivers, at most MaxReply bytes wait here.
class TrxReplySplitter {
public:
    static constexpr qsizetype MaxReply = 512;
    // Hands each reply completed by `bytes` (without its ";") to `onReply`, in order.
    void feed(QByteArrayView bytes, const std::function<void(const QString& reply)>& onReply);

private:
    QByteArray pending_;
    bool overlong_ = false; // dropping until the next ";"
};

// Band text of a frequency in Hz ("1,8", "3,5", "7" ... "1260"), "NO" outside every band.
QString trxBandOfFrequency(qint64 hz);

// Display text of menu `number` at `value`; empty outside the 52 x 13 table.
QString trxMenuText(int number, int value);

// Decodes one reply (its ";" removed) into `status`. Returns false when a number in it did not
// convert: decoding stopped there, and the reply hands no band over.
bool decodeTrxReply(QStringView reply, TrxStatus& status);

// The band that VFO A's band text puts into the entry panel's band box, in the texts the log
// stores ("1.8", "3.5"); empty when it carries no band yet or lies outside every band.
QString trxBandForEntry(const QString& bandA);
