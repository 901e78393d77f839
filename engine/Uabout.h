// The about window: version and the program file's date.
#pragma once
#include "gui/Forms.h"

class TAbout : public TForm {
public:
    TAbout();
};

extern TAbout* About;
