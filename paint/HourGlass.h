// The hourglass for the length of one fill or replay, put back on every exit.
#pragma once
#include "gui/Forms.h"

class HourGlass {
public:
    HourGlass() : saved(Screen()->Cursor()) { Screen()->SetCursor(crHourGlass); }
    ~HourGlass() { Screen()->SetCursor(saved); }
    HourGlass(const HourGlass&) = delete;
    HourGlass& operator=(const HourGlass&) = delete;
private:
    TCursor saved;
};
