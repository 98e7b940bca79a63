#pragma once

#include "widgets/TForm.h"

class TFVihod : public TForm {
    Q_OBJECT
public:
    explicit TFVihod(QWidget* parent = nullptr);
};

extern TFVihod* FVihod;
