#pragma once

#include "widgets/TForm.h"

class TFAwards : public TForm {
    Q_OBJECT
public:
    explicit TFAwards(QWidget* parent = nullptr);
};

extern TFAwards* FAwards;
