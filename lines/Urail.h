// What the railway loader found for the shown regions.
#pragma once
#include "gui/Forms.h"

class TRail : public TForm {
public:
    TRail();
};

extern TRail* Rail;
