#include "data/UConfig.h"
#include "data/UGlobal.h"

#include <QComboBox>

bool MessagesInRussian() {
    // The box, not the stored value: a language picked but not yet saved already counts.
    return FConfig && FConfig->ComboBoxLanguage &&
           FConfig->ComboBoxLanguage->currentText() == QLatin1String("Russian");
}

QString Msg(const QString& english, const QString& russian) {
    return MessagesInRussian() ? russian : english;
}
