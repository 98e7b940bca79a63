#pragma once
// The QSL label template window: the template text and its font, kept in "QSL_Lab.hbr" and
// "QSL_F.hbr" in the current directory when the window closes.

#include "platform/LabelPrinter.h"
#include "widgets/TForm.h"

#include <QFont>
#include <functional>
#include <optional>

class QMenuBar;
class QPlainTextEdit;

class TFlabel : public TForm {
    Q_OBJECT
public:
    explicit TFlabel(QWidget* parent = nullptr);

    void FormCreate() override;
    void FormClose();
    void Font1Click();

    QPlainTextEdit* Memo1;
    QMenuBar* MainMenu1;
    QAction* Font1;

    // The font dialog; tests answer it.
    std::function<std::optional<QFont>(const QFont&)> chooseFont;

    void done(int r) override;
};

extern TFlabel* Flabel;

// Reads "QSL_F.hbr" and then "QSL_Lab.hbr" into a text box; a missing file leaves the box as it
// was. A size that is no integer is shown in the error box and skips the rest: returns false.
bool loadLabelFiles(QPlainTextEdit* memo);
QStringList memoLines(const QPlainTextEdit* memo);
void setMemoFont(QPlainTextEdit* memo, const TextFont& f);
TextFont memoFont(const QPlainTextEdit* memo);
