// Wait window shown while many areas are drawn or a large image is copied or saved.
#pragma once
#include "gui/Forms.h"

class TProcess : public TForm {
public:
    TProcess();

    TLabel* Label1;
};

extern TProcess* Process;
