// Size, colour number and visibility of every shown line.
#pragma once
#include "gui/Forms.h"
#include <cstdint>

class TLineSet : public TForm {
public:
    TLineSet();

    TRadioGroup* RadioGroup2;   // "表示路線種別": 0 all, 1 JR only, 2 without JR
    // 1: the user's sizes and colour numbers stay in force; 0: they come from the files.
    uint8_t UserColors = 0;
};

extern TLineSet* LineSet;
