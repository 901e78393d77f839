// The usage notes window.
#pragma once
#include "gui/Forms.h"

class THowTo : public TForm {
public:
    THowTo();
};

extern THowTo* HowTo;
