#include "media/UTimer.h"

#include "data/SettingsStore.h"
#include "data/UConfig.h"
#include "data/UDM.h"
#include "data/UGlobal.h"
#include "dataset/Connection.h"
#include "dataset/DbError.h"
#include "logbook/UVihod.h"
#include "media/USound.h"
#include "platform/AudioDevice.h"
#include "platform/Clock.h"
#include "platform/DataFolder.h"
#include "platform/DateText.h"
#include "platform/Dialogs.h"
#include "platform/QtAudioDevice.h"
#include "widgets/DateTimePicker.h"
#include "widgets/Controls.h"
#include "widgets/StartUpTimers.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

TFTimer* FTimer = nullptr;

namespace {

const int kSeriesJob = 4; // the one-shot recordings are jobs 1 to 3

QTime wholeSecond(QTime t) {
    return QTime(t.hour(), t.minute(), t.second());
}

QDateTime nowToTheSecond() {
    const QDateTime now = Clock::now();
    return QDateTime(now.date(), wholeSecond(now.time()));
}

// A picker holds a whole date and time whatever part it shows: Save and the stored rows use both.
// Its parts are set through setDateTime only, which keeps the part not shown.
QDateTimeEdit* picker(QWidget* parent, const QString& name, const char* format, const QString& hint = {}) {
    auto* p = named(new DateTimeBox(parent), name);
    p->setDisplayFormat(QString::fromLatin1(format));
    p->setDateTime(nowToTheSecond());
    if (!hint.isEmpty()) p->setToolTip(hint);
    return p;
}

void setDate(QDateTimeEdit* p, QDate d) {
    p->setDateTime(QDateTime(d, p->time()));
}

void setTime(QDateTimeEdit* p, QTime t) {
    p->setDateTime(QDateTime(p->date(), t));
}

QSpinBox* spin(QWidget* parent, const QString& name, int min, int max, int value, const QString& hint) {
    auto* s = named(new QSpinBox(parent), name);
    s->setRange(min, max);
    s->setValue(value);
    s->setToolTip(hint);
    return s;
}

QString numbered(const char* stem, int i) {
    return QString::fromLatin1(stem) + QString::number(i + 1);
}

const QString kOnOff = QStringLiteral("Вкл/Выкл");
const QString kStartHint = QStringLiteral("Время начала записи");
const QString kLengthHint = QStringLiteral("Время записи");

// A length or interval in minutes added to a moment: whole minutes of 60 seconds.
int minutes(const QSpinBox* box) {
    return box->value() * 60;
}

} // namespace

TFTimer::TFTimer(QWidget* parent) : TForm(QStringLiteral("FTimer"), parent) {
    setWindowTitle(QStringLiteral("SoundTimer"));

    TabbedNotebook1 = named(new QTabWidget(this), QStringLiteral("TabbedNotebook1"));
    TabbedNotebook1->addTab(buildAlarmPage(), QStringLiteral("Alarm"));
    TabbedNotebook1->addTab(buildRecordingPage(), QStringLiteral("Time Rec"));

    ButtonS = newButton(this, QStringLiteral("ButtonS"), QStringLiteral("Save"));
    ButtonR = newButton(this, QStringLiteral("ButtonR"), QStringLiteral("Reset"));
    ButtonC = newButton(this, QStringLiteral("ButtonC"), QStringLiteral("Close"));
    Button1 = newButton(this, QStringLiteral("Button1"), QStringLiteral("Exit Opt"));
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {ButtonS, ButtonR, ButtonC, Button1})
        buttons->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(TabbedNotebook1);
    layout->addLayout(buttons);

    Timer1 = named(new QTimer(this), QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    Timer2 = named(new QTimer(this), QStringLiteral("Timer2"));
    Timer2->setInterval(1000);

    using Dialogs::guardedSlot;
    for (QCheckBox* c : CheckBoxA)
        connect(c, &QCheckBox::toggled, this, guardedSlot(this, &TFTimer::CheckBoxAClick));
    for (QCheckBox* c : CheckBoxR)
        connect(c, &QCheckBox::toggled, this, guardedSlot(this, &TFTimer::CheckBoxRClick));
    connect(Timer1, &QTimer::timeout, this, guardedSlot(this, &TFTimer::Timer1Timer));
    connect(Timer2, &QTimer::timeout, this, guardedSlot(this, &TFTimer::Timer2Timer));
    connect(ButtonS, &QPushButton::clicked, this, guardedSlot(this, &TFTimer::ButtonSClick));
    connect(ButtonR, &QPushButton::clicked, this, guardedSlot(this, &TFTimer::ButtonRClick));
    connect(ButtonC, &QPushButton::clicked, this, guardedSlot(this, &TFTimer::ButtonCClick));
    connect(Button1, &QPushButton::clicked, this, guardedSlot(this, &TFTimer::Button1Click));
}

