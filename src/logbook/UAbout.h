#pragma once
// The about box: program icon, product name, version and a few lines about the program.

#include "widgets/TForm.h"

class QGroupBox;
class QLabel;
class QPushButton;

class TFAboutBox : public TForm {
    Q_OBJECT
public:
    explicit TFAboutBox(QWidget* parent = nullptr);

    void OKButtonClick();

    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* Version;
    QGroupBox* GroupBoxContacts;
    QPushButton* OKButton;
};

extern TFAboutBox* FAboutBox;
