#pragma once

#include "widgets/TForm.h"

class TFContConf : public TForm {
    Q_OBJECT
public:
    explicit TFContConf(QWidget* parent = nullptr);
};

extern TFContConf* FContConf;
