#include "logbook/UFilterCall.h"

TFFilterCall* FFilterCall = nullptr;

TFFilterCall::TFFilterCall(QWidget* parent) : TForm(QStringLiteral("FFilterCall"), parent) {
    setWindowTitle(QStringLiteral("Callsignal"));
}
