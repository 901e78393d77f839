// What the railway loader found for the shown regions.
#pragma once
#include "gui/Forms.h"

class TRail : public TForm {
public:
    TRail();
    TLabel* Label6 = nullptr;   // last station drawn
    TLabel* Label7 = nullptr;   // lines read
};

extern TRail* Rail;
