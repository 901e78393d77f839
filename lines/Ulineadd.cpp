#include "lines/Ulineadd.h"

TLineAdd* LineAdd = nullptr;

TLineAdd::TLineAdd() : TForm("地図線の編集・表示") {
    CheckBox2 = new TCheckBox(this, "表示");
    CheckBox2->SetBounds(8, 8, 80, 20);
    CheckBox2->SetEnabled(false);
    CheckBox3 = new TCheckBox(this, "編集線表示");
    CheckBox3->SetBounds(96, 8, 120, 20);
    Label18 = new TLabel(this, "ファイル　なし");
    Label18->SetBounds(8, 32, 200, 18);
}
