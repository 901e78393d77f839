// Map-press hand-offs of this folder's windows; filled as the windows are built.
#include "engine/Uopen.h"

void TOpen::PressStamp(int, int, int) {}
void TOpen::PressPrefName(int, int, int) {}
void TOpen::PressIsland(int, int, int) {}
void TOpen::PressLabel(int, int, int) {}
void TOpen::WireLabelsHandlers() {}
