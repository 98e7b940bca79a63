#include "contest/UContest.h"

TFContConf* FContConf = nullptr;

TFContConf::TFContConf(QWidget* parent) : TForm(QStringLiteral("FContConf"), parent) {
    setWindowTitle(QStringLiteral("Contest Configuration"));
}
