// The award status of the typed call, shown on the per-band award labels.
#include "logbook/UMain.h"

// Colouring the per-band labels comes with the award status work; the call box already calls this.
void TFMain::ShowAwardStatus(const QString& Param1, const QString& Param2, const QString& Param3,
                             const QString& AwName) {
    Q_UNUSED(Param1);
    Q_UNUSED(Param2);
    Q_UNUSED(Param3);
    Q_UNUSED(AwName);
}