TFTimer::~TFTimer() {
    if (madeAlarmDevice_) Audio::setAlarmDevice(nullptr);
}

QWidget* TFTimer::buildAlarmPage() {
    auto* page = named(new QWidget, QStringLiteral("TabSheetAlarm"));
    auto* g = new QGridLayout(page);
    g->addWidget(newLabel(page, QStringLiteral("Label1"), QStringLiteral("System Time")), 0, 0, 1, 3);
    g->addWidget(newLabel(page, QStringLiteral("Label2"), QStringLiteral("Date")), 1, 1);
    g->addWidget(newLabel(page, QStringLiteral("Label3"), QStringLiteral("Time")), 1, 2);
    for (int i = 0; i < 3; ++i) {
        CheckBoxA[i] = newCheck(page, numbered("CheckBoxA", i), QString::number(i + 1), false);
        PickerDA[i] = picker(page, numbered("PickerDA", i), DateText::ShortDate);
        PickerTA[i] = picker(page, numbered("PickerTA", i), DateText::LongTime);
        g->addWidget(CheckBoxA[i], i + 2, 0);
        g->addWidget(PickerDA[i], i + 2, 1);
        g->addWidget(PickerTA[i], i + 2, 2);
    }
    g->setRowStretch(5, 1);
    return page;
}

QWidget* TFTimer::buildRecordingPage() {
    auto* page = named(new QWidget, QStringLiteral("TabSheetRec"));
    auto* g = new QGridLayout(page);
    g->addWidget(newLabel(page, QStringLiteral("Label4"), QStringLiteral("System Time")), 0, 0, 1, 4);
    g->addWidget(newLabel(page, QStringLiteral("Label5"), QStringLiteral("Date")), 1, 1);
    g->addWidget(newLabel(page, QStringLiteral("Label6"), QStringLiteral("Start")), 1, 2);
    g->addWidget(newLabel(page, QStringLiteral("Label7"), QStringLiteral("Minutes")), 1, 3);
    for (int i = 0; i < 3; ++i) {
        CheckBoxR[i] = newCheck(page, numbered("CheckBoxR", i), QString::number(i + 1), false);
        CheckBoxR[i]->setToolTip(kOnOff);
        PickerTT[i] = picker(page, numbered("PickerTT", i), DateText::ShortDate);
        PickerTD[i] = picker(page, numbered("PickerTD", i), DateText::LongTime, kStartHint);
        SpinEdit[i] = spin(page, numbered("SpinEdit", i), 1, 5, 1, kLengthHint);
        g->addWidget(CheckBoxR[i], i + 2, 0);
        g->addWidget(PickerTT[i], i + 2, 1);
        g->addWidget(PickerTD[i], i + 2, 2);
        g->addWidget(SpinEdit[i], i + 2, 3);
    }

    auto* series = newGroup(page, QStringLiteral("GroupBox1"), QStringLiteral("Every day"));
    auto* s = new QGridLayout(series);
    CheckBoxR[3] = newCheck(series, QStringLiteral("CheckBoxR4"), QStringLiteral("4"), false);
    CheckBoxR[3]->setToolTip(kOnOff);
    PickerTT[3] = picker(series, QStringLiteral("PickerTT4"), DateText::LongTime, kStartHint);
    SpinEdit[3] = spin(series, QStringLiteral("SpinEdit4"), 1, 5, 1, kLengthHint);
    SpinEditT = spin(series, QStringLiteral("SpinEditT"), 5, 120, 60,
                     QStringLiteral("Время с начала записи до следующей"));
    SpinEdit[4] = spin(series, QStringLiteral("SpinEdit5"), 1, 10, 1, QStringLiteral("Кол-во записей"));
    s->addWidget(CheckBoxR[3], 0, 0);
    s->addWidget(PickerTT[3], 0, 1);
    s->addWidget(SpinEdit[3], 0, 2);
    s->addWidget(newLabel(series, QStringLiteral("Label8"), QStringLiteral("Interval")), 1, 0);
    s->addWidget(SpinEditT, 1, 1);
    s->addWidget(newLabel(series, QStringLiteral("Label9"), QStringLiteral("Count")), 2, 0);
    s->addWidget(SpinEdit[4], 2, 1);

    Picker1 = picker(series, QStringLiteral("Picker1"), DateText::LongTime);
    Picker1->hide();
    Edit1 = newEdit(series, QStringLiteral("Edit1"), QStringLiteral("0"));
    Edit1->hide();

    g->addWidget(series, 5, 0, 1, 4);
    g->setRowStretch(6, 1);
    return page;
}

