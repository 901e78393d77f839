// Wait window of the area measurement and the web map link.
#pragma once
#include "gui/Forms.h"

class TKeisoku : public TForm {
public:
    TKeisoku();

    TLabel* Label1;
};

extern TKeisoku* Keisoku;
