#include "media/USound.h"

#include "data/UDM.h"
#include "data/UGlobal.h"
#include "logbook/UMain.h"
#include "media/MediaWidgets.h"
#include "platform/AudioDevice.h"
#include "platform/Clock.h"
#include "platform/DataFolder.h"
#include "platform/Dialogs.h"
#include "platform/QtAudioDevice.h"
#include "widgets/BoxColour.h"
#include "widgets/DBGrid.h"

#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>
#include <stdexcept>

TFSound* FSound = nullptr;

namespace {

const QColor kGrey{128, 128, 128};
const QColor kLime{0, 255, 0};
const QColor kRed{255, 0, 0};
const int kRecordTicks = 299; // a recording left running stops itself after 299 seconds

QString recordingFile() {
    return programPath(QStringLiteral("\\Temp\\LogS.wav"));
}

QString playbackFile() {
    return programPath(QStringLiteral("\\Temp\\LogP.wav"));
}

QStringList tempWaves() {
    return QDir(programPath(QStringLiteral("\\Temp")))
        .entryList({QStringLiteral("*.wav")}, QDir::AllEntries | QDir::NoDotAndDotDot);
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        throw std::runtime_error(QStringLiteral("I/O error: cannot write %1").arg(path).toStdString());
}

// The recording template of the settings table; a built-in PCM header when the row is missing,
// never some other row's memo.
QByteArray recordingTemplate() {
    Dataset* cfg = DM->TableCfgCfg;
    if (cfg->locate({QStringLiteral("FormName"), QStringLiteral("Prim")},
                    {QStringLiteral("Fsound"), QStringLiteral("StartRec")})) {
        const QByteArray memo = cfg->field(QStringLiteral("Memo")).asBytes();
        if (!memo.isEmpty()) return memo;
    }
    return Audio::builtInRecordingTemplate();
}

} // namespace

