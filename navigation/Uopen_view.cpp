// TOpen: moving and scaling the view: pans, magnification, wheel, the three
// view menus, the standard range, range arming, and the way back.
#include "engine/Coords.h"
#include "engine/Uopen.h"
#include "gui/TextFile.h"
#include "lines/Ulineadd.h"
#include "navigation/NavigationTools.h"
#include "navigation/Usclist.h"
#include "navigation/Usettei.h"
#include <algorithm>

// ---- pans and magnification ----

void TOpen::PanBy(bool horizontal, TUDBtnType Button) {
    LineAdd->EditLineRedraw = true;
    if (ScaleX > 0) {   // no view yet: nothing to move by
        const float step = 20 / ScaleX * MoveFactor / SSIZE;
        int32_t& c = horizontal ? CX : CY;
        c = TruncToInt(Button == btNext ? c - step : c + step);
    }
    DrawMap();
}

void TOpen::UDHorClick(TObject* Sender, TUDBtnType Button) { PanBy(true, Button); }
void TOpen::UDVerClick(TObject* Sender, TUDBtnType Button) { PanBy(false, Button); }

void TOpen::UpDown1Click(TObject* Sender, TUDBtnType Button) {
    LineAdd->EditLineRedraw = true;
    MAGSTEP = UpDown1->Position();
    Label6->SetCaption(MagnificationText(MAGSTEP * MAGUNIT));
    DrawMap();
}

// The wheel rests while a measurement runs: a new view would void the counted
// pixels or the route's points. Painting and the other tools keep it.
void TOpen::FormMouseWheel(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled) {
    if (!MapShown || (Tool && Tool->HoldsView())) return;
    if (Shift.Shift) {
        PanBy(false, WheelDelta > 0 ? btNext : btPrev);
    } else if (Shift.Ctrl) {
        PanBy(true, WheelDelta > 0 ? btPrev : btNext);
    } else {
        // A range zoom keeps its own magnification; the up-down no longer tells it.
        if (!RangeZoom) {
            UpDown1->SetPosition(UpDown1->Position() + (WheelDelta > 0 ? -1 : 1));
            MAGSTEP = UpDown1->Position();
        }
        Label6->SetCaption(MagnificationText(MAGSTEP * MAGUNIT));
        DrawMap();
    }
    Handled = true;
}

// ---- view menus ----

void TOpen::SetZoomUnit(TMenuItem* item, float unit, int index) {
    // The settings group calls back here when it changes; once is enough.
    static bool busy = false;
    if (busy) return;
    busy = true;
    const float m = MAGSTEP * MAGUNIT;
    item->SetChecked(true);
    MAGUNIT = unit;
    MAGSTEP = TruncToInt(double(m) / double(MAGUNIT));
    if (MAGSTEP == 0) MAGSTEP = 1;
    UpDown1->SetPosition(MAGSTEP);
    for (TMenuItem* other : {N101, N051, N021, N011})
        if (other != item) other->SetChecked(false);
    Settei->RadioGroup3->SetItemIndex(index);
    Label6->SetCaption(MagnificationText(MAGSTEP * MAGUNIT));
    DrawMap();
    UpDown1->SetEnabled(true);
    Button12->SetEnabled(false);
    Label20->Show();
    // Presses on the map need a view to work in.
    if (DataReady) MapShown = true;
    RangeZoom = false;
    busy = false;
}

void TOpen::N101Click(TObject* Sender) { SetZoomUnit(N101, 1.0f, 0); }
void TOpen::N051Click(TObject* Sender) { SetZoomUnit(N051, 0.5f, 1); }
void TOpen::N021Click(TObject* Sender) { SetZoomUnit(N021, 0.2f, 2); }
void TOpen::N011Click(TObject* Sender) { SetZoomUnit(N011, 0.1f, 3); }

void TOpen::SetMoveFactor(TMenuItem* item, float factor, int index) {
    for (TMenuItem* m : {N202, N102, N052}) m->SetChecked(m == item);
    Settei->RadioGroup4->SetItemIndex(index);
    MoveFactor = factor;
}

void TOpen::N202Click(TObject* Sender) { SetMoveFactor(N202, 2.0f, 0); }
void TOpen::N102Click(TObject* Sender) { SetMoveFactor(N102, 1.0f, 1); }
void TOpen::N052Click(TObject* Sender) { SetMoveFactor(N052, 0.5f, 2); }

std::vector<std::string> TOpen::ImageSizeItems(int k) const {
    std::vector<std::string> items;
    for (int m = 1; m <= COPYSCALE_MAX; m++) items.push_back(std::to_string(SIZEX * m / k));
    return items;
}

void TOpen::SetReduction(int k) {
    RedrawOnce once;   // the settings' reduction group redraws too
    SSIZE = k;
    TMenuItem* items[] = {MAG1, MAG2, MAG3, MAG4, MAG5};
    for (int i = 0; i < 5; i++) items[i]->SetChecked(i == k - 1);
    RadioGroup1->SetItems(ImageSizeItems(k));
    Settei->RadioGroup1->SetItemIndex(k - 1);
    Settei->RadioGroup2->SetItems(ImageSizeItems(k));
    DrawMap();
}

