#include "lines/Ulineset.h"

TLineSet* LineSet = nullptr;

TLineSet::TLineSet() : TForm("鉄道路線/地図線設定") {
    RadioGroup2 = new TRadioGroup(Client(), "表示路線種別");
    RadioGroup2->SetItems({"全線", "JRのみ", "JR除く"});
    RadioGroup2->SetItemIndex(0);
    RadioGroup2->SetBounds(8, 8, 100, 88);
}