TFSound::TFSound(QWidget* parent) : TForm(QStringLiteral("FSound"), parent) {
    setWindowTitle(QStringLiteral("Player"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowStaysOnTopHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    MainMenu1 = named(new QMenuBar(this), QStringLiteral("MainMenu1"));
    QMenu* del = named(MainMenu1->addMenu(QStringLiteral("Delete")), QStringLiteral("Delete1"));
    DelDelete = named(del->addAction(QStringLiteral("Delete")), QStringLiteral("DelDelete"));
    DelClear = named(del->addAction(QStringLiteral("Delete All")), QStringLiteral("DelClear"));

    DBGrid1 = named(new DBGrid(this), QStringLiteral("DBGrid1"));
    DBGrid1->setReadOnly(true);
    DBGrid1->setRowSelect(true);
    DBGrid1->setToolTip(QStringLiteral("System Time"));
    DBGrid1->addColumn(QStringLiteral("DateTim"), QStringLiteral("Date Time"));
    DBGrid1->addColumn(QStringLiteral("Callsignal"), QStringLiteral("Callsignal"));

    ButtonSave = mediaButton(this, QStringLiteral("ButtonSave"), QStringLiteral("Save"));
    ButtonStop = mediaButton(this, QStringLiteral("ButtonStop"), QStringLiteral("Stop"));
    ButtonRec = mediaButton(this, QStringLiteral("ButtonRec"), QStringLiteral("Rec"));
    ButtonPlay = mediaButton(this, QStringLiteral("ButtonPlay"), QStringLiteral("Play"));
    ButtonPrew = mediaButton(this, QStringLiteral("ButtonPrew"), QStringLiteral("Previous"));
    ButtonPrior = mediaButton(this, QStringLiteral("ButtonPrior"), QStringLiteral("Rewind"));
    ButtonAbort = mediaButton(this, QStringLiteral("ButtonAbort"), QStringLiteral("Abort"));
    ButtonSave->setEnabled(false);
    ButtonStop->setEnabled(false);
    ButtonPrew->setEnabled(false);
    ButtonPrior->setEnabled(false);

    Gauge1 = named(new QProgressBar(this), QStringLiteral("Gauge1"));
    Gauge1->setRange(0, 100);
    Gauge1->setValue(0);
    Label1 = named(new QLabel(QStringLiteral("Stop"), this), QStringLiteral("Label1"));
    TrackBar1 = named(new QSlider(Qt::Horizontal, this), QStringLiteral("TrackBar1"));
    TrackBar1->setRange(0, 50);

    const auto makeTimer = [this](const QString& name, int ms) {
        auto* t = named(new QTimer(this), name);
        t->setInterval(ms);
        return t;
    };
    TimerGuageProgresRec = makeTimer(QStringLiteral("TimerGuageProgresRec"), 1000);
    TimerGuageProgresPlay = makeTimer(QStringLiteral("TimerGuageProgresPlay"), 100);
    TimerMiganie = makeTimer(QStringLiteral("TimerMiganie"), 500);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(MainMenu1);
    layout->addWidget(DBGrid1);
    auto* status = new QHBoxLayout;
    status->addWidget(Label1);
    status->addWidget(Gauge1, 1);
    layout->addLayout(status);
    layout->addWidget(TrackBar1);
    auto* buttons = new QGridLayout;
    buttons->addWidget(ButtonRec, 0, 0);
    buttons->addWidget(ButtonStop, 0, 1);
    buttons->addWidget(ButtonPlay, 0, 2);
    buttons->addWidget(ButtonSave, 0, 3);
    buttons->addWidget(ButtonPrew, 1, 0);
    buttons->addWidget(ButtonPrior, 1, 1);
    buttons->addWidget(ButtonAbort, 1, 3);
    layout->addLayout(buttons);
    resize(420, 320);

    const auto on = [this](auto* sender, auto signal, void (TFSound::*handler)()) {
        connect(sender, signal, this,
                [this, handler] { Dialogs::guarded([this, handler] { (this->*handler)(); }); });
    };
    on(ButtonRec, &QPushButton::clicked, &TFSound::ButtonRecClick);
    on(ButtonStop, &QPushButton::clicked, &TFSound::ButtonStopClick);
    on(ButtonSave, &QPushButton::clicked, &TFSound::ButtonSaveClick);
    on(ButtonAbort, &QPushButton::clicked, &TFSound::ButtonAbortClick);
    on(ButtonPlay, &QPushButton::clicked, &TFSound::ButtonPlayClick);
    on(ButtonPrew, &QPushButton::clicked, &TFSound::ButtonPrewClick);
    on(ButtonPrior, &QPushButton::clicked, &TFSound::ButtonPriorClick);
    on(TrackBar1, &QSlider::valueChanged, &TFSound::TrackBar1Change);
    on(DelDelete, &QAction::triggered, &TFSound::DelDeleteClick);
    on(DelClear, &QAction::triggered, &TFSound::DelClearClick);
    on(TimerGuageProgresRec, &QTimer::timeout, &TFSound::TimerGuageProgresRecTimer);
    on(TimerGuageProgresPlay, &QTimer::timeout, &TFSound::TimerGuageProgresPlayTimer);
    on(TimerMiganie, &QTimer::timeout, &TFSound::TimerMiganieTimer);
}

void TFSound::FormCreate() {
    ClearTempWaves();
}

void TFSound::showEvent(QShowEvent* e) {
    if (!DBGrid1->dataSource() && DM) DBGrid1->setDataSource(DM->DataSourceSound);
    centreOn(this, FMain);
    TForm::showEvent(e);
}

void TFSound::closeEvent(QCloseEvent* e) {
    Dialogs::guarded([this] { FormClose(); });
    TForm::closeEvent(e);
}

void TFSound::FormClose() {
    {
        const QSignalBlocker block(TrackBar1);
        TrackBar1->setValue(1);
    }
    TimerGuageProgresRec->stop();
    TimerGuageProgresPlay->stop();
    Gauge1->setValue(0);
    ButtonAbortClick();
}

AudioDevice* TFSound::device() {
    if (!Audio::device()) Audio::setDevice(std::make_unique<QtAudioDevice>());
    return Audio::device();
}

bool TFSound::deviceDid(bool ok) {
    if (ok) {
        failureReported_ = false;
        return true;
    }
    if (!failureReported_) {
        failureReported_ = true;
        Dialogs::errorBox(device()->lastError());
    }
    return false;
}

void TFSound::setPlayerState(PlayerState s) {
    playerState_ = s;
    static const char* const texts[] = {"Stop", "Rec", "Play", "Save"};
    Label1->setText(QString::fromLatin1(texts[int(s)]));
}

void TFSound::setMainState(MainState s) {
    if (!FMain) return;
    if (mainState_ == MainState::Idle) {
        idleRec_ = FMain->ButtonRec->text();
        idlePlay_ = FMain->ButtonPlay->text();
    }
    mainState_ = s;
    switch (s) {
    case MainState::Idle:
        FMain->ButtonRec->setText(idleRec_);
        FMain->ButtonPlay->setText(idlePlay_);
        break;
    case MainState::Recording:
        FMain->ButtonRec->setText(QStringLiteral("Abort"));
        FMain->ButtonPlay->setText(QStringLiteral("Save"));
        break;
    case MainState::Playing:
        FMain->ButtonRec->setText(idleRec_);
        FMain->ButtonPlay->setText(QStringLiteral("Abort"));
        break;
    }
}

// After a device failure: nothing runs, nothing waits, the buttons read idle.
void TFSound::backToIdle() {
    TimerGuageProgresRec->stop();
    TimerGuageProgresPlay->stop();
    Gauge1->setValue(0);
    device()->close();
    setPlayerState(PlayerState::Stop);
    ButtonSave->setEnabled(false);
    ButtonStop->setEnabled(false);
    ButtonPrior->setEnabled(false);
    ButtonPrew->setEnabled(false);
    ButtonPlay->setEnabled(true);
    ButtonRec->setEnabled(true);
    TrackBar1->setEnabled(false);
    setMainState(MainState::Idle);
    ClearTempWaves();
}

void TFSound::ButtonRecClick() {
    recordingJob_ = 0;
    TrackBar1->setEnabled(false);
    setPlayerState(PlayerState::Rec);
    Gauge1->setMaximum(300);
    Gauge1->setValue(0);
    TimerGuageProgresPlay->stop();
    ButtonPlay->setEnabled(false);
    ButtonSave->setEnabled(false);
    ButtonStop->setEnabled(true);
    device()->close();
    if (!tempWaves().isEmpty()) ClearTempWaves();
    writeFile(recordingFile(), recordingTemplate());
    if (!deviceDid(device()->open(recordingFile()) && device()->record())) {
        backToIdle();
        return;
    }
    setMainState(MainState::Recording);
    TimerMiganie->start();
    TimerGuageProgresRec->start();
}

bool TFSound::startTimedRecording(int job) {
    if (recordingHeld()) return false;
    device()->close();
    ButtonRecClick();
    if (recordingHeld()) recordingJob_ = job;
    return true;
}

void TFSound::storeTimedRecording(int job) {
    if (recordingJob() != job) return;
    ButtonStopClick();
    ButtonSaveClick();
}

void TFSound::ButtonStopClick() {
    TimerGuageProgresRec->stop();
    TimerGuageProgresPlay->stop();
    Gauge1->setValue(0);
    if (playerState_ == PlayerState::Play) setMainState(MainState::Idle);
    if (playerState_ == PlayerState::Rec) deviceDid(device()->save(recordingFile()));
    device()->close();
    setPlayerState(PlayerState::Stop);
    ButtonSave->setEnabled(QFile::exists(recordingFile()));
    ButtonPlay->setEnabled(true);
    ButtonRec->setEnabled(true);
    ButtonStop->setEnabled(false);
    ButtonPrior->setEnabled(false);
    ButtonPrew->setEnabled(false);
}

void TFSound::ButtonSaveClick() {
    TrackBar1->setEnabled(false);
    setPlayerState(PlayerState::Save);
    Gauge1->setValue(0);
    TimerGuageProgresPlay->stop();
    if (QFile::exists(recordingFile())) {
        QFile f(recordingFile());
        if (!f.open(QIODevice::ReadOnly))
            throw std::runtime_error(
                QStringLiteral("I/O error: cannot read %1").arg(recordingFile()).toStdString());
        const QString call = FMain->EditCall->text();
        Dataset* sound = DM->TableSound;
        sound->append();
        sound->setValue(QStringLiteral("DateTim"), Clock::now());
        if (call.size() > 2) sound->setValue(QStringLiteral("Callsignal"), call);
        sound->setValue(QStringLiteral("Sound"), f.readAll());
        sound->post();
    }
    ClearTempWaves();
    ButtonSave->setEnabled(false);
    setMainState(MainState::Idle);
    DM->TableSound->last();
}

void TFSound::ButtonAbortClick() {
    ButtonStopClick();
    device()->close();
    ButtonSave->setEnabled(false);
    setMainState(MainState::Idle);
    setPlayerState(PlayerState::Stop);
    ClearTempWaves();
}

bool TFSound::playFile(const QString& path) {
    device()->close();
    TimerGuageProgresPlay->start();
    if (!deviceDid(device()->open(path) && device()->play())) {
        backToIdle();
        return false;
    }
    TrackBar1->setEnabled(true);
    ButtonStop->setEnabled(true);
    ButtonPrior->setEnabled(true);
    ButtonPrew->setEnabled(true);
    return true;
}

void TFSound::ButtonPlayClick() {
    Gauge1->setMaximum(100);
    TimerGuageProgresRec->stop();
    setPlayerState(PlayerState::Play);
    ButtonRec->setEnabled(false);
    ButtonSave->setEnabled(false);
    if (QFile::exists(recordingFile())) {
        if (!playFile(recordingFile())) return;
    } else {
        device()->close();
        Dataset* sound = DM->TableSound;
        const bool stored = !sound->isEmpty() && !sound->field(QStringLiteral("DateTim")).isNull();
        if (stored) writeFile(playbackFile(), sound->field(QStringLiteral("Sound")).asBytes());
        if (stored && QFile::exists(playbackFile())) {
            if (!playFile(playbackFile())) return;
            ButtonSave->setEnabled(false);
        } else {
            ButtonRec->setEnabled(true);
        }
    }
    setMainState(MainState::Playing);
    TimerMiganie->start();
}

void TFSound::ButtonPrewClick() {
    device()->stop();
    TimerGuageProgresPlay->stop();
    device()->setPosition(1);
    deviceDid(device()->play());
    TimerGuageProgresPlay->start();
}

void TFSound::ButtonPriorClick() {
    device()->stop();
    TimerGuageProgresPlay->stop();
    device()->setPosition(qMax<qint64>(0, device()->position() - 1000));
    deviceDid(device()->play());
    TimerGuageProgresPlay->start();
}

void TFSound::TrackBar1Change() {
    if (playerState_ != PlayerState::Play) return;
    {
        const QSignalBlocker block(TrackBar1);
        TrackBar1->setMaximum(int(qMin<qint64>(device()->length(), INT_MAX)));
    }
    device()->stop();
    device()->setPosition(TrackBar1->value());
    deviceDid(device()->play());
}

void TFSound::DelDeleteClick() {
    if (!DM->TableSound->isEmpty()) DM->TableSound->remove();
}

void TFSound::DelClearClick() {
    if (Dialogs::messageDlg(QStringLiteral("Clear Sound LOG ?"), DlgType::Confirmation,
                            DlgButtons::YesNoCancel) != DlgResult::Yes)
        return;
    Dataset* sound = DM->TableSound;
    sound->first();
    DM->DataSourceSound->setEnabled(false);
    while (!sound->isEmpty())
        sound->remove();
    sound->last();
    DM->DataSourceSound->setEnabled(true);
}

void TFSound::TimerGuageProgresRecTimer() {
    if (playerState_ != PlayerState::Rec) return;
    Gauge1->setValue(Gauge1->value() + 1);
    if (Gauge1->value() >= kRecordTicks) ButtonStopClick();
}

void TFSound::TimerGuageProgresPlayTimer() {
    const qint64 length = device()->length();
    const qint64 position = device()->position();
    if (length <= 0) {
        Gauge1->setValue(0);
        ButtonStopClick();
        return;
    }
    Gauge1->setValue(int(std::lround(double(position) / double(length) * 100.0)));
    if (position >= length || device()->finished()) ButtonStopClick();
}

void TFSound::TimerMiganieTimer() {
    QLabel* rp = FMain->LabelRP;
    const auto blink = [rp](const QColor& on, const QString& letter) {
        if (textColour(rp) == kGrey) {
            rp->show();
            setTextColour(rp, on);
        } else {
            rp->hide();
            setTextColour(rp, kGrey);
        }
        rp->setText(letter);
    };
    switch (mainState_) {
    case MainState::Playing:
        blink(kLime, QStringLiteral("P"));
        break;
    case MainState::Recording:
        blink(kRed, QStringLiteral("R"));
        break;
    case MainState::Idle:
        rp->hide();
        TimerMiganie->stop();
        break;
    }
}

void TFSound::ClearTempWaves() {
    const QDir temp(programPath(QStringLiteral("\\Temp")));
    for (const QString& name : tempWaves()) {
        const QString path = temp.filePath(name);
        if (!QFile::remove(path))
            throw std::runtime_error(QStringLiteral("I/O error: cannot delete %1").arg(path).toStdString());
    }
}
