// Deletes or adds name records in the per-area map file.
#pragma once
#include "gui/Forms.h"

class TNameDel : public TForm {
public:
    TNameDel();
    bool NameAddMode = false;        // the next press gives the position of a name to add
};

extern TNameDel* NameDel;
