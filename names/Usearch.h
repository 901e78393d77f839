// Mountain and island search over all areas.
#pragma once
#include "gui/Forms.h"
#include <string>

class TSearch : public TForm {
public:
    TSearch();

    // The found mountain or island is drawn in the highlight colour.
    bool SearchHighlight = false;
    std::string SearchFoundName;
};

extern TSearch* Search;
