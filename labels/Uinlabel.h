// The labels that lie inside the current view.
#pragma once
#include "gui/Forms.h"

class TInLabel : public TForm {
public:
    TInLabel();
};

extern TInLabel* InLabel;
