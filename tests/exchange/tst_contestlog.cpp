// Contest log files as bytes: the QSO lines and CSV rows, the conversions of every band and mode
// the settings ship, the headers, and a Cabrillo file read back field by field.
#include "exchange/ContestLog.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QtTest>

using namespace ContestLog;

namespace {

Contact dl1abc() {
    return {"DL1ABC", QDate(2024, 3, 10), QTime(9, 5, 30), "7", "CW", "599", "001", "599", "005"};
}

QByteArray written(Format format, const QString& ownCall, const std::function<void(Writer&)>& write) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    Writer writer(buffer, format, ownCall);
    write(writer);
    return buffer.data();
}

// Whitespace-separated fields of the QSO lines, as the public template reads them:
// QSO: freq mo date time call-sent rst-sent exch-sent call-rcvd rst-rcvd exch-rcvd
QList<QStringList> qsoFields(const QByteArray& file) {
    QList<QStringList> qsos;
    for (const QByteArray& line : file.split('\n')) {
        const QStringList f = QString::fromLatin1(line).split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
        if (f.value(0) == "QSO:") qsos << f.mid(1);
    }
    return qsos;
}

} // namespace

class TestContestLog : public QObject {
    Q_OBJECT
private slots:
    void contactLine_data() {
        QTest::addColumn<Format>("format");
        QTest::addColumn<QString>("ownCall");
        QTest::addColumn<Contact>("contact");
        QTest::addColumn<QByteArray>("line"); // without its CR LF; empty: nothing written
        const Contact full = dl1abc();
        Contact bare = full, psk = full, sat = full, night = full, cyr = full, quoted = full;
        bare.sentExchange = bare.receivedExchange = "";
        psk.mode = "PSK31";
        sat.band = "Satellite";
        night.time = QTime(0, 0);
        cyr.receivedExchange = QString::fromUtf8("Москва");
        quoted.receivedExchange = "A;B";
        quoted.sentExchange = "say \"hi\"";
        QTest::newRow("exchanges") << Format::Cabrillo << "QX7ZV" << full
                                   << QByteArray(
                                          "QSO:  7000 CW 2024-03-10 0905 QX7ZV         599 001    DL1ABC   "
                                          "     599 005        ");
        QTest::newRow("no exchanges") << Format::Text << "QX7ZV" << bare
                                      << QByteArray("QSO:  7000 CW 2024-03-10 0905 QX7ZV         599        "
                                                    "DL1ABC        599      ");
        QTest::newRow("no own call or sent fields")
            << Format::Text << ""
            << Contact{"DL1ABC", QDate(2024, 3, 10), QTime(9, 5), "7", "CW", "", "", "599", "005"}
            << QByteArray("QSO:  7000 CW 2024-03-10 0905                          DL1ABC        599 005");
        QTest::newRow("long mode pushes right")
            << Format::Text << "QX7ZV" << psk
            << QByteArray(
                   "QSO:  7000 PSK31 2024-03-10 0905 QX7ZV      599 001    DL1ABC        599 005           ");
        QTest::newRow("digital in Cabrillo")
            << Format::Cabrillo << "QX7ZV" << psk
            << QByteArray("QSO:  7000 DG 2024-03-10 0905 QX7ZV         599 001    "
                          "DL1ABC        599 005        ");
        QTest::newRow("band without kHz")
            << Format::Cabrillo << "QX7ZV" << sat
            << QByteArray("QSO: Satellite CW 2024-03-10 0905 QX7ZV     599 001    "
                          "DL1ABC        599 005            ");
        QTest::newRow("midnight") << Format::Csv << "QX7ZV" << night
                                  << QByteArray("DL1ABC;2024-03-10;0000;7;CW;599;001;599;005");
        QTest::newRow("csv cyrillic")
            << Format::Csv << "QX7ZV" << cyr
            << QByteArray("DL1ABC;2024-03-10;0905;7;CW;599;001;599;\xCC\xEE\xF1\xEA\xE2\xE0");
        QTest::newRow("csv quoted") << Format::Csv << "QX7ZV" << quoted
                                    << QByteArray(
                                           "DL1ABC;2024-03-10;0905;7;CW;599;\"say \"\"hi\"\"\";599;\"A;B\"");
        for (const char* lacking : {"call", "time", "band", "mode"}) {
            Contact c = full;
            if (QByteArray(lacking) == "call") c.call.clear();
            if (QByteArray(lacking) == "time") c.time = QTime();
            if (QByteArray(lacking) == "band") c.band.clear();
            if (QByteArray(lacking) == "mode") c.mode.clear();
            QTest::addRow("no %s", lacking) << Format::Cabrillo << "QX7ZV" << c << QByteArray();
        }
    }
    void contactLine() {
        QFETCH(Format, format);
        QFETCH(QString, ownCall);
        QFETCH(Contact, contact);
        QFETCH(QByteArray, line);
        bool wrote = false;
        const QByteArray bytes = written(format, ownCall, [&](Writer& w) { wrote = w.contact(contact); });
        QCOMPARE(bytes, line.isEmpty() ? line : line + "\r\n");
        QCOMPARE(wrote, !line.isEmpty());
    }

