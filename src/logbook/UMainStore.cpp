// The main window's "Save", "Edit" and "Clear": the stored form of a contact.
#include "logbook/UMain.h"

#include "awards/AwardMarks.h"
#include "awards/UAwardAdd.h"
#include "contest/UContst.h"
#include "data/UConfig.h"
#include "data/UDM.h"
#include "data/UGlobal.h"
#include "media/USound.h"
#include "platform/Dialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>

namespace {

// Leading and trailing blanks and control characters removed (QString::trimmed keeps controls).
QString stripped(const QString& s) {
    int b = 0, e = s.size();
    while (b < e && (s.at(b).isSpace() || s.at(b).category() == QChar::Other_Control))
        ++b;
    while (e > b && (s.at(e - 1).isSpace() || s.at(e - 1).category() == QChar::Other_Control))
        --e;
    return s.mid(b, e - b);
}

QString stripped(const QLineEdit* e) {
    return stripped(e->text());
}

// The texts of the award-reference window, so a look-up cannot overwrite what was typed or loaded.
struct AwardBoxes {
    QList<QLineEdit*> boxes;
    QStringList texts;
    explicit AwardBoxes(TFAwardAdd* w)
        : boxes{w->EditIOTANum,   w->EditIOTAName, w->EditIOTADXCC, w->EditUSObl,
                w->EditUSOblName, w->EditUSDXCC,   w->EditWASState, w->EditWASName} {
        for (QLineEdit* b : boxes)
            texts << b->text();
    }
    void restore() const {
        for (int i = 0; i < boxes.size(); ++i)
            boxes[i]->setText(texts[i]);
    }
};

// A user award is written only when its first box holds text. A stored value whose parts the
// boxes still hold as Edit loaded them stays as it was, whatever its separators.
void storeUserAward(Dataset* log, const QString& column, QLineEdit* a, QLineEdit* b, QLineEdit* c) {
    if (a->text().isEmpty()) return;
    const QString stored = log->field(column).asString();
    const AwardMarks::Parts3 was = AwardMarks::splitComposite(stored);
    if (log->state() == Dataset::State::Edit && !stored.isEmpty() && was.a == a->text() &&
        was.b == b->text() && was.c == c->text())
        return;
    log->setValue(column, stripped(AwardMarks::joinComposite(a->text(), b->text(), c->text())));
}

// Step 1: a new row after the last one, or the row being edited.
void openQsoRow(Dataset* log, bool isNew, Dataset::Bookmark editBookmark) {
    if (isNew) {
        log->last();
        log->append();
    } else {
        log->gotoBookmark(editBookmark);
        log->edit();
    }
}

// Band and mode as stored, which the award marks take.
struct StoredQso {
    QString band;
    QString mode;
};

// "USB" and "LSB" are stored as "SSB" (compared as typed, before trimming).
QString storedMode(const QString& modeText) {
    return (modeText == "USB" || modeText == "LSB") ? QStringLiteral("SSB") : stripped(modeText);
}

// Step 2, a to q: the entry panel and the country of the call.
StoredQso writeEntryColumns(TFMain& w, Dataset* log, const QString& note) {
    log->setValue(QStringLiteral("LogCall"), stripped(w.EditCall));
    const AwardBoxes typed(FAwardAdd);
    w.FindPrefix(stripped(w.EditCall));
    typed.restore();
    log->setValue(QStringLiteral("LogPref"), DM->TablePref->field(QStringLiteral("DXCCPrefix")).asString());
    log->setValue(QStringLiteral("LogObl"), DM->TablePref->field(QStringLiteral("Country")).asString());
    log->setValue(QStringLiteral("LogDate"), w.DatePicker->date());
    log->setValue(QStringLiteral("LogTime"), w.TimePicker->time());
    const StoredQso qso{stripped(w.ComboBoxBand->currentText()), storedMode(w.ComboBoxMode->currentText())};
    log->setValue(QStringLiteral("LogBand"), qso.band);
    log->setValue(QStringLiteral("LogMode"), qso.mode);
    log->setValue(QStringLiteral("LogName"), stripped(w.EditName));
    log->setValue(QStringLiteral("LogQth"), stripped(w.EditQTH));
    log->setValue(QStringLiteral("LogRxRst"), stripped(w.EditRSRX));
    log->setValue(QStringLiteral("LogTxRst"), stripped(w.EditRSTX));
    log->setValue(QStringLiteral("LogTxQsl"), stripped(w.EditQSLSend));
    log->setValue(QStringLiteral("LogRxQsl"), stripped(w.EditQSLRcvd));
    log->setValue(QStringLiteral("LogNotepad"), note);
    log->setValue(QStringLiteral("Log1"), QStringLiteral("upd"));
    log->setValue(QStringLiteral("LogNameLog"), DM->TableLogName->field(QStringLiteral("Num")).asInteger());
    return qso;
}

// Step 2, r to z: the award references, zones, frequency and locator.
void writeAwardColumns(TFMain& w, Dataset* log) {
    log->setValue(QStringLiteral("LogAwWAS"), stripped(FAwardAdd->EditWASState));
    log->setValue(QStringLiteral("LogAwWAZ"), DM->TablePref->field(QStringLiteral("CQZone")).asString());
    log->setValue(QStringLiteral("LogAwIOTA"), stripped(FAwardAdd->EditIOTANum));
    log->setValue(QStringLiteral("LogAwUR"),
                  stripped(FAwardAdd->EditUSObl->text() + FAwardAdd->EditUSDXCC->text()));
    storeUserAward(log, QStringLiteral("LogAwUser1"), FAwardAdd->EditUAA, FAwardAdd->EditUAB,
                   FAwardAdd->EditUAC);
    storeUserAward(log, QStringLiteral("LogAwUser2"), FAwardAdd->EditUBA, FAwardAdd->EditUBB,
                   FAwardAdd->EditUBC);
    log->setValue(QStringLiteral("LogAw"), DM->TablePref->field(QStringLiteral("ITUZone")).asString());
    log->setValue(QStringLiteral("LogFreq"), 0);
    log->setValue(QStringLiteral("LogQTHLoc"), w.EditQTHLoc->text());
}

// Steps 3 and 4: exchange and points belong to contest mode; an edited contact keeps the ones it
// was logged with.
void writeContestColumns(TFMain& w, Dataset* log, bool isNew, const StoredQso& qso) {
    w.StoreContestColumns(log, isNew, qso.band, qso.mode);
}

// Step 6: a QSL received, blanks included, confirms.
QString qslStatus(const QLineEdit* qslReceived) {
    return stripped(qslReceived).isEmpty() ? QStringLiteral("wkd") : QStringLiteral("cfm");
}

// After a failed save: the half-written row goes, and the view re-reads what the file holds.
// A view the database cannot re-read now keeps its rows; the error that ended the save stands.
void dropUnsavedRow(Dataset* log) {
    try {
        if (log->state() != Dataset::State::Browse) log->cancel();
        log->requery();
    } catch (const DbError&) {
    }
}

} // namespace

