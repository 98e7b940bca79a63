// The whole-log award rebuild on its own connections: the normal form of pass 1 and the marks of
// pass 2, which must equal marking every contact in turn.
#include "awards/AwardMarks.h"
#include "awards/AwardRebuild.h"
#include "dataset/Connection.h"
#include "logbook/PrefixLookup.h"
#include "support/TempDataFolder.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

namespace {

// Every mark row without its number, in key order: what the award displays read.
QStringList markRows(Connection& c) {
    QSqlQuery q = c.query("SELECT * FROM AwardMixInfo ORDER BY LogNameLog, AwName, Param1, Param2, Param3");
    QStringList rows;
    while (q.next()) {
        QStringList cells;
        for (int i = 1; i < q.record().count(); ++i)
            if (!q.value(i).toString().isEmpty())
                cells << q.record().fieldName(i) + "=" + q.value(i).toString();
        rows << cells.join(' ');
    }
    return rows;
}

struct Contact {
    int book;
    QString band, mode, rxQsl, pref, obl, waz, ur, iota, was, user1;
};

} // namespace

class TestAwardRebuild : public QObject {
    Q_OBJECT
    std::unique_ptr<TempDataFolder> folder;
    std::unique_ptr<Connection> log, ref;

    qint64 insert(const Contact& k, const QString& call = "DL1AA", const QString& log1 = "upd") {
        log->execute(
            "INSERT INTO Log (LogCall, LogNameLog, LogBand, LogMode, LogRxQsl, LogPref, LogObl, "
            "LogAwWAZ, LogAwUR, LogAwIOTA, LogAwWAS, LogAwUser1, Log1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, "
            "?, ?, ?, ?, ?)",
            {call, k.book, k.band, k.mode, k.rxQsl, k.pref, k.obl, k.waz, k.ur, k.iota, k.was, k.user1,
             log1});
        return log->scalar("SELECT MAX(LogNom) FROM Log").toLongLong();
    }

private slots:
    void init() {
        folder = std::make_unique<TempDataFolder>();
        log = std::make_unique<Connection>("log");
        log->openFile(folder->file("DB/Log/Log_Zelmor.mdb"));
        ref = std::make_unique<Connection>("ref");
        ref->openFile(folder->file("DB/Work/DB.mdb"));
    }
    void cleanup() {
        log.reset();
        ref.reset();
        folder.reset();
    }

    // The rebuilt marks are those that marking each contact in turn gives; a mark no contact
    // supports is gone.
    void marksEqualMarkingEachContact() {
        const QList<Contact> contacts{
            {1, "14", "CW", "", "DL", "Germany", "14", "", "", "", ""},
            {1, "14", "CW", "Y", "DL", "Fed. Rep. of Germany", "14", "", "", "", ""},
            {1, "14", "CW", "", "DL", "Germany again", "14", "", "", "", ""},
            {2, "7.0", "PSK31", "", "DL", "Germany", "14", "", "", "", ""},
            {2, "7", "psk31", "Y", "UA9", "Asiatic Russia", "17", "ABUA9", "AS-005", "", "A:;B:;C"},
            {1, "1,8", "CW", "Y", "", "", "", "", "", "", ""},
            {1, "137", "SSB", "", "K", "USA", "5", "", "", "NY", "x"},
            {3, "Q", "DIGITAL", "", "k", "usa", "5", "", "", "ny", ""},
            {1, "28", "FM", "", "DL", "Germany", "14", "", "", "", ":;only b"},
        };
        for (const Contact& k : contacts)
            insert(k);
        log->execute(
            "INSERT INTO AwardMixInfo (LogNameLog, AwName, Param1, Param2, Param3, Band14) VALUES (1, "
            "'DXCC', 'ZZ', '', '', 'cfm')");
        // The same contacts marked one by one, as saving them would, in another log file.
        TempDataFolder other;
        Connection expected("expected");
        expected.openFile(other.file("DB/Log/Log_Zelmor.mdb"));
        for (const Contact& k : contacts)
            for (const auto& item :
                 AwardMarks::itemsFromStoredQso({k.pref, k.obl, k.waz, k.ur, k.iota, k.was, k.user1, {}}))
                AwardMarks::markAwardCell(expected, k.book, item, k.band, k.mode,
                                          k.rxQsl.isEmpty() ? "wkd" : "cfm");

        QList<int> pass1, pass2;
        int maximum = -1;
        AwardRebuild::rebuild(
            *log, *ref,
            {[&](int p) { pass1 << p; }, [&](int n) { maximum = n; }, [&](int p) { pass2 << p; }});
        QCOMPARE(markRows(*log), markRows(expected));
        QCOMPARE(markRows(*log).filter("Param1=ZZ").size(), 0);
        QCOMPARE(maximum, contacts.size());
        QCOMPARE(pass1.last(), contacts.size());
        QCOMPARE(pass2.last(), contacts.size());
    }

