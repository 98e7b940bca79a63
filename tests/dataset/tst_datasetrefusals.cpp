// What the dataset layer does when the database says no: a failed read keeps the view as it was,
// filters SQLite cannot take are refused before they reach it, another program's lock stops
// writes after a bounded wait but not reads, and a full disk reports itself.

#include "DataTestDb.h"
#include "dataset/Dataset.h"
#include "dataset/FilterParser.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

struct BookFixture {
    BookFixture() {
        db.createLog();
        db.addQso(u"UA1ABC"_s, "2024-03-10", "09:05:30", "20M", 1);
        db.addQso(u"DL1AA"_s, "2024-03-09", "10:00:00", "40M", 1);
        db.addQso(u"JA1XX"_s, "2024-03-11", "08:00:00", "20M", 2);
        log.setConnection(&db.conn);
        log.setTableName(u"Log"_s);
        log.setFilter(u"LogNameLog = 1"_s);
        log.setFiltered(true);
        log.setSort(u"LogCall"_s);
        log.open();
        log.last();
    }
    DataTestDb db;
    Dataset log;
};

// Another program with the same file open.
class OtherProgram {
public:
    explicit OtherProgram(const QString& file) {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name);
        db.setDatabaseName(file);
        db.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=0"_s);
        db.open();
    }
    ~OtherProgram() {
        QSqlDatabase::database(name).close();
        QSqlDatabase::removeDatabase(name);
    }
    bool exec(const QString& sql) {
        QSqlQuery q(QSqlDatabase::database(name));
        return q.exec(sql);
    }
    const QString name = u"other-program"_s;
};

QString nested(int depth) {
    return QString(depth, u'(') + u"LogNameLog = 2"_s + QString(depth, u')');
}

QString orChain(int terms) {
    QStringList parts;
    for (int i = 0; i < terms; ++i)
        parts << u"LogNameLog = %1"_s.arg(i + 2);
    return parts.join(u" OR "_s);
}

} // namespace

class DatasetRefusalsTest : public QObject {
    Q_OBJECT
private slots:
    void failedSnapshotKeepsTheView_data();
    void failedSnapshotKeepsTheView();
    void filtersBeyondTheLimits_data();
    void filtersBeyondTheLimits();
    void readsGoOnWhileAnotherProgramWrites();
    void aLockThatBlocksReadsIsReportedOnce();
    void fullDiskKeepsTheFirstError();
};

void DatasetRefusalsTest::failedSnapshotKeepsTheView_data() {
    QTest::addColumn<int>("change");
    QTest::newRow("requery") << 0;
    QTest::newRow("filter") << 1;
    QTest::newRow("sort") << 2;
    QTest::newRow("filter off") << 3;
}

void DatasetRefusalsTest::failedSnapshotKeepsTheView() {
    QFETCH(int, change);
    BookFixture f;
    // The table goes away under the dataset, so its next read fails.
    f.db.exec(u"ALTER TABLE Log RENAME TO Gone"_s);
    const std::function<void()> changes[] = {
        [&] { f.log.requery(); },
        [&] { f.log.setFilter(u"LogNameLog = 2"_s); },
        [&] { f.log.setSort(u"LogCall DESC"_s); },
        [&] { f.log.setFiltered(false); },
    };
    QVERIFY_THROWS_EXCEPTION(DbError, changes[change]());
    f.db.exec(u"ALTER TABLE Gone RENAME TO Log"_s);
    QVERIFY(f.log.active());
    QCOMPARE(f.log.recordCount(), 2);
    QCOMPARE(f.log.filter(), u"LogNameLog = 1"_s);
    QVERIFY(f.log.filtered());
    QCOMPARE(f.log.sort(), u"LogCall"_s);
    QCOMPARE(f.log.field(u"LogCall"_s).asString(), u"UA1ABC"_s);
    // Once the database answers, the next save's row shows like any other.
    f.log.append();
    f.log.setValue(u"LogCall"_s, u"ZZ9ZZ"_s);
    f.log.setValue(u"LogNameLog"_s, 1);
    f.log.post();
    f.log.requery();
    QCOMPARE(f.log.recordCount(), 3);
}

void DatasetRefusalsTest::filtersBeyondTheLimits_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("refusal"); // empty: accepted
    QTest::newRow("nested as deep as allowed") << nested(FilterParser::kMaxNesting) << QString();
    QTest::newRow("nested one deeper") << nested(FilterParser::kMaxNesting + 1) << u"nested deeper"_s;
    QTest::newRow("nested beyond SQLite") << nested(150) << u"nested deeper"_s;
    QTest::newRow("nested 20000") << nested(20000) << u"nested deeper"_s;
    QTest::newRow("chain as long as allowed") << orChain(FilterParser::kMaxConditions) << QString();
    QTest::newRow("chain one longer") << orChain(FilterParser::kMaxConditions + 1) << u"conditions"_s;
    QTest::newRow("chain beyond SQLite") << orChain(5000) << u"conditions"_s;
}

