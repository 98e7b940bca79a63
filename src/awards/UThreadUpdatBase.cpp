#include "awards/UThreadUpdatBase.h"

// Placeholder until the rebuild thread lands; replaced by the rebuild's own unit.
void StartAwardRebuild() {}
