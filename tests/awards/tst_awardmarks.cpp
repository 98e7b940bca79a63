#include "awards/AwardMarks.h"
#include "dataset/Connection.h"
#include "support/TempDataFolder.h"

#include <QSqlQuery>
#include <QThread>
#include <QtTest>

using namespace AwardMarks;

class TestAwardMarks : public QObject {
    Q_OBJECT

    std::unique_ptr<TempDataFolder> folder;
    std::unique_ptr<Connection> log;

    QString cell(int book, const QString& aw, const QString& p1, const QString& column,
                 const QString& p2 = {}, const QString& p3 = {}) {
        return log
            ->scalar("SELECT " + column +
                         " FROM AwardMixInfo WHERE LogNameLog = ? AND AwName = ? AND Param1 = ? AND Param2 = "
                         "? AND "
                         "Param3 = ?",
                     {book, aw, p1, QString(p2.isNull() ? "" : p2), QString(p3.isNull() ? "" : p3)})
            .toString();
    }
    int rows() { return log->scalar("SELECT COUNT(*) FROM AwardMixInfo").toInt(); }

private slots:
    void init() {
        folder = std::make_unique<TempDataFolder>();
        log = std::make_unique<Connection>("marks");
        log->openFile(folder->file("DB/Log/Log_Zelmor.mdb"));
    }
    void cleanup() {
        log.reset();
        folder.reset();
    }

    void cellNamesFollowTheBandTable_data() {
        QTest::addColumn<QString>("band");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("bandCell");
        QTest::addColumn<QString>("modeCell");
        QTest::newRow("160 m cw") << "1.8"
                                  << "CW"
                                  << "Band18"
                                  << "Band18cw";
        QTest::newRow("7 short") << "7"
                                 << "SSB"
                                 << "Band70"
                                 << "Band70ssb";
        QTest::newRow("7 long") << "7.0"
                                << "SSB"
                                << "Band70"
                                << "Band70ssb";
        QTest::newRow("18 MHz is not 1.8") << "18"
                                           << "RTTY"
                                           << "Band180"
                                           << "Band180rtty";
        QTest::newRow("psk31") << "14"
                               << "PSK31"
                               << "Band14"
                               << "Band14psk";
        QTest::newRow("bpsk") << "21"
                              << "BPSK"
                              << "Band21"
                              << "Band21psk";
        QTest::newRow("lower-case psk is other") << "21"
                                                 << "psk31"
                                                 << "Band21"
                                                 << "Band21oth";
        QTest::newRow("fm on 14 is other") << "14"
                                           << "FM"
                                           << "Band14"
                                           << "Band14oth";
        QTest::newRow("fm on 28") << "28"
                                  << "FM"
                                  << "Band28"
                                  << "Band28fm";
        QTest::newRow("digital on 14 is other") << "14"
                                                << "DIGITAL"
                                                << "Band14"
                                                << "Band14oth";
        QTest::newRow("digital on Q") << "Q"
                                      << "DIGITAL"
                                      << "BandQ"
                                      << "BandQdigit";
        QTest::newRow("sstv on Q is other") << "Q"
                                            << "SSTV"
                                            << "BandQ"
                                            << "BandQoth";
        QTest::newRow("137 cw") << "137"
                                << "CW"
                                << "Band137"
                                << "Band137cw";
        QTest::newRow("137 ssb is other") << "137"
                                          << "SSB"
                                          << "Band137"
                                          << "Band137oth";
        QTest::newRow("satellite") << "Satellite"
                                   << "FM"
                                   << "BandSat"
                                   << "BandSatfm";
        QTest::newRow("1260 am") << "1260"
                                 << "AM"
                                 << "Band1260"
                                 << "Band1260oth";
        QTest::newRow("transceiver text") << "1,8"
                                          << "CW"
                                          << ""
                                          << "";
        QTest::newRow("no band") << "NO"
                                 << "CW"
                                 << ""
                                 << "";
    }
    void cellNamesFollowTheBandTable() {
        QFETCH(QString, band);
        QFETCH(QString, mode);
        QFETCH(QString, bandCell);
        QFETCH(QString, modeCell);
        QCOMPARE(AwardMarks::bandCell(band), bandCell);
        QCOMPARE(AwardMarks::bandModeCell(band, mode), modeCell);
    }

    void everyCellNameIsAColumnOfTheTable() {
        QCOMPARE(allCells().size(), 16 + 86);
        QSqlQuery q(log->db());
        QVERIFY(q.exec("SELECT " + allCells().join(", ") + " FROM AwardMixInfo"));
    }

    void compositeValuesSplitIntoThreeParts() {
        const Parts3 p = splitComposite("A1:;B 2:;C3");
        QCOMPARE(p.a, QString("A1"));
        QCOMPARE(p.b, QString("B 2"));
        QCOMPARE(p.c, QString("C3"));
        QCOMPARE(joinComposite(p.a, p.b, p.c), QString("A1:;B 2:;C3"));
        // Without separators A and B are empty and each cut loses one character.
        const Parts3 bare = splitComposite("XYZW");
        QCOMPARE(bare.a, QString());
        QCOMPARE(bare.b, QString());
        QCOMPARE(bare.c, QString("ZW"));
        const Parts3 two = splitComposite("A:;B");
        QCOMPARE(two.a, QString("A"));
        QCOMPARE(two.b, QString());
        QCOMPARE(two.c, QString());
    }

