// Main-form wiring of the navigation folder; filled as it is built.
#include "engine/Uopen.h"

void TOpen::WireNavigationHandlers() {}
