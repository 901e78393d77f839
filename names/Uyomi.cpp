#include "names/Uyomi.h"
#include "engine/Uopen.h"

TYomi* Yomi = nullptr;

TYomi::TYomi() : TForm("　市区町村名読みがな") {
    CBKana = new TCheckBox(this, "かなのみ");
    CBKana->SetBounds(8, 8, 100, 20);
    Label3 = new TLabel(this, "");
    Label3->SetBounds(8, 32, 200, 18);
}

// The readings themselves come with the readings list; until then this redraws.
void TYomi::Button2Click(TObject*) {
    Open->DrawMap();
    if (YomiShown) {
        YomiShown = false;
        return;
    }
    YomiShown = true;
}
