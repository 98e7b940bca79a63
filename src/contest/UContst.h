#pragma once

#include "widgets/TForm.h"

class QGroupBox;
class QWidget;

class TFCont : public TForm {
    Q_OBJECT
public:
    explicit TFCont(QWidget* parent = nullptr);

    // Its caption names the award the window presents (" DXCC ", " WAZ ", " Ukr Rus & ... ", " IOTA ").
    QGroupBox* GroupBoxAwName;
    // Holds the award cells of the typed call's item: the band-and-mode cells, the satellite
    // cells and the item cell, shown and hidden together.
    QWidget* PanelAwardCells;

    // Shows or hides the award cells of the typed call's item.
    void ShowAwardCells(bool show);
};

extern TFCont* FCont;
