// Municipal and prefectural office data.
#pragma once
#include "gui/Forms.h"

class TOffice : public TForm {
public:
    TOffice();
};

extern TOffice* Office;
