#include "names/Uyomi.h"
#include "engine/Uopen.h"

TYomi* Yomi = nullptr;

TYomi::TYomi() : TForm("　市区町村名読みがな") {
    CBKana = new TCheckBox(this, "かなのみ");
    CBKana->SetBounds(8, 8, 100, 20);
    Label3 = new TLabel(this, "");
    Label3->SetBounds(8, 32, 200, 18);
    Label1 = new TLabel(this, "");
    Label1->AutoSize = false;
    Label1->SetBounds(8, 56, 200, 18);
    Label2 = new TLabel(this, "");
    Label2->AutoSize = false;
    Label2->SetBounds(8, 78, 200, 18);
    Label4 = new TLabel(this, "");
    Label4->AutoSize = false;
    Label4->SetBounds(212, 56, 60, 18);
    Label7 = new TLabel(this, "");
    Label7->AutoSize = false;
    Label7->SetBounds(8, 100, 200, 18);
    Label7->SetVisible(false);
    CBOnMap = new TCheckBox(this, "");
    CBOnMap->SetBounds(8, 124, 120, 20);
    UpDown1 = new TUpDown(this);
    UpDown1->SetBounds(140, 122, 34, 22);
    UpDown1->Min = 5;
    UpDown1->Max = 50;
    UpDown1->SetPosition(7);
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
