#include "station/UCtrlTRX.h"

SetingComTRXPort TrxSettings;
