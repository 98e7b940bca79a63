// A row posted on a sorted or filtered dataset stands where a fresh read of the view puts it,
// or leaves the view when the filter no longer takes it, without the view being read again.

#include "DataTestDb.h"
#include "dataset/Dataset.h"

#include <QSignalSpy>
#include <QSqlDriver>
#include <QtTest>
#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

std::vector<qint64> keysOf(Dataset& ds) {
    std::vector<qint64> keys;
    for (ds.first(); !ds.eof(); ds.next())
        keys.push_back(ds.bookmark());
    return keys;
}

// Counts the statements run on a connection that read keys in an order.
struct OrderedReads {
    explicit OrderedReads(Connection& c) {
        sqlite3* h = *static_cast<sqlite3* const*>(c.db().driver()->handle().data());
        sqlite3_trace_v2(h, SQLITE_TRACE_STMT, &OrderedReads::seen, this);
        handle = h;
    }
    ~OrderedReads() { sqlite3_trace_v2(handle, 0, nullptr, nullptr); }
    static int seen(unsigned, void* self, void*, void* sql) {
        if (QByteArray(static_cast<const char*>(sql)).contains("ORDER BY")) ++static_cast<OrderedReads*>(self)->count;
        return 0;
    }
    sqlite3* handle = nullptr;
    int count = 0;
};

} // namespace

class DatasetPlacementTest : public QObject {
    Q_OBJECT
private slots:
    void postedRowStandsWhereARequeryPutsIt_data();
    void postedRowStandsWhereARequeryPutsIt();
    void sortKeepingItsFirstColumnsReadsAsAFreshView_data();
    void sortKeepingItsFirstColumnsReadsAsAFreshView();
};

void DatasetPlacementTest::postedRowStandsWhereARequeryPutsIt_data() {
    QTest::addColumn<QString>("sort");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<int>("editRow"); // position of the row edited, -1 for a new row
    QTest::addColumn<QString>("call");
    QTest::addColumn<QVariant>("date");
    QTest::addColumn<int>("book");
    QTest::addColumn<QVariant>("freq");
    QTest::addColumn<bool>("warm"); // rows read before the post (the row cache full)
    QTest::addColumn<QString>("expect");

    const QString byDate = u"LogDate, LogCall"_s;
    const QString book1 = u"LogNameLog = 1"_s;
    const QVariant noFreq;
    // New rows.
    // (null dates sort first, as in SQLite, and the fixture has a few)
    QTest::newRow("new, first") << byDate << book1 << -1 << u"A1A"_s << QVariant() << 1 << noFreq << false
                                << u"first"_s;
    QTest::newRow("new, among the null dates")
        << byDate << book1 << -1 << u"ZZ1"_s << QVariant() << 1 << noFreq << true << u"middle"_s;
    QTest::newRow("new, mid-day by call, letter case ignored")
        << byDate << book1 << -1 << u"ua3zz"_s << QVariant(u"2024-03-12"_s) << 1 << noFreq << false
        << u"middle"_s;
    QTest::newRow("new, tie on every column goes after by key")
        << byDate << book1 << -1 << u"UA4"_s << QVariant(u"2024-03-11"_s) << 1 << noFreq << true
        << u"middle"_s;
    QTest::newRow("new, last") << byDate << book1 << -1 << u"A1A"_s << QVariant(u"2030-01-01"_s) << 1
                               << noFreq << false << u"last"_s;
    QTest::newRow("new, excluded") << byDate << book1 << -1 << u"K1AA"_s << QVariant(u"2024-03-12"_s) << 2
                                   << noFreq << true << u"out"_s;
    QTest::newRow("new, descending") << u"LogDate DESC, LogCall"_s << QString() << -1 << u"UA5"_s
                                     << QVariant(u"2024-03-11"_s) << 1 << noFreq << false << u"middle"_s;
    QTest::newRow("new, numbers and reals")
        << u"LogFreq"_s << book1 << -1 << u"K1AA"_s << QVariant(u"2024-03-11"_s) << 1 << QVariant(10.5)
        << true << u"middle"_s;
    QTest::newRow("new, filter only") << QString() << book1 << -1 << u"K1AA"_s << QVariant(u"2024-03-11"_s)
                                      << 1 << noFreq << false << u"last"_s;
    // Edits of a row in the middle of the view.
    QTest::newRow("edit, to first") << byDate << book1 << 50 << u"A1A"_s << QVariant() << 1 << noFreq << true
                                    << u"first"_s;
    QTest::newRow("edit, to last") << byDate << book1 << 50 << u"K1AA"_s << QVariant(u"2030-01-01"_s) << 1
                                   << noFreq << false << u"last"_s;
    QTest::newRow("edit, within its day") << byDate << book1 << 50 << u"ZZ9"_s << QVariant(u"2024-03-11"_s)
                                          << 1 << noFreq << true << u"middle"_s;
    QTest::newRow("edit, excluded") << byDate << book1 << 50 << u"K1AA"_s << QVariant(u"2024-03-11"_s) << 2
                                    << noFreq << false << u"out"_s;
    QTest::newRow("edit, descending to last") << u"LogDate DESC, LogCall"_s << book1 << 10 << u"ZZ9"_s
                                              << QVariant() << 1 << noFreq << true << u"last"_s;
}

