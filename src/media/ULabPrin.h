#pragma once

#include "widgets/TForm.h"

class TFLabPrint : public TForm {
    Q_OBJECT
public:
    explicit TFLabPrint(QWidget* parent = nullptr);
};

extern TFLabPrint* FLabPrint;
