#pragma once
// The QSL label print window: fills the template from the log's current contact, steps through
// the log, prints the label and can mark the contact's QSL as sent.

#include "widgets/TForm.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
struct LabelContact;

class TFLabPrint : public TForm {
    Q_OBJECT
public:
    explicit TFLabPrint(QWidget* parent = nullptr);

    // "Print QSL Label": the template and font files into the text box, the built-in template
    // where a file is missing; false when not to show. The next activation fills it.
    bool loadLabelFiles();

    void FormActivate();
    void Button1Click();
    void ButtonNextClick();
    void ButtonPriorClick();
    void Button4Click();
    void Button5Click();

    QPlainTextEdit* Memo1;
    QPushButton* ButtonPrior;
    QPushButton* ButtonNext;
    QPushButton* Button1;
    QPushButton* Button4;
    QPushButton* Button5;
    QLineEdit* Edit1;

protected:
    bool event(QEvent* e) override;

private:
    LabelContact currentContact();
    void fillFrom(const QStringList& lines, const QString& workFolder);

    // Set by "Print QSL Label": the label is filled once, so text typed into it stays.
    bool fillPending_ = false;
};

extern TFLabPrint* FLabPrint;