void DatasetPlacementTest::postedRowStandsWhereARequeryPutsIt() {
    QFETCH(QString, sort);
    QFETCH(QString, filter);
    QFETCH(int, editRow);
    QFETCH(QString, call);
    QFETCH(QVariant, date);
    QFETCH(int, book);
    QFETCH(QVariant, freq);
    QFETCH(bool, warm);
    QFETCH(QString, expect);

    // Three blocks of rows, with ties of date and call, calls in both letter cases, null
    // dates, and frequencies stored as integers and as reals.
    DataTestDb db;
    db.createLog();
    for (int i = 0; i < 150; ++i) {
        const QString c = u"UA%1"_s.arg(i % 7);
        db.exec(u"INSERT INTO Log (LogCall, LogDate, LogNameLog, LogFreq) VALUES (?, ?, ?, ?)"_s,
                {i % 3 ? c : c.toLower(), i % 23 ? QVariant(u"2024-03-%1"_s.arg(10 + i % 5)) : QVariant(),
                 i % 4 ? 1 : 2, i % 2 ? QVariant(14) : QVariant(7.0 + i / 10.0)});
    }
    const auto openView = [&](Dataset& ds) {
        ds.setConnection(&db.conn);
        ds.setTableName(u"Log"_s);
        ds.setSort(sort);
        ds.setFilter(filter);
        ds.setFiltered(!filter.isEmpty());
        ds.open();
    };
    Dataset log;
    openView(log);
    const int before = log.recordCount();
    if (warm) keysOf(log);
    const qint64 previous = log.bookmark();
    qint64 edited = 0;
    qint64 follower = 0;
    if (editRow >= 0) {
        log.setRecNo(editRow + 1);
        edited = log.bookmark();
        log.setRecNo(editRow + 2);
        follower = log.bookmark();
        log.setRecNo(editRow + 1);
        log.edit();
    } else {
        log.append();
    }
    log.setValue(u"LogCall"_s, call);
    log.setValue(u"LogDate"_s, date);
    log.setValue(u"LogNameLog"_s, book);
    if (freq.isValid()) log.setValue(u"LogFreq"_s, freq);
    QSignalSpy resets(&log, &Dataset::layoutReset);
    log.post();
    const qint64 posted =
        editRow >= 0 ? edited : db.conn.scalar(u"SELECT max(LogNom) FROM Log"_s).toLongLong();

    // The posted row (or the row that took its place) is current.
    const bool shown = expect != u"out"_s;
    QCOMPARE(log.bookmarkValid(posted), shown);
    // Out of the view: an edited row gives way to the next, a new row leaves the cursor alone.
    QCOMPARE(log.bookmark(), shown ? posted : editRow >= 0 ? follower : previous);
    const int at = log.recNo() - 1;
    if (expect == u"first"_s) QCOMPARE(at, 0);
    if (expect == u"last"_s) QCOMPARE(at, log.recordCount() - 1);
    if (expect == u"middle"_s)
        QVERIFY2(at > 0 && at < log.recordCount() - 1, qPrintable(QString::number(at)));
    QCOMPARE(log.recordCount(), before + (editRow >= 0 ? (shown ? 0 : -1) : (shown ? 1 : 0)));
    // Views reload only when the list of rows changed.
    const bool listChanged = editRow < 0 ? shown : !shown || at != editRow;
    QCOMPARE(resets.size(), listChanged ? 1 : 0);

    // The same rows in the same order as a fresh read, and the values read match their rows.
    Dataset fresh;
    openView(fresh);
    QCOMPARE(keysOf(log), keysOf(fresh));
    const int callField = log.fieldIndex(u"LogCall"_s);
    for (int i = 0; i < log.recordCount(); ++i)
        QCOMPARE(log.valueAt(i, callField), fresh.valueAt(i, callField));
}

