// Moves the name points of the designated cities.
#pragma once
#include "names/Upostable.h"

class TToshi : public TPositionTable {
public:
    TToshi();
    // The names the rest of the program knows this window's state by.
    int32_t& CityRow = Row;                  // grid row; the city is entry CityRow - 1
    bool& CityModified = Modified;
    TLabel*& Label6 = Prompt;

    void Fill() override;
    bool Save() override;
    void TakeAt(int32_t x, int32_t y) override;
};

extern TToshi* Toshi;
