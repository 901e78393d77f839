// The readings window: writes the readings of the shown names on the map.
#pragma once
#include "gui/Forms.h"

class TYomi : public TForm {
public:
    TYomi();

    TCheckBox* CBKana;   // "かなのみ"
    TLabel* Label3;      // area name of a one-area map
    // The name under the pointer and its reading, written by the main map's mouse move.
    TLabel *Label1, *Label2, *Label4, *Label7;   // name, reading, kind tag, "no reading" note
    TCheckBox* CBOnMap;  // also write the reading on the map
    TUpDown* UpDown1;    // text size of readings
    bool YomiShown = false;
    // Redraws; the readings are written only when they were not shown.
    void Button2Click(TObject* Sender);
};

extern TYomi* Yomi;
