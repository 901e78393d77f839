// Size, colour number and visibility of every shown line.
#pragma once
#include "gui/Forms.h"

class TLineSet : public TForm {
public:
    TLineSet();
};

extern TLineSet* LineSet;
