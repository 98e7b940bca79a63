#pragma once

#include "widgets/TForm.h"

class TFQRZ : public TForm {
    Q_OBJECT
public:
    explicit TFQRZ(QWidget* parent = nullptr);
};

extern TFQRZ* FQRZ;
