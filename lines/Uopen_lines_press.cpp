// Map-press hand-offs of this folder's windows; filled as the windows are built.
#include "engine/Uopen.h"

void TOpen::PressCircleCentre(int, int, int) {}
void TOpen::PressLinePoint(int, int, int) {}
void TOpen::MoveCircleCentre(int, int) {}
void TOpen::WireLinesHandlers() {}
