// The symbol palette and the placed symbols.
#pragma once
#include "gui/Forms.h"

class TPagesDlg : public TForm {
public:
    TPagesDlg();

    bool SymbolsShown = false;
    int PlacedSymbolCount = 0;

    // 1 while a map click stamps a symbol (the stamp switch is on).
    int StampMode = 0;
};

extern TPagesDlg* PagesDlg;
