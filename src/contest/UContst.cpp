#include "contest/UContst.h"

TFCont* FCont = nullptr;

TFCont::TFCont(QWidget* parent) : TForm(QStringLiteral("FCont"), parent) {
    setWindowTitle(QStringLiteral("Contest"));
}
