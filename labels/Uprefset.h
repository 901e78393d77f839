// Colour, size and position of the prefecture names and capitals.
#pragma once
#include "gui/Forms.h"

class TPrefSet : public TForm {
public:
    TPrefSet();

    TButton* Button6;   // "保　存"
    TLabel* Label6;     // what a map click does next
    bool PrefNamePickMode = false, PrefNamePlaceMode = false;
};

extern TPrefSet* PrefSet;
