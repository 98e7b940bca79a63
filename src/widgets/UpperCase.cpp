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
}
