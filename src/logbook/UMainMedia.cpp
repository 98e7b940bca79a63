// The main window's sound buttons and QSL label menus: they hand over to the media windows.
#include "logbook/UMain.h"

#include "media/ULabPrin.h"
#include "media/ULabel.h"
#include "media/USound.h"
#include "media/UTimer.h"
#include "platform/Dialogs.h"

#include <QAction>
#include <QPushButton>
#include <QTabWidget>

void TFMain::connectMediaHandlers() {
    const auto guardedSlot = [this](void (TFMain::*h)()) {
        return [this, h] { Dialogs::guarded([this, h] { (this->*h)(); }); };
    };
    connect(ButtonRec, &QPushButton::clicked, this, guardedSlot(&TFMain::ButtonRecClick));
    connect(ButtonPlay, &QPushButton::clicked, this, guardedSlot(&TFMain::ButtonPlayClick));
    connectHandler(OptionsQSLLabel, &TFMain::OptionsQSLLabelClick);
    connectHandler(TolsPrintQSL, &TFMain::TolsPrintQSLClick);
    connectHandler(ViewSoundTimer, &TFMain::ViewSoundTimerClick);
    connectHandler(ViewSoundAlarm, &TFMain::ViewSoundAlarmClick);
}

void TFMain::ViewSoundTimerClick() {
    FTimer->TabbedNotebook1->setCurrentIndex(1);
    FTimer->ShowModal();
}

void TFMain::ViewSoundAlarmClick() {
    FTimer->TabbedNotebook1->setCurrentIndex(0);
    FTimer->ShowModal();
}

// The player's state, not the buttons' (translatable) captions, decides what a click does.
void TFMain::ButtonRecClick() {
    if (FSound->mainState() == TFSound::MainState::Recording)
        FSound->ButtonAbortClick();
    else
        FSound->ButtonRecClick();
}

void TFMain::ButtonPlayClick() {
    if (FSound->mainState() == TFSound::MainState::Idle) {
        FSound->ButtonPlayClick();
        return;
    }
    FSound->ButtonStopClick();
    FSound->ButtonSaveClick();
}

void TFMain::OptionsQSLLabelClick() {
    Flabel->ShowModal();
}

void TFMain::TolsPrintQSLClick() {
    if (FLabPrint->loadLabelFiles()) FLabPrint->ShowModal();
}
