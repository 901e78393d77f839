// Wait window of the area measurement and the web map link.
#pragma once
#include "gui/Forms.h"

class TKeisoku : public TForm {
public:
    TKeisoku();
    // Shown with text and painted at once: the work that follows blocks the loop.
    void ShowWait(const std::string& text);

    TLabel* Label1;
};

extern TKeisoku* Keisoku;
