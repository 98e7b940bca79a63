#include "media/ULabPrin.h"

TFLabPrint* FLabPrint = nullptr;

TFLabPrint::TFLabPrint(QWidget* parent) : TForm(QStringLiteral("FLabPrint"), parent) {
    setWindowTitle(QStringLiteral("Print QSL label"));
}
