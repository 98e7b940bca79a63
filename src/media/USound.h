#pragma once

#include "widgets/TForm.h"

class TFSound : public TForm {
    Q_OBJECT
public:
    explicit TFSound(QWidget* parent = nullptr);

    // The player's buttons, clicked from code by the entry panel; recording comes with the sound window.
    void ButtonRecClick() {}
    void ButtonAbortClick() {}
    void ButtonStopClick() {}
    void ButtonSaveClick() {}
};

extern TFSound* FSound;