    // Every band and mode of the shipped pick-lists, and the date and time texts.
    void conversions_data() {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("cabrillo");
        QTest::addColumn<QString>("other"); // text file (and CSV for modes)
        // clang-format off
        const QList<QStringList> rows{
            {"band", "1.8", " 1800", " 1800"}, {"band", "3.5", " 3500", " 3500"},
            {"band", "7", " 7000", " 7000"}, {"band", "10", "10100", "10100"},
            {"band", "14", "14000", "14000"}, {"band", "18", "18168", "18168"},
            {"band", "21", "21000", "21000"}, {"band", "24", "24900", "24900"},
            {"band", "28", "28000", "28000"}, {"band", "50", "   50", "   50"},
            {"band", "144", "  144", "  144"}, {"band", "430", "  432", "  430"},
            {"band", "1260", " 1.2G", " 1260"}, {"band", "Satellite", "Satellite", "Satellite"},
            {"band", "1,8", " 1800", " 1800"}, {"band", "3,5", " 3500", " 3500"},
            {"mode", "CW", "CW", "CW"}, {"mode", "SSB", "PH", "PH"},
            {"mode", "USB", "PH", "USB"}, {"mode", "LSB", "PH", "LSB"},
            {"mode", "AM", "PH", "AM"}, {"mode", "FM", "FM", "FM"},
            {"mode", "RTTY", "RY", "RY"}, {"mode", "PSK31", "DG", "PSK31"},
            {"mode", "PSK63", "DG", "PSK63"}, {"mode", "PSK125", "DG", "PSK125"},
            {"mode", "SSTV", "DG", "SSTV"}, {"mode", "DIGITAL", "DG", "DIGITAL"},
            {"date", "10.03.2024", "2024-03-10", ""}, {"date", "05.03.41", "1941-03-05", ""},
            {"date", "05.03.40", "2040-03-05", ""}, {"date", "2024", "2024", ""},
            {"time", "9:05:30", "0905", ""}, {"time", "14:07:00", "1407", ""},
            {"time", "00:00:00", "0000", ""}};
        // clang-format on
        for (const QStringList& r : rows)
            QTest::addRow("%s %s", qPrintable(r[0]), qPrintable(r[1])) << r[0] << r[1] << r[2] << r[3];
    }
    void conversions() {
        QFETCH(QString, what);
        QFETCH(QString, in);
        QFETCH(QString, cabrillo);
        QFETCH(QString, other);
        if (what == "band") {
            QCOMPARE(frequency(in, Format::Cabrillo), cabrillo);
            QCOMPARE(frequency(in, Format::Text), other);
        } else if (what == "mode") {
            QCOMPARE(mode(in, Format::Cabrillo), cabrillo);
            QCOMPARE(mode(in, Format::Text), other);
            QCOMPARE(mode(in, Format::Csv), other);
        } else {
            QCOMPARE(what == "date" ? date(in) : time(in), cabrillo);
        }
    }

