#include "widgets/UpperCase.h"

#include <QLineEdit>
#include <QValidator>

namespace {

class UpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override {
        input = input.toUpper();
        // Some letters grow when capitalised ("ß" becomes "SS").
        if (pos > input.size()) pos = int(input.size());
        return Acceptable;
    }
};

} // namespace

void makeUpperCase(QLineEdit* box) {
    box->setValidator(new UpperCaseValidator(box));
    // Text set from code bypasses the validator.
    QObject::connect(box, &QLineEdit::textChanged, box, [box](const QString& text) {
        const QString upper = text.toUpper();
        if (upper == text) return;
        const int pos = box->cursorPosition();
        box->setText(upper);
        box->setCursorPosition(qMin(pos, static_cast<int>(box->text().size())));
    });
}
