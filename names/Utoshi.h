// Moves the name points of the designated cities.
#pragma once
#include "gui/Forms.h"

class TToshi : public TForm {
public:
    TToshi();
    bool CityPositionMode = false;   // the next press moves city row CityRow
    int32_t CityRow = 0;
};

extern TToshi* Toshi;
