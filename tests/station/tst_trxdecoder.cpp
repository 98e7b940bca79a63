// The transceiver's replies as the radio sends them, decoded into the status records, and the
// band that reaches the entry panel.
#include "platform/SerialPort.h"
#include "station/TrxProtocol.h"
#include "station/UCtrlTRX.h"

#include <QtTest>
#include <functional>
#include <map>
#include <thread>

namespace {

using Getter = std::function<QString(const TrxStatus&)>;

QString n(qint32 v) {
    return QString::number(v);
}

// The fields the cases below look at, by the records' own names.
const std::map<QString, Getter>& fields() {
    static const std::map<QString, Getter> m{
        {"FreqA", [](const TrxStatus& s) { return n(s.data.FreqA); }},
        {"BandA", [](const TrxStatus& s) { return s.data.BandA; }},
        {"BandB", [](const TrxStatus& s) { return s.data.BandB; }},
        {"Power", [](const TrxStatus& s) { return n(s.data.Power); }},
        {"SMeter", [](const TrxStatus& s) { return n(s.data.SMeter); }},
        {"AgcTime", [](const TrxStatus& s) { return s.data.AgcTime; }},
        {"BeatCancel", [](const TrxStatus& s) { return s.data.BeatCancel; }},
        {"Attenuator", [](const TrxStatus& s) { return s.data.Attenuator; }},
        {"KeyerBuffer", [](const TrxStatus& s) { return s.data.KeyerBuffer; }},
        {"RadioId", [](const TrxStatus& s) { return s.data.RadioId; }},
        {"Mode", [](const TrxStatus& s) { return s.data.Mode; }},
        {"RxVfo", [](const TrxStatus& s) { return s.data.RxVfo; }},
        {"Busy", [](const TrxStatus& s) { return s.data.Busy; }},
        {"Tuner", [](const TrxStatus& s) { return s.data.TunerRx + "/" + s.data.TunerTx + "/" + s.data.TunerOn; }},
        {"Meter", [](const TrxStatus& s) {
             const TrxMeter& m = s.data.Meter;
             return QStringList{n(m.Reading), n(m.Meter1), n(m.Meter2), n(m.Meter3)}.join(' ');
         }},
        {"IF", [](const TrxStatus& s) {
             const InDataTRXInform& i = s.inform;
             return QStringList{n(i.Freq), i.Band,  i.Rit,  i.Xit,   i.MemChannel, i.TxRx,
                                i.Mode,    i.Vfo,  i.Scan, i.Split, i.Tone,       i.ToneNumber}
                 .join('|');
         }},
        {"MenuText", [](const TrxStatus& s) { return s.menu.MenuText; }},
        {"MR", [](const TrxStatus& s) {
             const InDataTRXMemory& m = s.memory;
             return QStringList{m.MemKind, m.Channel, n(m.Freq), m.Mode, m.LockOut, m.Tone, m.ToneNumber}.join('|');
         }},
    };
    return m;
}

// An IF reply of 36 characters: frequency, then the one-character fields from position 24 on.
QString ifReply(const QString& freq11, QChar txRx) {
    return "IF" + freq11 + "0000000000" + "1" + "0" + "0" + "05" + txRx + "2" + "0" + "0" + "1" + "0" + "08";
}

} // namespace

