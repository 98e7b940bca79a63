#pragma once

#include "widgets/TForm.h"

class TFTimer : public TForm {
    Q_OBJECT
public:
    explicit TFTimer(QWidget* parent = nullptr);
};

extern TFTimer* FTimer;
