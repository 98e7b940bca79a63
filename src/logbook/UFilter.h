#pragma once
// The filter window: twelve ticked conditions narrow the log view of the current book.

#include "widgets/TForm.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QTimeEdit;
struct LogFilterConditions;

class TFilter : public TForm {
    Q_OBJECT
public:
    explicit TFilter(QWidget* parent = nullptr);

    QCheckBox* CheckBoxC;
    QLineEdit* EditC;
    QCheckBox* CheckBoxP;
    QLineEdit* EditP;
    QCheckBox* CheckBoxD;
    QDateEdit* DateTimePickerD;
    QDateEdit* DateTimePickerD2;
    QCheckBox* CheckBoxT;
    QTimeEdit* DateTimePickerT;
    QTimeEdit* DateTimePickerT2;
    QCheckBox* CheckBoxB;
    QComboBox* ComboBoxB;
    QCheckBox* CheckBoxM;
    QComboBox* ComboBoxM;
    QCheckBox* CheckBoxN;
    QLineEdit* EditN;
    QCheckBox* CheckBoxL;
    QLineEdit* EditL;
    QCheckBox* CheckBoxRR;
    QLineEdit* MaskEditRR;
    QCheckBox* CheckBoxTR;
    QLineEdit* MaskEditTR;
    QCheckBox* CheckBoxQS;
    QCheckBox* CheckBoxQR;
    QPushButton* ButtonO;
    QPushButton* ButtonC;
    QPushButton* ButtonCl;

    void FormCreate() override;
    void ButtonOClick();
    void ButtonCClick();
    void ButtonClClick();

    // The twelve tick boxes in the order their conditions join the filter.
    QList<QCheckBox*> conditionBoxes() const;
    // What the ticked boxes and their values ask for.
    LogFilterConditions conditions() const;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void untickAll();
    // The plain view of the current book in date order.
    void showWholeBook();
};

extern TFilter* Filter;