    void takeAwardPartWalksALine() {
        QString line = " UA3AA :;Ivan:;Moscow";
        QCOMPARE(takeAwardPart(line), QString("UA3AA"));
        QCOMPARE(line, QString("Ivan:;Moscow"));
        QCOMPARE(takeAwardPart(line), QString("Ivan"));
        QCOMPARE(takeAwardPart(line), QString());
        QCOMPARE(line, QString("oscow"));
    }

    void storedQsoGivesItsAwardsInOrder() {
        StoredQso q;
        q.pref = "UA";
        q.obl = "European Russia";
        q.awWAZ = "16";
        q.awUR = "MAUA";
        q.awUser1 = "X:;Y:;Z";
        const QList<AwardItem> items = itemsFromStoredQso(q);
        QCOMPARE(items.size(), 4);
        QCOMPARE(items[0].awName, QString("DXCC"));
        QCOMPARE(items[1].awName, QString("WAZ"));
        QCOMPARE(items[1].other, QString());
        QCOMPARE(items[2].awName, QString("UkrRus"));
        QCOMPARE(items[2].param1, QString("MA"));
        QCOMPARE(items[2].param2, QString("UA"));
        QCOMPARE(items[2].other, QString("European Russia"));
        QCOMPARE(items[3].param3, QString("Z"));
        // DXCC and WAZ are marked even with empty keys.
        QCOMPARE(itemsFromStoredQso(StoredQso{}).size(), 2);
    }

    void cfmIsNeverLowered() {
        markAwardCell(*log, 1, {"DXCC", "UA", {}, {}, "Russia"}, "14", "CW", "cfm");
        markAwardCell(*log, 1, {"DXCC", "UA", {}, {}, "Russia"}, "14", "CW", "wkd");
        QCOMPARE(cell(1, "DXCC", "UA", "Band14"), QString("cfm"));
        QCOMPARE(cell(1, "DXCC", "UA", "Band14cw"), QString("cfm"));
        markAwardCell(*log, 1, {"DXCC", "UA", {}, {}, "Russia"}, "14", "SSB", "wkd");
        QCOMPARE(cell(1, "DXCC", "UA", "Band14ssb"), QString("wkd"));
        markAwardCell(*log, 1, {"DXCC", "UA", {}, {}, "Russia"}, "14", "SSB", "cfm");
        QCOMPARE(cell(1, "DXCC", "UA", "Band14ssb"), QString("cfm"));
        QCOMPARE(rows(), 1);
    }

    void keysAreExactAndPerBook() {
        markAwardCell(*log, 1, {"IOTA", "EU-005", {}, {}, "Great Britain"}, "7", "CW", "wkd");
        markAwardCell(*log, 2, {"IOTA", "EU-005", {}, {}, "Great Britain"}, "7.0", "CW", "wkd");
        markAwardCell(*log, 1, {"IOTA", "eu-005", {}, {}, "Great Britain"}, "7", "CW", "wkd");
        QCOMPARE(rows(), 3);
        QCOMPARE(cell(2, "IOTA", "EU-005", "Band70cw"), QString("wkd"));
    }

    void unknownBandKeepsTheRowAndItsName() {
        markAwardCell(*log, 1, {"WAS", "CA", {}, {}, "California"}, "1,8", "CW", "wkd");
        QCOMPARE(rows(), 1);
        QCOMPARE(cell(1, "WAS", "CA", "Other"), QString("California"));
        QCOMPARE(cell(1, "WAS", "CA", "Band18"), QString());
        markAwardCell(*log, 1, {"WAS", "CA", {}, {}, QString()}, "NO", "CW", "cfm");
        QCOMPARE(cell(1, "WAS", "CA", "Other"), QString());
        QCOMPARE(rows(), 1);
    }

    void marksCanBeWrittenFromAWorkerThreadWithItsOwnConnection() {
        const QString file = folder->file("DB/Log/Log_Zelmor.mdb");
        QString error;
        QThread* worker = QThread::create([&] {
            try {
                Connection own("worker");
                own.openFile(file);
                own.beginTransaction();
                for (int i = 0; i < 50; ++i)
                    markAwardCell(own, 3, {"WAZ", QString::number(i % 40 + 1), {}, {}, {}}, "21", "RTTY",
                                  "wkd");
                own.commit();
            } catch (const DbError& e) {
                error = e.message();
            }
        });
        worker->start();
        QVERIFY(worker->wait(30000));
        delete worker;
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(log->scalar("SELECT COUNT(*) FROM AwardMixInfo WHERE LogNameLog = 3").toInt(), 40);
        QCOMPARE(cell(3, "WAZ", "7", "Band21rtty"), QString("wkd"));
    }

    void userAwardsKeyOnAllThreeParts() {
        markAwardCell(*log, 1, {"User1", "A", "B", "C", {}}, "28", "FM", "wkd");
        markAwardCell(*log, 1, {"User1", "A", "B", "D", {}}, "28", "FM", "wkd");
        QCOMPARE(rows(), 2);
        QCOMPARE(cell(1, "User1", "A", "Band28fm", "B", "C"), QString("wkd"));
    }
};

QTEST_GUILESS_MAIN(TestAwardMarks)
#include "tst_awardmarks.moc"
