// Read-only numbers of the current view; also keeps the view history.
#pragma once
#include "gui/Forms.h"

class TSCList : public TForm {
public:
    TSCList();
};

extern TSCList* SCList;
