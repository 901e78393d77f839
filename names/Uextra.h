// Moves the name points of ward and town names that occur more than once.
#pragma once
#include "gui/Forms.h"

class TExtra : public TForm {
public:
    TExtra();
};

extern TExtra* Extra;
