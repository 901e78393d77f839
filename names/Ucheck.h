// Modal choice among places of the same name found by the search.
#pragma once
#include "gui/Forms.h"

class TDataCheck : public TForm {
public:
    TDataCheck();
};

extern TDataCheck* DataCheck;
