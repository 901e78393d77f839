// Main-form wiring of the output folder; filled as it is built.
#include "engine/Uopen.h"

void TOpen::WireOutputHandlers() {}
