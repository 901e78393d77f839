// Moves the name points of ward and town names that occur more than once.
#pragma once
#include "names/Upostable.h"

class TExtra : public TPositionTable {
public:
    TExtra();
    int32_t& ExtraRow = Row;                 // grid row; the entry is ExtraRow - 1
    bool& ExtraModified = Modified;
    TLabel*& Label8 = Prompt;

    void Fill() override;
    bool Save() override;
    void TakeAt(int32_t x, int32_t y) override;
};

extern TExtra* Extra;
