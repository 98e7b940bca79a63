#include "data/LogBooks.h"

#include "awards/AwardMarks.h"
#include "dataset/Connection.h"
#include "dataset/FilterParser.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace LogBooks {

namespace {

// The same award item in the book being moved (s) and the book it goes into (d); a null key
// reads as the empty text.
const QString kSameItem = QStringLiteral(
    "d.AwName = s.AwName AND d.Param1 = s.Param1 AND IFNULL(d.Param2, '') = IFNULL(s.Param2, '') "
    "AND IFNULL(d.Param3, '') = IFNULL(s.Param3, '')");

// Moving most of a large log row by row rewrites every entry of the indexes led by the book
// number one at a time; dropping them and building them again from their stored definitions, in
// the same transaction, gives the same indexes several times faster.
constexpr int kRebuildFrom = 20000;

QStringList bookIndexDefinitions(Connection& c) {
    QSqlQuery q(c.db());
    if (!q.exec(
            QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = 'index' AND tbl_name = 'Log' "
                           "AND sql LIKE '%(LogNameLog%'")))
        throw DbError(q.lastError().text());
    QStringList out;
    while (q.next())
        out << q.value(0).toString() << q.value(1).toString();
    return out;
}

int repointContacts(Connection& c, qint64 from, qint64 to) {
    const QString update = QStringLiteral("UPDATE Log SET LogNameLog = ? WHERE LogNameLog = ?");
    const int moving =
        c.scalar(QStringLiteral("SELECT COUNT(*) FROM Log WHERE LogNameLog = ?"), {from}).toInt();
    const int all = moving < kRebuildFrom ? 0 : c.scalar(QStringLiteral("SELECT COUNT(*) FROM Log")).toInt();
    if (moving < kRebuildFrom || moving * 3 < all) return c.execute(update, {to, from});
    const QStringList indexes = bookIndexDefinitions(c);
    for (int i = 0; i < indexes.size(); i += 2)
        c.execute(QStringLiteral("DROP INDEX ") + FilterParser::quoted(indexes[i]));
    const int moved = c.execute(update, {to, from});
    for (int i = 1; i < indexes.size(); i += 2)
        c.execute(indexes[i]);
    return moved;
}

bool bookExists(Connection& c, qint64 num) {
    return c.scalar(QStringLiteral("SELECT 1 FROM LogName WHERE Num = ?"), {num}).isValid();
}

// The marks both books hold: the higher of the two cells, compared exactly as the marks are written.
void mergeSharedMarks(Connection& c, qint64 from, qint64 to) {
    QStringList sets{QStringLiteral("Other = s.Other")};
    for (const QString& cell : AwardMarks::allCells())
        sets << QStringLiteral("%1 = CASE WHEN d.%1 = 'cfm' COLLATE BINARY OR s.%1 = 'cfm' COLLATE BINARY "
                               "THEN 'cfm' WHEN d.%1 = 'wkd' COLLATE BINARY OR s.%1 = 'wkd' COLLATE BINARY "
                               "THEN 'wkd' ELSE COALESCE(d.%1, s.%1) END")
                    .arg(cell);
    c.execute(QStringLiteral("UPDATE AwardMixInfo AS d SET ") + sets.join(QStringLiteral(", ")) +
                  QStringLiteral(" FROM AwardMixInfo AS s WHERE d.LogNameLog = ? AND s.LogNameLog = ? AND ") +
                  kSameItem,
              {to, from});
    c.execute(QStringLiteral("DELETE FROM AwardMixInfo AS s WHERE s.LogNameLog = ? AND EXISTS (SELECT 1 FROM "
                             "AwardMixInfo AS d WHERE d.LogNameLog = ? AND ") +
                  kSameItem + QStringLiteral(")"),
              {from, to});
    c.execute(QStringLiteral("UPDATE AwardMixInfo SET LogNameLog = ? WHERE LogNameLog = ?"), {to, from});
}

} // namespace

int moveBook(Connection& c, qint64 from, qint64 to) {
    Transaction t(c);
    if (!bookExists(c, from) || !bookExists(c, to)) return 0;
    // A book moved onto itself changes no number: its count is the answer.
    const int moved =
        from == to ? c.scalar(QStringLiteral("SELECT COUNT(*) FROM Log WHERE LogNameLog = ?"), {from}).toInt()
                   : repointContacts(c, from, to);
    if (from != to) mergeSharedMarks(c, from, to);
    t.commit();
    return moved;
}

} // namespace LogBooks
