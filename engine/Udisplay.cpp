#include "engine/Uopen.h"

void TOpen::WireDisplayHandlers() {}
bool TOpen::DrawMap() { return false; }