// ---------------------------------------------------------------------------------------------
// Switching the timers on
// ---------------------------------------------------------------------------------------------

// A timer switched on again starts afresh: moments passed while it was off do not fire.
void TFTimer::CheckBoxAClick() {
    if (!Timer1->isActive() && !inTick_) alarmTicks_.reset();
    StartUpTimers::startAfterStartUp(Timer1);
}

void TFTimer::CheckBoxRClick() {
    if (!Timer2->isActive() && !inTick_) recordingTicks_.reset();
    StartUpTimers::startAfterStartUp(Timer2);
}

// ---------------------------------------------------------------------------------------------
// Ticks
// ---------------------------------------------------------------------------------------------

void TFTimer::Timer1Timer() {
    const QScopedValueRollback<bool> inTick(inTick_, true);
    QDateTime prev;
    const QDateTime now = Clock::now();
    if (alarmTicks_.advance(now, prev)) {
        for (int i = 0; i < 3; ++i) {
            const QDateTime at(PickerDA[i]->date(), PickerTA[i]->time());
            if (!CheckBoxA[i]->isChecked() || !ClockJobs::momentPassed(prev, now, at)) continue;
            soundAlarm(i);
            CheckBoxA[i]->setChecked(false);
        }
    }
    if (std::none_of(std::begin(CheckBoxA), std::end(CheckBoxA), [](QCheckBox* c) { return c->isChecked(); }))
        Timer1->stop();
}

// The sound plays while the tick goes on; an alarm that cannot sound is still told.
void TFTimer::soundAlarm(int i) {
    if (!Audio::alarmDevice()) {
        Audio::setAlarmDevice(std::make_unique<QtAudioDevice>());
        madeAlarmDevice_ = true;
    }
    AudioDevice* device = Audio::alarmDevice();
    device->close();
    if (device->open(programPath(QStringLiteral("\\Sound\\Alarm.wav"))) && device->play()) return;
    QApplication::beep();
    const QString time = DateText::longTime(PickerTA[i]->time());
    Dialogs::notice(Msg(QStringLiteral("Alarm ") + time, QStringLiteral("Будильник ") + time));
}

