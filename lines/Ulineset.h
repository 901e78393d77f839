// Size, colour number and visibility of every shown line.
#pragma once
#include "gui/Forms.h"
#include <cstdint>

class TLineSet : public TForm {
public:
    TLineSet();

    // 1: the user's sizes and colour numbers stay in force; 0: they come from the files.
    uint8_t UserColors = 0;
    TRadioGroup* RadioGroup2 = nullptr;   // "表示路線種別": 全線, JRのみ, JR除く
};

extern TLineSet* LineSet;
