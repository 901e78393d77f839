// Main-form wiring of view control and the display settings; filled as they are built.
#include "engine/Uopen.h"

void TOpen::WireViewHandlers() {}

// Placeholder until the view history is built.
void TOpen::PushViewHistory() {}
