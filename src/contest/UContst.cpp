#include "contest/UContst.h"

#include <QGroupBox>
#include <QVBoxLayout>

TFCont* FCont = nullptr;

TFCont::TFCont(QWidget* parent) : TForm(QStringLiteral("FCont"), parent) {
    setWindowTitle(QStringLiteral("Contest"));
    GroupBoxAwName = new QGroupBox(QStringLiteral(" DXCC "), this);
    GroupBoxAwName->setObjectName(QStringLiteral("GroupBoxAwName"));
    PanelAwardCells = new QWidget(GroupBoxAwName);
    PanelAwardCells->setObjectName(QStringLiteral("PanelAwardCells"));
    auto* inside = new QVBoxLayout(GroupBoxAwName);
    inside->addWidget(PanelAwardCells);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupBoxAwName);
}

void TFCont::ShowAwardCells(bool show) {
    PanelAwardCells->setVisible(show);
}
