// The display settings window: line colours and widths, name size, layer switches.
#pragma once
#include "gui/Forms.h"

class TSettei : public TForm {
public:
    TSettei();
};

extern TSettei* Settei;