class TestTrxDecoder : public QObject {
    Q_OBJECT

private slots:
    void decodesRepliesIntoFields_data() {
        QTest::addColumn<QStringList>("replies");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("lastDecoded");

        QTest::newRow("FA 14 MHz") << QStringList{"FA00014074000"} << "FreqA" << "14074000" << true;
        QTest::newRow("FA band 14") << QStringList{"FA00014074000"} << "BandA" << "14" << true;
        QTest::newRow("FA 160 m keeps comma") << QStringList{"FA00001800000"} << "BandA" << "1,8" << true;
        QTest::newRow("FA below 1 MHz") << QStringList{"FA00000999999"} << "BandA" << "NO" << true;
        QTest::newRow("FA 35 MHz upper bound") << QStringList{"FA00035000000"} << "BandA" << "NO" << true;
        QTest::newRow("FA 45 MHz lower bound") << QStringList{"FA00045000000"} << "BandA" << "50" << true;
        QTest::newRow("FA 1296 MHz") << QStringList{"FA01296000000"} << "BandA" << "1260" << true;
        QTest::newRow("FA 2 GHz") << QStringList{"FA02000000000"} << "BandA" << "NO" << true;
        QTest::newRow("FA negative") << QStringList{"FA-0000001000"} << "FreqA" << "-1000" << true;
        QTest::newRow("FA beyond 32 bits") << QStringList{"FA00014074000", "FA99999999999"} << "FreqA"
                                           << "14074000" << false;
        QTest::newRow("FAxyz stores nothing") << QStringList{"FA00007050000", "FAxyz"} << "BandA" << "7" << false;
        QTest::newRow("FB") << QStringList{"FB00021074000"} << "BandB" << "21" << true;
        QTest::newRow("IF fields") << QStringList{ifReply("00014074000", '1')} << "IF"
                                   << "14074000|14|ON|OFF|05|TX|USB|VFO-A|OFF|ON|OFF|08" << true;
        QTest::newRow("IF blank at 29 is RX") << QStringList{ifReply("00014074000", ' ')} << "IF"
                                              << "14074000|14|ON|OFF|05|RX|USB|VFO-A|OFF|ON|OFF|08" << true;
        QTest::newRow("IF after stray characters") << QStringList{".." + ifReply("00014074000", '1')} << "IF"
                                                   << "0|||||||||||" << false;
        QTest::newRow("PC") << QStringList{"PC100"} << "Power" << "100" << true;
        QTest::newRow("SM") << QStringList{"SM0005"} << "SMeter" << "5" << true;
        QTest::newRow("EX menu 18 value") << QStringList{"EX0180005"} << "MenuText" << "5" << true;
        QTest::newRow("EX menu 18 zero") << QStringList{"EX0180000"} << "MenuText" << "0" << true;
        QTest::newRow("EX menu 0") << QStringList{"EX0000003"} << "MenuText" << "d2" << true;
        QTest::newRow("EX menu 49 last") << QStringList{"EX0490012"} << "MenuText" << "3,7" << true;
        QTest::newRow("EX menu 20 last") << QStringList{"EX0200012"} << "MenuText" << "1000" << true;
        QTest::newRow("EX menu 51 first") << QStringList{"EX0510000"} << "MenuText" << "Auto" << true;
        QTest::newRow("EX menu 52") << QStringList{"EX0000003", "EX0520000"} << "MenuText" << "" << true;
        QTest::newRow("EX value 13") << QStringList{"EX0000003", "EX0000013"} << "MenuText" << "" << true;
        QTest::newRow("EX negative value") << QStringList{"EX000-001"} << "MenuText" << "" << true;
        QTest::newRow("ID S") << QStringList{"ID018"} << "RadioId" << "Kenwood TS-570S" << true;
        QTest::newRow("ID D") << QStringList{"ID017"} << "RadioId" << "Kenwood TS-570D" << true;
        QTest::newRow("ID other") << QStringList{"ID019"} << "RadioId" << "Kenwood " << true;
        QTest::newRow("GT fast") << QStringList{"GT002"} << "AgcTime" << "FAST" << true;
        QTest::newRow("GT003 unchanged") << QStringList{"GT004", "GT003"} << "AgcTime" << "SLOW" << true;
        QTest::newRow("BC2") << QStringList{"BC2"} << "BeatCancel" << "ON ENHANCED" << true;
        QTest::newRow("RA01") << QStringList{"RA01"} << "Attenuator" << "ON" << true;
        QTest::newRow("KY5") << QStringList{"KY5"} << "KeyerBuffer" << "NOT" << true;
        QTest::newRow("MD unknown digit") << QStringList{"MD3", "MDx"} << "Mode" << "CW" << true;
        QTest::newRow("FR memory") << QStringList{"FR2"} << "RxVfo" << "MEMORY" << true;
        QTest::newRow("BY off-on keeps") << QStringList{"BY1", "BY7"} << "Busy" << "ON" << true;
        QTest::newRow("AC one-or") << QStringList{"AC10"} << "Tuner" << "INLINE/THRU/OFF" << true;
        QTest::newRow("RM kind 2") << QStringList{"RM20012"} << "Meter" << "12 0 2 0" << true;
        QTest::newRow("RM kind 0 clears") << QStringList{"RM10001", "RM30002", "RM00003"} << "Meter" << "3 0 0 0"
                                          << true;
        QTest::newRow("MR fields") << QStringList{"MR0x1200014074000210 8"} << "MR"
                                   << "0|12|14074000|USB|LOCKED OUT|OFF| 8" << true;
        QTest::newRow("MR tone on") << QStringList{"MR0x1200014074000211 8"} << "MR"
                                    << "0|12|14074000|USB|LOCKED OUT|ON| 8" << true;
        QTest::newRow("MR short") << QStringList{"MR"} << "MR" << "||0||||" << false;
        QTest::newRow("IF short") << QStringList{"IF0001"} << "IF" << "1|NO|OFF|OFF||RX|||OFF|OFF|OFF|" << true;
        QTest::newRow("EX short") << QStringList{"EX01"} << "MenuText" << "" << false;
        QTest::newRow("code found inside") << QStringList{"xxPC"} << "Power" << "0" << false;
        QTest::newRow("blanks around") << QStringList{" \r\nPC 50\n"} << "Power" << "50" << true;
        QTest::newRow("unknown") << QStringList{"?"} << "Power" << "0" << true;
        QTest::newRow("empty") << QStringList{""} << "BandA" << "" << true;
        QTest::newRow("one letter") << QStringList{"F"} << "FreqA" << "0" << true;
    }

