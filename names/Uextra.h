// Moves the name points of ward and town names that occur more than once.
#pragma once
#include "gui/Forms.h"

class TExtra : public TForm {
public:
    TExtra();
    bool ExtraPositionMode = false;  // the next press moves duplicate-name row ExtraRow
    int32_t ExtraRow = 0;
};

extern TExtra* Extra;
