#pragma once
// The transceiver window: frequency, S-meter and set power of the radio, refreshed by its poll
// timer while the link is connected.

#include "widgets/TForm.h"

class QFrame;
class QGroupBox;
class QLabel;
class QProgressBar;
class QTimer;

class TFTRXControl : public TForm {
    Q_OBJECT
public:
    explicit TFTRXControl(QWidget* parent = nullptr);
    ~TFTRXControl() override;

    QGroupBox* GroupBoxFreq;
    QLabel* LabelFreq;
    QGroupBox* GroupBoxMeter;
    QProgressBar* ProgressBarSM_PWR;
    QProgressBar* ProgressBarRWRSet;
    QLabel* LabelPC;
    QGroupBox* GroupBoxFreqA;
    QLabel* LabelFreqA;
    QGroupBox* GroupBoxFreqB;
    QLabel* Label9;
    QFrame* PanelFrontPanelControl;
    QTimer* TimerUpdate;

    void TimerUpdateTimer();
    void FormShow();
    void FormClose();

    void done(int result) override;

protected:
    void showEvent(QShowEvent* e) override;
};

extern TFTRXControl* FTRXControl;
