#include "logbook/LogOperations.h"

#include "dataset/Connection.h"
#include "dataset/QuotedStr.h"
#include "platform/DateText.h"

#include <algorithm>

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
    if (c.prefix && !c.prefix->isEmpty() && *c.prefix != QLatin1String("*") && *c.prefix != QLatin1String("?"))
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

int deleteLogRows(Connection& c, const std::vector<qint64>& keys, int batchSize,
                  const std::function<void(int)>& progress) {
    batchSize = std::max(1, batchSize);
    int deleted = 0;
    int walked = 0;
    for (size_t from = 0; from < keys.size(); from += size_t(batchSize)) {
        const size_t to = std::min(keys.size(), from + size_t(batchSize));
        QVariantList binds;
        binds.reserve(qsizetype(to - from));
        for (size_t i = from; i < to; ++i)
            binds << keys[i];
        Transaction t(c);
        const int gone = c.execute(QStringLiteral("DELETE FROM Log WHERE LogNom IN (%1)")
                      .arg(QStringLiteral("?, ").repeated(qsizetype(to - from - 1)) + QLatin1Char('?')),
                  binds);
        t.commit();
        deleted += gone;
        walked += int(to - from);
        if (progress) progress(walked);
    }
    return deleted;
}
