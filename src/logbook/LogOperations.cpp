#include "logbook/LogOperations.h"

#include "dataset/Connection.h"
#include "dataset/QuotedStr.h"
#include "platform/DateText.h"

#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <exception>

namespace {
// Rows between two progress reports inside a batch.
constexpr size_t kProgressStep = 1000;
} // namespace

QString bookFilterText(int logId) {
    return QStringLiteral("LogNameLog = ") + QString::number(logId);
}

QString logFilterText(int logId, const LogFilterConditions& c) {
    QString f = bookFilterText(logId);
    const auto add = [&f](const char* column, const char* op, const QString& value) {
        f += QStringLiteral(" AND ") + QLatin1String(column) + QLatin1Char(' ') + QLatin1String(op) +
             QLatin1Char(' ') + QuotedStr(value);
    };
    if (c.call && c.call->size() > 1) add("LogCall", "LIKE", *c.call);
    if (c.prefix && !c.prefix->isEmpty() && *c.prefix != QLatin1String("*") &&
        *c.prefix != QLatin1String("?"))
        add("LogPref", "LIKE", *c.prefix);
    if (c.dates) {
        add("LogDate", ">=", DateText::shortDate(c.dates->first));
        add("LogDate", "<=", DateText::shortDate(c.dates->second));
    }
    if (c.times) {
        add("LogTime", ">=", DateText::longTime(c.times->first));
        add("LogTime", "<=", DateText::longTime(c.times->second));
    }
    if (c.band && !c.band->isEmpty()) add("LogBand", "=", *c.band);
    if (c.mode && c.mode->size() > 1) add("LogMode", "=", *c.mode);
    if (c.name && c.name->size() > 1) add("LogName", "LIKE", *c.name);
    if (c.qth && c.qth->size() > 1) add("LogQth", "LIKE", *c.qth);
    if (c.rxReport && c.rxReport->size() > 1) add("LogRxRst", "LIKE", *c.rxReport);
    if (c.txReport && c.txReport->size() > 1) add("LogTxRst", "LIKE", *c.txReport);
    if (c.qslSent) add("LogTxQsl", "<>", QString());
    if (c.qslReceived) add("LogRxQsl", "<>", QString());
    return f;
}

QString callFilterText(int logId, const QString& typed) {
    QString f = bookFilterText(logId);
    if (!typed.isEmpty() && typed != QLatin1String("*") && typed != QLatin1String("?"))
        f += QStringLiteral(" AND LogCall LIKE ") + QuotedStr(typed + QLatin1Char('*'));
    return f;
}

int deleteLogRows(Connection& c, const std::vector<qint64>& viewKeys, int batchSize, int setAsideFrom,
                  const std::function<void(int)>& progress) {
    batchSize = std::max(1, batchSize);
    // In key order the table's pages are visited once each, whatever order the view showed.
    std::vector<qint64> keys = viewKeys;
    std::sort(keys.begin(), keys.end());
    LargePageCache cache(c);
    // One statement prepared once and run per row: a long IN list binds in quadratic time.
    QSqlQuery del(c.db());
    if (!del.prepare(QStringLiteral("DELETE FROM Log WHERE LogNom = ?")))
        throw DbError(del.lastError().text());
    int deleted = 0;
    size_t done = 0;
    const auto deleteBatch = [&] {
        const size_t end = std::min(keys.size(), done + size_t(batchSize));
        for (; done < end; ++done) {
            del.bindValue(0, keys[done]);
            if (!del.exec()) throw failedWrite(del.lastError());
            deleted += del.numRowsAffected();
            if (progress && (done + 1) % kProgressStep == 0 && done + 1 < end) progress(int(done + 1));
        }
    };
    const bool setAside =
        keys.size() >= size_t(std::max(1, setAsideFrom)) &&
        2 * keys.size() >= c.scalar(QStringLiteral("SELECT COUNT(*) FROM Log")).toULongLong();
    if (!setAside) {
        while (done < keys.size()) {
            Transaction t(c);
            deleteBatch();
            t.commit();
            if (progress) progress(int(done));
        }
        return deleted;
    }
    Transaction whole(c);
    // Log_Book, Log_BookCall and Log_BookDate hold the book, Log_Call the call.
    IndexesSetAside bookIndexes(c, QStringLiteral("Log"), QStringLiteral("LogNameLog"));
    IndexesSetAside callIndexes(c, QStringLiteral("Log"), QStringLiteral("LogCall"));
    std::exception_ptr failed;
    while (done < keys.size()) {
        c.execute(QStringLiteral("SAVEPOINT clear_batch"));
        try {
            deleteBatch();
        } catch (const DbError&) {
            failed = std::current_exception();
        }
        if (failed) {
            try {
                c.execute(QStringLiteral("ROLLBACK TO clear_batch"));
                c.execute(QStringLiteral("RELEASE clear_batch"));
            } catch (const DbError&) {
                // The database ended the whole transaction itself (a full disk): the first error is the one
                // to show.
                std::rethrow_exception(failed);
            }
            break;
        }
        c.execute(QStringLiteral("RELEASE clear_batch"));
        if (progress) progress(int(done));
    }
    bookIndexes.restore();
    callIndexes.restore();
    whole.commit();
    if (failed) std::rethrow_exception(failed);
    return deleted;
}
