// Colour, size and position of the prefecture names and capitals.
#pragma once
#include "gui/Forms.h"

class TPrefSet : public TForm {
public:
    TPrefSet();
};

extern TPrefSet* PrefSet;
