// Distance circles around a point of the map.
#pragma once
#include "gui/Forms.h"

class TKyori : public TForm {
public:
    TKyori();

    TCheckBox* CheckBox4;      // "距離円表示"
    TLabel* Label6;
    bool CircleCentreMode = false;   // the next map press gives a circle centre
};

extern TKyori* Kyori;
