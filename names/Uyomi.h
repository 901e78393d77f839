// The readings window: writes the readings of the shown names on the map.
#pragma once
#include "gui/Forms.h"

class TYomi : public TForm {
public:
    TYomi();
};

extern TYomi* Yomi;