void DatasetPlacementTest::sortKeepingItsFirstColumnsReadsAsAFreshView_data() {
    QTest::addColumn<QString>("openSort");
    QTest::addColumn<QString>("sort");
    QTest::addColumn<QString>("action");
    const QString byTime = u"LogDate, LogTime"_s;
    const QString byCall = u"LogDate, LogCall"_s;
    QTest::newRow("walked from the start") << byTime << byCall << u"walk"_s;
    QTest::newRow("last rows read first, as the grid shows them") << byTime << byCall << u"tail"_s;
    QTest::newRow("a row located") << byTime << byCall << u"locate"_s;
    QTest::newRow("a new row posted") << byTime << byCall << u"append"_s;
    QTest::newRow("a row edited into another day") << byTime << byCall << u"edit"_s;
    QTest::newRow("the current row deleted") << byTime << byCall << u"delete"_s;
    QTest::newRow("sorted again before a read") << byTime << byCall << u"resort"_s;
    QTest::newRow("the same order again: nothing to put in order") << byTime << byTime << u"same"_s;
    QTest::newRow("first column descending")
        << u"LogDate DESC, LogTime"_s << u"LogDate DESC, LogCall"_s << u"tail"_s;
    QTest::newRow("first column a text without case")
        << u"LogCall, LogTime"_s << u"LogCall, LogDate DESC"_s << u"walk"_s;
    QTest::newRow("rows written by another program meanwhile") << byTime << byCall << u"foreign"_s;
}

