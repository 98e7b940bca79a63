#include "media/UTimer.h"

TFTimer* FTimer = nullptr;

TFTimer::TFTimer(QWidget* parent) : TForm(QStringLiteral("FTimer"), parent) {
    setWindowTitle(QStringLiteral("SoundTimer"));
}
