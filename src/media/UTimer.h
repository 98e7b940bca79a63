#pragma once
// Alarms and timed recordings: three one-shot alarms, three one-shot recordings and a daily
// series of recordings, run by two one-second timers whether the window is shown or not. The
// controls are the settings in memory; Save stores them in the settings table.

#include "media/ClockJobs.h"
#include "widgets/TForm.h"

class QCheckBox;
class QDateTimeEdit;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTimer;

class TFTimer : public TForm {
    Q_OBJECT
public:
    explicit TFTimer(QWidget* parent = nullptr);
    ~TFTimer() override;

    // Page 0 "Alarm", page 1 "Time Rec": the page shown decides what Save and Reset act on.
    QTabWidget* TabbedNotebook1;

    // Alarms 1 to 3 (index 0 to 2): armed, date, time.
    QCheckBox* CheckBoxA[3];
    QDateTimeEdit* PickerDA[3];
    QDateTimeEdit* PickerTA[3];

    // One-shot recordings 1 to 3 (index 0 to 2), and the daily series at index 3 of CheckBoxR and
    // PickerTT (its start time) and SpinEdit (its length); SpinEdit[4] is the series' count.
    QCheckBox* CheckBoxR[4];
    QDateTimeEdit* PickerTT[4];
    QDateTimeEdit* PickerTD[3];
    QSpinBox* SpinEdit[5];
    QSpinBox* SpinEditT;    // minutes from one start of the series to the next
    QDateTimeEdit* Picker1; // hidden: the next start of the series
    QLineEdit* Edit1;       // hidden: starts of the series still to come

    QPushButton* ButtonS;
    QPushButton* ButtonR;
    QPushButton* ButtonC;
    QPushButton* Button1;
    QTimer* Timer1; // alarms
    QTimer* Timer2; // recordings

    void CheckBoxAClick();
    void CheckBoxRClick();
    void Timer1Timer();
    void Timer2Timer();
    void ButtonSClick();
    void ButtonRClick();
    void ButtonCClick();
    void Button1Click();
    void FormClose();

    // At start-up and after every settings Save: arms the series and drops passed jobs.
    void PrepareJobs();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    QWidget* buildAlarmPage();
    QWidget* buildRecordingPage();
    void dropPassedJobs();
    void armSeries();
    void soundAlarm(int i);
    void startRecording(int job, const QDateTime& stop);
    void saveRecordingPage();
    void saveAlarmPage();

    ClockJobs::Ticks alarmTicks_;
    ClockJobs::Ticks recordingTicks_;
    bool inTick_ = false;
    // The stop of the recording a job started, fixed when it started: the recording is stored
    // then even when its job is reset, unticked or edited meanwhile.
    QDateTime recordingStop_;
    bool madeAlarmDevice_ = false; // the sound device goes with the window that made it
};

extern TFTimer* FTimer;
