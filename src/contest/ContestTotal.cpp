#include "contest/ContestTotal.h"

#include "dataset/Connection.h"
#include "dataset/DbError.h"
#include "dataset/FilterParser.h"
#include "dataset/TableSchema.h"
#include "platform/NumberText.h"

#include <QSqlQuery>

namespace ContestTotal {

QString pointsTotal(Connection& c, const QString& table, const QString& filter) {
    const std::optional<TableSchema::Entry> e = TableSchema::find(c, table);
    if (!e) throw DbError(QStringLiteral("table \"%1\" does not exist").arg(table));
    const TableColumns columns = TableSchema::tableColumns(c, e->name, e->createSql);
    const SqlCondition condition = FilterParser::parseFilter(filter, columns.columns);
    QString sql = QStringLiteral("SELECT Log4 FROM ") + FilterParser::quoted(e->name) +
                  QStringLiteral(" WHERE Log4 <> ''");
    if (!condition.where.isEmpty()) sql += QStringLiteral(" AND (") + condition.where + QStringLiteral(")");
    QSqlQuery q = c.query(sql, condition.binds);
    double total = 0;
    while (q.next()) {
        double v = 0;
        if (NumberText::toFloat(q.value(0).toString(), v)) total += v;
    }
    return NumberText::fromFloat(total);
}

QString latestSentNumber(Connection& c, qint64 book) {
    return c
        .scalar(QStringLiteral("SELECT Log3 FROM Log WHERE LogNameLog = ? AND Log3 GLOB '[0-9]*' "
                               "ORDER BY LogNom DESC LIMIT 1"),
                {book})
        .toString();
}

} // namespace ContestTotal
