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
    bool StampDisabled = false;      // the stamp switch is off
    bool TypedPositionMode = false;  // the next stamp goes to TypedX, TypedY
    int32_t TypedX = 0, TypedY = 0;
    uint16_t CursorId = 0;           // the map cursor while placing; 301 while a route is measured
};

extern TPagesDlg* PagesDlg;
