#include "media/UImage.h"

TFImage* FImage = nullptr;

TFImage::TFImage(QWidget* parent) : TForm(QStringLiteral("FImage"), parent) {
    setWindowTitle(QStringLiteral("Images"));
}
