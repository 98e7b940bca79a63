#pragma once

#include "widgets/TForm.h"

class TFTRXControl : public TForm {
    Q_OBJECT
public:
    explicit TFTRXControl(QWidget* parent = nullptr);
};

extern TFTRXControl* FTRXControl;
