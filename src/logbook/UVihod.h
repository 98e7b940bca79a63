#pragma once

#include "media/ClockJobs.h"
#include "widgets/TForm.h"

class QButtonGroup;
class QCheckBox;
class QDateTimeEdit;
class QGroupBox;
class QTimer;

// The timed exit: closes the program or ends the desktop session at a set time.
class TFVihod : public TForm {
    Q_OBJECT
public:
    explicit TFVihod(QWidget* parent = nullptr);

    QDateTimeEdit* DateTimePicker1;
    QGroupBox* RadioGroup1;
    QButtonGroup* RadioGroup1Items;
    QCheckBox* CheckBox1;
    QTimer* TimerExit;

    void CheckBox1Click();
    void TimerExitTimer();
    void FormClose();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    QDateTime lastTick_;
    ClockJobs::MinuteJob exitJob_;
};

extern TFVihod* FVihod;
