#pragma once

#include "widgets/TForm.h"

class TFCont : public TForm {
    Q_OBJECT
public:
    explicit TFCont(QWidget* parent = nullptr);

    // Shows or hides the award cells of the typed call; the cells come with the contest window.
    void ShowAwardCells(bool show) { Q_UNUSED(show); }
};

extern TFCont* FCont;
