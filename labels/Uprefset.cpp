#include "labels/Uprefset.h"

TPrefSet* PrefSet = nullptr;

TPrefSet::TPrefSet() : TForm("　都道府県名文字特性一括設定") {
    Label6 = new TLabel(this, "");
    Label6->SetBounds(8, 8, 320, 18);
    Button6 = new TButton(this, "保　存");
    Button6->SetBounds(8, 32, 80, 26);
    Button6->SetEnabled(false);
}
