// The main window's Tools > Internet items: both windows are shown without blocking.
#include "logbook/UMain.h"

#include "station/UCallInt.h"
#include "station/UCluster.h"
#include "widgets/TForm.h"

namespace {
void showBeside(TForm* w, QWidget* main) {
    if (!w->isVisible()) centreOn(w, main);
    w->ShowNonModal();
}
} // namespace

void TFMain::ToolsDXClusterClick() {
    showBeside(FDX_Cluster, this);
}

void TFMain::SearchCallSignalWebClick() {
    showBeside(FQRZ, this);
}
