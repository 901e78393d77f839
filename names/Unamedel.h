// Deletes or adds name records in the per-area map file.
#pragma once
#include "gui/Forms.h"

class TNameDel : public TForm {
public:
    TNameDel();
};

extern TNameDel* NameDel;
