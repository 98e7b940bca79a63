#pragma once

#include "widgets/TForm.h"

class TFlabel : public TForm {
    Q_OBJECT
public:
    explicit TFlabel(QWidget* parent = nullptr);
};

extern TFlabel* Flabel;
