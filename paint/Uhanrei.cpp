#include "paint/Uhanrei.h"

THanrei* Hanrei = nullptr;

THanrei::THanrei() : TForm("　地図凡例編集") {
    CBMapWrite = new TCheckBox(this, "地図");
    CBMapWrite->SetBounds(8, 8, 80, 20);
    CBMapWrite->SetChecked(true);
    CBExpDisplay = new TCheckBox(this, "凡例(削除不可)");
    CBExpDisplay->SetBounds(96, 8, 140, 20);
    CBExpDisplay->SetVisible(false);
}