void DatasetRefusalsTest::filtersBeyondTheLimits() {
    QFETCH(QString, filter);
    QFETCH(QString, refusal);
    BookFixture f;
    if (refusal.isEmpty()) {
        // Whatever the parser lets through, SQLite runs.
        f.log.setFilter(filter);
        QCOMPARE(f.log.recordCount(), 1);
        return;
    }
    try {
        f.log.setFilter(filter);
        QFAIL("refused nothing");
    } catch (const DbError& e) {
        QVERIFY2(e.message().contains(refusal), qPrintable(e.message()));
        QVERIFY(e.message().size() < 400); // a box shows it, however long the filter
    }
    QCOMPARE(f.log.filter(), u"LogNameLog = 1"_s);
    QCOMPARE(f.log.recordCount(), 2);
}

void DatasetRefusalsTest::readsGoOnWhileAnotherProgramWrites() {
    BookFixture f;
    f.db.conn.setWriteWait(20);
    OtherProgram other(f.db.path);
    QVERIFY(other.exec(u"BEGIN EXCLUSIVE"_s));
    QVERIFY(other.exec(u"INSERT INTO Log (LogCall, LogNameLog) VALUES ('NEW', 1)"_s));
    f.log.requery(); // sees what is committed, without waiting
    QCOMPARE(f.log.recordCount(), 2);
    for (int attempt = 0; attempt < 2; ++attempt) { // every refused write says so
        try {
            f.db.conn.execute(u"INSERT INTO Log (LogCall) VALUES ('MINE')"_s);
            QFAIL("wrote through the other program's lock");
        } catch (const DbError& e) {
            QVERIFY(e.locked());
            QVERIFY(!dynamic_cast<const DbLockRepeated*>(&e));
            QVERIFY2(e.message().contains(u"used by another program"_s), qPrintable(e.message()));
        }
    }
    QVERIFY(other.exec(u"COMMIT"_s));
    f.log.requery();
    QCOMPARE(f.log.recordCount(), 3);
    f.db.conn.execute(u"INSERT INTO Log (LogCall) VALUES ('MINE')"_s);
}

void DatasetRefusalsTest::aLockThatBlocksReadsIsReportedOnce() {
    DataTestDb db;
    db.exec(u"CREATE TABLE T (A INTEGER)"_s);
    db.conn.close();
    // A file another program holds while it is opened keeps its rollback journal, whose
    // writers do block readers.
    OtherProgram other(db.path);
    QVERIFY(other.exec(u"PRAGMA journal_mode = DELETE"_s));
    QVERIFY(other.exec(u"BEGIN"_s));
    QVERIFY(other.exec(u"SELECT * FROM T"_s));
    Connection c(u"c"_s);
    c.openFile(db.path);
    QCOMPARE(c.scalar(u"PRAGMA journal_mode"_s).toString(), u"delete"_s);
    QVERIFY(other.exec(u"COMMIT"_s));

    for (int lock = 0; lock < 2; ++lock) {
        QVERIFY(other.exec(u"BEGIN EXCLUSIVE"_s));
        for (int read = 0; read < 3; ++read) {
            try {
                c.scalar(u"SELECT count(*) FROM T"_s);
                QFAIL("read through an exclusive lock");
            } catch (const DbError& e) {
                QVERIFY(e.locked());
                // The first refusal of each lock is shown; the repeats are not.
                QCOMPARE(dynamic_cast<const ReportedError*>(&e) != nullptr, read > 0);
            }
        }
        QVERIFY(other.exec(u"ROLLBACK"_s));
        QCOMPARE(c.scalar(u"SELECT count(*) FROM T"_s).toInt(), 0);
    }
}

void DatasetRefusalsTest::fullDiskKeepsTheFirstError() {
    DataTestDb db;
    db.exec(u"CREATE TABLE T (A TEXT)"_s);
    const int pages = db.conn.scalar(u"PRAGMA page_count"_s).toInt();
    db.conn.scalar(u"PRAGMA max_page_count = %1"_s.arg(pages + 2));
    QString first;
    db.conn.beginTransaction();
    try {
        for (int i = 0; i < 1000; ++i)
            db.exec(u"INSERT INTO T VALUES (?)"_s, {QString(500, u'x')});
    } catch (const DbError& e) {
        first = e.message();
        // SQLite has ended the transaction itself; rolling back is no second error.
        db.conn.rollback();
    }
    QVERIFY2(first.contains(u"full"_s), qPrintable(first));
    QVERIFY(!db.conn.inTransaction());
    QCOMPARE(db.conn.scalar(u"SELECT count(*) FROM T"_s).toInt(), 0);
    {
        Transaction tx(db.conn);
        db.exec(u"INSERT INTO T VALUES ('fits')"_s);
        tx.commit();
    }
    QCOMPARE(db.conn.scalar(u"SELECT count(*) FROM T"_s).toInt(), 1);
}

QTEST_GUILESS_MAIN(DatasetRefusalsTest)
#include "tst_datasetrefusals.moc"
