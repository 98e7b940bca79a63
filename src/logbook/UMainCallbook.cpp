// The main window's callbook panel.
#include "logbook/UMain.h"

#include <QLineEdit>

void TFMain::ClearCallbookPanel() {
    for (QLineEdit* e : {EditCBCall, EditCBName, EditCBQTH, EditCBQTHLoc, EditCBEMail, EditCBNote})
        e->clear();
    MaskEditCBBDay->setText(QStringLiteral("00.00.00"));
    EditCBNote->setToolTip(QStringLiteral("Update: 00.00.00"));
}
