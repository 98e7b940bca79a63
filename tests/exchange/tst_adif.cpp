// The ADIF line the export writes, and the reader on files in the forms other programs write.
#include "exchange/Adif.h"
#include "support/HostileBytes.h"

#include <QBuffer>
#include <QtTest>

namespace {

Adif::Contact q1abc() {
    Adif::Contact c;
    c.call = "Q1ABC";
    c.date = QDate(2005, 1, 2);
    c.time = QTime(9, 30);
    c.band = "14";
    c.mode = "SSB";
    c.rxRst = "59";
    c.txRst = "57";
    c.name = "Ivan";
    c.qslSent = true;
    return c;
}

// Every record's kept fields as "NAME=value|NAME=value" in name order; a record cut off by the end of the
// file starts with "!"; records joined by " / ".
QString readAll(const QByteArray& bytes) {
    QBuffer in;
    in.setData(bytes);
    in.open(QIODevice::ReadOnly);
    Adif::Reader reader(in);
    Adif::Record r;
    QStringList records;
    while (reader.next(r)) {
        QStringList fields;
        for (int f = 0; f < Adif::kFieldCount; ++f)
            if (r.has(Adif::Field(f)))
                fields << QString::fromLatin1(Adif::fieldName(Adif::Field(f))) + "=" +
                              r.value(Adif::Field(f));
        fields.sort();
        records << (r.complete ? "" : "!") + fields.join('|');
    }
    return records.join(" / ");
}

// A file in memory that notes the most bytes it was asked for at once: the room the reader makes.
class RequestBuffer : public QBuffer {
public:
    qint64 largest = 0;

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        largest = std::max(largest, maxSize);
        return QBuffer::readData(data, maxSize);
    }
};

} // namespace

Q_DECLARE_METATYPE(Adif::Contact)

class TestAdif : public QObject {
    Q_OBJECT
private slots:
    void headerHasFiveLines() {
        QCOMPARE(
            Adif::header(),
            QByteArray("Zelmor - \r\nSoftware by QX7ZV\r\nZelmor Log team\r\nZelmor, Ukraine\r\n<EOH>\r\n"));
    }

    void contactLine_data() {
        QTest::addColumn<Adif::Contact>("contact");
        QTest::addColumn<QByteArray>("part"); // expected somewhere in the line
        QTest::addColumn<QByteArray>("absent");
        Adif::Contact c = q1abc();
        QTest::newRow("whole line") << c
                                    << QByteArray(
                                           "<CALL:5>Q1ABC <QSO_DATE:8>20050102 <TIME_ON:4>0930 <BAND:3>20M "
                                           "<FREQ:2>14 <MODE:3>SSB <RST_RCVD:2>59 <RST_SENT:2>57 "
                                           "<NAME:4>Ivan <QSL_RCVD:1>N <QSL_SENT:1>Y <EOR>\r\n")
                                    << QByteArray("<QTH");
        c = q1abc();
        c.band = "7";
        QTest::newRow("40 m") << c << QByteArray("<BAND:3>40M <FREQ:1>7 ") << QByteArray("> 7");
        c.band = "10";
        QTest::newRow("30 m in band") << c << QByteArray("<BAND:3>30M <FREQ:4>10.1 ") << QByteArray();
        c.band = "Satellite";
        QTest::newRow("satellite") << c << QByteArray("<BAND:3>SAT <MODE") << QByteArray("FREQ");
        c.band = "137";
        QTest::newRow("unknown band") << c << QByteArray("<BAND:0> <MODE") << QByteArray("FREQ");
        c.band = "60m";
        QTest::newRow("kept band") << c << QByteArray("<BAND:3>60M <MODE") << QByteArray("FREQ");
        c = q1abc();
        c.name = QString::fromUtf8("Иван");
        c.qth = QString::fromUtf8("Ő<b>");
        QTest::newRow("code page") << c << QByteArray("<NAME:4>\xC8\xE2\xE0\xED <QTH:4>?<b> ")
                                   << QByteArray();
        c = q1abc();
        c.name.clear();
        c.rxRst.clear();
        c.hasNote = true;
        c.qslReceived = true;
        c.time = QTime(9, 5, 30);
        QTest::newRow("empty parts and note")
            << c
            << QByteArray("<TIME_ON:4>0905 <BAND:3>20M <FREQ:2>14 <MODE:3>SSB <RST_RCVD:0> <RST_SENT:2>57 "
                          "<QSL_RCVD:1>Y <QSL_SENT:1>Y <NOTES:18>Format only Zelmor <EOR>")
            << QByteArray("NAME");
    }
    void contactLine() {
        QFETCH(Adif::Contact, contact);
        QFETCH(QByteArray, part);
        QFETCH(QByteArray, absent);
        const QByteArray line = Adif::contactLine(contact);
        QVERIFY2(line.contains(part), line.constData());
        if (!absent.isEmpty()) QVERIFY2(!line.contains(absent), line.constData());
    }

