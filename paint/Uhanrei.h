// The legend editor.
#pragma once
#include "gui/Forms.h"

class THanrei : public TForm {
public:
    THanrei();

    TCheckBox* CBMapWrite;     // "地図": the redraw draws the map layers
    TCheckBox* CBExpDisplay;   // the redraw draws the legend
};

extern THanrei* Hanrei;
