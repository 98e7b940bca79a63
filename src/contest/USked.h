#pragma once

#include "widgets/TForm.h"

class TFSkeds : public TForm {
    Q_OBJECT
public:
    explicit TFSkeds(QWidget* parent = nullptr);
};

extern TFSkeds* FSkeds;
