#include "station/UTRXControl.h"

TFTRXControl* FTRXControl = nullptr;

TFTRXControl::TFTRXControl(QWidget* parent) : TForm(QStringLiteral("FTRXControl"), parent) {
    setWindowTitle(QStringLiteral("TRX"));
}
