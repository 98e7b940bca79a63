#include "media/ULabel.h"

TFlabel* Flabel = nullptr;

TFlabel::TFlabel(QWidget* parent) : TForm(QStringLiteral("Flabel"), parent) {
    setWindowTitle(QStringLiteral("QSL label"));
}
