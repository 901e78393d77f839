// The paint window: eight palette slots, undo, paint files.
#pragma once
#include "gui/Forms.h"

class TMapPaint : public TForm {
public:
    TMapPaint();
};

extern TMapPaint* MapPaint;
