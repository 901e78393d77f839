// Map-press hand-offs of this folder's windows; filled as the windows are built.
#include "engine/Uopen.h"

void TOpen::PressCircleCentre(int, int, int) {}
void TOpen::PressLinePoint(int, int, int) {}
void TOpen::MoveCircleCentre(int, int) {}

void TOpen::WireLinesHandlers() {
    QWidget* c = Client();
    // The railway row: "鉄道路線図", "駅名", "主要駅".
    CBRailLine->SetBounds(8 + 8, 377, 96, 20);
    CBEki->SetBounds(8 + 104, 377, 54, 20);
    CBMain = new TCheckBox(c, "主要駅");
    CBMain->SetBounds(8 + 158, 377, 66, 20);
    CBMain->SetHint("主要駅名のみ表示");
    CBMain->SetEnabled(false);
    CBRailSet = new TCheckBox(BtnPaint->parentWidget(), "詳細");
    CBRailSet->SetBounds(164, 143, 56, 20);
    CBRailSet->SetHint("地図線の属性変更");
    CBRailSet->SetEnabled(false);
    RailInfo = new TMenuItem("鉄道路線情報");
    Window1->Add(RailInfo);
}
