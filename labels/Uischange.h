// Moves island names of the shown area.
#pragma once
#include "gui/Forms.h"

class TIsChange : public TForm {
public:
    TIsChange();

    TLabel *Label1, *Label4;      // file path, area name
    TStringGrid* StringGrid1;     // 島名, 現座標 x y, 新座標 x y
    TLabel *Label13, *Label14, *Label15, *Label16;   // count, "→", "←", prompt
    TButton *Button1, *Button2, *Button3, *Button5;

    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button5Click(TObject* Sender);
};

extern TIsChange* IsChange;
