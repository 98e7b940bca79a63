// The ADIF line the export writes, and the reader on files in the forms other programs write.
#include "exchange/Adif.h"

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
    }
    void reader() {
        QFETCH(QByteArray, file);
        QFETCH(QString, records);
        QCOMPARE(readAll(file), records);
    }
};

QTEST_GUILESS_MAIN(TestAdif)
#include "tst_adif.moc"
