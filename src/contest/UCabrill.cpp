#include "contest/UCabrill.h"

TFCabrillo* FCabrillo = nullptr;

TFCabrillo::TFCabrillo(QWidget* parent) : TForm(QStringLiteral("FCabrillo"), parent) {
    setWindowTitle(QStringLiteral("Cabrillo"));
}
