// The callbook exchange file's lines: values holding the separator read back unchanged.
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
        QTest::newRow("plain") << "Ivan"
                               << "Ivan";
        QTest::newRow("separator") << "tnx:;73"
                                   << "tnx:\\;73";
        QTest::newRow("escaped look-alike") << "a:\\;b"
                                            << "a:\\\\;b";
        QTest::newRow("two separators") << ":;:;"
                                        << ":\\;:\\;";
        QTest::newRow("colon at the end") << "abc:"
                                          << "abc:";
        QTest::newRow("semicolon first") << ";abc"
                                         << ";abc";
        QTest::newRow("backslash at the end") << "a:\\"
                                              << "a:\\";
        QTest::newRow("cyrillic") << "Иван:;Петров"
                                  << "Иван:\\;Петров";
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
        const LineReader lines(buf);
        QCOMPARE(lines.lineCount(), 1);
        QCOMPARE(splitEntryLine(lines.line(0)), values);
    }
};

QTEST_GUILESS_MAIN(TestCallbookExchange)
#include "tst_callbookexchange.moc"
