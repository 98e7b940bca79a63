#include "station/UFindWind.h"

TFExtProg* FExtProg = nullptr;

TFExtProg::TFExtProg(QWidget* parent) : TForm(QStringLiteral("FExtProg"), parent) {
    setWindowTitle(QStringLiteral("FFindWindow"));
}
