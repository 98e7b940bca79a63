#pragma once

#include "widgets/TForm.h"

class TFilter : public TForm {
    Q_OBJECT
public:
    explicit TFilter(QWidget* parent = nullptr);
};

extern TFilter* Filter;
