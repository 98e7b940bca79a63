#include "logbook/UProgres.h"

TFProgres* FProgres = nullptr;

TFProgres::TFProgres(QWidget* parent) : TForm(QStringLiteral("FProgres"), parent) {
    setWindowTitle(QStringLiteral("Progres"));
}
