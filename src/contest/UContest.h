#pragma once
// The contest configuration window: the points grid, the points factor and the sent exchange of
// the contest being worked, kept as named configurations in the settings table.

#include "widgets/TForm.h"

#include <QList>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTimeEdit;
struct ContestConfigValues;

class TFContConf : public TForm {
    Q_OBJECT
public:
    explicit TFContConf(QWidget* parent = nullptr);
    void FormCreate() override;

    QComboBox* ComboBox1;
    // Points cells and their up-down controls, group * 14 + band (CW, SSB, RTTY, other).
    QList<QLineEdit*> PointCells;
    QList<QSpinBox*> UpDowns;
    QSpinBox* SPoint;
    QCheckBox* CheckBoxSen;
    QLineEdit* EditSen;
    QLabel* Label22; // "Sent"
    QLabel* Label21; // "+"
    QLineEdit* MaskEdit1;
    QSpinBox* UpDown1;
    QGroupBox* RadioGroup1;
    QList<QRadioButton*> RadioGroup1Items;
    QDateEdit* DatePicker1;
    QTimeEdit* TimePicker1;
    QDateEdit* DatePicker2;
    QTimeEdit* TimePicker2;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QCheckBox* CheckBox3;
    QPushButton* ButtonSav;
    QPushButton* ButtonDel;
    QPushButton* ButtonCl;
    QPushButton* ButtonOp;

    // The points cell of a mode group and band row.
    QLineEdit* pointCell(int group, int band) const { return PointCells.at(group * 14 + band); }

    void LoadContestConfigList();
    void ButtonSavClick();
    void ButtonDelClick();
    void ButtonClClick();
    void ButtonOpClick();
    void ComboBox1Select();
    void CheckBoxSenClick();
    void Label22DblClick();
    // The handler of every points up-down: its cell shows its position / 10.
    void UpDownChanging(int cell);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ContestConfigValues values() const;
    void apply(const ContestConfigValues& v);
    // Loads the configuration named in the name box; false when its stored lines were refused.
    bool loadConfiguration();
    void buildPointsGrid(QGroupBox* grid);
};

extern TFContConf* FContConf;