void TFTimer::Timer2Timer() {
    // A recording a job started still waits for its stop.
    if (FSound->recordingJob() == 0 && std::none_of(std::begin(CheckBoxR), std::end(CheckBoxR),
                                                    [](QCheckBox* c) { return c->isChecked(); })) {
        Timer2->stop();
        return;
    }
    const QScopedValueRollback<bool> inTick(inTick_, true);
    QDateTime prev;
    const QDateTime now = Clock::now();
    if (!recordingTicks_.advance(now, prev)) return;

    const auto oneShotStart = [this](int i) {
        return QDateTime(PickerTT[i]->date(), wholeSecond(PickerTD[i]->time()));
    };
    // Every stop comes before any start: a recording may end in the second another one begins.
    if (FSound->recordingJob() != 0 && ClockJobs::momentPassed(prev, now, recordingStop_))
        FSound->storeTimedRecording(FSound->recordingJob());
    for (int i = 0; i < 3; ++i)
        if (CheckBoxR[i]->isChecked() &&
            ClockJobs::momentPassed(prev, now, oneShotStart(i).addSecs(minutes(SpinEdit[i]))))
            FSound->storeTimedRecording(i + 1);
    if (CheckBoxR[3]->isChecked() &&
        ClockJobs::momentPassed(prev, now, Picker1->time().addSecs(minutes(SpinEdit[3])))) {
        FSound->storeTimedRecording(kSeriesJob);
        setTime(Picker1, Picker1->time().addSecs(minutes(SpinEditT)));
        if (Edit1->text().toInt() == 0) CheckBoxR[3]->setChecked(false);
    }

    for (int i = 0; i < 3; ++i)
        if (CheckBoxR[i]->isChecked() && ClockJobs::momentPassed(prev, now, oneShotStart(i)))
            startRecording(i + 1, oneShotStart(i).addSecs(minutes(SpinEdit[i])));
    if (CheckBoxR[3]->isChecked() && Edit1->text().toInt() != 0 &&
        ClockJobs::momentPassed(prev, now, Picker1->time())) {
        QDateTime start(now.date(), wholeSecond(Picker1->time()));
        if (start > now) start = start.addDays(-1);
        startRecording(kSeriesJob, start.addSecs(minutes(SpinEdit[3])));
        Edit1->setText(QString::number(Edit1->text().toInt() - 1));
    }
}

// The player holds one recording: a job never discards the one it finds running.
void TFTimer::startRecording(int job, const QDateTime& stop) {
    if (FSound->startTimedRecording(job)) {
        recordingStop_ = stop;
        return;
    }
    Dialogs::notice(Msg(QStringLiteral("Timed recording skipped: the player is busy"),
                        QStringLiteral("Запись по таймеру пропущена: плеер занят")));
}

// ---------------------------------------------------------------------------------------------
// Preparing the jobs
// ---------------------------------------------------------------------------------------------

void TFTimer::dropPassedJobs() {
    const QDate today = Clock::today();
    for (int i = 0; i < 3; ++i)
        if (PickerTT[i]->date() < today) CheckBoxR[i]->setChecked(false);
    if (Clock::now().time().hour() > PickerTT[3]->time().hour()) CheckBoxR[3]->setChecked(false);
    for (int i = 0; i < 3; ++i)
        if (PickerDA[i]->date() < today) CheckBoxA[i]->setChecked(false);
}

// Arms the series at its next start not yet passed today, with the starts left. A series
// recording that runs keeps its stop moment; a series whose starts have all passed today runs
// again from its first start.
void TFTimer::armSeries() {
    if (FSound && FSound->recordingJob() == kSeriesJob) return;
    const QTime first = wholeSecond(PickerTT[3]->time());
    const int count = SpinEdit[4]->value();
    const int firstSecond = QTime(0, 0).secsTo(first);
    const int nowSecond = QTime(0, 0).secsTo(wholeSecond(Clock::now().time()));
    int passed = 0;
    while (passed < count && firstSecond + passed * minutes(SpinEditT) < nowSecond)
        ++passed;
    if (passed == count) passed = 0;
    setTime(Picker1, first.addSecs(passed * minutes(SpinEditT)));
    Edit1->setText(QString::number(count - passed));
}

void TFTimer::PrepareJobs() {
    armSeries();
    dropPassedJobs();
}

