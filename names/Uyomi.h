// The readings window: writes the readings of the shown names on the map.
#pragma once
#include "gui/Forms.h"

class TYomi : public TForm {
public:
    TYomi();

    TCheckBox* CBKana;   // "かなのみ"
    TLabel* Label3;      // area name of a one-area map
    bool YomiShown = false;
    // Redraws; the readings are written only when they were not shown.
    void Button2Click(TObject* Sender);
};

extern TYomi* Yomi;
