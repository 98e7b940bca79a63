#include "station/UTRXControl.h"

#include "platform/Dialogs.h"
#include "station/UCtrlTRX.h"
#include "widgets/BoxColour.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

TFTRXControl* FTRXControl = nullptr;

namespace {

const QColor kNavy{0, 0, 128};
const QColor kBlue{0, 0, 255};
const QColor kRed{255, 0, 0};
const QString kNoFrequency = QStringLiteral("000.000.000");

QLabel* newLabel(QWidget* parent, const QString& text, const QString& name = {}) {
    auto* l = new QLabel(text, parent);
    if (!name.isEmpty()) l->setObjectName(name);
    return l;
}

QProgressBar* newBar(QWidget* parent, const QString& name, int maximum) {
    auto* b = new QProgressBar(parent);
    b->setObjectName(name);
    b->setRange(0, maximum);
    b->setValue(0);
    b->setTextVisible(false);
    return b;
}

QGroupBox* newGroup(QWidget* parent, const QString& name, const QString& caption) {
    auto* g = new QGroupBox(caption, parent);
    g->setObjectName(name);
    return g;
}

} // namespace

TFTRXControl::TFTRXControl(QWidget* parent) : TForm(QStringLiteral("FTRXControl"), parent) {
    setWindowTitle(QStringLiteral("TRX"));

    GroupBoxFreq = newGroup(this, QStringLiteral("GroupBoxFreq"), QStringLiteral(" Frequency "));
    LabelFreq = newLabel(GroupBoxFreq, kNoFrequency, QStringLiteral("LabelFreq"));
    QFont big(QStringLiteral("Arial"));
    big.setPixelSize(32);
    big.setBold(true);
    LabelFreq->setFont(big);
    LabelFreq->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setTextColour(LabelFreq, kNavy);
    (new QHBoxLayout(GroupBoxFreq))->addWidget(LabelFreq);

    GroupBoxMeter = newGroup(this, QStringLiteral("GroupBoxMeter"), QStringLiteral("Meter"));
    ProgressBarSM_PWR = newBar(GroupBoxMeter, QStringLiteral("ProgressBarSM_PWR"), 15);
    ProgressBarRWRSet = newBar(GroupBoxMeter, QStringLiteral("ProgressBarRWRSet"), 100);
    LabelPC = newLabel(GroupBoxMeter, QStringLiteral("100"), QStringLiteral("LabelPC"));
    setTextColour(LabelPC, kNavy);
    auto* m = new QGridLayout(GroupBoxMeter);
    m->addWidget(newLabel(GroupBoxMeter, QStringLiteral("S")), 0, 0);
    m->addWidget(newLabel(GroupBoxMeter, QStringLiteral("-1---2---3---5---7---9---20---40---60 dB")), 0, 1);
    m->addWidget(ProgressBarSM_PWR, 1, 1);
    m->addWidget(newLabel(GroupBoxMeter, QStringLiteral("PWR")), 2, 0);
    m->addWidget(newLabel(GroupBoxMeter, QStringLiteral("-10-----25------------50------------100 W")), 2, 1);
    auto* set = new QHBoxLayout;
    set->addWidget(newLabel(GroupBoxMeter, QStringLiteral("PWR set - ")));
    set->addWidget(LabelPC);
    set->addWidget(newLabel(GroupBoxMeter, QStringLiteral("W")));
    set->addStretch();
    m->addLayout(set, 3, 1);
    m->addWidget(ProgressBarRWRSet, 4, 1);

    GroupBoxFreqA = newGroup(this, QStringLiteral("GroupBoxFreqA"), {});
    LabelFreqA = newLabel(GroupBoxFreqA, kNoFrequency, QStringLiteral("LabelFreqA"));
    auto* a = new QHBoxLayout(GroupBoxFreqA);
    a->addWidget(newLabel(GroupBoxFreqA, QStringLiteral("A - ")));
    a->addWidget(LabelFreqA);
    GroupBoxFreqB = newGroup(this, QStringLiteral("GroupBoxFreqB"), {});
    Label9 = newLabel(GroupBoxFreqB, kNoFrequency, QStringLiteral("Label9"));
    auto* b = new QHBoxLayout(GroupBoxFreqB);
    b->addWidget(newLabel(GroupBoxFreqB, QStringLiteral("B - ")));
    b->addWidget(Label9);

    PanelFrontPanelControl = new QFrame(this);
    PanelFrontPanelControl->setObjectName(QStringLiteral("PanelFrontPanelControl"));
    PanelFrontPanelControl->setFrameShape(QFrame::StyledPanel);

    auto* vfos = new QHBoxLayout;
    vfos->addWidget(GroupBoxFreqA);
    vfos->addWidget(GroupBoxFreqB);
    auto* column = new QVBoxLayout(this);
    column->addWidget(GroupBoxFreq);
    column->addWidget(GroupBoxMeter);
    column->addLayout(vfos);
    column->addWidget(PanelFrontPanelControl);
    column->setSizeConstraint(QLayout::SetFixedSize);

    TimerUpdate = new QTimer(this);
    TimerUpdate->setObjectName(QStringLiteral("TimerUpdate"));
    TimerUpdate->setInterval(1000);
    connect(TimerUpdate, &QTimer::timeout, this,
            [this] { Dialogs::guarded([this] { TimerUpdateTimer(); }); });
}

TFTRXControl::~TFTRXControl() {
    // Nothing is sent to the radio at exit, but the reader ends before the program does.
    TrxSetReceiver({});
    TrxClosePort();
    if (FTRXControl == this) FTRXControl = nullptr;
}

void TFTRXControl::TimerUpdateTimer() {
    TrxSend(QString::fromLatin1(TrxCommand::Poll));
    // The reply to this poll is shown at the next tick.
    const TrxStatus s = TrxReadStatus();
    LabelFreq->setText(QString::number(s.inform.Freq));
    ProgressBarSM_PWR->setValue(std::clamp(s.data.SMeter, 0, ProgressBarSM_PWR->maximum()));
    ProgressBarRWRSet->setValue(std::clamp(s.data.Power, 0, ProgressBarRWRSet->maximum()));
    LabelPC->setText(QString::number(s.data.Power));
    setTextColour(LabelPC, s.inform.TxRx == QLatin1String("RX") ? kBlue : kRed);
}

void TFTRXControl::FormShow() {
    TimerUpdate->setInterval(200);
}

void TFTRXControl::FormClose() {
    TimerUpdate->setInterval(1000);
    TrxSend(QString::fromLatin1(TrxCommand::WindowClosed));
}

void TFTRXControl::showEvent(QShowEvent* e) {
    TForm::showEvent(e);
    if (!e->spontaneous()) FormShow();
}

void TFTRXControl::done(int result) {
    TForm::done(result);
    FormClose();
}
