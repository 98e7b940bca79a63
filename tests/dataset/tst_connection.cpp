// Database files reached by connection strings: opening, bound statements and transactions.

#include "DataTestDb.h"

#include <QDate>
#include <QDir>
#include <QSqlQuery>
#include <QtTest>

using namespace Qt::StringLiterals;

class ConnectionTest : public QObject {
    Q_OBJECT
private slots:
    void databaseFileIsTheDbqPath_data();
    void databaseFileIsTheDbqPath();
    void missingFileIsNotCreated();
    void nonDatabaseFileIsRefused();
    void openFollowsTheConnectionString();
    void valuesAreBoundNeverPasted();
    void datesAndYesNoAreStoredAsText();
    void driverErrorsThrow();
    void nestedTransactionsCommitOnceAtTheOutside();
    void transactionLeftByExceptionRollsBack();
    void innerRollbackUndoesTheWholeTransaction();
    void indexesSetAsideComeBackAsTheyWere_data();
    void indexesSetAsideComeBackAsTheyWere();
};

void ConnectionTest::databaseFileIsTheDbqPath_data() {
    QTest::addColumn<QString>("connectionString");
    QTest::addColumn<QString>("file");
    const QString longFolder = u"/home/op/"_s + QString(180, QLatin1Char('x'));
    QTest::newRow("as the data module builds it")
        << "Provider=MSDASQL.1;Password=p;Persist Security Info=True;Extended "
           "Properties=\"DBQ=/home/op/Zelmor\\DB\\Work\\cfg.mdb;"
           "DefaultDir=/home/op/Zelmor\\DB\\Work;Driver={Microsoft Access Driver "
           "(*.mdb)};DriverId=25;;Threads=3;\""
        << "/home/op/Zelmor/DB/Work/cfg.mdb";
    QTest::newRow("folder ending in a slash") << "DBQ=/data/\\DB\\Log\\Log_Zelmor.mdb;DefaultDir=/data"
                                              << "/data/DB/Log/Log_Zelmor.mdb";
    QTest::newRow("path longer than 143 characters")
        << "DBQ=" + longFolder + "\\DB\\Log\\Media.mdb;x=y" << longFolder + "/DB/Log/Media.mdb";
    QTest::newRow("last item without semicolon") << "Driver=x;DBQ=C:\\a\\b.mdb"
                                                 << "C:/a/b.mdb";
    QTest::newRow("no DBQ") << "Driver=x;DefaultDir=/a"
                            << "";
}

void ConnectionTest::databaseFileIsTheDbqPath() {
    QFETCH(QString, connectionString);
    QFETCH(QString, file);
    QCOMPARE(Connection::databaseFile(connectionString), file);
}

void ConnectionTest::missingFileIsNotCreated() {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"absent.mdb"_s);
    Connection c(u"ConnectionCB"_s);
    c.setConnectionString(u"DBQ="_s + path + u";DefaultDir=x"_s);
    try {
        c.open();
        QFAIL("opened a missing file");
    } catch (const DbError& e) {
        QVERIFY(e.message().contains(u"not found"_s));
    }
    QVERIFY(!QFile::exists(path));
    QVERIFY(!c.connected());
}

void ConnectionTest::nonDatabaseFileIsRefused() {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"junk.mdb"_s);
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'j'));
    f.close();
    Connection c(u"junk"_s);
    QVERIFY_THROWS_EXCEPTION(DbError, c.openFile(path));
    QVERIFY(!c.connected());
}

void ConnectionTest::openFollowsTheConnectionString() {
    DataTestDb db;
    db.exec(u"CREATE TABLE T (A INTEGER)"_s);
    db.conn.close();
    // Two connections to one file, each with its own driver connection.
    Connection a(u"a"_s);
    Connection b(u"a"_s);
    QString windowsStyle = db.path;
    windowsStyle.replace(QLatin1Char('/'), QLatin1Char('\\'));
    a.setConnectionString(u"DBQ="_s + windowsStyle + u";DefaultDir=x"_s);
    a.open();
    b.openFile(db.path);
    a.execute(u"INSERT INTO T VALUES (?)"_s, {7});
    QCOMPARE(b.scalar(u"SELECT A FROM T"_s).toInt(), 7);
    QCOMPARE(a.fileName(), db.path);
    QCOMPARE(a.scalar(u"PRAGMA journal_mode"_s).toString(), u"wal"_s);
}

void ConnectionTest::valuesAreBoundNeverPasted() {
    DataTestDb db;
    db.exec(u"CREATE TABLE T (S TEXT, N INTEGER)"_s);
    const QString nasty = u"O'NEIL'); DROP TABLE T; --"_s;
    QCOMPARE(db.conn.execute(u"INSERT INTO T VALUES (?, ?)"_s, {nasty, 1}), 1);
    QCOMPARE(db.conn.scalar(u"SELECT S FROM T WHERE N = ?"_s, {1}).toString(), nasty);
    QVERIFY(!db.conn.scalar(u"SELECT S FROM T WHERE N = ?"_s, {2}).isValid());
}

