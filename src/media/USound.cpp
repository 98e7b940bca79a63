#include "media/USound.h"

TFSound* FSound = nullptr;

TFSound::TFSound(QWidget* parent) : TForm(QStringLiteral("FSound"), parent) {
    setWindowTitle(QStringLiteral("Player"));
}
