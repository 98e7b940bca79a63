// The main window's contact stopwatch, driven by the Timer menu and the call-sign box, and the
// entry to the timed exit.
#include "logbook/UMain.h"
#include "logbook/UVihod.h"
#include "media/ClockJobs.h"
#include "platform/Dialogs.h"

#include <QAction>
#include <QLabel>
#include <QTimer>

void TFMain::connectStopwatchHandlers() {
    auto guarded = [this](void (TFMain::*h)()) { return [this, h] { Dialogs::guarded([this, h] { (this->*h)(); }); }; };
    connect(TimerTimer, &QTimer::timeout, this, guarded(&TFMain::TimerTimerTimer));
    connect(TimerStart, &QAction::triggered, this, guarded(&TFMain::TimerStartClick));
    connect(TimerStop, &QAction::triggered, this, guarded(&TFMain::TimerStopClick));
    connect(TimerStopClear, &QAction::triggered, this, guarded(&TFMain::TimerStopClearClick));
    connect(OptionsAutoExit, &QAction::triggered, this, guarded(&TFMain::OptionsAutoExitClick));
}

void TFMain::TimerTimerTimer() {
    const ClockJobs::Reading r = ClockJobs::stopwatchTick({LabelH->text(), LabelM->text(), LabelS->text()});
    LabelH->setText(r.h);
    LabelM->setText(r.m);
    LabelS->setText(r.s);
}

void TFMain::TimerStartClick() {
    TimerStart->setChecked(true);
    // Starting a running stopwatch again keeps its second in step.
    if (!TimerTimer->isActive()) TimerTimer->start();
}

void TFMain::TimerStopClick() {
    TimerStop->setChecked(true);
    TimerTimer->stop();
}

void TFMain::TimerStopClearClick() {
    TimerStopClear->setChecked(true);
    TimerTimer->stop();
    for (QLabel* l : {LabelH, LabelM, LabelS})
        l->setText(QStringLiteral("00"));
}

void TFMain::OptionsAutoExitClick() {
    FVihod->ShowModal();
}
