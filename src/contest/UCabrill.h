#pragma once

#include "widgets/TForm.h"

class TFCabrillo : public TForm {
    Q_OBJECT
public:
    explicit TFCabrillo(QWidget* parent = nullptr);
};

extern TFCabrillo* FCabrillo;