// ---------------------------------------------------------------------------------------------
// Buttons
// ---------------------------------------------------------------------------------------------

namespace {

void storeChecked(QCheckBox* c) {
    FConfig->SaveParam(QStringLiteral("FTimer"), c->objectName(), QStringLiteral("Checked"),
                       SettingsStore::checkedText(c->isChecked()), QStringLiteral("TCheckBox"));
}

void storeDateTime(QDateTimeEdit* p) {
    FConfig->SaveParam(QStringLiteral("FTimer"), p->objectName(), QStringLiteral("DateTime"),
                       DateText::dateTime(p->dateTime()), QStringLiteral("TDateTimePicker"));
}

void storeText(QSpinBox* s) {
    FConfig->SaveParam(QStringLiteral("FTimer"), s->objectName(), QStringLiteral("Text"),
                       QString::number(s->value()), QStringLiteral("TEdit"));
}

} // namespace

void TFTimer::saveAlarmPage() {
    for (QCheckBox* c : CheckBoxA)
        storeChecked(c);
    for (int i = 0; i < 3; ++i)
        setTime(PickerDA[i], PickerTA[i]->time());
    for (int i = 2; i >= 0; --i)
        setDate(PickerTA[i], PickerDA[i]->date());
    for (QDateTimeEdit* p : PickerDA)
        storeDateTime(p);
    for (QDateTimeEdit* p : PickerTA)
        storeDateTime(p);
}

void TFTimer::saveRecordingPage() {
    for (QCheckBox* c : CheckBoxR)
        storeChecked(c);
    for (int i = 0; i < 3; ++i)
        setTime(PickerTT[i], PickerTD[i]->time());
    setDate(PickerTT[3], Clock::today());
    for (int i = 2; i >= 0; --i)
        setDate(PickerTD[i], PickerTT[i]->date());
    for (QDateTimeEdit* p : PickerTT)
        storeDateTime(p);
    for (QDateTimeEdit* p : PickerTD)
        storeDateTime(p);
    for (QSpinBox* s : SpinEdit)
        storeText(s);
    storeText(SpinEditT);
}

void TFTimer::ButtonSClick() {
    dropPassedJobs();
    // Without the settings database (reported at start-up) nothing can be stored.
    if (DM && DM->TableCfgCfg->active()) {
        // All rows or none.
        try {
            Transaction tx(*DM->ConnectionCfg);
            if (TabbedNotebook1->currentIndex() == 0)
                saveAlarmPage();
            else
                saveRecordingPage();
            FVihod->FormClose();
            tx.commit();
        } catch (...) {
            try {
                DM->TableCfgCfg->requery();
            } catch (const DbError&) {
            }
            throw;
        }
    }
    armSeries();
}

void TFTimer::ButtonRClick() {
    const QDate today = Clock::today();
    const QDateTime now = nowToTheSecond();
    if (TabbedNotebook1->currentIndex() == 0) {
        for (int i = 0; i < 3; ++i) {
            CheckBoxA[i]->setChecked(false);
            setDate(PickerDA[i], today);
            PickerTA[i]->setDateTime(now);
        }
        Timer1->stop();
        return;
    }
    for (int i = 0; i < 3; ++i) {
        CheckBoxR[i]->setChecked(false);
        setDate(PickerTT[i], today);
        PickerTD[i]->setDateTime(now);
        SpinEdit[i]->setValue(1);
    }
    CheckBoxR[3]->setChecked(false);
    PickerTT[3]->setDateTime(now);
    SpinEdit[3]->setValue(1);
    // A recording a job started runs on to its stop and is stored then.
    if (FSound->recordingJob() == 0) Timer2->stop();
}

void TFTimer::ButtonCClick() {
    close();
}

void TFTimer::Button1Click() {
    FVihod->ShowModal();
}

void TFTimer::FormClose() {
    armSeries();
}

void TFTimer::closeEvent(QCloseEvent* e) {
    Dialogs::guarded([this] { FormClose(); });
    TForm::closeEvent(e);
}
