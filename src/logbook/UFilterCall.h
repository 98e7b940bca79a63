#pragma once

#include "widgets/TForm.h"

class TFFilterCall : public TForm {
    Q_OBJECT
public:
    explicit TFFilterCall(QWidget* parent = nullptr);
};

extern TFFilterCall* FFilterCall;
