// Moves the name points of the designated cities.
#pragma once
#include "gui/Forms.h"

class TToshi : public TForm {
public:
    TToshi();
};

extern TToshi* Toshi;
