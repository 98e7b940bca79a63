// The transceiver's replies as the radio sends them, decoded into the status records, and the
// band that reaches the entry panel.
#include "platform/SerialPort.h"
#include "station/TrxProtocol.h"
#include "station/UCtrlTRX.h"

#include <QRandomGenerator>
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
        {"Tuner",
         [](const TrxStatus& s) { return s.data.TunerRx + "/" + s.data.TunerTx + "/" + s.data.TunerOn; }},
        {"Meter",
         [](const TrxStatus& s) {
             const TrxMeter& m = s.data.Meter;
             return QStringList{n(m.Reading), n(m.Meter1), n(m.Meter2), n(m.Meter3)}.join(' ');
         }},
        {"IF",
         [](const TrxStatus& s) {
             const InDataTRXInform& i = s.inform;
             return QStringList{n(i.Freq), i.Band, i.Rit,  i.Xit,   i.MemChannel, i.TxRx,
                                i.Mode,    i.Vfo,  i.Scan, i.Split, i.Tone,       i.ToneNumber}
                 .join('|');
         }},
        {"MenuText", [](const TrxStatus& s) { return s.menu.MenuText; }},
        {"MR",
         [](const TrxStatus& s) {
             const InDataTRXMemory& m = s.memory;
             return QStringList{m.MemKind, m.Channel, n(m.Freq), m.Mode, m.LockOut, m.Tone, m.ToneNumber}
                 .join('|');
         }},
    };
    return m;
}

// An IF reply of 36 characters: frequency, then the one-character fields from position 24 on.
QString ifReply(const QString& freq11, QChar txRx) {
    return "IF" + freq11 + "0000000000" + "1" + "0" + "0" + "05" + txRx + "2" + "0" + "0" + "1" + "0" + "08";
}

