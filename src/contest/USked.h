#pragma once
// The skeds window: ten appointments (date, time, note) kept between runs; a lamp shows each
// one dated today and a message comes up at its time, whether the window is shown or not.

#include "widgets/TForm.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>

class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimeEdit;
class QTimer;
class RoundLamp;
struct Sked;

class TFSkeds : public TForm {
    Q_OBJECT
public:
    explicit TFSkeds(QWidget* parent = nullptr);
    void FormCreate() override;

    static constexpr int Count = 10;
    // Row i (0-based) is the Part's DateEdit{i+1}, DateTimePicker{i+1}, Edit{i+1}, AbLED{i+1}.
    QList<QDateEdit*> DateEdit;
    QList<QTimeEdit*> DateTimePicker;
    QList<QLineEdit*> Edit;
    QList<RoundLamp*> AbLED;
    QPushButton* ButtonClose;
    QLabel* LabelST;
    QTimer* Timer1;

    void LoadSkeds();
    void FormClose();
    void Timer1Timer();

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    Sked sked(int row) const;
    void apply(int row, const Sked& s);

    // The stored lines of rows that could not be read, written back as they were until the
    // operator edits the row; empty for every other row.
    QList<QByteArray> kept_;
    QDateTime lastTick_;
};

extern TFSkeds* FSkeds;
