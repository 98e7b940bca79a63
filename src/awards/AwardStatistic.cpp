#include "awards/AwardStatistic.h"

#include "awards/AwardViews.h"
#include "dataset/Connection.h"
#include "dataset/FilterParser.h"
#include "dataset/TableSchema.h"

#include <QSqlError>
#include <QSqlQuery>

namespace AwardStatistic {

const std::array<const char*, kBands> kBandCodes{"18", "35", "70", "10",  "14",  "180", "21",
                                                 "24", "28", "50", "Sat", "144", "430", "1260"};
const std::array<const char*, kModes> kModeSuffixes{"cw", "ssb", "rtty", "psk", "oth"};

namespace {

QString cellFlag(int band, int mode) {
    return QStringLiteral("c%1_%2").arg(band).arg(mode);
}

// One pass over the selected rows: an inner query flags each counted cell 0 or 1, the outer
// one sums the flags and, per mode, the rows with any flag of that mode.
QString countSql(const QString& where) {
    QStringList flags, sums, totals;
    for (int b = 0; b < kBands; ++b)
        for (int m = 0; m < kModes; ++m) {
            // Qualified: a missing column is an error, not a text that never counts.
            const QString cell =
                QStringLiteral("AwardMixInfo.") +
                FilterParser::quoted(QStringLiteral("Band%1%2")
                                         .arg(QLatin1String(kBandCodes[b]), QLatin1String(kModeSuffixes[m])));
            flags << QStringLiteral("IFNULL(%1 IN (?, ?), 0) AS %2").arg(cell, cellFlag(b, m));
            sums << QStringLiteral("TOTAL(%1)").arg(cellFlag(b, m));
        }
    for (int m = 0; m < kModes; ++m) {
        QStringList ofMode;
        for (int b = 0; b < kBands; ++b)
            ofMode << cellFlag(b, m);
        totals << QStringLiteral("TOTAL(MAX(%1))").arg(ofMode.join(QLatin1Char(',')));
    }
    return QStringLiteral("SELECT %1, %2 FROM (SELECT %3 "
                          "FROM AwardMixInfo%4)")
        .arg(sums.join(QLatin1Char(',')), totals.join(QLatin1Char(',')), flags.join(QLatin1Char(',')),
             where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where);
}

} // namespace

Counts count(Connection& log, const QString& filter, bool confirmedOnly) {
    const auto table = TableSchema::find(log, QStringLiteral("AwardMixInfo"));
    if (!table) throw DbError(QStringLiteral("AwardMixInfo: the table does not exist"));
    const TableColumns columns = TableSchema::tableColumns(log, table->name, table->createSql);
    const SqlCondition where = FilterParser::parseFilter(filter, columns.columns);
    // The two marks that count, once per cell.
    QVariantList binds;
    for (int i = 0; i < kBands * kModes; ++i)
        binds << QStringLiteral("cfm") << (confirmedOnly ? QStringLiteral("cfm") : QStringLiteral("wkd"));
    binds += where.binds;
    QSqlQuery q = log.query(countSql(where.where), binds);
    Counts counts;
    if (!q.next()) {
        if (q.lastError().isValid()) throw DbError(QStringLiteral("AwardMixInfo: ") + q.lastError().text());
        return counts;
    }
    int column = 0;
    for (auto& band : counts.cells)
        for (int& cell : band)
            cell = q.value(column++).toInt();
    for (int& total : counts.modeTotals)
        total = q.value(column++).toInt();
    return counts;
}

bool ensureViews(Connection& log, Connection& reference) {
    const QStringList& views = AwardViews::viewNames();
    QVariantList names(views.begin(), views.end());
    QStringList marks(views.size(), QStringLiteral("?"));
    const int present =
        log.scalar(QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE type = 'view' AND name IN (%1)")
                       .arg(marks.join(QLatin1Char(','))),
                   names)
            .toInt();
    if (present == views.size()) return false;
    Transaction t(log);
    for (const QString& statement : AwardViews::schemaStatements())
        log.execute(statement);
    for (const AwardViews::ItemList& list : AwardViews::itemLists()) {
        if (log.scalar(QStringLiteral("SELECT COUNT(*) FROM ") + list.table).toInt() > 0) continue;
        const QString insert = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                   .arg(list.table, list.columns.join(QLatin1Char(',')),
                                        QStringList(list.columns.size(), QStringLiteral("?")).join(','));
        QSqlQuery items = reference.query(list.fromReference);
        while (items.next()) {
            QVariantList row;
            for (int i = 0; i < list.columns.size(); ++i)
                row << items.value(i);
            log.execute(insert, row);
        }
    }
    t.commit();
    return true;
}

} // namespace AwardStatistic
