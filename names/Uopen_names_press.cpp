// Map-press hand-offs of this folder's windows; filled as the windows are built.
#include "engine/Uopen.h"

void TOpen::PressCityPosition(int, int, int) {}
void TOpen::PressExtraPosition(int, int, int) {}
void TOpen::PressName(int, int, int) {}
void TOpen::WireNamesHandlers() {}
