#pragma once
// The Cabrillo window: the header boxes of a Cabrillo contest log, and its OK button that
// writes the log view to a file.

#include "widgets/TForm.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TFCabrillo : public TForm {
    Q_OBJECT
public:
    explicit TFCabrillo(QWidget* parent = nullptr);
    void FormCreate() override;

    QComboBox* ComboBoxContName;
    QLineEdit* EditMode;
    QLineEdit* EditCateg;
    QLineEdit* EditScore;
    QLineEdit* EditOperat;
    QLineEdit* EditClub;
    QLineEdit* EditName;
    QLineEdit* EditAdr1;
    QLineEdit* EditAdr2;
    QLineEdit* EditAdr3;
    QLineEdit* EditSoap;
    QPushButton* Button1;
    QLabel* LabelOK;

    void FormShow();
    void Button1Click();

protected:
    void showEvent(QShowEvent* e) override;
};

extern TFCabrillo* FCabrillo;
