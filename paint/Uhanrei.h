// The legend editor.
#pragma once
#include "gui/Forms.h"

class THanrei : public TForm {
public:
    THanrei();
};

extern THanrei* Hanrei;
