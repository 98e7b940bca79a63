#include "logbook/UVihod.h"

TFVihod* FVihod = nullptr;

TFVihod::TFVihod(QWidget* parent) : TForm(QStringLiteral("FVihod"), parent) {
    setWindowTitle(QStringLiteral("Exit"));
}