    void normalFormOfAContact_data() {
        QTest::addColumn<QString>("log1");
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("rxQsl");
        QTest::addColumn<QString>("storedPref");
        QTest::addColumn<QString>("wantCall");
        QTest::addColumn<QString>("wantPref");
        QTest::addColumn<QString>("wantWaz");
        QTest::addColumn<QString>("wantUR");
        QTest::addColumn<QString>("status");
        QTest::newRow("blanks around the call are gone before the look-up") << ""
                                                                            << " DL1ABC "
                                                                            << "  "
                                                                            << ""
                                                                            << "DL1ABC"
                                                                            << "DL"
                                                                            << "14"
                                                                            << ""
                                                                            << "wkd";
        QTest::newRow("a normalised contact keeps what it holds and blanks confirm") << "upd"
                                                                                     << " DL1ABC "
                                                                                     << "  "
                                                                                     << "XX"
                                                                                     << " DL1ABC "
                                                                                     << "XX"
                                                                                     << ""
                                                                                     << ""
                                                                                     << "cfm";
        QTest::newRow("the stamp compares with letter case") << "UPD"
                                                             << "DL1ABC"
                                                             << ""
                                                             << "XX"
                                                             << "DL1ABC"
                                                             << "DL"
                                                             << "14"
                                                             << ""
                                                             << "wkd";
        QTest::newRow("a region follows its prefix") << ""
                                                     << "UA9XYZ"
                                                     << "Y"
                                                     << ""
                                                     << "UA9XYZ"
                                                     << "UA"
                                                     << "17"
                                                     << "ABUA9"
                                                     << "cfm";
        QTest::newRow("a call nobody knows is marked under empty keys") << ""
                                                                        << "0Q0Q"
                                                                        << ""
                                                                        << "DL"
                                                                        << "0Q0Q"
                                                                        << ""
                                                                        << ""
                                                                        << ""
                                                                        << "wkd";
    }
    void normalFormOfAContact() {
        QFETCH(QString, log1);
        QFETCH(QString, call);
        QFETCH(QString, rxQsl);
        QFETCH(QString, storedPref);
        QFETCH(QString, wantCall);
        QFETCH(QString, wantPref);
        QFETCH(QString, wantWaz);
        QFETCH(QString, wantUR);
        QFETCH(QString, status);
        PrefixLookup lookup(*ref);
        const QString ua9 = lookup.find("UA9XYZ").prefix;
        ref->execute("DELETE FROM RussUkr WHERE Prefix = ?", {ua9});
        ref->execute(
            "INSERT INTO RussUkr (Oblast, Prefix, Name, CountryPref) VALUES ('AB', ?, 'Test', 'UA9')", {ua9});
        Contact k{1, "14", "CW", rxQsl, storedPref, "", "", "", "", "NY", "a:;b:;c"};
        const qint64 nom = insert(k, call, log1);

        AwardRebuild::rebuild(*log, *ref);
        QSqlQuery r = log->query("SELECT LogCall, LogPref, LogAwWAZ, LogAwUR, Log1, LogRxQsl, LogAwWAS, "
                                 "LogAwUser1 FROM Log WHERE LogNom = ?",
                                 {nom});
        QVERIFY(r.next());
        QCOMPARE(r.value(0).toString(), wantCall);
        QCOMPARE(r.value(1).toString(), wantPref);
        QCOMPARE(r.value(2).toString(), wantWaz);
        QCOMPARE(r.value(3).toString(), wantUR);
        QCOMPARE(r.value(4).toString(), QString("upd"));
        QCOMPARE(r.value(6).toString(), QString("NY"));
        QCOMPARE(r.value(7).toString(), QString("a:;b:;c"));
        const QStringList marks = markRows(*log);
        QVERIFY2(marks.filter(QRegularExpression("AwName=DXCC.*Band14=" + status)).size() == 1,
                 qPrintable(marks.join('\n')));
        QCOMPARE(marks.filter("AwName=UkrRus Param1=AB Param2=UA9").size(), wantUR.isEmpty() ? 0 : 1);
        QCOMPARE(marks.filter("AwName=User1 Param1=a Param2=b Param3=c").size(), 1);
    }