// A sort that keeps the first columns of the one before leaves those rows' runs in place and
// orders each when it is read: whatever is read first, the view is what a fresh read gives.
void DatasetPlacementTest::sortKeepingItsFirstColumnsReadsAsAFreshView() {
    QFETCH(QString, openSort);
    QFETCH(QString, sort);
    QFETCH(QString, action);
    // More days than runs are put in order one by one, null dates, calls in both letter cases.
    DataTestDb db;
    db.createLog();
    db.exec(u"WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 1499) "
            "INSERT INTO Log (LogCall, LogDate, LogTime, LogNameLog) SELECT "
            "CASE WHEN i % 3 THEN 'UA' ELSE 'ua' END || (i * 7 % 11), "
            "CASE WHEN i % 23 THEN date('2024-01-01', '+' || (i * 37 % 400) || ' days') END, "
            "printf('%02d:%02d:00', i * 13 % 24, i * 7 % 60), CASE WHEN i % 4 THEN 1 ELSE 2 END FROM n"_s);
    const auto openView = [&](Dataset& ds, const QString& order) {
        ds.setConnection(&db.conn);
        ds.setTableName(u"Log"_s);
        ds.setSort(order);
        ds.setFilter(u"LogNameLog = 1"_s);
        ds.setFiltered(true);
        ds.open();
    };
    Dataset log;
    openView(log, openSort);
    log.setRecNo(log.recordCount() / 2);
    const qint64 current = log.bookmark();
    log.setSort(sort);
    QCOMPARE(log.bookmark(), current);

    Connection other(u"other"_s);
    other.openFile(db.path);
    const int callField = log.fieldIndex(u"LogCall"_s);
    if (action == u"same"_s) {
        OrderedReads reads(db.conn);
        for (int i = log.recordCount() - 1; i >= log.recordCount() - 40; --i)
            QVERIFY(!log.valueAt(i, callField).toString().isEmpty());
        QCOMPARE(reads.count, 0);
    } else if (action == u"tail"_s) {
        for (int i = log.recordCount() - 1; i >= log.recordCount() - 40; --i)
            QVERIFY(!log.valueAt(i, callField).toString().isEmpty());
    } else if (action == u"locate"_s) {
        Dataset fresh;
        openView(fresh, sort);
        QVERIFY(fresh.locate(u"LogCall"_s, u"UA5"_s));
        QVERIFY(log.locate(u"LogCall"_s, u"UA5"_s));
        QCOMPARE(log.bookmark(), fresh.bookmark());
    } else if (action == u"append"_s) {
        log.append();
        log.setValue(u"LogCall"_s, u"UA55"_s);
        log.setValue(u"LogDate"_s, u"2024-03-01"_s);
        log.setValue(u"LogNameLog"_s, 1);
        log.post();
        QCOMPARE(log.bookmark(), db.conn.scalar(u"SELECT max(LogNom) FROM Log"_s).toLongLong());
    } else if (action == u"edit"_s) {
        log.setRecNo(log.recordCount() / 3);
        const qint64 edited = log.bookmark();
        log.edit();
        log.setValue(u"LogDate"_s, u"2024-09-09"_s);
        log.post();
        QCOMPARE(log.bookmark(), edited);
    } else if (action == u"delete"_s) {
        log.remove();
        QVERIFY(!log.bookmarkValid(current));
    } else if (action == u"resort"_s) {
        log.setSort(u"LogDate, LogTime DESC, LogCall"_s);
        QCOMPARE(log.bookmark(), current);
        log.setSort(sort);
        QCOMPARE(log.bookmark(), current);
    } else if (action == u"foreign"_s) {
        // The view keeps the rows it had, as a requery-free view does: the new row stays out, the
        // deleted one stays in (last of the rows not yet ordered), and no row shows twice.
        Dataset atSort;
        openView(atSort, sort);
        std::vector<qint64> expected = keysOf(atSort);
        other.execute(u"INSERT INTO Log (LogCall, LogDate, LogNameLog) VALUES ('UA77', '2024-01-01', 1)"_s);
        const qint64 gone = other
                                .scalar(u"SELECT max(LogNom) FROM Log WHERE LogDate = '2024-01-02' AND "
                                        "LogNameLog = 1"_s)
                                .toLongLong();
        other.execute(u"DELETE FROM Log WHERE LogNom = ?"_s, {gone});
        std::vector<qint64> shown = keysOf(log);
        QCOMPARE(std::count(shown.begin(), shown.end(), gone), 1);
        std::erase(shown, gone);
        std::erase(expected, gone);
        QCOMPARE(shown, expected);
        return;
    }
    Dataset fresh;
    openView(fresh, sort);
    const std::vector<qint64> freshKeys = keysOf(fresh);
    if (log.recNo() > 0) QCOMPARE(log.bookmark(), freshKeys[size_t(log.recNo() - 1)]);
    QCOMPARE(keysOf(log), freshKeys);
    for (int i = 0; i < log.recordCount(); ++i)
        QCOMPARE(log.valueAt(i, callField), fresh.valueAt(i, callField));
}

QTEST_GUILESS_MAIN(DatasetPlacementTest)
#include "tst_datasetplacement.moc"
