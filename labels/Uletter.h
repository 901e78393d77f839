// The label window: the label table and the prefecture-name tables.
#pragma once
#include "gui/Forms.h"
#include <cstdint>

class TLetter : public TForm {
public:
    TLetter();

    int32_t LabelFileCount = 0;   // label files loaded
    int32_t LabelCount = 0;       // rows of the label table in use
    bool LabelMoveMode = false;      // the next press moves label row LabelMoveIndex
    int32_t LabelMoveIndex = 0;
};

extern TLetter* Letter;
