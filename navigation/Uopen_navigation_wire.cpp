// Main-form wiring of the map mouse and the measurements.
#include "engine/Uopen.h"
#include "navigation/MainFormNavigation.h"
#include "navigation/NavigationTools.h"

void WireNavigationHandlers(TOpen& o) {
    HooksOf(o).AreaChange.On(AreaStep::Loading, [&o] { o.AreaChanged(); });
    // A tool window the user closes takes its armed tool with it.
    if (Application)
        Application->OnUserClosed = [](TForm* f) {
            if (Open) MainTools().EndToolOf(f);
        };
    UiOf(o).Image1->OnMouseDown = [&o](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        o.Image1MouseDown(s, b, sh, x, y);
    };
    UiOf(o).Image1->OnMouseMove = [&o](TObject* s, TShiftState sh, int x, int y) { o.Image1MouseMove(s, sh, x, y); };
    UiOf(o).Image1->OnMouseUp = [&o](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        o.Image1MouseUp(s, b, sh, x, y);
    };
    UiOf(o).BtnCenter->SetHint("画像中心位置を設定");
    UiOf(o).BtnCenter->OnClick = [&o](TObject* s) { o.BtnCenterClick(s); };
    UiOf(o).BtnMulti->OnClick = [&o](TObject* s) { BtnMultiClick(o, s); };
    UiOf(o).Button14->OnClick = [&o](TObject* s) { Button14Click(o, s); };
    UiOf(o).Timer2->OnTimer = [&o](TObject* s) { Timer2Timer(o, s); };
    UiOf(o).CBChiri->OnClick = [&o](TObject*) { WebMapTool::BoxClicked(o, UiOf(o).CBChiri); };

    // The read-out labels carry whole texts ("緯度  35.1230"), so they take the row.
    UiOf(o).Label13->AutoSize = UiOf(o).Label14->AutoSize = false;
    UiOf(o).Label13->SetBounds(UiOf(o).Label13->Left(), UiOf(o).Label13->Top(), 104, UiOf(o).Label13->Height());
    UiOf(o).Label14->SetBounds(UiOf(o).Label14->Left(), UiOf(o).Label14->Top(), 104, UiOf(o).Label14->Height());

    // The switch between longitude/latitude and map coordinates shows as this
    // button; the box it toggles is kept as state.
    UiOf(o).Button11 = new TButton(UiOf(o).CBZahyo->parentWidget(), "経緯度");
    UiOf(o).Button11->SetBounds(UiOf(o).CBZahyo->Left(), UiOf(o).CBZahyo->Top() - 3, 100, 26);
    UiOf(o).Button11->SetHint("座標値を表示する");
    UiOf(o).Button11->SetEnabled(false);   // a read-out of the map's positions: none before the first map
    UiOf(o).Button11->OnClick = [&o](TObject* s) { o.Button11Click(s); };
    UiOf(o).CBZahyo->SetVisible(false);
}
