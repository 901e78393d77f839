// Mountain and island search over all areas.
#pragma once
#include "gui/Forms.h"

class TSearch : public TForm {
public:
    TSearch();
};

extern TSearch* Search;
