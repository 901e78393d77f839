// The label window: the label table and the prefecture-name tables.
#pragma once
#include "gui/Forms.h"

class TLetter : public TForm {
public:
    TLetter();
};

extern TLetter* Letter;
