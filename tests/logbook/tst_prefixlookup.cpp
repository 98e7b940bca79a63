// The prefix look-up as values, as the whole-log rebuild and the ADIF import use it.
#include "dataset/Connection.h"
#include "logbook/PrefixLookup.h"
#include "support/TempDataFolder.h"

#include <QtTest>

class TestPrefixLookup : public QObject {
    Q_OBJECT
    std::unique_ptr<TempDataFolder> folder;
    std::unique_ptr<Connection> db;

private slots:
    void initTestCase() {
        folder = std::make_unique<TempDataFolder>();
        db = std::make_unique<Connection>("reference");
        db->openFile(folder->file("DB/Work/DB.mdb"));
    }
    void cleanupTestCase() {
        db.reset();
        folder.reset();
    }

    void longestMatchWithSlashVariants() {
        const QStringList known{"K", "K/D", "UA", "UA3A", "3D/C"};
        QStringList asked;
        auto exists = [&](const QString& p, QString& stored) {
            asked << p;
            if (!known.contains(p)) return false;
            stored = p;
            return true;
        };
        QCOMPARE(longestPrefixMatch("UA3ABC", exists), QString("UA3A"));
        // Six characters at most, the variant only at 3 to 5 and only after a miss.
        QCOMPARE(asked, QStringList({"U", "UA", "UA3", "U/3", "UA3A", "UA3AB", "UA3/B", "UA3ABC"}));
        asked.clear();
        QCOMPARE(longestPrefixMatch("K1DX", exists), QString("K/D"));
        QCOMPARE(asked, QStringList({"K", "K1", "K1D", "K/D", "K1DX", "K1/X"}));
        // A shorter match stands when longer lengths find nothing.
        QCOMPARE(longestPrefixMatch("UA1ZZZZZ", exists), QString("UA"));
        QCOMPARE(longestPrefixMatch("", exists), QString());
    }

    void findGivesTheCountryRowsAsValues() {
        PrefixLookup lookup(*db);
        const PrefixInfo ua = lookup.find("UA3ABC");
        QVERIFY(ua.found);
        QCOMPARE(ua.allPrefix, QString("UA3A"));
        QCOMPARE(ua.dxccPrefix, QString("UA"));
        QCOMPARE(ua.dxccEntity, QString("UA"));
        QCOMPARE(ua.country, QString("European Russia"));
        QCOMPARE(ua.cqZone, QString("16"));
        QCOMPARE(ua.regionCode, QString("MA"));
        QCOMPARE(ua.regionEntity, QString("UA"));

        const PrefixInfo ja = lookup.find("ja1abc"); // stored calls may be lower case
        QCOMPARE(ja.country, QString("Japan"));
        QCOMPARE(ja.timeUtc, 9.0);
        QVERIFY(ja.longitude < 0); // west-positive as stored
        QVERIFY(ja.regionCode.isEmpty());
        QVERIFY(ja.iotaNum.isEmpty()); // Japan has many islands: no pre-fill

        const PrefixInfo rodrigues = lookup.find("3B9XX");
        QCOMPARE(rodrigues.iotaNum, QString("AF-017"));
        QCOMPARE(rodrigues.iotaName, QString("Rodrigues Island"));

        const PrefixInfo none = lookup.find("QQ1ABC");
        QVERIFY(!none.found);
        QVERIFY(none.country.isEmpty());
        QVERIFY(!lookup.find("O'NEIL").found);
    }
};

QTEST_GUILESS_MAIN(TestPrefixLookup)
#include "tst_prefixlookup.moc"