    void reader_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("records");
        QTest::newRow("export form, header text before the first <")
            << QByteArray("Zelmor - \r\nSoftware <by> QX7ZV\r\n<EOH>\r\n<CALL:5>Q1ABC <MODE:2>CW <EOR>\r\n"
                          "<CALL:4>K1AB <EOR>\r\n")
            << "CALL=Q1ABC|MODE=CW / CALL=K1AB";
        QTest::newRow("lower case, a field per line, header fields")
            << QByteArray("<adif_ver:5>3.1.4\n<programid:4>TEST\n<eoh>\n<call:6>DL1ABC\n<band:3>20m\n<eor>\n")
            << "BAND=20m|CALL=DL1ABC";
        QTest::newRow("leading zeros, types, user fields")
            << QByteArray("<EOH><CALL:006>UA3ABC<NAME:4:S>Ivan <APP_X_RIG:3>FT8 "
                          "<USERDEF1:2:N>12<FREQ:5:N>7.055<EoR>")
            << "CALL=UA3ABC|FREQ=7.055|NAME=Ivan";
        QTest::newRow("a value holding < and a tag")
            << QByteArray("<EOH><COMMENT:16>see <CALL:5>XX1X<CALL:4>K1AB<EOR>")
            << "CALL=K1AB|COMMENT=see <CALL:5>XX1X";
        QTest::newRow("long length") << QByteArray("<EOH><COMMENT:120>" + QByteArray(120, 'x') +
                                                   "<CALL:4>K1AB<EOR>")
                                     << "CALL=K1AB|COMMENT=" + QString(120, 'x');
        QTest::newRow("900-character line") << QByteArray("<EOH>\r\n<COMMENT:690>" + QByteArray(690, 'y') +
                                                          "<CALL:4>K1AB" + QByteArray(190, ' ') + "<EOR>\r\n")
                                            << "CALL=K1AB|COMMENT=" + QString(690, 'y');
        QTest::newRow("UTF-8 lengths in characters") << QByteArray("<EOH><NAME:4>Иван <QTH:6>Moscow<EOR>")
                                                     << QString::fromUtf8("NAME=Иван|QTH=Moscow");
        QTest::newRow("UTF-8 lengths in bytes") << QByteArray("<EOH><NAME:8>Иван <QTH:6>Moscow<EOR>")
                                                << QString::fromUtf8("NAME=Иван|QTH=Moscow");
        QTest::newRow("code page 1251")
            << QByteArray("<EOH><NAME:4>\xC8\xE2\xE0\xED<EOR>") << QString::fromUtf8("NAME=Иван");
        QTest::newRow("byte order mark, no header")
            << QByteArray("\xEF\xBB\xBF<CALL:4>K1AB<EOR>") << "CALL=K1AB";
        QTest::newRow("first field of a name counts")
            << QByteArray("<EOH><CALL:4>K1AB<call:4>K2AB<EOR>") << "CALL=K1AB";
        QTest::newRow("truncated file") << QByteArray("<EOH><CALL:4>K1AB<EOR><CALL:4>K2AB<NAME:10>Iv")
                                        << "CALL=K1AB / !CALL=K2AB|NAME=Iv";
        QTest::newRow("nothing but a header") << QByteArray("Header only\r\n<EOH>\r\n\r\n") << "";
        QTest::newRow("UTF-8 record, then a 1251 record")
            << QByteArray("<EOH>\r\n<CALL:4>VE2A <QTH:8>Montréal <EOR>\r\n"
                          "<CALL:4>UA3A <NAME:4>\xC8\xE2\xE0\xED <EOR>\r\n")
            << QString::fromUtf8("CALL=VE2A|QTH=Montréal / CALL=UA3A|NAME=Иван");
        QTest::newRow("1251 record, then a UTF-8 record")
            << QByteArray("<EOH>\r\n<CALL:4>UA3A <NAME:4>\xC8\xE2\xE0\xED <EOR>\r\n"
                          "<CALL:4>VE2A <QTH:8>Montréal <EOR>\r\n")
            << QString::fromUtf8("CALL=UA3A|NAME=Иван / CALL=VE2A|QTH=Montréal");
        // Exported with CR LF, the note's length counting them, then saved again with bare LFs.
        QTest::newRow("note lengths counting CR LF, file with bare LF")
            << QByteArray("Log export\n<ADIF_VER:5>3.1.4\n<PROGRAMID:6>LOGGER\n<EOH>\n\n"
                          "<CALL:6>DL1ABC\n<NOTES:48>Sked arranged by e-mail\nQSL via bureau\n73 Hans\n"
                          "<QSO_DATE:8>20240315\n<TIME_ON:4>1830\n<MODE:3>SSB\n<EOR>\n\n"
                          "<CALL:4>K1AB\n<QSO_DATE:8>20240316\n<EOR>\n")
            << "CALL=DL1ABC|MODE=SSB|NOTES=Sked arranged by e-mail\nQSL via bureau\n73 Hans|"
               "QSO_DATE=20240315|TIME_ON=1830 / CALL=K1AB|QSO_DATE=20240316";
    }
    void reader() {
        QFETCH(QByteArray, file);
        QFETCH(QString, records);
        QCOMPARE(readAll(file), records);
    }

    // Whatever the file holds, the reader comes to its end, every record it returns is made of the
    // file's own bytes, and it makes no more room than the file and a window of reading.
    void hostileFilesAreReadThrough_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("records"); // -1: any number the bytes can hold
        QTest::newRow("random bytes") << randomBytes(256 * 1024, 9301) << -1;
        QTest::newRow("random bytes after a header")
            << QByteArray("<EOH><CALL:4>K1AB<EOR>" + randomBytes(64 * 1024, 9302)) << -1;
        QTest::newRow("truncated tag") << QByteArray("<CALL:") << 0;
        QTest::newRow("length past the cut") << QByteArray("<CALL:99999999999>K1AB<EOR><CALL:4>K2AB<EOR>") << 1;
        QTest::newRow("length just within the cut") << QByteArray("<CALL:99999999>K1AB<EOR>") << 1;
        QTest::newRow("negative length") << QByteArray("<CALL:-5>K1AB<EOR>") << 0;
        QTest::newRow("letter for a length") << QByteArray("<CALL:x>K1AB<EOR>") << 0;
        QTest::newRow("10 MB without a tag") << QByteArray(10 << 20, 'x') << 0;
        QTest::newRow("10 MB value") << "<COMMENT:10485760>" + QByteArray(10 << 20, 'x') + "<CALL:4>K1AB<EOR>"
                                     << 1;
        QTest::newRow("NUL bytes") << QByteArray(1 << 20, '\0') << 0;
        QTest::newRow("NUL bytes in values") << QByteArrayLiteral("<CALL:4>\0\0\0\0<NAME:2>\0\0<EOR>") << 1;
        QTest::newRow("a million <") << QByteArray(1 << 20, '<') << 0;
        QTest::newRow("specifiers without >") << QByteArray("<CALL:4").repeated(150000) << 0;
        QTest::newRow("only <EOR>") << QByteArray("<EOR>").repeated(200000) << 0;
    }
    void hostileFilesAreReadThrough() {
        QFETCH(QByteArray, file);
        QFETCH(int, records);
        RequestBuffer in;
        in.setData(file);
        in.open(QIODevice::ReadOnly);
        Adif::Reader reader(in);
        Adif::Record r;
        qsizetype count = 0;
        // A record holds at least one specifier, so more records than bytes means no progress.
        while (reader.next(r) && count <= file.size()) {
            ++count;
            for (int f = 0; f < Adif::kFieldCount; ++f)
                QVERIFY(r.value(Adif::Field(f)).size() <= file.size());
        }
        QVERIFY(count * 5 <= file.size());
        if (records >= 0) QCOMPARE(count, qsizetype(records));
        QCOMPARE(reader.position(), qint64(file.size()));
        QVERIFY2(in.largest <= 2 * file.size() + (4 << 20), QByteArray::number(in.largest).constData());
    }
};

QTEST_GUILESS_MAIN(TestAdif)
#include "tst_adif.moc"
