// The log grid's sort orders, "Delete QSO" and "Clear".
#include "logbook/UMain.h"

#include "contest/ContestScoring.h"
#include "contest/UContst.h"
#include "data/UDM.h"
#include "dataset/Dataset.h"
#include "logbook/LogOperations.h"
#include "logbook/UProgres.h"
#include "platform/Dialogs.h"
#include "widgets/DBGrid.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QPalette>

namespace {

// Rows deleted per transaction by "Clear": every commit rewrites the index pages the batch
// touched, which for a few thousand rows is most of them.
constexpr int kClearBatch = 25000;
// From this many rows on a clear of most of the table sets the indexes aside.
constexpr int kClearSetAsideFrom = 10000;

void sortLog(QAction* item, const char* sort) {
    item->setChecked(true);
    DM->TableLog->setSort(QString::fromLatin1(sort));
}

// The keys of the rows in the log view, in view order.
std::vector<qint64> rowsInView(Dataset* log) {
    std::vector<qint64> keys;
    keys.reserve(size_t(log->recordCount()));
    for (log->first(); !log->eof(); log->next())
        keys.push_back(log->bookmark());
    return keys;
}

// After "Clear": the view re-read and on its last row, its controls enabled again.
void showRestOfLog(Dataset* log) {
    struct Enable {
        Dataset* log;
        ~Enable() { log->enableControls(); }
    } enable{log};
    log->requery();
    log->last();
}

} // namespace

void TFMain::setUpLogGrid() {
    // Cream rows under grey headings.
    QPalette rows = DBGridLog->palette();
    rows.setColor(QPalette::Base, QColor(0xFF, 0xFB, 0xF0));
    DBGridLog->setPalette(rows);
    QPalette headings = DBGridLog->horizontalHeader()->palette();
    headings.setColor(QPalette::Button, QColor(0xC0, 0xC0, 0xC0));
    DBGridLog->horizontalHeader()->setPalette(headings);
    connectHandler(ViewSortCall, &TFMain::ViewSortCallClick);
    connectHandler(ViewSortDate, &TFMain::ViewSortDateClick);
    connectHandler(ViewSortBand, &TFMain::ViewSortBandClick);
    connectHandler(ViewSortMode, &TFMain::ViewSortModeClick);
    connectHandler(ViewSortQTH, &TFMain::ViewSortQTHClick);
    connectHandler(ViewSortName, &TFMain::ViewSortNameClick);
    connectHandler(ViewSortRcvdQSL, &TFMain::ViewSortRcvdQSLClick);
    connectHandler(ViewSortSendQSL, &TFMain::ViewSortSendQSLClick);
    connectHandler(LogDelete, &TFMain::LogDeleteClick);
    connectHandler(LogClear, &TFMain::LogClearClick);
}

void TFMain::ViewSortCallClick() {
    sortLog(ViewSortCall, "LogCall, LogDate");
}

void TFMain::ViewSortDateClick() {
    sortByDateShowing(0);
}

void TFMain::sortByDateShowing(qint64 savedRow) {
    Dataset* log = DM->TableLog;
    // A saved row is placed in the view's order as it is posted: under a date and time order
    // already (the book's own order differs only between contacts of the same second), there is
    // nothing to read again.
    if (savedRow != 0 && (log->sort() == QLatin1String("LogDate, LogTime, LogCall") ||
                          log->sort() == QLatin1String("LogDate, LogTime")))
        ViewSortDate->setChecked(true);
    else
        sortLog(ViewSortDate, "LogDate, LogTime, LogCall");
    // A contact saved with an earlier time than the day's last one does not stand last.
    if (savedRow != 0 && log->bookmarkValid(savedRow))
        log->gotoBookmark(savedRow);
    else if (log->active())
        log->last();
}

void TFMain::ViewSortBandClick() {
    sortLog(ViewSortBand, "LogBand, LogDate, LogCall");
}

void TFMain::ViewSortModeClick() {
    sortLog(ViewSortMode, "LogMode, LogDate, LogCall");
}

void TFMain::ViewSortQTHClick() {
    sortLog(ViewSortQTH, "LogQth, LogDate, LogCall");
}

void TFMain::ViewSortNameClick() {
    sortLog(ViewSortName, "LogName, LogDate, LogCall");
}

void TFMain::ViewSortRcvdQSLClick() {
    sortLog(ViewSortRcvdQSL, "LogRxQsl, LogDate, LogCall");
}

void TFMain::ViewSortSendQSLClick() {
    sortLog(ViewSortSendQSL, "LogTxQsl, LogDate, LogCall");
}

void TFMain::LogDeleteClick() {
    Dataset* log = DM->TableLog;
    // An empty view has no contact to name or delete.
    if (!log->active() || log->isEmpty()) return;
    const QString call = log->field(QStringLiteral("LogCall")).asString();
    if (Dialogs::messageDlg(QStringLiteral("Delete ") + call + QStringLiteral(" ?"), DlgType::Confirmation,
                            DlgButtons::YesNoCancel) != DlgResult::Yes)
        return;
    const QString points = log->field(QStringLiteral("Log4")).asString();
    log->remove();
    // The running total no longer holds what the deleted contact scored.
    if (ContestBegin->isChecked() && !points.isEmpty())
        FCont->Label5->setText(ContestScoring::replacePoints(FCont->Label5->text(), points, {}));
}

void TFMain::LogClearClick() {
    if (Dialogs::messageDlg(QStringLiteral("Clear LOG ?"), DlgType::Confirmation, DlgButtons::YesNoCancel) !=
        DlgResult::Yes)
        return;
    Dataset* log = DM->TableLog;
    // Only the rows in the view go: the current book's contacts that pass the active filter.
    ProgressWalk walk(log->recordCount(), {.hide = this, .detach = DM->DataSourceLog});
    log->disableControls();
    try {
        deleteLogRows(*DM->ConnectionLog, rowsInView(log), kClearBatch, kClearSetAsideFrom,
                      [&walk](int done) { walk.setMain(done); });
    } catch (...) {
        // The batches deleted before the error stay deleted and the view shows what is left;
        // the error shown is the first one.
        try {
            showRestOfLog(log);
        } catch (...) {
        }
        throw;
    }
    showRestOfLog(log);
}
