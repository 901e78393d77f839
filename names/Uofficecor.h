// Corrects, adds and deletes office data rows.
#pragma once
#include "gui/Forms.h"

class TOfficeCor : public TForm {
public:
    TOfficeCor();
};

extern TOfficeCor* OfficeCor;
