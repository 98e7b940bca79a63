#include "logbook/UVihod.h"

#include "data/SettingsStore.h"
#include "data/UConfig.h"
#include "data/UGlobal.h"
#include "logbook/UMain.h"
#include "platform/Clock.h"
#include "platform/DateText.h"
#include "platform/Dialogs.h"
#include "platform/SessionControl.h"
#include "widgets/DateTimePicker.h"
#include "widgets/Controls.h"
#include "widgets/StartUpTimers.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

TFVihod* FVihod = nullptr;

TFVihod::TFVihod(QWidget* parent) : TForm(QStringLiteral("FVihod"), parent) {
    setWindowTitle(QStringLiteral("Exit"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(newLabel(this, QStringLiteral("Label1"), QStringLiteral("System Time")));
    DateTimePicker1 = named(new DateTimeBox(this), QStringLiteral("DateTimePicker1"));
    DateTimePicker1->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    DateTimePicker1->setDateTime(Clock::now());
    layout->addWidget(DateTimePicker1);

    RadioGroup1 = newGroup(this, QStringLiteral("RadioGroup1"), QStringLiteral("Close"));
    RadioGroup1Items = new QButtonGroup(RadioGroup1);
    auto* items = new QVBoxLayout(RadioGroup1);
    int index = 0;
    for (const QString& text : {QStringLiteral("Zelmor"), QStringLiteral("Windows")}) {
        auto* b = new QRadioButton(text, RadioGroup1);
        RadioGroup1Items->addButton(b, index++);
        items->addWidget(b);
    }
    RadioGroup1Items->button(0)->setChecked(true);
    layout->addWidget(RadioGroup1);

    CheckBox1 = newCheck(this, QStringLiteral("CheckBox1"), QStringLiteral("Enable"), false);
    layout->addWidget(CheckBox1);

    TimerExit = named(new QTimer(this), QStringLiteral("TimerExit"));
    TimerExit->setInterval(1000);
    const auto guarded = [this](void (TFVihod::*h)()) { return [this, h] { Dialogs::guarded([this, h] { (this->*h)(); }); }; };
    // Only a click by the user announces the exit; loading the stored "true" stays silent.
    connect(CheckBox1, &QCheckBox::clicked, this, guarded(&TFVihod::CheckBox1Click));
    connect(TimerExit, &QTimer::timeout, this, guarded(&TFVihod::TimerExitTimer));
    StartUpTimers::startAfterStartUp(TimerExit);
}

void TFVihod::CheckBox1Click() {
    if (!CheckBox1->isChecked()) return;
    const QString time = DateTimePicker1->time().toString(QStringLiteral("HH:mm:ss"));
    Dialogs::messageDlg(Msg(QStringLiteral("Automatic closing the program is included in ") + time + QStringLiteral(" !"),
                            QStringLiteral("Включено автоматическое закрытие программы в ") + time + QStringLiteral(" !")),
                        DlgType::Information);
}

void TFVihod::TimerExitTimer() {
    const QDateTime prev = lastTick_;
    lastTick_ = Clock::now();
    if (!CheckBox1->isChecked()) return;
    if (!exitJob_.due(prev, lastTick_, DateTimePicker1->time())) return;
    if (RadioGroup1Items->checkedId() == 1) {
        // One request per armed minute; a refused one is asked again at the next tick of it.
        QPointer<TFVihod> self(this);
        Session::control()->requestLogoff([self](bool ok) {
            if (!ok && self) self->exitJob_.retry();
        });
        return;
    }
    // The main window's close waits for a running award rebuild before the program ends.
    FMain->close();
}

void TFVihod::FormClose() {
    const QDateTime at(Clock::today(), DateTimePicker1->time());
    DateTimePicker1->setDateTime(at);
    FConfig->SaveParam(QStringLiteral("FVihod"), QStringLiteral("DateTimePicker1"), QStringLiteral("DateTime"),
                       DateText::dateTime(at), QStringLiteral("TDateTimePicker"));
    FConfig->SaveParam(QStringLiteral("FVihod"), QStringLiteral("RadioGroup1"), QStringLiteral("ItemIndex"),
                       QString::number(RadioGroup1Items->checkedId()), QStringLiteral("TRadioGroup"));
    FConfig->SaveParam(QStringLiteral("FVihod"), QStringLiteral("CheckBox1"), QStringLiteral("Checked"),
                       SettingsStore::checkedText(CheckBox1->isChecked()),
                       QStringLiteral("TCheckBox"));
}

void TFVihod::closeEvent(QCloseEvent* e) {
    Dialogs::guarded([this] { FormClose(); });
    TForm::closeEvent(e);
}
