// The pattern chooser of a paint slot.
#pragma once
#include "gui/Forms.h"

class TPBrush : public TForm {
public:
    TPBrush();
};

extern TPBrush* PBrush;
