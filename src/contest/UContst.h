#pragma once
// The contest window: the award items of one award in the current log book, the marks of the
// typed call's item per band and mode, and the running points total.

#include "widgets/TForm.h"

#include <QList>

class DBGrid;
class QGroupBox;
class QLabel;
class QPushButton;
class QWidget;

class TFCont : public TForm {
    Q_OBJECT
public:
    explicit TFCont(QWidget* parent = nullptr);

    DBGrid* DBGrid1;
    // Its caption names the award the window presents (" DXCC ", " WAZ ", " Ukr Rus & ... ", " IOTA ").
    QGroupBox* GroupBoxAwName;
    // Holds the award cells of the typed call's item: the band-and-mode cells, the satellite
    // cells and the item cell, shown and hidden together.
    QWidget* PanelAwardCells;
    // The 24 band-and-mode cells and the 4 satellite cells, each named after its column.
    QList<QLabel*> AwardCells;
    QLabel* ItemCell; // Param1 of the current item
    QLabel* Label5;   // the running points total
    QPushButton* ButtonRefresh;
    QPushButton* ButtonDXCC;
    QPushButton* ButtonWAZ;
    QPushButton* ButtonIOTA;
    QPushButton* ButtonUR;

    // Shows or hides the award cells of the typed call's item.
    void ShowAwardCells(bool show);
    void ButtonDXCCClick();
    void ButtonWAZClick();
    void ButtonURClick();
    void ButtonIOTAClick();
    void ButtonRefreshClick();
    // Runs the award button of the award the window presents again (after the book changed).
    void rerunPresentedAward();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void chooseAward(const QString& caption, const QString& awName, const QString& param1,
                     const QString& param2);
    void showCurrentItem();
    void attachData();
};

extern TFCont* FCont;
