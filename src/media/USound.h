#pragma once
// The player: records the contact being entered into a WAV work file, stores recordings in
// table Sound and plays them back. The main window's Rec and Play buttons and the entry panel
// drive it by clicking its buttons from code.

#include "widgets/TForm.h"

class AudioDevice;
class DBGrid;
class QLabel;
class QMenuBar;
class QProgressBar;
class QPushButton;
class QSlider;
class QTimer;

class TFSound : public TForm {
    Q_OBJECT
public:
    // What the main window's two buttons show: "Rec"/"Play", "Abort"/"Save", "Rec"/"Abort".
    enum class MainState { Idle, Recording, Playing };

    explicit TFSound(QWidget* parent = nullptr);

    void FormCreate() override;
    void FormClose();

    void ButtonRecClick();
    void ButtonStopClick();
    void ButtonSaveClick();
    void ButtonAbortClick();
    void ButtonPlayClick();
    void ButtonPrewClick();
    void ButtonPriorClick();
    void TrackBar1Change();
    void DelDeleteClick();
    void DelClearClick();
    void TimerGuageProgresRecTimer();
    void TimerGuageProgresPlayTimer();
    void TimerMiganieTimer();

    // Deletes every "\Temp\*.wav"; throws when one cannot be deleted.
    static void ClearTempWaves();

    MainState mainState() const { return mainState_; }
    // A recording runs or waits to be stored.
    bool recordingHeld() const { return mainState_ == MainState::Recording; }
    // The timed job (1 and up) that started the held recording; 0 for the operator and the entry
    // panel. The entry panel's automatic calls leave a job's recording alone.
    int recordingJob() const { return recordingHeld() ? recordingJob_ : 0; }
    // Starts a recording for a timed job; false, with nothing touched, while one is held.
    bool startTimedRecording(int job);
    // Stops and stores the held recording when this job started it.
    void storeTimedRecording(int job);

    DBGrid* DBGrid1;
    QPushButton* ButtonSave;
    QPushButton* ButtonStop;
    QPushButton* ButtonRec;
    QPushButton* ButtonPlay;
    QPushButton* ButtonPrew;
    QPushButton* ButtonPrior;
    QPushButton* ButtonAbort;
    QProgressBar* Gauge1;
    QLabel* Label1;
    QSlider* TrackBar1;
    QTimer* TimerGuageProgresRec;
    QTimer* TimerGuageProgresPlay;
    QTimer* TimerMiganie;
    QMenuBar* MainMenu1;
    QAction* DelDelete;
    QAction* DelClear;

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    enum class PlayerState { Stop, Rec, Play, Save };
    void setPlayerState(PlayerState s);
    void setMainState(MainState s);
    AudioDevice* device();
    // False after reporting a device failure (once per run until the device works again).
    bool deviceDid(bool ok);
    void backToIdle();
    bool playFile(const QString& path);

    PlayerState playerState_ = PlayerState::Stop;
    MainState mainState_ = MainState::Idle;
    bool failureReported_ = false;
    int recordingJob_ = 0;
    // The main window's idle captions, as the caption language set them.
    QString idleRec_;
    QString idlePlay_;
};

extern TFSound* FSound;
