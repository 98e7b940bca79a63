#pragma once
// The log view's filter texts and the bulk delete of "Clear": values in, texts and row counts out,
// no window, so the filter window, the call filter and the benchmarks share them.

#include <QDate>
#include <QString>
#include <QTime>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

class Connection;

// The conditions of the filter window; an empty optional is an unticked box.
struct LogFilterConditions {
    std::optional<QString> call;
    std::optional<QString> prefix;
    std::optional<std::pair<QDate, QDate>> dates;
    std::optional<std::pair<QTime, QTime>> times;
    std::optional<QString> band;
    std::optional<QString> mode;
    std::optional<QString> name;
    std::optional<QString> qth;
    std::optional<QString> rxReport;
    std::optional<QString> txReport;
    bool qslSent = false;
    bool qslReceived = false;
};

// "LogNameLog = 3": the view of one book, the start of every filter of the log.
QString bookFilterText(int logId);
// The book's filter followed by each ticked condition in the window's order; a ticked condition
// whose value fails its length test adds nothing. Every value is quoted (inner quotes doubled).
QString logFilterText(int logId, const LogFilterConditions& c);
// The call filter: the book's contacts whose call begins with the typed text ("*" and "?" alone
// show the whole book).
QString callFilterText(int logId, const QString& typed);

// Deletes the given rows of table Log (keys are LogNom), batchSize rows to a batch, and reports how
// many keys are done after each batch and every thousand rows. On an error the failing batch is
// rolled back, the batches before it stay deleted, and the error is thrown. Returns the rows deleted.
// From setAsideFrom rows on, when they are at least half the table, the Log indexes are set aside
// for the deletes and made again after (a sort per index instead of four B-tree changes per row);
// the whole delete is then one transaction, each batch a savepoint in it.
int deleteLogRows(Connection& c, const std::vector<qint64>& keys, int batchSize, int setAsideFrom,
                  const std::function<void(int done)>& progress = {});
