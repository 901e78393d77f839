// Distance circles around a point of the map.
#pragma once
#include "gui/Forms.h"

class TKyori : public TForm {
public:
    TKyori();
};

extern TKyori* Kyori;
