#include "contest/USked.h"

TFSkeds* FSkeds = nullptr;

TFSkeds::TFSkeds(QWidget* parent) : TForm(QStringLiteral("FSkeds"), parent) {
    setWindowTitle(QStringLiteral("Skeds"));
}
