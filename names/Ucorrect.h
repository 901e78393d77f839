// Moves municipality name points in the per-area map file.
#pragma once
#include "gui/Forms.h"

class TCorrect : public TForm {
public:
    TCorrect();
};

extern TCorrect* Correct;
