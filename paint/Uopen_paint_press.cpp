// Map-press hand-offs of this folder's windows; filled as the windows are built.
#include "engine/Uopen.h"

void TOpen::PressPaint(int, int, int) {}
void TOpen::DropLegend(int, int) {}
void TOpen::WirePaintHandlers() {}
