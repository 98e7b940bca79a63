#include "station/UCallInt.h"

TFQRZ* FQRZ = nullptr;

TFQRZ::TFQRZ(QWidget* parent) : TForm(QStringLiteral("FQRZ"), parent) {
    setWindowTitle(QStringLiteral("Call sign look-up"));
}