// One case: the replies decoded in order, the field looked at, its text after the last reply,
// and whether that last reply was decoded to its end.
void row(const char* name, const QStringList& replies, const char* field, const char* expected,
         bool lastDecoded = true) {
    QTest::newRow(name) << replies << QString(field) << QString(expected) << lastDecoded;
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

        row("FA 14 MHz", QStringList{"FA00014074000"}, "FreqA", "14074000");
        row("FA band 14", QStringList{"FA00014074000"}, "BandA", "14");
        row("FA 160 m keeps comma", QStringList{"FA00001800000"}, "BandA", "1,8");
        row("FA below 1 MHz", QStringList{"FA00000999999"}, "BandA", "NO");
        row("FA 35 MHz upper bound", QStringList{"FA00035000000"}, "BandA", "NO");
        row("FA 45 MHz lower bound", QStringList{"FA00045000000"}, "BandA", "50");
        row("FA 1296 MHz", QStringList{"FA01296000000"}, "BandA", "1260");
        row("FA 2 GHz", QStringList{"FA02000000000"}, "BandA", "NO");
        row("FA negative", QStringList{"FA-0000001000"}, "FreqA", "-1000");
        row("FA beyond 32 bits", QStringList{"FA00014074000", "FA99999999999"}, "FreqA", "14074000", false);
        row("FAxyz stores nothing", QStringList{"FA00007050000", "FAxyz"}, "BandA", "7", false);
        row("FB", QStringList{"FB00021074000"}, "BandB", "21");
        row("IF fields", QStringList{ifReply("00014074000", '1')}, "IF",
            "14074000|14|ON|OFF|05|TX|USB|VFO-A|OFF|ON|OFF|08");
        row("IF blank at 29 is RX", QStringList{ifReply("00014074000", ' ')}, "IF",
            "14074000|14|ON|OFF|05|RX|USB|VFO-A|OFF|ON|OFF|08");
        row("IF after stray characters", QStringList{".." + ifReply("00014074000", '1')}, "IF",
            "0|||||||||||", false);
        row("PC", QStringList{"PC100"}, "Power", "100");
        row("SM", QStringList{"SM0005"}, "SMeter", "5");
        row("EX menu 18 value", QStringList{"EX0180005"}, "MenuText", "5");
        row("EX menu 18 zero", QStringList{"EX0180000"}, "MenuText", "0");
        row("EX menu 0", QStringList{"EX0000003"}, "MenuText", "d2");
        row("EX menu 49 last", QStringList{"EX0490012"}, "MenuText", "3,7");
        row("EX menu 20 last", QStringList{"EX0200012"}, "MenuText", "1000");
        row("EX menu 51 first", QStringList{"EX0510000"}, "MenuText", "Auto");
        row("EX menu 52", QStringList{"EX0000003", "EX0520000"}, "MenuText", "");
        row("EX value 13", QStringList{"EX0000003", "EX0000013"}, "MenuText", "");
        row("EX negative value", QStringList{"EX000-001"}, "MenuText", "");
        row("ID S", QStringList{"ID018"}, "RadioId", "Kenwood TS-570S");
        row("ID D", QStringList{"ID017"}, "RadioId", "Kenwood TS-570D");
        row("ID other", QStringList{"ID019"}, "RadioId", "Kenwood ");
        row("GT fast", QStringList{"GT002"}, "AgcTime", "FAST");
        row("GT003 unchanged", QStringList{"GT004", "GT003"}, "AgcTime", "SLOW");
        row("BC2", QStringList{"BC2"}, "BeatCancel", "ON ENHANCED");
        row("RA01", QStringList{"RA01"}, "Attenuator", "ON");
        row("KY5", QStringList{"KY5"}, "KeyerBuffer", "NOT");
        row("MD unknown digit", QStringList{"MD3", "MDx"}, "Mode", "CW");
        row("FR memory", QStringList{"FR2"}, "RxVfo", "MEMORY");
        row("BY off-on keeps", QStringList{"BY1", "BY7"}, "Busy", "ON");
        row("AC one-or", QStringList{"AC10"}, "Tuner", "INLINE/THRU/OFF");
        row("RM kind 2", QStringList{"RM20012"}, "Meter", "12 0 2 0");
        row("RM kind 0 clears", QStringList{"RM10001", "RM30002", "RM00003"}, "Meter", "3 0 0 0");
        row("MR fields", QStringList{"MR0x1200014074000210 8"}, "MR", "0|12|14074000|USB|LOCKED OUT|OFF| 8");
        row("MR tone on", QStringList{"MR0x1200014074000211 8"}, "MR", "0|12|14074000|USB|LOCKED OUT|ON| 8");
        row("MR short", QStringList{"MR"}, "MR", "||0||||", false);
        row("IF short", QStringList{"IF0001"}, "IF", "1|NO|OFF|OFF||RX|||OFF|OFF|OFF|");
        row("EX short", QStringList{"EX01"}, "MenuText", "", false);
        row("code found inside", QStringList{"xxPC"}, "Power", "0", false);
        row("blanks around", QStringList{" \r\nPC 50\n"}, "Power", "50");
        row("unknown", QStringList{"?"}, "Power", "0");
        row("empty", QStringList{""}, "BandA", "");
        row("one letter", QStringList{"F"}, "FreqA", "0");
    }

    void decodesRepliesIntoFields() {
        QFETCH(QStringList, replies);
        QFETCH(QString, field);
        QFETCH(QString, expected);
        QFETCH(bool, lastDecoded);
        TrxStatus status;
        bool decoded = true;
        for (const QString& r : replies)
            decoded = decodeTrxReply(r, status);
        QCOMPARE(fields().at(field)(status), expected);
        QCOMPARE(decoded, lastDecoded);
    }

    // Whatever the line delivers, in whatever reads, the splitter holds no more than one reply's
    // worth and the decoder takes each piece; a reply after the noise is decoded as usual.
    void hostileBytesNeitherCrashNorGrow_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("readSize");
        QRandomGenerator random(570);
        QByteArray noise(1 << 20, Qt::Uninitialized);
        random.fillRange(reinterpret_cast<quint32*>(noise.data()), noise.size() / 4);
        QTest::newRow("random bytes") << noise << 4096;
        QTest::newRow("random bytes one at a time") << noise.left(64 * 1024) << 1;
        QTest::newRow("10 MB without a semicolon") << QByteArray(10 << 20, 'F') << (1 << 20);
        QTest::newRow("10 MB of semicolons") << QByteArray(10 << 20, ';') << (1 << 20);
        QTest::newRow("NULs") << QByteArray(1 << 20, '\0') << 256;
        QTest::newRow("cut IF reply") << ifReply("00014074000", '1').left(20).toLatin1() << 3;
        QTest::newRow("long reply just within") << QByteArray(TrxReplySplitter::MaxReply, '9') << 100;
        QTest::newRow("digits and codes")
            << QByteArray("FA99999999999;IF-;EX999999999;MR;RM9;ID;;" + QByteArray(600, 'A') + "PC") << 7;
    }
    void hostileBytesNeitherCrashNorGrow() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, readSize);
        TrxStatus status;
        decodeTrxReply(QString::fromLatin1(bytes), status);
        TrxReplySplitter splitter;
        qsizetype longest = 0;
        QString last;
        const auto onReply = [&](const QString& reply) {
            longest = std::max(longest, reply.size());
            decodeTrxReply(reply, status);
            last = reply;
        };
        for (qsizetype at = 0; at < bytes.size(); at += readSize)
            splitter.feed(QByteArrayView(bytes).sliced(at, std::min<qsizetype>(readSize, bytes.size() - at)),
                          onReply);
        splitter.feed(";PC077;", onReply);
        QVERIFY2(longest <= TrxReplySplitter::MaxReply, qPrintable(QString::number(longest)));
        QCOMPARE(last, QString("PC077"));
        QCOMPARE(status.data.Power, 77);
    }

    void bandBoxTakesTheLogsBandTexts_data() {
        QTest::addColumn<QString>("bandA");
        QTest::addColumn<QString>("entry");
        QTest::newRow("no FA yet") << ""
                                   << "";
        QTest::newRow("outside every band") << "NO"
                                            << "";
        QTest::newRow("160 m") << "1,8"
                               << "1.8";
        QTest::newRow("80 m") << "3,5"
                              << "3.5";
        QTest::newRow("20 m") << "14"
                              << "14";
        QTest::newRow("23 cm") << "1260"
                               << "1260";
    }
    void bandBoxTakesTheLogsBandTexts() {
        QFETCH(QString, bandA);
        QFETCH(QString, entry);
        QCOMPARE(trxBandForEntry(bandA), entry);
    }

    void portSettingNamesTheDevice_data() {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("device");
        QTest::newRow("COM1") << "COM1"
                              << "/dev/ttyS0";
        QTest::newRow("COM10") << "COM10"
                               << "/dev/ttyS9";
        QTest::newRow("COM11 is a name") << "COM11"
                                         << "COM11";
        QTest::newRow("device path") << "/dev/ttyUSB0"
                                     << "/dev/ttyUSB0";
        QTest::newRow("None") << "None"
                              << "";
        QTest::newRow("empty") << ""
                               << "";
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
        TrxSetReceiver({&context,
                        [&](const QString& b) {
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
