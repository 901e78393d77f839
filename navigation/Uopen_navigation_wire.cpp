// Main-form wiring of the map mouse and the measurements.
#include "engine/Uopen.h"
#include "navigation/MainFormNavigation.h"
#include "navigation/NavigationTools.h"

void WireNavigationHandlers(TOpen& o) {
    o.AreaChange.On(AreaStep::Loading, [&o] { o.AreaChanged(); });
    // A tool window the user closes takes its armed tool with it.
    if (Application)
        Application->OnUserClosed = [](TForm* f) {
            if (Open) Open->EndToolOf(f);
        };
    o.Image1->OnMouseDown = [&o](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        o.Image1MouseDown(s, b, sh, x, y);
    };
    o.Image1->OnMouseMove = [&o](TObject* s, TShiftState sh, int x, int y) { o.Image1MouseMove(s, sh, x, y); };
    o.Image1->OnMouseUp = [&o](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        o.Image1MouseUp(s, b, sh, x, y);
    };
    o.BtnCenter->SetHint("画像中心位置を設定");
    o.BtnCenter->OnClick = [&o](TObject* s) { o.BtnCenterClick(s); };
    o.BtnMulti->OnClick = [&o](TObject* s) { BtnMultiClick(o, s); };
    o.Button14->OnClick = [&o](TObject* s) { Button14Click(o, s); };
    o.Timer2->OnTimer = [&o](TObject* s) { Timer2Timer(o, s); };
    o.CBChiri->OnClick = [&o](TObject*) { WebMapTool::BoxClicked(o, o.CBChiri); };

    // The read-out labels carry whole texts ("緯度  35.1230"), so they take the row.
    o.Label13->AutoSize = o.Label14->AutoSize = false;
    o.Label13->SetBounds(o.Label13->Left(), o.Label13->Top(), 104, o.Label13->Height());
    o.Label14->SetBounds(o.Label14->Left(), o.Label14->Top(), 104, o.Label14->Height());

    // The switch between longitude/latitude and map coordinates shows as this
    // button; the box it toggles is kept as state.
    o.Button11 = new TButton(o.CBZahyo->parentWidget(), "経緯度");
    o.Button11->SetBounds(o.CBZahyo->Left(), o.CBZahyo->Top() - 3, 100, 26);
    o.Button11->SetHint("座標値を表示する");
    o.Button11->SetEnabled(false);   // a read-out of the map's positions: none before the first map
    o.Button11->OnClick = [&o](TObject* s) { o.Button11Click(s); };
    o.CBZahyo->SetVisible(false);
}
