// Moves island names of the shown area.
#pragma once
#include "gui/Forms.h"

class TIsChange : public TForm {
public:
    TIsChange();
};

extern TIsChange* IsChange;
