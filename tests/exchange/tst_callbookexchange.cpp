// The callbook exchange file's lines: values with the separator read back unchanged, and short
// or foreign lines split as the peers' files need.
#include "exchange/CallbookExchange.h"

#include <QBuffer>
#include <QtTest>

using namespace CallbookExchange;

class TestCallbookExchange : public QObject {
    Q_OBJECT
private slots:
    void valueReadsBackUnchanged_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("written");
        QTest::newRow("plain") << "Ivan" << "Ivan";
        QTest::newRow("separator") << "tnx:;73" << "tnx:\\;73";
        QTest::newRow("escaped look-alike") << "a:\\;b" << "a:\\\\;b";
        QTest::newRow("two separators") << ":;:;" << ":\\;:\\;";
        QTest::newRow("colon at the end") << "abc:" << "abc:";
        QTest::newRow("semicolon first") << ";abc" << ";abc";
        QTest::newRow("backslash at the end") << "a:\\" << "a:\\";
        QTest::newRow("cyrillic") << "Иван:;Петров" << "Иван:\\;Петров";
    }
    void valueReadsBackUnchanged() {
        QFETCH(QString, value);
        QFETCH(QString, written);
        QCOMPARE(escapeValue(value), written);
        const QStringList values{"UA3ABC", value, "Q", "KO85", value, "e@x", "27", "0", "0"};
        QBuffer buf;
        buf.open(QIODevice::WriteOnly);
        QVERIFY(writeLines(buf, {entryLine(values)}));
        buf.close();
        buf.open(QIODevice::ReadOnly);
        const QStringList lines = readLines(buf);
        QCOMPARE(lines.size(), 1);
        QCOMPARE(splitEntryLine(lines.first()), values);
    }

    void splitsLines_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("parts");
        QTest::addColumn<bool>("separated");
        const QString e;
        QTest::newRow("full") << "UA3ABC:; Ivan :;Moscow:;KO85TS:;n:;i@m.ru:;27:;10.03.2024:;0:;"
                              << QStringList{"UA3ABC", "Ivan", "Moscow", "KO85TS", "n", "i@m.ru", "27", "10.03.2024", "0"}
                              << true;
        QTest::newRow("short line") << "DL1XYZ:;Hans:;" << QStringList{"DL1XYZ", "Hans", e, e, e, e, e, e, e} << true;
        QTest::newRow("last value without separator")
            << "DL1XYZ:;Hans" << QStringList{"DL1XYZ", e, e, e, e, e, e, e, e} << true;
        QTest::newRow("no separator") << "garbage" << QStringList{e, e, e, e, e, e, e, e, e} << false;
        QTest::newRow("empty") << "" << QStringList{e, e, e, e, e, e, e, e, e} << false;
    }
    void splitsLines() {
        QFETCH(QString, line);
        QFETCH(QStringList, parts);
        QFETCH(bool, separated);
        bool ok = !separated;
        QCOMPARE(splitEntryLine(line, &ok), parts);
        QCOMPARE(ok, separated);
    }

    void writesCp1251WithCrLf() {
        QBuffer buf;
        buf.open(QIODevice::WriteOnly);
        QVERIFY(writeLines(buf, header(501) + QStringList{entryLine({"UA3ABC", "Иван"})}));
        const QByteArray b = buf.data();
        QVERIFY(b.startsWith("Zelmor-Callbook\r\nSoftware by QX7ZV\r\n"));
        QVERIFY(b.contains("\r\n501:;" + QByteArray(57, '-') + "\r\n"));
        QVERIFY(b.endsWith("UA3ABC:;\xC8\xE2\xE0\xED:;\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestCallbookExchange)
#include "tst_callbookexchange.moc"
