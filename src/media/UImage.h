#pragma once

#include "widgets/TForm.h"

class TFImage : public TForm {
    Q_OBJECT
public:
    explicit TFImage(QWidget* parent = nullptr);
};

extern TFImage* FImage;
