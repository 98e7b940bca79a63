#include "awards/UAwards.h"

TFAwards* FAwards = nullptr;

TFAwards::TFAwards(QWidget* parent) : TForm(QStringLiteral("FAwards"), parent) {
    setWindowTitle(QStringLiteral("Awards"));
}
