// The main window's part in contest mode.
#include "logbook/UMain.h"

// The last contact of the typed call in the contest; shown once contest mode is built.
void TFMain::ShowLastQsoInContest() {}
