#include "lines/Ukyori.h"

TKyori* Kyori = nullptr;

TKyori::TKyori() : TForm("　距離円（同心円）") {
    CheckBox4 = new TCheckBox(this, "距離円表示");
    CheckBox4->SetBounds(8, 8, 120, 20);
    Label6 = new TLabel(this, "");
    Label6->SetBounds(8, 32, 200, 18);
}
