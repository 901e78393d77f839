// The list of the shown names with their kinds and readings.
#pragma once
#include "gui/Forms.h"

class TYomiList : public TForm {
public:
    TYomiList();
};

extern TYomiList* YomiList;
