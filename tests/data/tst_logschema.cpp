// A log file of an earlier version, whose LogBand held 6 characters, opened by this one.
#include "data/LogSchema.h"
#include "dataset/Connection.h"
#include "dataset/TableSchema.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestLogSchema : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    std::unique_ptr<Connection> c;

    QStringList indexes() {
        QStringList out;
        QSqlQuery q = c->query("SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = 'Log' "
                               "AND sql IS NOT NULL ORDER BY name");
        while (q.next())
            out << q.value(0).toString();
        return out;
    }
    int bandSize() {
        const auto e = TableSchema::find(*c, "Log");
        for (const FieldDef& f : TableSchema::tableColumns(*c, e->name, e->createSql).fields)
            if (f.name == "LogBand") return f.size;
        return -1;
    }

private slots:
    void init() {
        const QString path = dir.filePath("Log_Zelmor.mdb");
        QFile::remove(path);
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        c = std::make_unique<Connection>("log");
        c->openFile(path);
        c->execute("CREATE TABLE Log (LogNom INTEGER PRIMARY KEY AUTOINCREMENT, -- key, as before\n"
                   "LogCall VARCHAR(20) COLLATE NOCASE, LogBand VARCHAR(6) COLLATE NOCASE, "
                   "LogBandNote VARCHAR(6), LogNameLog INTEGER)");
        c->execute("CREATE INDEX Log_Call ON Log (LogCall)");
        c->execute("CREATE VIEW Bands AS SELECT LogBand, count(*) AS N FROM Log GROUP BY LogBand");
        for (const char* call : {"UA1A", "DL1A", "JA1A"})
            c->execute(
                "INSERT INTO Log (LogCall, LogBand, LogBandNote, LogNameLog) VALUES (?, 'Satell', 'ab', 1)",
                {call});
        c->execute("DELETE FROM Log WHERE LogCall = 'JA1A'"); // the counter stays at 3
    }
    void cleanup() { c.reset(); }

    void widensTheBandKeepingEverything() {
        QVERIFY(LogSchema::upgrade(*c));
        QCOMPARE(bandSize(), LogSchema::kBandSize);
        const QString sql = TableSchema::find(*c, "Log")->createSql;
        QVERIFY2(sql.contains("LogBand VARCHAR(10) COLLATE NOCASE"), qPrintable(sql));
        QVERIFY2(sql.contains("LogBandNote VARCHAR(6)"), qPrintable(sql));
        QCOMPARE(c->scalar("SELECT group_concat(LogNom || LogCall || LogBand, ',') FROM Log").toString(),
                 QString("1UA1ASatell,2DL1ASatell"));
        QCOMPARE(indexes(), QStringList{"Log_Call"});
        QCOMPARE(c->scalar("SELECT N FROM Bands").toInt(), 2);
        c->execute("INSERT INTO Log (LogCall, LogBand) VALUES ('OH1A', 'Satellite')");
        QCOMPARE(c->scalar("SELECT LogNom FROM Log WHERE LogCall = 'OH1A'").toInt(), 4);
        QCOMPARE(c->scalar("SELECT count(*) FROM Log WHERE LogCall = 'oh1a'").toInt(), 1); // still NOCASE
        QVERIFY(!LogSchema::upgrade(*c));                                                  // once is enough
    }

    void columnTypeIsReplacedByName_data() {
        QTest::addColumn<QString>("create");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << "CREATE TABLE T (A INTEGER, B VARCHAR(6) COLLATE NOCASE, C TEXT)"
                               << "CREATE TABLE T (A INTEGER, B VARCHAR(10) COLLATE NOCASE, C TEXT)";
        QTest::newRow("quoted, last") << "CREATE TABLE T (A INTEGER, \"B\" VARCHAR (6))"
                                      << "CREATE TABLE T (A INTEGER, \"B\" VARCHAR(10))";
        QTest::newRow("after a comment") << "CREATE TABLE T (A INT, -- B VARCHAR(6)\n B CHAR(6))"
                                         << "CREATE TABLE T (A INT, -- B VARCHAR(6)\n B VARCHAR(10))";
        QTest::newRow("a longer name is another column") << "CREATE TABLE T (BB VARCHAR(6))"
                                                         << "CREATE TABLE T (BB VARCHAR(6))";
    }
    void columnTypeIsReplacedByName() {
        QFETCH(QString, create);
        QFETCH(QString, expected);
        QCOMPARE(TableSchema::withColumnType(create, "B", "VARCHAR(10)"), expected);
    }
};

QTEST_GUILESS_MAIN(TestLogSchema)
#include "tst_logschema.moc"
