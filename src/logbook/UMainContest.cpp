// The main window's part in contest mode: the "Contest" menu, the exchange boxes, the contest
// columns of a stored contact and the last contact of the typed call.
#include "logbook/UMain.h"

#include "contest/ContestScoring.h"
#include "contest/ContestTotal.h"
#include "contest/UContest.h"
#include "contest/UContst.h"
#include "data/UDM.h"
#include "dataset/Connection.h"
#include "platform/DateText.h"
#include "platform/Dialogs.h"
#include "widgets/DBGrid.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

namespace {

// The award table of the contest window is read again (new marks of the last saves).
void rereadContestStatistic() {
    if (!DM->logOpen()) return;
    Dataset* stats = DM->TableContestStatistic;
    stats->setFiltered(false);
    stats->close();
    stats->open();
    stats->setFiltered(true);
}

// The points of a contact on a band in a mode, from the configuration; empty when the band
// has no row in its grid.
QString contestPoints(const QString& band, const QString& mode) {
    const int row = ContestScoring::bandIndex(band);
    if (row < 0) return {};
    return ContestScoring::points(FContConf->pointCell(ContestScoring::modeGroup(mode), row)->text(),
                                  FContConf->SPoint->value());
}

// The sent number after a contact, when the serial is switched on; a text that is not a
// number stays as it is.
void stepSentSerial(QLineEdit* sent) {
    if (!FContConf->CheckBoxSen->isChecked()) return;
    if (const auto next = ContestScoring::nextSerial(sent->text(), FContConf->MaskEdit1->text()))
        sent->setText(*next);
}

} // namespace

void TFMain::connectContestHandlers() {
    contestItemBefore_ = ContestEnd;
    connectHandler(OptionContestConfig, &TFMain::OptionContestConfigClick);
    connectHandler(ContestBegin, &TFMain::ContestBeginClick);
    connectHandler(ContestEnd, &TFMain::ContestEndClick);
    connectHandler(ContestViewInfo, &TFMain::ContestViewInfoClick);
}

void TFMain::OptionContestConfigClick() {
    FContConf->ShowModal();
}

void TFMain::showContestPanel(bool contest) {
    Label4->setVisible(!contest);
    Label5->setVisible(!contest);
    for (QLineEdit* box : {EditName, EditQTH}) {
        box->setVisible(!contest);
        box->setEnabled(!contest);
    }
    for (QWidget* w : {static_cast<QWidget*>(Label32), static_cast<QWidget*>(Label33),
                       static_cast<QWidget*>(EditNmTx), static_cast<QWidget*>(EditNmRx)})
        w->setVisible(contest);
}

void TFMain::showContestGridColumns(bool contest) {
    for (const char* column : {"LogName", "LogQth", "LogRxQsl", "LogTxQsl"})
        DBGridLog->setColumnVisible(QLatin1String(column), !contest);
    for (const char* column : {"Log2", "Log3"})
        DBGridLog->setColumnVisible(QLatin1String(column), contest);
}

void TFMain::ContestBeginClick() {
    FCont->setWindowTitle(FContConf->ComboBox1->currentText());
    if (FCont->windowTitle().isEmpty()) {
        Dialogs::showMessage(QStringLiteral("Please enter configuration and run again!"));
        FContConf->ShowModal();
        // Not in contest mode without rules: contacts would get hidden exchanges and points.
        contestItemBefore_->setChecked(true);
        return;
    }
    FCont->ShowAwardCells(false);
    FCont->ButtonDXCCClick();
    rereadContestStatistic();
    showContestPanel(true);
    showContestGridColumns(true);
    if (!FContConf->CheckBoxSen->isChecked()) {
        EditNmTx->setText(FContConf->EditSen->text());
    } else if (DM->logOpen()) {
        // The serial goes on from the book's latest numbered contact, whichever row is selected;
        // a book without one starts from the configured first number.
        const QString lastSent = ContestTotal::latestSentNumber(*DM->ConnectionLog, Tag);
        if (lastSent.isEmpty())
            EditNmTx->setText(FContConf->EditSen->text());
        else if (const auto next = ContestScoring::nextSerial(lastSent, FContConf->MaskEdit1->text()))
            EditNmTx->setText(*next);
    }
    FCont->ShowNonModal();
    contestItemBefore_ = ContestBegin;
}

void TFMain::ContestEndClick() {
    showContestPanel(false);
    showContestGridColumns(false);
    FCont->Close();
    contestItemBefore_ = ContestEnd;
}

void TFMain::ContestViewInfoClick() {
    contestItemBefore_ = ContestViewInfo;
    if (FCont->windowTitle().isEmpty()) return;
    FCont->ShowAwardCells(false);
    FCont->ButtonDXCCClick();
    rereadContestStatistic();
    showContestGridColumns(true);
}

void TFMain::StoreContestColumns(Dataset* log, bool isNew, const QString& band, const QString& mode) {
    const bool contest = ContestBegin->isChecked();
    if (!isNew) {
        // An edited contact keeps the exchange and serial it was logged with; in contest mode its
        // points follow its band and mode, and the total changes by the difference.
        if (!contest) return;
        const QString was = log->field(QStringLiteral("Log4")).asString();
        const QString now = contestPoints(band, mode);
        log->setValue(QStringLiteral("Log4"), now);
        FCont->Label5->setText(ContestScoring::replacePoints(FCont->Label5->text(), was, now));
        return;
    }
    // "View Info" after "Begin" leaves the exchange boxes on the panel: what is typed there is
    // stored and the serial goes on, though such a contact scores no points.
    const bool exchangeShown = !EditNmTx->isHidden();
    if (!contest && !exchangeShown) {
        for (const char* column : {"Log2", "Log3", "Log4"})
            log->setValue(QString::fromLatin1(column), QString());
        return;
    }
    log->setValue(QStringLiteral("Log2"), EditNmRx->text().trimmed());
    log->setValue(QStringLiteral("Log3"), EditNmTx->text().trimmed());
    stepSentSerial(EditNmTx);
    const QString points = contest ? contestPoints(band, mode) : QString();
    if (!points.isEmpty()) FCont->Label5->setText(ContestScoring::addPoints(FCont->Label5->text(), points));
    log->setValue(QStringLiteral("Log4"), points);
}

void TFMain::ShowLastQsoInContest() {
    const QString call = EditCall->text();
    if (call.size() <= 1 || !ContestBegin->isChecked()) return;
    LabelTerExist->setVisible(DM->TableAwMixed->field(QStringLiteral("Param1")).asString() ==
                              DM->TableContestStatistic->field(QStringLiteral("Param1")).asString());
    Dataset* repeat = DM->TableRepeat;
    if (repeat->isEmpty()) {
        LabelLastQSO->hide();
        return;
    }
    repeat->first();
    while (!repeat->eof()) {
        if (repeat->field(QStringLiteral("LogCall")).asString() != call) {
            repeat->prior();
            break;
        }
        repeat->next();
    }
    // Walking past the end leaves the cursor on the last row.
    if (repeat->field(QStringLiteral("LogCall")).asString() != call) {
        LabelLastQSO->hide();
        return;
    }
    LabelLastQSO->setText(QStringLiteral("Last QSO at ") +
                          DateText::longTime(repeat->field(QStringLiteral("LogTime")).asTime()) +
                          QStringLiteral(" ") + repeat->field(QStringLiteral("LogMode")).asString() +
                          QStringLiteral(" ") + repeat->field(QStringLiteral("LogBand")).asString());
    LabelLastQSO->show();
}
