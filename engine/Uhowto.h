// The usage notes window.
#pragma once
#include "gui/Forms.h"

class THowTo : public TForm {
public:
    THowTo();

    TMemo* Memo1;      // the notes
    TImage* Image1;    // closes the window
    TImage* Image2;    // closes the window
    TImage* Image3;    // shows the about box
    TLabel* Label1;    // mail to user support
    TButton* Button1;  // opens the manual
};

extern THowTo* HowTo;