    void decodesRepliesIntoFields() {
        QFETCH(QStringList, replies);
        QFETCH(QString, field);
        QFETCH(QString, expected);
        QFETCH(bool, lastDecoded);
        TrxStatus status;
        bool decoded = true;
        for (const QString& r : replies) decoded = decodeTrxReply(r, status);
        QCOMPARE(fields().at(field)(status), expected);
        QCOMPARE(decoded, lastDecoded);
    }

    void bandBoxTakesTheLogsBandTexts_data() {
        QTest::addColumn<QString>("bandA");
        QTest::addColumn<QString>("entry");
        QTest::newRow("no FA yet") << "" << "";
        QTest::newRow("outside every band") << "NO" << "";
        QTest::newRow("160 m") << "1,8" << "1.8";
        QTest::newRow("80 m") << "3,5" << "3.5";
        QTest::newRow("20 m") << "14" << "14";
        QTest::newRow("23 cm") << "1260" << "1260";
    }
    void bandBoxTakesTheLogsBandTexts() {
        QFETCH(QString, bandA);
        QFETCH(QString, entry);
        QCOMPARE(trxBandForEntry(bandA), entry);
    }

    void portSettingNamesTheDevice_data() {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("device");
        QTest::newRow("COM1") << "COM1" << "/dev/ttyS0";
        QTest::newRow("COM10") << "COM10" << "/dev/ttyS9";
        QTest::newRow("COM11 is a name") << "COM11" << "COM11";
        QTest::newRow("device path") << "/dev/ttyUSB0" << "/dev/ttyUSB0";
        QTest::newRow("None") << "None" << "";
        QTest::newRow("empty") << "" << "";
    }
    void portSettingNamesTheDevice() {
        QFETCH(QString, setting);
        QFETCH(QString, device);
        QCOMPARE(serialDeviceOf(setting), device);
    }

    // The reader thread decodes; the bands arrive on the receiver's thread, in reply order, and
    // only replies that carry a band hand one over.
    void bandsReachTheGuiThreadInOrder() {
        QObject context;
        QStringList bands;
        QList<QThread*> threads;
        TrxSetReceiver({&context, [&](const QString& b) {
                            bands << b;
                            threads << QThread::currentThread();
                        },
                        {}});
        std::thread reader([] {
            for (const char* r : {"IF00014074000", "FA00007050000", "PC100", "?", "FAxyz", "FA00001800000",
                                  "FA00000999999", "SM0005", "FA00014074000"})
                TrxDecodeReply(QString::fromLatin1(r));
        });
        reader.join();
        QVERIFY(bands.isEmpty()); // nothing is touched off the receiver's thread
        QTRY_COMPARE(bands, QStringList({"7", "7", "7", "1.8", "14"}));
        QVERIFY(std::all_of(threads.begin(), threads.end(), [](QThread* t) { return t == qApp->thread(); }));
        const TrxStatus s = TrxReadStatus();
        QCOMPARE(s.data.Power, 100);
        QCOMPARE(s.data.SMeter, 5);
        QCOMPARE(s.inform.Freq, 14074000);
        TrxSetReceiver({});
    }
};

QTEST_GUILESS_MAIN(TestTrxDecoder)
#include "tst_trxdecoder.moc"