void ConnectionTest::datesAndYesNoAreStoredAsText() {
    DataTestDb db;
    db.exec(u"CREATE TABLE T (V)"_s);
    const QVariantList values = {QDate(2024, 3, 10), QTime(9, 5, 30),
                                 QDateTime(QDate(2024, 3, 10), QTime(9, 5, 30)),
                                 QDateTime(QDate(1899, 12, 30), QTime(23, 59, 0)), true};
    for (const QVariant& v : values)
        db.exec(u"INSERT INTO T VALUES (?)"_s, {v});
    QStringList stored;
    QSqlQuery q(db.conn.db());
    QVERIFY(q.exec(u"SELECT V FROM T ORDER BY rowid"_s));
    while (q.next())
        stored << q.value(0).toString();
    QCOMPARE(stored, (QStringList{"2024-03-10", "09:05:30", "2024-03-10 09:05:30", "23:59:00", "1"}));
}

void ConnectionTest::driverErrorsThrow() {
    DataTestDb db;
    try {
        db.exec(u"SELECT * FROM NoSuchTable"_s);
        QFAIL("no error");
    } catch (const DbError& e) {
        QVERIFY2(e.message().contains(u"NoSuchTable"_s), qPrintable(e.message()));
    }
    db.conn.close();
    QVERIFY_THROWS_EXCEPTION(DbError, db.conn.scalar(u"SELECT 1"_s));
}

void ConnectionTest::nestedTransactionsCommitOnceAtTheOutside() {
    DataTestDb db;
    db.exec(u"CREATE TABLE T (A INTEGER)"_s);
    Connection reader(u"reader"_s);
    reader.openFile(db.path);
    db.conn.beginTransaction();
    db.conn.beginTransaction();
    db.exec(u"INSERT INTO T VALUES (1)"_s);
    db.conn.commit();
    QVERIFY(db.conn.inTransaction());
    QCOMPARE(reader.scalar(u"SELECT count(*) FROM T"_s).toInt(), 0);
    db.conn.commit();
    QVERIFY(!db.conn.inTransaction());
    QCOMPARE(reader.scalar(u"SELECT count(*) FROM T"_s).toInt(), 1);
}

void ConnectionTest::transactionLeftByExceptionRollsBack() {
    DataTestDb db;
    db.exec(u"CREATE TABLE T (A INTEGER)"_s);
    try {
        Transaction t(db.conn);
        db.exec(u"INSERT INTO T VALUES (1)"_s);
        db.exec(u"INSERT INTO Missing VALUES (1)"_s);
        t.commit();
    } catch (const DbError&) {
    }
    QVERIFY(!db.conn.inTransaction());
    QCOMPARE(db.conn.scalar(u"SELECT count(*) FROM T"_s).toInt(), 0);
    {
        Transaction t(db.conn);
        db.exec(u"INSERT INTO T VALUES (2)"_s);
        t.commit();
    }
    QCOMPARE(db.conn.scalar(u"SELECT count(*) FROM T"_s).toInt(), 1);
}

void ConnectionTest::innerRollbackUndoesTheWholeTransaction() {
    DataTestDb db;
    db.exec(u"CREATE TABLE T (A INTEGER)"_s);
    db.conn.beginTransaction();
    db.exec(u"INSERT INTO T VALUES (1)"_s);
    {
        Transaction inner(db.conn);
        db.exec(u"INSERT INTO T VALUES (2)"_s);
    }
    QVERIFY_THROWS_EXCEPTION(DbError, db.conn.commit());
    QVERIFY(!db.conn.inTransaction());
    QCOMPARE(db.conn.scalar(u"SELECT count(*) FROM T"_s).toInt(), 0);
}

void ConnectionTest::indexesSetAsideComeBackAsTheyWere_data() {
    QTest::addColumn<bool>("restored");
    QTest::newRow("restored, then committed") << true;
    QTest::newRow("an error before restoring rolls back") << false;
}

void ConnectionTest::indexesSetAsideComeBackAsTheyWere() {
    QFETCH(bool, restored);
    DataTestDb db;
    db.createLog();
    db.exec(u"CREATE INDEX Log_Call ON Log (LogCall, LogDate)"_s);
    db.exec(u"CREATE INDEX \"Log Book\" ON Log (LogNameLog, logcall)"_s);
    db.exec(u"CREATE INDEX Log_Date ON Log (LogDate)"_s);
    db.addQso(u" UA3AAA"_s, u"2024-03-10"_s, u"09:05:30"_s, u"14"_s, 1);
    const QString indexes = u"SELECT group_concat(sql, ';') FROM (SELECT sql FROM sqlite_master "
                            "WHERE type = 'index' ORDER BY name)"_s;
    const QString before = db.conn.scalar(indexes).toString();
    QVERIFY_THROWS_EXCEPTION(DbError, IndexesSetAside(db.conn, u"Log"_s, u"LogCall"_s));
    try {
        Transaction tx(db.conn);
        IndexesSetAside aside(db.conn, u"Log"_s, u"LogCall"_s);
        QCOMPARE(
            db.conn.scalar(u"SELECT group_concat(name) FROM sqlite_master WHERE type = 'index'"_s).toString(),
            u"Log_Date"_s);
        db.exec(u"UPDATE Log SET LogCall = 'UA3AAA'"_s);
        if (!restored) throw DbError(u"disk full"_s);
        aside.restore();
        tx.commit();
    } catch (const DbError&) {
    }
    QCOMPARE(db.conn.scalar(indexes).toString(), before);
    QCOMPARE(db.conn.scalar(u"SELECT LogCall FROM Log INDEXED BY Log_Call"_s).toString(),
             restored ? u"UA3AAA"_s : u" UA3AAA"_s);
    QCOMPARE(db.conn.scalar(u"PRAGMA integrity_check"_s).toString(), u"ok"_s);
}

QTEST_GUILESS_MAIN(ConnectionTest)
#include "tst_connection.moc"
