// Main-form wiring of the map mouse and the measurements.
#include "engine/Uopen.h"
#include "navigation/MainFormNavigation.h"
#include "navigation/NavigationTools.h"

void WireNavigationHandlers(TOpen& o) {
    o.AreaChange.On(AreaStep::Loading, [&o] { o.AreaChanged(); });
    // A tool window the user closes takes its armed tool with it.
    if (Application)
        Application->OnUserClosed = [](TForm* f) {
            if (Open) MainTools().EndToolOf(f);
        };
    o.ui.Image1->OnMouseDown = [&o](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        o.Image1MouseDown(s, b, sh, x, y);
    };
    o.ui.Image1->OnMouseMove = [&o](TObject* s, TShiftState sh, int x, int y) { o.Image1MouseMove(s, sh, x, y); };
    o.ui.Image1->OnMouseUp = [&o](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        o.Image1MouseUp(s, b, sh, x, y);
    };
    o.ui.BtnCenter->SetHint("画像中心位置を設定");
    o.ui.BtnCenter->OnClick = [&o](TObject* s) { o.BtnCenterClick(s); };
    o.ui.BtnMulti->OnClick = [&o](TObject* s) { BtnMultiClick(o, s); };
    o.ui.Button14->OnClick = [&o](TObject* s) { Button14Click(o, s); };
    o.ui.Timer2->OnTimer = [&o](TObject* s) { Timer2Timer(o, s); };
    o.ui.CBChiri->OnClick = [&o](TObject*) { WebMapTool::BoxClicked(o, o.ui.CBChiri); };

    // The read-out labels carry whole texts ("緯度  35.1230"), so they take the row.
    o.ui.Label13->AutoSize = o.ui.Label14->AutoSize = false;
    o.ui.Label13->SetBounds(o.ui.Label13->Left(), o.ui.Label13->Top(), 104, o.ui.Label13->Height());
    o.ui.Label14->SetBounds(o.ui.Label14->Left(), o.ui.Label14->Top(), 104, o.ui.Label14->Height());

    // The switch between longitude/latitude and map coordinates shows as this
    // button; the box it toggles is kept as state.
    o.ui.Button11 = new TButton(o.ui.CBZahyo->parentWidget(), "経緯度");
    o.ui.Button11->SetBounds(o.ui.CBZahyo->Left(), o.ui.CBZahyo->Top() - 3, 100, 26);
    o.ui.Button11->SetHint("座標値を表示する");
    o.ui.Button11->SetEnabled(false);   // a read-out of the map's positions: none before the first map
    o.ui.Button11->OnClick = [&o](TObject* s) { o.Button11Click(s); };
    o.ui.CBZahyo->SetVisible(false);
}
