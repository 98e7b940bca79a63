#pragma once

#include "widgets/TForm.h"

class TFProgres : public TForm {
    Q_OBJECT
public:
    explicit TFProgres(QWidget* parent = nullptr);
};

extern TFProgres* FProgres;
