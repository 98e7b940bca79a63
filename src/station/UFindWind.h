#pragma once

#include "widgets/TForm.h"

class TFExtProg : public TForm {
    Q_OBJECT
public:
    explicit TFExtProg(QWidget* parent = nullptr);
};

extern TFExtProg* FExtProg;
