// A contest configuration's 69 stored lines: what is written, what reads back, and that a line
// which does not convert leaves the configuration untouched.
#include "exchange/ContestConfigFile.h"
#include "support/HostileBytes.h"

#include <QtTest>

namespace {
ContestConfigValues sample() {
    ContestConfigValues v;
    v.name = QStringLiteral("Кубок UA");
    v.infoIndex = 2;
    for (int i = 0; i < 56; ++i)
        v.cells << (i == 4 ? QStringLiteral("2,5") : QString::number(i % 4));
    v.check3 = true;
    v.serial = true;
    v.factor = "2";
    v.sent = "057";
    v.step = "5";
    v.startDate = QDate(2024, 3, 10);
    v.startTime = QTime(9, 5, 30);
    v.stopDate = QDate(2024, 3, 11);
    v.stopTime = QTime(21, 0, 0);
    return v;
}

QByteArray withLine(const QByteArray& bytes, int line, const QByteArray& text) {
    QList<QByteArray> lines = bytes.split('\n');
    lines[line - 1] = text + '\r';
    return lines.join('\n');
}
} // namespace

class TestContestConfigFile : public QObject {
    Q_OBJECT
private slots:
    void writesSixtyNineLinesAndReadsThemBack_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("line1");
        QTest::newRow("Cyrillic name") << "Кубок UA" << QByteArray("\xca\xf3\xe1\xee\xea UA\r"); // Windows-1251
        QTest::newRow("a pasted line break in the name") << "CQ WW\r\nDX" << QByteArray("CQ WW  DX\r");
    }
    void writesSixtyNineLinesAndReadsThemBack() {
        QFETCH(QString, name);
        QFETCH(QByteArray, line1);
        ContestConfigValues v = sample();
        v.name = name;
        const QByteArray bytes = ContestConfigFile::write(v);
        const QList<QByteArray> lines = bytes.split('\n');
        QCOMPARE(lines.size(), 70); // 69 lines, each ended by CR LF
        QVERIFY(lines.last().isEmpty());
        for (int i = 0; i < 69; ++i)
            QVERIFY(lines[i].endsWith('\r'));
        QCOMPARE(lines[0], line1);
        QCOMPARE(lines[1], QByteArray("2\r"));
        QCOMPARE(lines[6], QByteArray("2,5\r"));
        QCOMPARE(lines[58], QByteArray("False\r"));
        QCOMPARE(lines[60], QByteArray("True\r"));
        QCOMPARE(lines[65], QByteArray("10.03.2024\r"));
        QCOMPARE(lines[66], QByteArray("09:05:30\r"));
        ContestConfigValues back;
        int badLine = 0;
        QVERIFY(ContestConfigFile::read(bytes, back, badLine));
        QCOMPARE(ContestConfigFile::write(back), bytes);
    }

    void aSwitchIsOnOnlyForExactlyTrue() {
        const QByteArray bytes =
            withLine(withLine(ContestConfigFile::write(sample()), 59, "true"), 62, "True");
        ContestConfigValues back;
        int badLine = 0;
        QVERIFY(ContestConfigFile::read(bytes, back, badLine));
        QVERIFY(!back.check1);
        QVERIFY(back.serial);
    }

    void hostileBytesAreReadOrRefused_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("badLine"); // 0: read
        const QByteArray good = ContestConfigFile::write(sample());
        QTest::newRow("random bytes") << randomBytes(64 * 1024, 4101) << 2;
        QTest::newRow("truncated in a cell") << good.left(good.indexOf("2,5") + 1) << 8;
        QTest::newRow("10 MB without a line break") << QByteArray(10 * 1024 * 1024, '7') << 2;
        QTest::newRow("a million lines after the configuration") << good + QByteArray("x\r\n").repeated(1000000) << 0;
        QTest::newRow("NUL bytes") << QByteArray(1000, '\0') << 2;
    }
    void hostileBytesAreReadOrRefused() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, badLine);
        ContestConfigValues v;
        int bad = 0;
        QCOMPARE(ContestConfigFile::read(bytes, v, bad), badLine == 0);
        QCOMPARE(bad, badLine);
        if (!badLine) QCOMPARE(v.cells.size(), 56);
    }

    void aBadLineChangesNothing_data() {
        QTest::addColumn<int>("line");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("info not a number") << 2 << QByteArray("x");
        QTest::newRow("cell not a number") << 20 << QByteArray("1.5");
        QTest::newRow("factor not a number") << 63 << QByteArray("");
        QTest::newRow("start time") << 67 << QByteArray("xx");
        QTest::newRow("stop date") << 68 << QByteArray("31.02.2024");
        QTest::newRow("missing lines") << 69 << QByteArray();
    }
    void aBadLineChangesNothing() {
        QFETCH(int, line);
        QFETCH(QByteArray, text);
        QByteArray bytes = ContestConfigFile::write(sample());
        if (text.isNull())
            bytes = bytes.left(bytes.indexOf("\r\n", bytes.indexOf("10.03.2024")) + 2); // ends after line 66
        else
            bytes = withLine(bytes, line, text);
        ContestConfigValues kept;
        kept.name = "kept";
        int badLine = 0;
        QVERIFY(!ContestConfigFile::read(bytes, kept, badLine));
        QCOMPARE(badLine, text.isNull() ? 67 : line);
        QCOMPARE(kept.name, QString("kept"));
        QVERIFY(kept.cells.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestContestConfigFile)
#include "tst_contestconfigfile.moc"