    // An error in the marking pass leaves the old marks as they were.
    void failedMarkingKeepsTheOldMarks() {
        for (const char* pref : {"DL", "F", "G", "I"})
            insert({1, "14", "CW", "", pref, "", "1", "", "", "", ""});
        AwardRebuild::rebuild(*log, *ref);
        log->execute("UPDATE AwardMixInfo SET Band14cw = 'cfm' WHERE Param1 = 'F'");
        const QStringList before = markRows(*log);
        log->execute(
            "CREATE TRIGGER fail BEFORE INSERT ON AwardMixInfo WHEN (SELECT COUNT(*) FROM AwardMixInfo) "
            ">= 3 BEGIN SELECT RAISE(ABORT, 'injected failure'); END");
        QVERIFY_THROWS_EXCEPTION(DbError, AwardRebuild::rebuild(*log, *ref));
        QCOMPARE(markRows(*log), before);
        QVERIFY(!log->inTransaction());
    }

    // Blanks around most of the calls: the calls are rewritten with their indexes rebuilt, and a
    // failure on the way leaves calls and indexes as they were.
    void manyUntrimmedCallsKeepTheirIndexes_data() {
        QTest::addColumn<bool>("fails");
        QTest::addColumn<QString>("blank");
        QTest::newRow("rewritten") << false << " ";
        QTest::newRow("failing at the last call") << true << " ";
        QTest::newRow("tabs, found only on the walk") << false << "\t";
        QTest::newRow("tabs, failing at the last call") << true << "\t";
    }
    void manyUntrimmedCallsKeepTheirIndexes() {
        QFETCH(bool, fails);
        QFETCH(QString, blank);
        constexpr int kContacts = 6000;
        log->execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?) "
                     "INSERT INTO Log (LogCall, LogNameLog, LogDate, LogTime, LogBand, LogMode) "
                     "SELECT ? || 'DL' || i || ?, 1, '2024-03-10', '09:05:30', '14', 'CW' FROM n",
                     {kContacts, blank, blank});
        if (fails)
            log->execute("CREATE TRIGGER fail BEFORE UPDATE OF LogCall ON Log WHEN NEW.LogCall = 'DL6000' "
                         "BEGIN SELECT RAISE(ABORT, 'injected failure'); END");
        const QString indexes = "SELECT group_concat(sql, ';') FROM (SELECT sql FROM sqlite_master "
                                "WHERE type = 'index' AND tbl_name = 'Log' ORDER BY name)";
        const QString before = log->scalar(indexes).toString();
        QVERIFY(before.contains("LogCall"));
        if (fails)
            QVERIFY_THROWS_EXCEPTION(DbError, AwardRebuild::rebuild(*log, *ref));
        else
            AwardRebuild::rebuild(*log, *ref);
        QCOMPARE(log->scalar(indexes).toString(), before);
        QCOMPARE(log->scalar("PRAGMA integrity_check").toString(), QString("ok"));
        const int untrimmed = log->scalar("SELECT COUNT(*) FROM Log INDEXED BY Log_BookCall "
                                          "WHERE LogNameLog = 1 AND LogCall < 'A'")
                                  .toInt();
        QCOMPARE(untrimmed, fails ? kContacts : 0);
        QCOMPARE(log->scalar("SELECT LogCall FROM Log INDEXED BY Log_Call WHERE LogCall = 'dl17'").toString(),
                 fails ? QString() : QString("DL17"));
    }
};

QTEST_GUILESS_MAIN(TestAwardRebuild)
#include "tst_awardrebuild.moc"