    // An empty log: the header lines and the end line only.
    void emptyLog_data() {
        QTest::addColumn<Format>("format");
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("cabrillo") << Format::Cabrillo
                                  << QByteArray(
                                         "START-OF-LOG: 2.0\r\nCREATED-BY: Zelmor Software by QX7ZV\r\n"
                                         "ARRL-SECTION:\r\nCONTEST: ARRL\r\nCALLSIGN: QX7ZV\r\n"
                                         "CATEGORY: SINGLE-OP ALL ?PWR?\r\nCLAIMED-SCORE: \r\n"
                                         "OPERATORS: QX7ZV\r\nCLUB: \r\nADDRESS: 1 Main St\r\nADDRESS: \r\n"
                                         "ADDRESS: \r\nSOAPBOX: \r\nEND-OF-LOG:\r\n");
        QTest::newRow("text") << Format::Text
                              << QByteArray("START-OF-LOG: 2.0\r\nCREATED-BY: Zelmor Software by QX7ZV\r\n"
                                            "END-OF-LOG:\r\n");
        QTest::newRow("csv") << Format::Csv
                             << QByteArray("START-OF-LOG: 2.0\r\nCREATED-BY: Zelmor Software by QX7ZV\r\n\r\n"
                                           "Call;Date;Time;Freq;Mode;TX RST;TX Rprt;RX RST;RX Rprt\r\n"
                                           "END-OF-LOG:\r\n");
    }
    void emptyLog() {
        QFETCH(Format, format);
        QFETCH(QByteArray, file);
        CabrilloHeader h{"ARRL", "SINGLE-OP ALL ?PWR?", "", "QX7ZV", "", {"1 Main St"}, ""};
        QCOMPARE(written(format, "QX7ZV",
                         [&](Writer& w) {
                             w.header(h);
                             w.end();
                         }),
                 file);
    }

    // A small contest, read back by the public template's fields.
    void cabrilloReadsBackByTemplate() {
        Contact a = dl1abc(), b = a, c = a, d = a;
        b = {"DL/UA9ABCD/QRP", QDate(2024, 3, 10), QTime(23, 59), "430", "SSB", "59", "002", "57", "0123"};
        c = {"K1ZZ", QDate(2024, 3, 11), QTime(0, 1), "Satellite", "PSK125", "599", "003", "599", ""};
        d.mode.clear(); // skipped
        const QByteArray file = written(Format::Cabrillo, "QX7ZV", [&](Writer& w) {
            w.header({"CQ contests", "", "", "QX7ZV", "", {}, ""});
            for (const Contact& x : {a, b, d, c})
                w.contact(x);
            w.end();
        });
        const QList<QStringList> expected{
            {"7000", "CW", "2024-03-10", "0905", "QX7ZV", "599", "001", "DL1ABC", "599", "005"},
            {"432", "PH", "2024-03-10", "2359", "QX7ZV", "59", "002", "DL/UA9ABCD/QRP", "57", "0123"},
            {"Satellite", "DG", "2024-03-11", "0001", "QX7ZV", "599", "003", "K1ZZ", "599"}};
        QCOMPARE(qsoFields(file), expected);
        const QList<QByteArray> lines = file.split('\n');
        QVERIFY(lines.contains("CONTEST: CQ contests\r"));
        QVERIFY(lines.contains("CALLSIGN: QX7ZV\r"));
        QCOMPARE(lines.at(lines.size() - 2), "END-OF-LOG:\r");
    }
};

QTEST_MAIN(TestContestLog)
#include "tst_contestlog.moc"
