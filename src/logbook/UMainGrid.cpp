// The log grid's sort orders.
#include "logbook/UMain.h"

// Sorting by the View menu comes with the log grid work; a saved contact already stands as the
// grid's current row, last in date order.
void TFMain::ViewSortDateClick() {}
