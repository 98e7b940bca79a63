// The main window while a call sign is typed: the information panel, the prefix look-up, the
// repeat grid, the entry clock and the moves between the entry boxes.
#include "logbook/UMain.h"

#include "awards/UAwardAdd.h"
#include "contest/UContst.h"
#include "dataset/QuotedStr.h"
#include "data/UConfig.h"
#include "data/UDM.h"
#include "data/UGlobal.h"
#include "logbook/CallSignKeys.h"
#include "logbook/PrefixLookup.h"
#include "logbook/QthLocator.h"
#include "logbook/UQTHLoc.h"
#include "media/USound.h"
#include "platform/Clock.h"
#include "platform/DateText.h"
#include "platform/Dialogs.h"
#include "platform/NumberText.h"
#include "widgets/BoxColour.h"
#include "widgets/DBGrid.h"
#include "widgets/StartUpTimers.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QTimer>
#include <cmath>

namespace {

const QString kRepeatSort = QStringLiteral("LogCall, LogDate, LogTime");

QString trimmed(const QLineEdit* e) {
    return e->text().trimmed();
}

// Another window or a pop-up taking the focus for a while does not leave or enter the box.
bool windowSwitch(const QFocusEvent* e) {
    return e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason;
}

// A masked box left empty still shows its separators.
bool notEntered(const QString& text) {
    return std::none_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

// The hours to add to the PC clock for UTC; the minutes take the sign of the hours ("-03" "30" is -3.5).
bool utcDifferenceHours(const QString& hoursText, const QString& minutesText, double& hours) {
    int h = 0, m = 0;
    if (!NumberText::toInt(hoursText, h) || !NumberText::toInt(minutesText, m)) return false;
    const bool negative = hoursText.trimmed().startsWith('-');
    hours = h + (negative ? -std::abs(m) : std::abs(m)) / 60.0;
    return true;
}

} // namespace

PrefixLookup& TFMain::prefixLookup() {
    if (!prefixLookup_) prefixLookup_ = std::make_shared<PrefixLookup>(*DM->ConnectionDB);
    return *prefixLookup_;
}

void TFMain::connectEntryHandlers() {
    auto guardedSlot = [this](void (TFMain::*h)()) {
        return [this, h] { Dialogs::guarded([this, h] { (this->*h)(); }); };
    };
    connect(EditCall, &QLineEdit::textChanged, this, guardedSlot(&TFMain::EditCallChange));
    connect(EditQTHLoc, &QLineEdit::textChanged, this, guardedSlot(&TFMain::EditQTHLocChange));
    connect(TimerRealClock, &QTimer::timeout, this, guardedSlot(&TFMain::TimerRealClockTimer));
    connect(DBGridLog, &DBGrid::enter, this, guardedSlot(&TFMain::DBGridLogEnter));
    connect(DBGridRepeat, &DBGrid::mouseActivate, this, guardedSlot(&TFMain::DBGridRepeatMouseActivate));
    connect(DBGridRepeat, &DBGrid::exitGrid, this, guardedSlot(&TFMain::DBGridRepeatExit));
    connect(DBGridRepeat, &DBGrid::dblClick, this, guardedSlot(&TFMain::DBGridRepeatDblClick));
    connect(ButtonSave, &QPushButton::clicked, this, guardedSlot(&TFMain::ButtonSaveClick));
    connect(ButtonEdit, &QPushButton::clicked, this, guardedSlot(&TFMain::ButtonEditClick));
    connect(ButtonClear, &QPushButton::clicked, this, guardedSlot(&TFMain::ButtonClearClick));
    for (QLineEdit* box : {EditCall, EditName, EditQTH, EditRSRX, EditRSTX, EditNote, EditQTHLoc, EditCBCall})
        box->installEventFilter(this);
    StartUpTimers::startAfterStartUp(TimerRealClock);
}

bool TFMain::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
        if (entryKeyPress(watched, static_cast<QKeyEvent*>(event))) return true;
        break;
    case QEvent::KeyRelease:
        if (entryKeyRelease(watched, static_cast<QKeyEvent*>(event))) return true;
        break;
    case QEvent::FocusIn:
        // Coming back from another window or a pop-up is not entering the box again.
        if (watched == EditCall && !callBoxEntered_) {
            callBoxEntered_ = true;
            Dialogs::guarded([this] { EditCallEnter(); });
        }
        break;
    case QEvent::FocusOut:
        if (watched == EditCall && !windowSwitch(static_cast<QFocusEvent*>(event))) {
            callBoxEntered_ = false;
            // A click into the repeat grid moves the focus before the grid sees the mouse.
            auto* fe = static_cast<QFocusEvent*>(event);
            QWidget* now = QApplication::focusWidget();
            if (fe->reason() == Qt::MouseFocusReason && now &&
                (now == DBGridRepeat || DBGridRepeat->isAncestorOf(now)))
                DBGridRepeatMouseActivate();
            Dialogs::guarded([this] { EditCallExit(); });
        }
        break;
    case QEvent::MouseButtonPress:
        if (watched == EditNote) EditNoteClick();
        if (watched == EditQTHLoc) EditQTHLocClick();
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TFMain::entryKeyPress(QObject* box, QKeyEvent* e) {
    const QString text = e->text();
    if (text.size() != 1) return false;
    QChar c = text.at(0);
    if (box == EditCall || box == EditCBCall) {
        const QChar mapped = CallSignKeyMap(c);
        if (mapped == c) return false;
        static_cast<QLineEdit*>(box)->insert(QString(mapped));
        return true;
    }
    if ((box == EditName || box == EditQTH) && static_cast<QLineEdit*>(box)->text().isEmpty()) {
        // First capital: the first letter of a name or QTH is written upper case.
        const QChar upper = c.toUpper();
        if (upper == c) return false;
        static_cast<QLineEdit*>(box)->insert(QString(upper));
        return true;
    }
    return false;
}

bool TFMain::entryKeyRelease(QObject* box, QKeyEvent* e) {
    const bool down = e->key() == Qt::Key_Down;
    const bool up = e->key() == Qt::Key_Up;
    if (!down && !up) return false;
    QLineEdit* target = nullptr;
    if (box == EditCall && down)
        target = EditName;
    else if ((box == EditRSRX || box == EditRSTX) && down)
        target = EditQTH;
    else if (box == EditName)
        target = down ? EditNote : EditCall;
    else if (box == EditQTH)
        target = down ? EditNote : EditRSRX;
    else if (box == EditNote && up)
        target = EditName;
    else if (box == EditQTHLoc && up)
        target = EditQTH;
    if (!target) return false;
    target->setFocus(Qt::OtherFocusReason);
    return true;
}

void TFMain::EditCallChange() {
    const QString call = EditCall->text();
    ClearQsoInfo();
    EditCBCall->setText(call);
    driveStopwatch(call);
    if (call.isEmpty()) {
        FCont->ShowAwardCells(false);
    } else {
        FilterRepeatGrid(QStringLiteral("LogCall LIKE ") + QuotedStr(callPrefixPattern(call)), kRepeatSort, 0,
                         2);
        FindPrefix(call);
        showAwardStatusOfCall();
        showDistanceAndBearing();
        showCountryOfCall();
    }
    driveAutoRecording(call);
}

void TFMain::driveStopwatch(const QString& call) {
    if (!TimerQSO->isChecked()) return;
    if (call.size() <= 2)
        TimerStopClearClick();
    else
        TimerStartClick();
}

QString TFMain::prefixRowText(const QString& field) const {
    // Without the reference database there is no country row: the labels keep their reset texts.
    return DM->referenceOpen() ? DM->TablePref->field(field).asString() : QString();
}

void TFMain::showAwardStatusOfCall() {
    // The award marks live in the log database; without it there is no status to show.
    if (!DM->logOpen()) return;
    const QString dxcc = DM->referenceOpen() ? DM->TableDXCC->field(QStringLiteral("Prefix")).asString() : QString();
    ContestItemFound = false;
    ShowAwardStatus(dxcc, {}, {}, QStringLiteral("DXCC"));
    ShowAwardStatus(prefixRowText(QStringLiteral("CQZone")), {}, {}, QStringLiteral("WAZ"));
    ShowAwardStatus(FAwardAdd->EditUSObl->text(), FAwardAdd->EditUSDXCC->text(), {}, QStringLiteral("UkrRus"));
    ShowAwardStatus(FAwardAdd->EditIOTANum->text(), {}, {}, QStringLiteral("IOTA"));
    ContestItemFound = false;
}

void TFMain::showDistanceAndBearing() {
    if (!DM->referenceOpen() || DM->TablePref->isEmpty()) return;
    // Distance and bearing need the own position; an unreadable one is reported once.
    double ownLat = 0, ownLon = 0;
    const QString latText = trimmed(FConfig->MaskEditLat), lonText = trimmed(FConfig->MaskEditLon);
    if (!NumberText::toFloat(latText, ownLat) || !NumberText::toFloat(lonText, ownLon)) {
        // No own position in the settings yet: nothing to measure from, nothing to report.
        if (notEntered(latText) && notEntered(lonText)) return;
        if (badOwnPosition_ == latText + '|' + lonText) return;
        badOwnPosition_ = latText + '|' + lonText;
        Dialogs::errorBox(Msg(QStringLiteral("'") + latText + QStringLiteral("' / '") + lonText +
                                  QStringLiteral("' is not a valid position (own latitude and longitude, e.g. 45,23)"),
                              QStringLiteral("'") + latText + QStringLiteral("' / '") + lonText +
                                  QStringLiteral("' - неверные координаты (своя широта и долгота, например 45,23)")));
        return;
    }
    badOwnPosition_.clear();
    const GeoPos own{ownLon, ownLat};
    // PREF holds west-positive longitudes.
    const GeoPos worked{-DM->TablePref->field(QStringLiteral("Longitude")).asFloat(),
                        DM->TablePref->field(QStringLiteral("Latitude")).asFloat()};
    const DistAz r = DistanceAzimuth(own, worked);
    LabelDist->setText(QString::number(static_cast<qint64>(std::trunc(r.distance))));
    LabelAzD->setText(NumberText::fromFloat(r.azimuth));
    LabelAzB->setText(NumberText::fromFloat(360 - r.azimuth));
}

void TFMain::showCountryOfCall() {
    if (!DM->referenceOpen() || DM->TablePref->isEmpty()) return;
    const QString dxcc = prefixRowText(QStringLiteral("DXCCPrefix"));
    const QString cq = prefixRowText(QStringLiteral("CQZone"));
    LabelRegion->setText(prefixRowText(QStringLiteral("Country")));
    LabelPref->setText(dxcc);
    GroupBoxDXCC->setTitle(QStringLiteral(" DXCC Mixed - ") + dxcc);
    LabelZoneCQ->setText(cq);
    GroupBoxWAZ->setTitle(QStringLiteral(" WAZ Mixed - Zone : ") + cq);
    LabelZoneITU->setText(prefixRowText(QStringLiteral("ITUZone")));
    LabelContinent->setText(prefixRowText(QStringLiteral("Continent")));
}

bool TFMain::contactRecordingHeld() const {
    return ViewSoundAutoSave->isChecked() && FSound->recordingHeld() && FSound->recordingJob() == 0;
}

void TFMain::driveAutoRecording(const QString& call) {
    // A contact under edit was made earlier: what the microphone hears now is not its audio.
    if (!ViewSoundAutoSave->isChecked() || EntryState == 0) return;
    // One recording per contact: further keystrokes must not restart it.
    if (call.size() >= 2 && !FSound->recordingHeld())
        FSound->ButtonRecClick();
    else if (call.size() < 2 && contactRecordingHeld())
        FSound->ButtonAbortClick();
}

void TFMain::FindPrefix(const QString& call) {
    if (!DM->referenceOpen()) {
        clearIslandOfCall();
        return;
    }
    const QString match = longestPrefixMatch(call, [this](const QString& candidate, QString& stored) {
        return prefixLookup().exists(candidate, stored);
    });
    DM->TableAllPref->setFilter(QStringLiteral("AllPrefix = ") + QuotedStr(match));
    DM->TableAllPref->setFiltered(true);

    clearIslandOfCall();
    Dataset* iota = DM->TableIOTA;
    if (iota->recordCount() == 1 && iota->field(QStringLiteral("PrefDXXC")).asString().size() > 2) {
        const QString num = iota->field(QStringLiteral("Num")).asString();
        const QString name = iota->field(QStringLiteral("IslandName")).asString();
        FAwardAdd->EditIOTANum->setText(num);
        FAwardAdd->EditIOTAName->setText(name);
        FAwardAdd->EditIOTADXCC->setText(iota->field(QStringLiteral("PrefDXXC")).asString());
        GroupBoxIOTA->setTitle(QStringLiteral(" IOTA Mixed - ") + num + QStringLiteral(" (") + name +
                               QStringLiteral(")"));
    }
}

void TFMain::clearIslandOfCall() {
    FAwardAdd->EditIOTANum->clear();
    FAwardAdd->EditIOTAName->clear();
    FAwardAdd->EditIOTADXCC->clear();
    GroupBoxIOTA->setTitle(QStringLiteral(" IOTA Mixed "));
}

void TFMain::FilterRepeatGrid(const QString& condition, const QString& sort, int goToLast,
                              int minimumLength) {
    Dataset* repeat = DM->TableRepeat;
    if (EditCall->text().size() >= minimumLength) {
        // No log database: no earlier contacts to show (its failure was reported at start-up).
        if (!DM->logOpen()) return;
        const qint64 book = DM->TableLogName->field(QStringLiteral("Num")).asInteger();
        repeat->setFilter(condition + QStringLiteral(" AND LogNameLog = ") + QString::number(book));
        repeat->setFiltered(true);
        // The new filter's rows come in the current order already: re-sort only for another order.
        if (repeat->sort() != sort) repeat->setSort(sort);
        if (!repeat->active()) repeat->open();
        GroupBoxRepeat->setTitle(QStringLiteral(" Total ") + QString::number(repeat->recordCount()) +
                                 QStringLiteral(" QSO "));
        if (goToLast == 1)
            repeat->last();
        else
            repeat->first();
        if (EntryState == 0) return;
        const bool sameCall =
            !repeat->isEmpty() && repeat->field(QStringLiteral("LogCall")).asString() == EditCall->text();
        if (sameCall) {
            if (!FConfig->CheckBoxAutoIns->isChecked()) return;
            if (EditName->text().size() < 2)
                EditName->setText(repeat->field(QStringLiteral("LogName")).asString());
            if (EditQTH->text().size() < 2)
                EditQTH->setText(repeat->field(QStringLiteral("LogQth")).asString());
            EditQTHLoc->setText(repeat->field(QStringLiteral("LogQTHLoc")).asString());
            EditNote->setText(repeat->field(QStringLiteral("LogNotepad")).asString());
        } else {
            if (EditName->text().size() < 3) EditName->clear();
            if (EditQTH->text().size() < 3) EditQTH->clear();
        }
    } else if (EntryState != 0) {
        GroupBoxRepeat->setTitle(QStringLiteral(" Repeat "));
        repeat->close();
        EditName->clear();
        EditQTH->clear();
    }
}

void TFMain::EditCallEnter() {
    FilterRepeatGrid(QStringLiteral("LogCall LIKE ") + QuotedStr(callPrefixPattern(EditCall->text())),
                     kRepeatSort, 0, 2);
    for (QLineEdit* box : {EditNote, EditQTHLoc}) {
        if (boxColour(box) == kSilver) {
            setBoxColour(box, kWhite);
            // An edited contact's own note and locator are in the boxes: "Save" writes them back.
            if (EntryState != 0) box->clear();
        }
    }
}

void TFMain::EditCallExit() {
    if (RepeatGridMouseFlag == 0)
        FilterRepeatGrid(QStringLiteral("LogCall = ") + QuotedStr(EditCall->text()), kRepeatSort, 1, 3);
    RepeatGridMouseFlag = 0;
}

void TFMain::ClearQsoInfo() {
    LabelTerExist->hide();
    LabelLastQSO->hide();
    LabelTime->setText(QStringLiteral("00:00:00"));
    if (trimmed(EditQTHLoc).size() != 6 || trimmed(FConfig->EditQthLoc).size() != 6) {
        LabelDist->setText(QStringLiteral("00000"));
        LabelAzD->setText(QStringLiteral("000"));
        LabelAzB->setText(QStringLiteral("000"));
    }
    LabelRegion->setText(QStringLiteral("Country"));
    LabelPref->setText(QStringLiteral("Pref"));
    LabelZoneCQ->setText(QStringLiteral("00"));
    LabelZoneITU->setText(QStringLiteral("00"));
    LabelContinent->setText(QStringLiteral("NO"));
    setTextColour(LabelRepCountry, Qt::blue);
    for (const QList<QLabel*>* group : {&LabelDX, &LabelWAZ, &LabelIOTA, &LabelUR})
        for (QLabel* l : *group)
            setTextColour(l, Qt::black);
    GroupBoxDXCC->setTitle(QStringLiteral(" DXCC Mixed "));
    GroupBoxWAZ->setTitle(QStringLiteral(" WAZ Mixed "));
    if (!FAwardAdd->isVisible()) {
        for (QLineEdit* e :
             {FAwardAdd->EditUBA, FAwardAdd->EditUBB, FAwardAdd->EditUBC, FAwardAdd->EditIOTADXCC,
              FAwardAdd->EditUAC, FAwardAdd->EditUAA, FAwardAdd->EditUAB, FAwardAdd->EditIOTAName,
              FAwardAdd->EditUSDXCC, FAwardAdd->EditUSObl, FAwardAdd->EditUSOblName, FAwardAdd->EditIOTANum,
              FAwardAdd->EditWASState, FAwardAdd->EditWASName})
            e->clear();
    }
}

void TFMain::TimerRealClockTimer() {
    // A tick never reaches a half-created program.
    if (!FConfig || !DM || !FAwardAdd) return;
    const QString hoursText = trimmed(FConfig->MaskEditT), minutesText = trimmed(FConfig->MaskEdit2T);
    // Still being typed ("", "-", "+"): the clock waits for the value without a word.
    if (notEntered(hoursText) || notEntered(minutesText)) return;
    double diff = 0;
    if (!utcDifferenceHours(hoursText, minutesText, diff)) {
        const QString value = hoursText + ':' + minutesText;
        if (badUtcDifference_ != value) {
            badUtcDifference_ = value;
            Dialogs::errorBox(
                Msg(QStringLiteral("'") + value +
                        QStringLiteral("' is not a valid UTC difference (hours and minutes, e.g. -03 00)"),
                    QStringLiteral("'") + value +
                        QStringLiteral("' - неверная разница с UTC (часы и минуты, например -03 00)")));
        }
        return;
    }
    badUtcDifference_.clear();
    const QDateTime now = Clock::now();
    if (CheckBoxTime->isChecked()) {
        const QDateTime shown =
            FConfig->CheckBoxUTC->isChecked() ? now.addSecs(qint64(std::llround(diff * 3600))) : now;
        TimePicker->setDateTime(shown);
        DatePicker->setDateTime(shown);
    } else {
        TimePicker->setDate(DatePicker->date());
        DatePicker->setTime(TimePicker->time());
    }
    if (!EditCall->text().isEmpty()) {
        if (!DM->referenceOpen()) return; // no country, no local time
        const double offset = DM->TablePref->field(QStringLiteral("TimeUTC")).asFloat() + diff;
        qint64 secs = now.time().msecsSinceStartOfDay() / 1000 + std::llround(offset * 3600);
        secs = ((secs % 86400) + 86400) % 86400;
        LabelTime->setText(DateText::longTime(QTime(0, 0).addSecs(int(secs))));
    } else {
        ClearQsoInfo();
    }
}

void TFMain::EditQTHLocChange() {
    const QString own = trimmed(FConfig->EditQthLoc);
    if (trimmed(EditQTHLoc).size() != 6 || own.size() != 6) return;
    FQTHLoc->EditMy->setText(own);
    FQTHLoc->EditCall->setText(EditQTHLoc->text());
    FQTHLoc->ButtonLocToCoordClick();
    double az = 0;
    if (!NumberText::toFloat(FQTHLoc->LabeAz->text(), az)) return; // the locator window has said why
    LabelAzD->setText(FQTHLoc->LabeAz->text());
    LabelAzB->setText(NumberText::fromFloat(360 - az));
    LabelDist->setText(FQTHLoc->LabelR->text());
}

void TFMain::DBGridLogEnter() {
    setBoxColour(EditNote, kSilver);
    setBoxColour(EditQTHLoc, kSilver);
}

void TFMain::EditNoteClick() {
    setBoxColour(EditNote, kWhite);
}

void TFMain::EditQTHLocClick() {
    setBoxColour(EditQTHLoc, kWhite);
}

void TFMain::DBGridRepeatMouseActivate() {
    RepeatGridMouseFlag = -1;
}

void TFMain::DBGridRepeatExit() {
    RepeatGridMouseFlag = 0;
    EditCall->setFocus(Qt::OtherFocusReason);
}

void TFMain::DBGridRepeatDblClick() {
    Dataset* repeat = DM->TableRepeat;
    const QString name = repeat->field(QStringLiteral("LogName")).asString();
    const QString qth = repeat->field(QStringLiteral("LogQth")).asString();
    EditCall->setText(repeat->field(QStringLiteral("LogCall")).asString());
    EditName->setText(name);
    EditQTH->setText(qth);
}
