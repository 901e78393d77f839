// Main-form wiring of the map mouse and the measurements.
#include "engine/Uopen.h"
#include "navigation/NavigationTools.h"

void TOpen::WireNavigationHandlers() {
    AreaChange.On(AreaStep::Loading, [this] { AreaChanged(); });
    // A tool window the user closes takes its armed tool with it.
    if (Application)
        Application->OnUserClosed = [](TForm* f) {
            if (Open) Open->EndToolOf(f);
        };
    Image1->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        Image1MouseDown(s, b, sh, x, y);
    };
    Image1->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { Image1MouseMove(s, sh, x, y); };
    Image1->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        Image1MouseUp(s, b, sh, x, y);
    };
    BtnCenter->SetHint("画像中心位置を設定");
    BtnCenter->OnClick = [this](TObject* s) { BtnCenterClick(s); };
    BtnMulti->OnClick = [this](TObject* s) { BtnMultiClick(s); };
    Button14->OnClick = [this](TObject* s) { Button14Click(s); };
    Timer2->OnTimer = [this](TObject* s) { Timer2Timer(s); };
    CBChiri->OnClick = [this](TObject*) { WebMapTool::BoxClicked(*this, CBChiri); };

    // The read-out labels carry whole texts ("緯度  35.1230"), so they take the row.
    Label13->AutoSize = Label14->AutoSize = false;
    Label13->SetBounds(Label13->Left(), Label13->Top(), 104, Label13->Height());
    Label14->SetBounds(Label14->Left(), Label14->Top(), 104, Label14->Height());

    // The switch between longitude/latitude and map coordinates shows as this
    // button; the box it toggles is kept as state.
    Button11 = new TButton(CBZahyo->parentWidget(), "経緯度");
    Button11->SetBounds(CBZahyo->Left(), CBZahyo->Top() - 3, 100, 26);
    Button11->SetHint("座標値を表示する");
    Button11->SetEnabled(false);   // a read-out of the map's positions: none before the first map
    Button11->OnClick = [this](TObject* s) { Button11Click(s); };
    CBZahyo->SetVisible(false);
}
