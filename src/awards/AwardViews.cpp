#include "awards/AwardViews.h"

namespace AwardViews {

namespace {

// Every view: the item key named after its award, the readable columns, then band, mode, QSL,
// the number of contacts and the book (null for an item never worked). The key column and the
// book's position are what the awards window relies on.
QString summary(const QString& items, const QString& itemColumns, const QString& join,
                const QString& groupColumns, const QString& order) {
    return QStringLiteral("SELECT %1, l.LogBand AS Band, l.LogMode AS Mode, l.LogRxQsl AS QSL, "
                          "COUNT(l.LogBand) AS QSOs, l.LogNameLog AS LogNameLog "
                          "FROM %2 LEFT JOIN Log l ON %3 "
                          "GROUP BY %4, l.LogBand, l.LogMode, l.LogRxQsl, l.LogNameLog "
                          "ORDER BY %5, l.LogBand, l.LogMode")
        .arg(itemColumns, items, join, groupColumns, order);
}

// A user award has no list of items: only what the log holds.
QString userSummary(const QString& column, const QString& award) {
    return QStringLiteral("SELECT %1 AS %2, LogBand AS Band, LogMode AS Mode, LogRxQsl AS QSL, "
                          "COUNT(LogBand) AS QSOs, LogNameLog FROM Log WHERE %1 <> '' "
                          "GROUP BY %1, LogBand, LogMode, LogRxQsl, LogNameLog "
                          "ORDER BY %1, LogBand, LogMode")
        .arg(column, award);
}

QString view(const QString& name, const QString& select) {
    return QStringLiteral("CREATE VIEW IF NOT EXISTS %1 AS %2").arg(name, select);
}

} // namespace

const QList<ItemList>& itemLists() {
    static const QList<ItemList> lists{
        {QStringLiteral("Aw_IOTA"),
         {QStringLiteral("Num"), QStringLiteral("Name")},
         QStringLiteral("SELECT Num, MIN(IslandName) FROM IOTA WHERE Num <> '' GROUP BY Num")},
        {QStringLiteral("Aw_WAS"),
         {QStringLiteral("State"), QStringLiteral("Name")},
         QStringLiteral("SELECT State, MIN(Name) FROM WAS WHERE State <> '' GROUP BY State")},
        {QStringLiteral("Aw_UR"),
         {QStringLiteral("Oblast"), QStringLiteral("CountryPref"), QStringLiteral("Name")},
         QStringLiteral("SELECT Oblast, CountryPref, MIN(Name) FROM RussUkr WHERE Oblast <> '' "
                        "GROUP BY Oblast, CountryPref")},
    };
    return lists;
}

const QStringList& viewNames() {
    static const QStringList names{QStringLiteral("SQL_DXCC_Aw"), QStringLiteral("SQL_WAZ_Aw"),
                                   QStringLiteral("SQL_IOTA_Aw"), QStringLiteral("SQL_UR_Aw"),
                                   QStringLiteral("SQL_WAS_Aw"),  QStringLiteral("SQL_User1_Aw"),
                                   QStringLiteral("SQL_User2_Aw")};
    return names;
}

QStringList schemaStatements() {
    return {
        QStringLiteral("CREATE TABLE IF NOT EXISTS Aw_IOTA (Num VARCHAR(10) COLLATE NOCASE, "
                       "Name VARCHAR(100) COLLATE NOCASE)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS Aw_WAS (State VARCHAR(10) COLLATE NOCASE, "
                       "Name VARCHAR(20) COLLATE NOCASE)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS Aw_UR (Oblast VARCHAR(2) COLLATE NOCASE, "
                       "CountryPref VARCHAR(10) COLLATE NOCASE, Name VARCHAR(25) COLLATE NOCASE)"),
        // DXCC: column 6 is the book.
        view(QStringLiteral("SQL_DXCC_Aw"),
             summary(QStringLiteral("Aw_DXCC a"), QStringLiteral("a.Prefix AS DXCC, a.Region AS Country"),
                     QStringLiteral("a.Prefix = l.LogPref"), QStringLiteral("a.Prefix, a.Region"),
                     QStringLiteral("a.Prefix"))),
        // WAZ: the CQ zones 1 to 40; column 5 is the book.
        view(QStringLiteral("SQL_WAZ_Aw"),
             summary(QStringLiteral("(WITH RECURSIVE z(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM z "
                                    "WHERE n < 40) SELECT CAST(n AS TEXT) AS Zone, n FROM z) a"),
                     QStringLiteral("a.Zone AS WAZ"), QStringLiteral("a.Zone = l.LogAwWAZ"),
                     QStringLiteral("a.n, a.Zone"), QStringLiteral("a.n"))),
        // IOTA: column 6 is the book.
        view(QStringLiteral("SQL_IOTA_Aw"),
             summary(QStringLiteral("Aw_IOTA a"), QStringLiteral("a.Num AS IOTA, a.Name AS Island"),
                     QStringLiteral("a.Num = l.LogAwIOTA"), QStringLiteral("a.Num, a.Name"),
                     QStringLiteral("a.Num"))),
        // Regions: the stored reference is the region code followed by its entity; column 7 is the book.
        view(QStringLiteral("SQL_UR_Aw"),
             summary(QStringLiteral("Aw_UR a"),
                     QStringLiteral("a.Oblast AS UkrRus, a.Name AS Region, a.CountryPref AS Entity"),
                     QStringLiteral("a.Oblast || a.CountryPref = l.LogAwUR"),
                     QStringLiteral("a.Oblast, a.Name, a.CountryPref"),
                     QStringLiteral("a.CountryPref, a.Oblast"))),
        // WAS: column 6 is the book.
        view(QStringLiteral("SQL_WAS_Aw"),
             summary(QStringLiteral("Aw_WAS a"), QStringLiteral("a.State AS WAS, a.Name AS Name"),
                     QStringLiteral("a.State = l.LogAwWAS"), QStringLiteral("a.State, a.Name"),
                     QStringLiteral("a.State"))),
        // The user awards: column 5 is the book.
        view(QStringLiteral("SQL_User1_Aw"),
             userSummary(QStringLiteral("LogAwUser1"), QStringLiteral("User1"))),
        view(QStringLiteral("SQL_User2_Aw"),
             userSummary(QStringLiteral("LogAwUser2"), QStringLiteral("User2"))),
    };
}

} // namespace AwardViews