void TFMain::ButtonSaveClick() {
    if (EditCall->text().size() < 3 || stripped(EditCall).isEmpty()) {
        Dialogs::showMessage(QStringLiteral("Not Callsign"));
        EditCall->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (stripped(EditRSRX).isEmpty()) {
        Dialogs::showMessage(QStringLiteral("Not RST Rx"));
        EditRSRX->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (stripped(EditRSTX).isEmpty()) {
        Dialogs::showMessage(QStringLiteral("Not RST Tx"));
        EditRSTX->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (!DM->logOpen()) {
        // The contact stays in the boxes: nothing typed is lost.
        Dialogs::messageDlg(Msg(QStringLiteral("The log database ") + programPath(DbFiles::Log) +
                                    QStringLiteral(" could not be opened at start-up. Nothing was saved."),
                                QStringLiteral("База данных лога ") + programPath(DbFiles::Log) +
                                    QStringLiteral(" не открылась при запуске. Ничего не сохранено.")),
                            DlgType::Warning, DlgButtons::Ok);
        return;
    }
    if (EntryState == 0 &&
        !DM->ConnectionLog->scalar(QStringLiteral("SELECT 1 FROM Log WHERE LogNom = ?"), {EditBookmark})
             .isValid()) {
        Dialogs::messageDlg(
            Msg(QStringLiteral("The contact being edited no longer exists in the log. Nothing was saved."),
                QStringLiteral("Редактируемая связь больше не существует в логе. Ничего не сохранено.")),
            DlgType::Warning, DlgButtons::Ok);
        return;
    }
    StoreQso(EntryState);
    // A recording a timed job started is stored by that job, not with the contact.
    if (EditCall->text().size() > 2 && ViewSoundAutoSave->isChecked() && FSound->recordingJob() == 0) {
        try {
            FSound->ButtonStopClick();
            FSound->ButtonSaveClick();
        } catch (...) {
            // The contact is stored: left in the panel, the next "Save" would store it twice.
            ButtonClearClick();
            throw;
        }
    }
    ButtonClearClick();
}

void TFMain::StoreQso(int entryState) {
    Dataset* log = DM->TableLog;
    const bool isNew = entryState != 0;
    // Read before the log moves: moving it refills a note box that still shows the selected row.
    const QString note = stripped(EditNote);
    try {
        Transaction tx(*DM->ConnectionLog);
        openQsoRow(log, isNew, EditBookmark);
        const StoredQso qso = writeEntryColumns(*this, log, note);
        writeAwardColumns(*this, log);
        writeContestColumns(*this, log, isNew, qso);
        log->post();
        UpdateAwardsForQso(qso.band, qso.mode, qslStatus(EditQSLRcvd), QStringLiteral("save"));
        tx.commit();
    } catch (...) {
        // Neither the row nor its marks stay (the transaction is rolled back by now).
        dropUnsavedRow(log);
        throw;
    }
    // The saved contact stays the current row under the date order.
    if (isNew) sortByDateShowing(log->bookmark());
    RefreshAwardViews();
}

void TFMain::ButtonEditClick() {
    if (EntryState == 0) return;
    Dataset* log = DM->TableLog;
    if (log->isEmpty()) {
        Dialogs::messageDlg(Msg(QStringLiteral("There is no contact to edit."),
                                QStringLiteral("Нет связи для редактирования.")),
                            DlgType::Information, DlgButtons::Ok);
        return;
    }
    // The recording of the contact being typed would be stored with the edited one.
    if (contactRecordingHeld()) FSound->ButtonAbortClick();
    CheckBoxTime->setChecked(false);
    EntryState = 0;
    EditBookmark = log->bookmark();
    ButtonEdit->setEnabled(false);
    auto text = [log](const char* f) { return log->field(QString::fromLatin1(f)).asString(); };
    EditCall->setText(text("LogCall"));
    DatePicker->setDate(log->field(QStringLiteral("LogDate")).asDate());
    TimePicker->setTime(log->field(QStringLiteral("LogTime")).asTime());
    ComboBoxBand->setCurrentText(text("LogBand"));
    ComboBoxMode->setCurrentText(text("LogMode"));
    EditName->setText(text("LogName"));
    EditQTH->setText(text("LogQth"));
    EditRSRX->setText(text("LogRxRst"));
    EditRSTX->setText(text("LogTxRst"));
    EditQSLSend->setText(text("LogTxQsl"));
    EditQSLRcvd->setText(text("LogRxQsl"));
    EditNote->setText(text("LogNotepad"));
    FAwardAdd->EditWASState->setText(text("LogAwWAS"));
    FAwardAdd->EditIOTANum->setText(text("LogAwIOTA"));
    const QString ur = text("LogAwUR");
    FAwardAdd->EditUSObl->setText(ur.left(2));
    // The region's entity as stored (empty included), so saving the edit keeps the reference.
    FAwardAdd->EditUSDXCC->setText(ur.mid(2));
    const AwardMarks::Parts3 a = AwardMarks::splitComposite(text("LogAwUser1"));
    FAwardAdd->EditUAA->setText(a.a);
    FAwardAdd->EditUAB->setText(a.b);
    FAwardAdd->EditUAC->setText(a.c);
    const AwardMarks::Parts3 b = AwardMarks::splitComposite(text("LogAwUser2"));
    FAwardAdd->EditUBA->setText(b.a);
    FAwardAdd->EditUBB->setText(b.b);
    FAwardAdd->EditUBC->setText(b.c);
    EditQTHLoc->setText(text("LogQTHLoc"));
}

void TFMain::ButtonClearClick() {
    EntryState = -1;
    EditBookmark = 0;
    ButtonEdit->setEnabled(true);
    CheckBoxTime->setChecked(true);
    for (QLineEdit* e :
         {EditCall, EditName, EditQTH, EditRSRX, EditRSTX, EditQSLSend, EditQSLRcvd, EditNote, EditQTHLoc})
        e->clear();
    EditRSTX->setText(FConfig->CheckBoxTxRst->isChecked() ? FConfig->MaskEditTxR->text() : QString());
    EditRSRX->setText(FConfig->CheckBoxRxRst->isChecked() ? FConfig->MaskEditRxR->text() : QString());
    ClearQsoInfo();
    if (FCont->isVisible()) {
        Dataset* stats = DM->TableContestStatistic;
        stats->setFiltered(false);
        stats->close();
        stats->open();
        stats->setFiltered(true);
        FCont->ShowAwardCells(false);
    }
}
