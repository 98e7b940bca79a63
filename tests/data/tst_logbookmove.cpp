// Moving the contacts of one log book into another, with their award marks, on the stored tables.
#include "data/LogBooks.h"
#include "dataset/Connection.h"
#include "support/TempDataFolder.h"

#include <QSqlQuery>
#include <QtTest>

class TestLogBookMove : public QObject {
    Q_OBJECT
    std::unique_ptr<TempDataFolder> folder;
    std::unique_ptr<Connection> log;

    // Contacts and award rows per book: "Log 0:2 1:3 2:7 | Marks 1:2 2:2".
    QString books() {
        auto perBook = [this](const QString& table) {
            QStringList out;
            QSqlQuery q(log->db());
            q.exec("SELECT LogNameLog, COUNT(*) FROM " + table + " GROUP BY LogNameLog ORDER BY LogNameLog");
            while (q.next())
                out << q.value(0).toString() + ":" + q.value(1).toString();
            return out.join(' ');
        };
        return "Log " + perBook("Log") + " | Marks " + perBook("AwardMixInfo");
    }

    QString cell(int book, const QString& award, const QString& p1, const QString& column) {
        return log
            ->scalar("SELECT " + column +
                         " FROM AwardMixInfo WHERE LogNameLog = ? AND AwName = ? AND Param1 = ?",
                     {book, award, p1})
            .toString();
    }

private slots:
    // Main (1) with 3 contacts, Old (2) with 7, and 2 contacts stored while no book existed (0).
    // Both books hold DL; only Old holds zone 14, only Main holds UA.
    void init() {
        folder = std::make_unique<TempDataFolder>();
        log = std::make_unique<Connection>("books");
        log->openFile(folder->file("DB/Log/Log_Zelmor.mdb"));
        log->execute("INSERT INTO LogName (Num, Name, Sel) VALUES (2, 'Old', 0)");
        for (int book : {0, 0, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2})
            log->execute("INSERT INTO Log (LogCall, LogNameLog) VALUES ('DL1ABC', ?)", {book});
        log->execute(
            "INSERT INTO AwardMixInfo (LogNameLog, AwName, Param1, Param2, Param3, Other, Band18, "
            "Band35, Band14, Band70, Band21) VALUES (1, 'DXCC', 'DL', '', '', 'Germany', 'WKD', 'cfm', "
            "'wkd', NULL, 'cfm')");
        log->execute(
            "INSERT INTO AwardMixInfo (LogNameLog, AwName, Param1, Param2, Param3, Other, Band18, "
            "Band35, Band14, Band70, Band21) VALUES (2, 'DXCC', 'DL', '', '', 'Fed. Rep. of Germany', "
            "NULL, 'wkd', 'cfm', 'wkd', 'wkd')");
        log->execute(
            "INSERT INTO AwardMixInfo (LogNameLog, AwName, Param1, Param2, Param3, Band21) VALUES (2, "
            "'WAZ', '14', '', '', 'wkd')");
        log->execute(
            "INSERT INTO AwardMixInfo (LogNameLog, AwName, Param1, Param2, Param3, Band21) VALUES (1, "
            "'DXCC', 'UA', '', '', 'cfm')");
    }
    void cleanup() {
        log.reset();
        folder.reset();
    }

    void movingCountsTheContactsAndMergesTheMarks_data() {
        QTest::addColumn<qint64>("from");
        QTest::addColumn<qint64>("to");
        QTest::addColumn<int>("moved");
        QTest::addColumn<QString>("after");
        QTest::newRow("into another book") << qint64(2) << qint64(1) << 7 << "Log 0:2 1:10 | Marks 1:3";
        QTest::newRow("onto itself") << qint64(2) << qint64(2) << 7 << "Log 0:2 1:3 2:7 | Marks 1:2 2:2";
        QTest::newRow("from a missing book")
            << qint64(9) << qint64(1) << 0 << "Log 0:2 1:3 2:7 | Marks 1:2 2:2";
        QTest::newRow("from no book (0)") << qint64(0) << qint64(1) << 0 << "Log 0:2 1:3 2:7 | Marks 1:2 2:2";
        QTest::newRow("into a missing book")
            << qint64(2) << qint64(9) << 0 << "Log 0:2 1:3 2:7 | Marks 1:2 2:2";
    }

