// "Clear"'s bulk delete on its own connection: batches commit one by one, an error rolls back
// only the batch it stopped, and the indexes set aside for a large delete are there again after.
#include "dataset/Connection.h"
#include "logbook/LogOperations.h"
#include "support/TempDataFolder.h"

#include <QtTest>

class TestLogOperations : public QObject {
    Q_OBJECT

private slots:
    void batchesBeforeAnErrorStayDeleted_data() {
        QTest::addColumn<int>("batch");
        QTest::addColumn<QString>("refusedCall"); // a trigger refuses to delete this call
        QTest::addColumn<int>("left");
        QTest::addColumn<QList<int>>("steps");
        QTest::addColumn<int>("setAsideFrom");
        QTest::addColumn<int>("indexesWhileDeleting"); // of table Log, seen at each progress step
        QTest::newRow("whole view, batches of 2") << 2 << "" << 0 << QList<int>{2, 4, 5} << 100 << 4;
        QTest::newRow("3rd row refused, batches of 2") << 2 << "C3" << 3 << QList<int>{2} << 100 << 4;
        QTest::newRow("3rd row refused, one batch") << 10 << "C3" << 5 << QList<int>{} << 100 << 4;
        QTest::newRow("3rd row refused, indexes set aside") << 2 << "C3" << 3 << QList<int>{2} << 5 << 0;
    }
    void batchesBeforeAnErrorStayDeleted() {
        QFETCH(int, batch);
        QFETCH(QString, refusedCall);
        QFETCH(int, left);
        QFETCH(QList<int>, steps);
        QFETCH(int, setAsideFrom);
        QFETCH(int, indexesWhileDeleting);
        TempDataFolder folder;
        Connection c(QStringLiteral("tst_logoperations"));
        c.openFile(folder.file("DB/Log/Log_Zelmor.mdb"));
        std::vector<qint64> keys;
        for (int i = 1; i <= 5; ++i) {
            c.execute("INSERT INTO Log (LogCall, LogNameLog) VALUES (?, 1)", {QString("C%1").arg(i)});
            keys.push_back(c.scalar("SELECT last_insert_rowid()").toLongLong());
        }
        c.execute("INSERT INTO Log (LogCall, LogNameLog) VALUES ('KEEP', 1)");
        if (!refusedCall.isEmpty())
            c.execute("CREATE TRIGGER refuse BEFORE DELETE ON Log WHEN old.LogCall = '" + refusedCall +
                      "' BEGIN SELECT RAISE(ABORT, 'refused'); END");
        const QString indexes =
            "SELECT COUNT(*) FROM sqlite_master WHERE type = 'index' AND tbl_name = 'Log'";
        QCOMPARE(c.scalar(indexes).toInt(), 4);
        QList<int> seen;
        QList<int> indexesSeen;
        bool failed = false;
        try {
            QCOMPARE(deleteLogRows(c, keys, batch, setAsideFrom,
                                   [&](int done) {
                                       seen << done;
                                       indexesSeen << c.scalar(indexes).toInt();
                                   }),
                     5);
        } catch (const DbError& e) {
            failed = true;
            QVERIFY2(e.message().contains("refused"), qPrintable(e.message()));
        }
        QCOMPARE(failed, !refusedCall.isEmpty());
        QCOMPARE(seen, steps);
        QCOMPARE(indexesSeen, QList<int>(steps.size(), indexesWhileDeleting));
        QCOMPARE(c.scalar(indexes).toInt(), 4);
        QCOMPARE(c.scalar("SELECT COUNT(*) FROM Log WHERE LogCall <> 'KEEP'").toInt(), left);
        QCOMPARE(c.scalar("SELECT COUNT(*) FROM Log WHERE LogCall = 'KEEP'").toInt(), 1);
        QVERIFY(!c.inTransaction());
    }
};

QTEST_GUILESS_MAIN(TestLogOperations)
#include "tst_logoperations.moc"
