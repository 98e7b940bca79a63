#include "logbook/UFilter.h"

TFilter* Filter = nullptr;

TFilter::TFilter(QWidget* parent) : TForm(QStringLiteral("Filter"), parent) {
    setWindowTitle(QStringLiteral("Filter"));
}