    void movingCountsTheContactsAndMergesTheMarks() {
        QFETCH(qint64, from);
        QFETCH(qint64, to);
        QFETCH(int, moved);
        QFETCH(QString, after);
        QCOMPARE(LogBooks::moveBook(*log, from, to), moved);
        QCOMPARE(books(), after);
        QVERIFY(!log->inTransaction());
    }

    void sharedMarksBecomeOneRowWithTheHigherCells() {
        LogBooks::moveBook(*log, 2, 1);
        QCOMPARE(
            log->scalar("SELECT COUNT(*) FROM AwardMixInfo WHERE AwName = 'DXCC' AND Param1 = 'DL'").toInt(),
            1);
        QCOMPARE(cell(1, "DXCC", "DL", "Band14"), QString("cfm")); // wkd + cfm
        QCOMPARE(cell(1, "DXCC", "DL", "Band35"), QString("cfm")); // cfm + wkd
        QCOMPARE(cell(1, "DXCC", "DL", "Band70"), QString("wkd")); // none + wkd
        QCOMPARE(cell(1, "DXCC", "DL", "Band21"), QString("cfm")); // cfm + wkd
        QCOMPARE(cell(1, "DXCC", "DL", "Band18"), QString("WKD")); // no mark either side: left as it was
        QCOMPARE(cell(1, "DXCC", "DL", "Other"), QString("Fed. Rep. of Germany"));
        QCOMPARE(cell(1, "WAZ", "14", "Band21"), QString("wkd"));
        QCOMPARE(cell(1, "DXCC", "UA", "Band21"), QString("cfm"));
    }

    void aLargeMoveKeepsTheIndexes_data() {
        QTest::addColumn<QString>("extraIndex");
        QTest::newRow("the shipped indexes") << QString();
        QTest::newRow("an index whose name holds a double quote")
            << QString(R"(CREATE INDEX "book""s calls" ON Log (LogNameLog, LogCall))");
    }

    void aLargeMoveKeepsTheIndexes() {
        QFETCH(QString, extraIndex);
        if (!extraIndex.isEmpty()) log->execute(extraIndex);
        auto schema = [this] {
            QStringList out;
            QSqlQuery q(log->db());
            q.exec("SELECT name, sql FROM sqlite_master WHERE type = 'index' ORDER BY name");
            while (q.next())
                out << q.value(0).toString() + ": " + q.value(1).toString();
            return out;
        };
        const QStringList before = schema();
        log->beginTransaction();
        for (int i = 0; i < 20000; ++i)
            log->execute("INSERT INTO Log (LogCall, LogDate, LogNameLog) VALUES ('UA3AA', '2024-01-01', 2)");
        log->commit();
        QCOMPARE(LogBooks::moveBook(*log, 2, 1), 20007);
        QCOMPARE(books(), QString("Log 0:2 1:20010 | Marks 1:3"));
        QCOMPARE(schema(), before);
        QCOMPARE(log->scalar("PRAGMA integrity_check").toString(), QString("ok"));
    }

    void aFailureMovesNothing() {
        log->execute(
            "CREATE TRIGGER busy BEFORE DELETE ON AwardMixInfo BEGIN SELECT RAISE(ABORT, 'busy'); END");
        const QString before = books();
        QVERIFY_THROWS_EXCEPTION(DbError, LogBooks::moveBook(*log, 2, 1));
        QCOMPARE(books(), before);
        QVERIFY(!log->inTransaction());
    }
};

QTEST_MAIN(TestLogBookMove)
#include "tst_logbookmove.moc"
