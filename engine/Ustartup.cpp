#include "engine/Uopen.h"

void TOpen::WireStartupHandlers() {}
void TOpen::FormCreate(TObject* Sender) {}
