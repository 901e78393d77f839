// What the railway loader found for the shown regions.
#pragma once
#include "gui/Forms.h"

class TRail : public TForm {
public:
    TRail();
    TLabel *Label6, *Label7;   // written by the label painter
};

extern TRail* Rail;
