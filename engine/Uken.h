// The area choice window: the prefectures, regions and island groups to draw.
#pragma once
#include "gui/Forms.h"

class TKen : public TForm {
public:
    TKen();
};

extern TKen* Ken;
