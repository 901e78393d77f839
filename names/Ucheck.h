// Modal choice among places of the same name found by the search.
#pragma once
#include "gui/Forms.h"

class TDataCheck : public TForm {
public:
    TDataCheck();

    TLabel *Label1, *Label2, *Label3;
    TRadioGroup* RadioGroup1;   // "選んでください"
    TButton* Button1;           // "決定", hidden: a click on an item decides
    int Chosen = -1;            // candidate taken by the last showing, -1 none

    // Fills the labels and the items from the main form's candidate table.
    void Prepare(const std::string& name);
    void Button1Click(TObject* Sender);
    void RadioGroup1Click(TObject* Sender);
};

extern TDataCheck* DataCheck;
