#pragma once
// The award-reference window: the IOTA, region, state and user award references of the contact
// being entered, with the names looked up from the reference tables as they are typed.

#include "widgets/TForm.h"

class QFrame;
class QGroupBox;
class QLineEdit;
class QPushButton;

class TFAwardAdd : public TForm {
    Q_OBJECT
public:
    explicit TFAwardAdd(QWidget* parent = nullptr);

    QGroupBox* GroupBoxIOTA = nullptr;
    QGroupBox* GroupBoxUkrRuss = nullptr;
    QGroupBox* GroupBoxWas = nullptr;
    QGroupBox* GroupBoxUserAwA = nullptr;
    QGroupBox* GroupBoxUserAwB = nullptr;
    QLineEdit* EditIOTANum = nullptr;
    QLineEdit* EditIOTAName = nullptr;
    QLineEdit* EditIOTADXCC = nullptr;
    QLineEdit* EditUSObl = nullptr;
    QLineEdit* EditUSOblName = nullptr;
    QLineEdit* EditUSDXCC = nullptr;
    QLineEdit* EditWASState = nullptr;
    QLineEdit* EditWASName = nullptr;
    QLineEdit* EditUAA = nullptr;
    QLineEdit* EditUAB = nullptr;
    QLineEdit* EditUAC = nullptr;
    QLineEdit* EditUBA = nullptr;
    QLineEdit* EditUBB = nullptr;
    QLineEdit* EditUBC = nullptr;
    QFrame* Panel1 = nullptr;
    QPushButton* Button1 = nullptr;

    // Run on every key release in the IOTA number box: name and entity of a complete number.
    void EditIOTANumKeyUp();
    // Run on every key release in the state box: the state's name.
    void EditWASStateKeyUp();
    // "Close": hides the window, the texts stay.
    void Button1Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool centred_ = false; // centred on the main window at the first show only
};

extern TFAwardAdd* FAwardAdd;
