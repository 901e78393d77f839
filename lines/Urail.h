// What the railway loader found for the shown regions.
#pragma once
#include "gui/Forms.h"

class TRail : public TForm {
public:
    TRail();
    void FormCreate(TObject* Sender) override;

    TStringGrid* StringGrid1;   // row number, line name, "描く"/"描かない"
    TLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label8, *Label9, *Label11, *Label12;
    TLabel *Label6, *Label7;    // written by the label painter

    // The list shows the railway rows of TLineAdd's line rows.
    void ShowLines();
};

extern TRail* Rail;

