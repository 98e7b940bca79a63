#pragma once
// The call filter: a small tool window whose box narrows the log view to the calls that begin
// with the typed text, as it is typed.

#include "widgets/TForm.h"

class QLineEdit;

class TFFilterCall : public TForm {
    Q_OBJECT
public:
    explicit TFFilterCall(QWidget* parent = nullptr);

    QLineEdit* EditCall;

    void EditCallChange();
    void FormClose();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;
};

extern TFFilterCall* FFilterCall;
