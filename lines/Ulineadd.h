// The line editor and the lists of shown line files.
#pragma once
#include "gui/Forms.h"

class TLineAdd : public TForm {
public:
    TLineAdd();

    // Where a map click puts a line point: 0 nowhere, 1 at the end, 2 after the chosen row.
    int PointMode = 0;
};

extern TLineAdd* LineAdd;
