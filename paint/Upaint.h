// The paint window: eight palette slots, undo, paint files.
#pragma once
#include "gui/Forms.h"

class TMapPaint : public TForm {
public:
    TMapPaint();

    TCheckBox* CBPaintDisplay;  // "表示": paint records are replayed
    TLabel* LblPaint;           // number of paint records
    TCheckBox* CBAllPaint;      // paint by name: every listed name
    TComboBox* ComboBox1;       // paint by name: the name
    int NamePaint = 0;          // names are hidden while painting
    bool Continued = false;     // painting goes on from earlier records
};

extern TMapPaint* MapPaint;