void TOpen::MAG1Click(TObject* Sender) { SetReduction(1); }
void TOpen::MAG2Click(TObject* Sender) { SetReduction(2); }
void TOpen::MAG3Click(TObject* Sender) { SetReduction(3); }
void TOpen::MAG4Click(TObject* Sender) { SetReduction(4); }
void TOpen::MAG5Click(TObject* Sender) { SetReduction(5); }

// ---- standard range, range arming, history ----

void TOpen::Button6Click(TObject* Sender) {
    RedrawOnce once;   // the standard view unticks the labels, whose box redraws
    UDVer->SetPosition(500);
    UDHor->SetPosition(500);
    UpDown1->SetPosition(1);
    Label6->SetCaption(" 1.0");
    CBPrefBorder->SetChecked(true);
    CBTownBorder->SetChecked(true);

    N101->SetChecked(true);
    for (TMenuItem* m : {N051, N021, N011}) m->SetChecked(false);
    MAGSTEP = 1;
    MAGUNIT = 1.0f;
    Settei->RadioGroup3->SetItemIndex(0);

    ProjectLoading = false;
    // The same areas again: the views kept so far still belong to them.
    const int32_t kept = SCList->ViewHistoryCount;
    Button3Click(this);
    SCList->ViewHistoryCount = kept;
    Button12->SetEnabled(false);
    // The standard view has just unticked the label box: ticking it draws the map with its labels.
    if (Settei->CBStation->Checked())
        CBLabel->SetChecked(true);
    else
        DrawMap();
    MapShown = true;
}

void TOpen::TkBtn2Click(TObject* Sender) {
    Label15->SetCaption(DistanceText(0));
    Label17->SetCaption("辺長");
    SetTool(std::make_unique<RangeTool>(*this));
    RangeDrag = false;
    RangeZoom = false;
    TkBtn2->SetColor(0x00FFFF);
    TkBtn2->Font.Color = 0x800000;
    TkBtn2->Invalidate();
    CBTimer->SetChecked(false);
}

void TOpen::PushViewHistory() { SCList->PushView(MAGSTEP, CX, CY, MaxX, MaxY, MinX, MinY, MAGUNIT); }

void TOpen::Button12Click(TObject* Sender) {
    auto& h = SCList->ViewHistory;
    int32_t& n = SCList->ViewHistoryCount;
    if (n <= 0) {   // nothing to go back to
        Button12->SetEnabled(false);
        return;
    }
    n--;
    CY = h.CY[n];
    CX = h.CX[n];
    MAGUNIT = h.MAGUNIT[n];
    MAGSTEP = h.MAGSTEP[n];
    MaxX = h.MaxX[n];
    MaxY = h.MaxY[n];
    MinX = h.MinX[n];
    MinY = h.MinY[n];
    DrawMap();
    if (n == 0) Button12->SetEnabled(false);
    Label6->SetCaption(MagnificationText(MAGSTEP * MAGUNIT));
    SCList->ShowMagnification(MAGSTEP * MAGUNIT);
}

// One second after a refused range: back one view while a new drag runs, else the whole area.
void TOpen::Timer1Timer(TObject* Sender) {
    if (RangeDrag)
        Button12Click(this);
    else
        Button6Click(this);
    Timer1->SetEnabled(false);
    // The refusal is over: the read-out goes back to distances.
    Label17->SetCaption("距離");
    Label15->SetCaption(DistanceText(0));
}

// ---- keys on the map ----

void TOpen::Image1KeyDown(TObject* Sender, int& Key, TShiftState Shift) {
    if (Tool && Tool->Key(Key)) {
        Key = 0;
        return;
    }
    // A control that is disabled or hidden just now does nothing, from the keys too.
    auto step = [](TUpDown* u, TUDBtnType b) {
        if (u->isEnabled() && u->isVisibleTo(u->window())) u->UserClick(b);
    };
    auto press = [](TButton* b) { b->Press(); };
    switch (Key) {
    case VK_LEFT: step(UDHor, btPrev); break;
    case VK_RIGHT: step(UDHor, btNext); break;
    case VK_UP: step(UDVer, btNext); break;
    case VK_DOWN: step(UDVer, btPrev); break;
    case VK_ADD: case VK_OEM_PLUS: case VK_PRIOR: step(UpDown1, btNext); break;
    case VK_SUBTRACT: case VK_OEM_MINUS: case VK_NEXT: step(UpDown1, btPrev); break;
    case VK_HOME: press(Button6); break;
    case VK_BACK: press(Button12); break;
    default: return;
    }
    Key = 0;
}

// ---- double-click on the map ----

// The armed tool's first (a route ends), else it arms the centre for the
// press that follows the double-click.
void TOpen::Image1DblClick(TObject* Sender) {
    if (!MapShown) return;
    if (Tool && Tool->DoubleClick()) return;
    if (!LineAdd->EditLineShown) SetTool(std::make_unique<CentreTool>(*this));
}
