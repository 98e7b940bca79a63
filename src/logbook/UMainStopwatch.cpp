// The main window's contact stopwatch, driven by the Timer menu and the call-sign box.
#include "logbook/UMain.h"

// The stopwatch itself comes with the stopwatch window work; the call box already clicks these.
void TFMain::TimerStartClick() {}
void TFMain::TimerStopClick() {}
void TFMain::TimerStopClearClick() {}
