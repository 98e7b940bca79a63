// The template databases as the program meets them: the prefix look-up chain over the reference
// tables, and the declared columns the data-access layer reads.
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

namespace {

QSqlDatabase db(const QString& name) {
    return QSqlDatabase::database(name, false);
}

QList<QVariantList> rowsOf(const QString& connection, const QString& sql, const QVariantList& binds = {}) {
    QSqlQuery q(db(connection));
    q.setForwardOnly(true);
    if (!q.prepare(sql)) qFatal("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
    for (qsizetype i = 0; i < binds.size(); ++i)
        q.bindValue(int(i), binds.at(i));
    if (!q.exec()) qFatal("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
    QList<QVariantList> rows;
    while (q.next()) {
        QVariantList row;
        for (int c = 0; c < q.record().count(); ++c)
            row.append(q.value(c));
        rows.append(row);
    }
    return rows;
}

QVariant valueOf(const QString& connection, const QString& sql, const QVariantList& binds = {}) {
    const QList<QVariantList> rows = rowsOf(connection, sql, binds);
    return rows.isEmpty() ? QVariant() : rows.first().first();
}

struct Found {
    QString prefix, dxccPrefix, country, cqZone, ituZone;
    double timeUtc = 0, longitude = 0;
    QString oblast, countryPref;
};

// The program's look-up: the longest of the call's first 1 to 6 characters that is an AllPrefix,
// then PREF by Prefix and RussUkr by Prefix.
Found lookUp(const QString& call) {
    QString prefix;
    for (int i = 1; i <= qMin(6, int(call.size())); ++i) {
        const QVariant p = valueOf("ref", "SELECT Prefix FROM ALLPREF WHERE AllPrefix = ?", {call.left(i)});
        if (p.isValid()) prefix = p.toString();
    }
    Found f;
    const auto pref = rowsOf("ref",
                             "SELECT Prefix, DXCCPrefix, Country, CQZone, ITUZone, TimeUTC, Longitude "
                             "FROM PREF WHERE Prefix = ?",
                             {prefix});
    if (pref.size() != 1) return f;
    const QVariantList& r = pref.first();
    f = {r[0].toString(), r[1].toString(), r[2].toString(), r[3].toString(),
         r[4].toString(), r[5].toDouble(), r[6].toDouble()};
    const auto region = rowsOf("ref", "SELECT Oblast, CountryPref FROM RussUkr WHERE Prefix = ?", {f.prefix});
    if (!region.isEmpty()) {
        f.oblast = region.first()[0].toString();
        f.countryPref = region.first()[1].toString();
    }
    return f;
}

// Columns of a table as PRAGMA table_info gives them: name -> declared type, in order.
QList<QPair<QString, QString>> columnsOf(const QString& connection, const QString& table) {
    QList<QPair<QString, QString>> columns;
    for (const QVariantList& r : rowsOf(connection, QStringLiteral("PRAGMA table_info(%1)").arg(table)))
        columns.append({r[1].toString(), r[2].toString()});
    return columns;
}

QStringList namesOf(const QString& connection, const QString& table) {
    QStringList names;
    for (const auto& c : columnsOf(connection, table))
        names << c.first;
    return names;
}

// The collation a column was declared with (SQLite's default is BINARY).
QString collationOf(const QString& connection, const QString& table, const QString& column) {
    const QString sql =
        valueOf(connection, "SELECT sql FROM sqlite_master WHERE type = 'table' AND name = ?", {table})
            .toString();
    const QRegularExpression def(QStringLiteral(R"((?:\(|,)\s*%1\s+[^,]*?COLLATE\s+(\w+))").arg(column),
                                 QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = def.match(sql);
    return m.hasMatch() ? m.captured(1).toUpper() : QStringLiteral("BINARY");
}

// The unique index of a table: its columns and their collations.
QList<QPair<QString, QString>> uniqueKeyOf(const QString& connection, const QString& table) {
    for (const QVariantList& index : rowsOf(connection, QStringLiteral("PRAGMA index_list(%1)").arg(table))) {
        if (index[2].toInt() != 1) continue;
        QList<QPair<QString, QString>> key;
        for (const QVariantList& c :
             rowsOf(connection, QStringLiteral("PRAGMA index_xinfo(%1)").arg(index[1].toString())))
            if (c[5].toInt() == 1) key.append({c[2].toString(), c[4].toString()});
        return key;
    }
    return {};
}

QString queryPlan(const QString& connection, const QString& sql) {
    QStringList steps;
    for (const QVariantList& r : rowsOf(connection, QStringLiteral("EXPLAIN QUERY PLAN ") + sql))
        steps << r.last().toString();
    return steps.join(QLatin1Char('\n'));
}

bool searchesAnIndex(const QString& plan) {
    static const QRegularExpression search(QStringLiteral(R"(SEARCH \w+ USING (COVERING )?INDEX)"));
    return plan.contains(search) && !plan.contains(QLatin1String("TEMP B-TREE"));
}

} // namespace

class TestReferenceData : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void everyDxccEntityIsListed();
    void everyEntityIsReachable();
    void russianClocksSince2014_data();
    void russianClocksSince2014();
    void callFindsEntityAndRegion_data();
    void callFindsEntityAndRegion();
    void prefixRowsCarryZonesClockAndWestPositiveLongitude();
    void everyLinkOfTheLookUpChainHolds();
    void islandsPointAtTheirEntity();
    void fiftyStates();
    void awardTableHasItsCellsAndExactKeys();
    void logColumnsStandInOrderAndCallSearchUsesAnIndex();
    void freshLogHasOneSelectedBook();
    void settingsKeyIsUniqueAndExact();
    void callbookAndMediaColumns();
};

void TestReferenceData::initTestCase() {
    const QString templates = qEnvironmentVariable("ZELMOR_TEMPLATES");
    QVERIFY2(!templates.isEmpty(), "ZELMOR_TEMPLATES is not set");
    const QList<QPair<QString, QString>> files{{"ref", "DB/Work/DB.mdb"},
                                               {"cfg", "DB/Work/cfg.mdb"},
                                               {"log", "DB/Log/Log_Zelmor.mdb"},
                                               {"media", "DB/Log/Media.mdb"},
                                               {"cbook", "DB/CallBook/CBook.mdb"}};
    for (const auto& [name, relative] : files) {
        const QString path = QDir(templates).filePath(relative);
        QVERIFY2(QFile::exists(path), qPrintable(path));
        QSqlDatabase d = QSqlDatabase::addDatabase("QSQLITE", name);
        d.setDatabaseName(path);
        d.setConnectOptions("QSQLITE_OPEN_READONLY");
        QVERIFY2(d.open(), qPrintable(d.lastError().text()));
    }
}

void TestReferenceData::cleanupTestCase() {
    for (const QString& name : QSqlDatabase::connectionNames()) {
        db(name).close();
        QSqlDatabase::removeDatabase(name);
    }
}

void TestReferenceData::everyDxccEntityIsListed() {
    const int entities = valueOf("ref", "SELECT count(*) FROM DXCC").toInt();
    QVERIFY2(entities >= 340, qPrintable(QString::number(entities)));
    QCOMPARE(valueOf("ref", "SELECT count(DISTINCT Prefix) FROM DXCC").toInt(), entities);
    QCOMPARE(valueOf("ref", "SELECT Region FROM DXCC WHERE Prefix = 'JA'").toString(), QString("Japan"));
    QCOMPARE(valueOf("log", "SELECT count(*) FROM Aw_DXCC").toInt(), entities);
}

void TestReferenceData::everyEntityIsReachable() {
    const auto unreachable =
        rowsOf("ref", "SELECT Prefix FROM DXCC d WHERE NOT EXISTS (SELECT 1 FROM PREF p "
                      "JOIN ALLPREF a ON a.Prefix = p.Prefix WHERE p.DXCCPrefix = d.Prefix)");
    QStringList names;
    for (const QVariantList& r : unreachable)
        names << r.first().toString();
    QVERIFY2(names.isEmpty(), qPrintable(names.join(' ')));
    QCOMPARE(valueOf("ref", "SELECT count(*) FROM DXCC").toInt(), 340);
}

// Moscow time is UTC+3 since 26 October 2014; regions as the tz database has them today.
void TestReferenceData::russianClocksSince2014_data() {
    QTest::addColumn<QString>("call");
    QTest::addColumn<double>("timeUtc");
    QTest::newRow("Moscow") << "UA3ABC" << 3.0;
    QTest::newRow("St. Petersburg") << "RA1AAB" << 3.0;
    QTest::newRow("Kaliningrad") << "UA2FAB" << 2.0;
    QTest::newRow("Samara") << "RA4HAB" << 4.0;
    QTest::newRow("Perm, in Europe") << "RA9FAB" << 5.0;
    QTest::newRow("Chelyabinsk") << "UA9AAB" << 5.0;
    QTest::newRow("Omsk") << "RA9MAB" << 6.0;
    QTest::newRow("Novosibirsk") << "RA9OAB" << 7.0;
    QTest::newRow("Irkutsk") << "UA0SAB" << 8.0;
    QTest::newRow("Primorsky Krai") << "UA0LAB" << 10.0;
    QTest::newRow("Kamchatka") << "UA0ZAB" << 12.0;
    QTest::newRow("Ukraine unchanged") << "UR5ABC" << 2.0;
}

void TestReferenceData::russianClocksSince2014() {
    QFETCH(QString, call);
    QTEST(lookUp(call).timeUtc, "timeUtc");
}

void TestReferenceData::callFindsEntityAndRegion_data() {
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("country");
    QTest::addColumn<QString>("dxccPrefix");
    QTest::addColumn<QString>("oblast");
    QTest::addColumn<QString>("countryPref");
    const auto row = [](const char* call, const char* country, const char* dxcc, const char* oblast = "",
                        const char* countryPref = "") {
        QTest::newRow(call) << QString(call) << QString(country) << QString(dxcc) << QString(oblast)
                            << QString(countryPref);
    };
    row("UR5ABC", "Ukraine", "UR", "SU", "UR");
    row("EM1UAB", "Ukraine", "UR", "KV", "UR");
    row("UA3ABC", "European Russia", "UA", "MA", "UA");
    row("RA3ABC", "European Russia", "UA", "MA", "UA");
    row("R3ABC", "European Russia", "UA", "MA", "UA");
    row("UA9ABC", "Asiatic Russia", "UA9", "CB", "UA9");
    row("RA9FAB", "European Russia", "UA", "PM", "UA"); // an area-9 region that lies in Europe
    row("UA2FAB", "Kaliningrad", "UA2", "KA", "UA2");
    row("RI1FAB", "Franz Josef Land", "R1FJ"); // cty.dat gives this family prefix to another entity
    row("UN7ABC", "Kazakhstan", "UN");
    row("K1ABC", "United States of America", "K");
    row("JA1ABC", "Japan", "JA");
    row("VK2ABC", "Australia", "VK");
    row("G4ABC", "England", "G");
    row("EA8ABC", "Canary Islands", "EA8");
    row("IT9ABC", "Italy", "I"); // Sicily counts for WAE only
}

void TestReferenceData::callFindsEntityAndRegion() {
    QFETCH(QString, call);
    QFETCH(QString, country);
    QFETCH(QString, dxccPrefix);
    QFETCH(QString, oblast);
    QFETCH(QString, countryPref);

    const Found f = lookUp(call);
    QCOMPARE(f.country, country);
    QCOMPARE(f.dxccPrefix, dxccPrefix);
    QCOMPARE(f.oblast, oblast);
    QCOMPARE(f.countryPref, countryPref);
    QCOMPARE(valueOf("ref", "SELECT Region FROM DXCC WHERE Prefix = ?", {f.dxccPrefix}).toString().isEmpty(),
             false);
}

void TestReferenceData::prefixRowsCarryZonesClockAndWestPositiveLongitude() {
    const Found japan = lookUp("JA1ABC");
    QCOMPARE(japan.timeUtc, 9.0);
    QCOMPARE(japan.cqZone, QString("25"));
    QCOMPARE(japan.ituZone, QString("45"));
    const Found usa = lookUp("K1ABC");
    QVERIFY(usa.timeUtc < 0);
    QVERIFY(usa.longitude > 0);
    QVERIFY(lookUp("VK2ABC").longitude < 0);
    // An Asiatic region keeps its own zones.
    QCOMPARE(lookUp("UA0KAB").cqZone, QString("19"));
    QCOMPARE(lookUp("UA0KAB").ituZone, QString("25"));
}

void TestReferenceData::everyLinkOfTheLookUpChainHolds() {
    const char* const faults[] = {
        "SELECT AllPrefix FROM ALLPREF GROUP BY AllPrefix HAVING count(*) > 1",
        "SELECT AllPrefix FROM ALLPREF WHERE length(AllPrefix) NOT BETWEEN 1 AND 6",
        "SELECT Prefix FROM ALLPREF a WHERE NOT EXISTS (SELECT 1 FROM PREF p WHERE p.Prefix = a.Prefix)",
        "SELECT Prefix FROM PREF GROUP BY Prefix HAVING count(*) > 1",
        "SELECT Prefix FROM PREF p WHERE NOT EXISTS (SELECT 1 FROM DXCC d WHERE d.Prefix = p.DXCCPrefix)",
        "SELECT Prefix FROM RussUkr r WHERE NOT EXISTS (SELECT 1 FROM PREF p WHERE p.Prefix = r.Prefix)",
        "SELECT Prefix FROM RussUkr GROUP BY Prefix HAVING count(*) > 1",
        "SELECT Prefix FROM RussUkr WHERE length(Prefix) > 4 OR length(Oblast) <> 2",
    };
    for (const char* sql : faults) {
        const auto rows = rowsOf("ref", sql);
        if (!rows.isEmpty()) QFAIL(qPrintable(QString("%1: %2").arg(sql, rows.first().first().toString())));
    }
    QVERIFY(valueOf("ref", "SELECT count(*) FROM RussUkr").toInt() > 100);
}

void TestReferenceData::islandsPointAtTheirEntity() {
    QCOMPARE(valueOf("ref", "SELECT count(*) FROM IOTA WHERE Num = 'EU-005'").toInt(), 3);
    QCOMPARE(valueOf("ref", "SELECT PrefDXXC FROM IOTA WHERE Num = 'EU-005' AND IslandName = 'Great Britain'")
                 .toString(),
             lookUp("G4ABC").dxccPrefix);
    QCOMPARE(valueOf("ref", "SELECT PrefDXXC FROM IOTA WHERE Num = 'EU-005' AND IslandName = 'Scotland'")
                 .toString(),
             lookUp("GM4ABC").dxccPrefix);
    // A call pattern names the entity: AF-002 lies in cty.dat's "FT/z".
    QCOMPARE(valueOf("ref", "SELECT PrefDXXC FROM IOTA WHERE Num = 'AF-002'").toString(),
             lookUp("FT5ZA").dxccPrefix);
    QCOMPARE(valueOf("ref", "SELECT PrefDXXC FROM IOTA WHERE Num = 'AF-004'").toString(), QString("EA8"));
    // The list's own marks: "VR(HK)", "VU(A)", "VU(L)", "CE0(A)", "VP8(F)".
    for (const auto& [num, entity] : QList<QPair<QString, QString>>{
             {"AS-006", "VR"}, {"AS-033", "VU4"}, {"AS-106", "VU7"}, {"SA-083", "CE0Y"}, {"SA-002", "VP8"}})
        QCOMPARE(valueOf("ref", "SELECT PrefDXXC FROM IOTA WHERE Num = ?", {num}).toString(), entity);
    const auto unresolved = rowsOf(
        "ref", "SELECT Num, PrefDXXC FROM IOTA i WHERE NOT EXISTS (SELECT 1 FROM DXCC d WHERE d.Prefix = "
               "i.PrefDXXC)");
    QVERIFY2(unresolved.isEmpty(), qPrintable(unresolved.value(0).value(0).toString() + " " +
                                              unresolved.value(0).value(1).toString()));
}

void TestReferenceData::fiftyStates() {
    QCOMPARE(valueOf("ref", "SELECT count(*) FROM WAS").toInt(), 50);
    QCOMPARE(valueOf("ref", "SELECT Name FROM WAS WHERE State = 'CA'").toString(), QString("California"));
}

void TestReferenceData::awardTableHasItsCellsAndExactKeys() {
    QStringList expected{"Num", "LogNameLog", "AwName", "Param1", "Param2", "Param3", "Other"};
    const QStringList bands{"18", "35", "70",  "10",  "14",  "180",  "21",  "24",
                            "28", "50", "Sat", "144", "430", "1260", "137", "Q"};
    const auto modesOf = [](const QString& band) -> QStringList {
        if (band == "137") return {"cw", "oth"};
        if (band == "Q") return {"cw", "ssb", "rtty", "fm", "digit", "psk", "oth", "sstv"};
        if (QStringList{"28", "50", "Sat", "144", "430", "1260"}.contains(band))
            return {"cw", "ssb", "rtty", "fm", "psk", "oth"};
        return {"cw", "ssb", "rtty", "psk", "oth"};
    };
    for (const QString& band : bands)
        expected << "Band" + band;
    for (const QString& band : bands)
        for (const QString& mode : modesOf(band))
            expected << "Band" + band + mode;
    QCOMPARE(expected.size(), 109);

    const auto columns = columnsOf("log", "AwardMixInfo");
    QCOMPARE(namesOf("log", "AwardMixInfo"), expected);
    QCOMPARE(columns.at(0).second, QString("INTEGER"));
    QCOMPARE(columns.at(1).second, QString("INTEGER"));
    QCOMPARE(columns.at(2).second, QString("VARCHAR(150)"));
    QCOMPARE(columns.at(6).second, QString("VARCHAR(150)"));
    for (int i = 3; i < columns.size(); ++i)
        if (i != 6) QCOMPARE(columns.at(i).second, QString("VARCHAR(50)"));
    for (const char* exact : {"AwName", "Param1", "Param2", "Param3"})
        QCOMPARE(collationOf("log", "AwardMixInfo", exact), QString("BINARY"));
    QCOMPARE(collationOf("log", "AwardMixInfo", "Other"), QString("NOCASE"));
    QCOMPARE(collationOf("log", "AwardMixInfo", "BandQsstv"), QString("NOCASE"));

    const QList<QPair<QString, QString>> key{{"LogNameLog", "BINARY"},
                                             {"AwName", "BINARY"},
                                             {"Param1", "BINARY"},
                                             {"Param2", "BINARY"},
                                             {"Param3", "BINARY"}};
    QCOMPARE(uniqueKeyOf("log", "AwardMixInfo"), key);
}

void TestReferenceData::logColumnsStandInOrderAndCallSearchUsesAnIndex() {
    const QStringList expected{"LogNom",    "LogCall",  "LogPref",    "LogObl",      "LogDate",  "LogTime",
                               "LogBand",   "LogMode",  "LogName",    "LogQth",      "LogRxRst", "LogTxRst",
                               "LogTxQsl",  "LogRxQsl", "LogNotepad", "LogOther",    "Log1",     "Log2",
                               "Log3",      "Log4",     "LogNameLog", "LogQSLImage", "LogAwWAS", "LogAwWAZ",
                               "LogAwIOTA", "LogAwUR",  "LogAwUser1", "LogAwUser2",  "LogAw",    "Rez1",
                               "Rez2",      "LogFreq",  "LogQTHLoc"};
    QCOMPARE(namesOf("log", "Log"), expected);
    const auto columns = columnsOf("log", "Log");
    QCOMPARE(columns.at(0).second, QString("INTEGER"));
    QCOMPARE(columns.at(1).second, QString("VARCHAR(20)"));
    QCOMPARE(columns.at(4).second, QString("DATETIME"));
    QCOMPARE(columns.at(21).second, QString("BLOB"));
    QCOMPARE(columns.at(31).second, QString("DECIMAL(18)"));

    for (const auto& [connection, sql] : QList<QPair<QString, QString>>{
             {"log", "SELECT * FROM Log WHERE LogCall LIKE 'UA3%'"},
             {"log", "SELECT * FROM Log WHERE LogNameLog = 1 ORDER BY LogDate, LogTime"},
             {"ref", "SELECT * FROM ALLPREF WHERE AllPrefix = 'UA3'"}}) {
        const QString plan = queryPlan(connection, sql);
        QVERIFY2(searchesAnIndex(plan), qPrintable(sql + ": " + plan));
    }
}

void TestReferenceData::freshLogHasOneSelectedBook() {
    const auto books = rowsOf("log", "SELECT Name, Prim, Sel, LogStart FROM LogName");
    QCOMPARE(books.size(), 1);
    QCOMPARE(books.first()[0].toString(), QString("Main"));
    QCOMPARE(books.first()[2].toInt(), 1);
    QVERIFY(books.first()[3].isNull());
    QCOMPARE(valueOf("log", "SELECT count(*) FROM Log").toInt(), 0);
    QCOMPARE(valueOf("log", "SELECT count(*) FROM AwardMixInfo").toInt(), 0);
}

void TestReferenceData::settingsKeyIsUniqueAndExact() {
    const QList<QPair<QString, QString>> key{
        {"FormName", "BINARY"}, {"Object", "BINARY"}, {"Name_Param", "BINARY"}};
    QCOMPARE(uniqueKeyOf("cfg", "Cfg"), key);
    QCOMPARE(columnsOf("cfg", "Cfg").at(4), (QPair<QString, QString>("Param", "TEXT")));
    // The one shipped row: the recording template, a WAV header.
    QCOMPARE(valueOf("cfg", "SELECT count(*) FROM Cfg").toInt(), 1);
    QCOMPARE(valueOf("cfg", "SELECT substr(Memo, 1, 4) FROM Cfg WHERE FormName = 'Fsound' AND Prim = 'StartRec'")
                 .toByteArray(),
             QByteArray("RIFF"));

    const auto bands =
        rowsOf("cfg", "SELECT Param FROM FormConfig WHERE FormName = 'FMain' AND Name_Param = 'ComboBoxBand' "
                      "ORDER BY Num");
    QCOMPARE(bands.size(), 14);
    QCOMPARE(bands.first()[0].toString(), QString("1.8"));
    QCOMPARE(bands.last()[0].toString(), QString("Satellite"));
    QCOMPARE(valueOf("cfg", "SELECT count(*) FROM FormConfig WHERE Name_Param = 'ComboBoxMode'").toInt(), 12);
}

void TestReferenceData::callbookAndMediaColumns() {
    QCOMPARE(namesOf("cbook", "CB_W"), (QStringList{"Call", "Name", "QTH", "QTHLoc", "Note", "EMail", "Other",
                                                    "UpdateStamp", "Birthday"}));
    QCOMPARE(namesOf("media", "Pict"),
             (QStringList{"Date_Time", "Call", "R1", "R2", "R3", "R4", "Fot1", "Fot2"}));
    QCOMPARE(namesOf("media", "Sound"), (QStringList{"DateTim", "Callsignal", "Sound"}));
    QCOMPARE(columnsOf("media", "Sound").at(2).second, QString("BLOB"));
}

QTEST_GUILESS_MAIN(TestReferenceData)
#include "tst_reference_data.moc"
