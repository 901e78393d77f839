// TOpen: moving and scaling the view: pans, magnification, wheel, the three
// view menus, the standard range, range arming, and the way back.
#include "engine/Coords.h"
#include "engine/Uopen.h"
#include "navigation/MainFormNavigation.h"
#include "gui/TextFile.h"
#include "lines/Ulineadd.h"
#include "navigation/NavigationTools.h"
#include "navigation/Usclist.h"
#include "navigation/Usettei.h"
#include <algorithm>

// ---- pans and magnification ----

void PanBy(TOpen& o, bool horizontal, TUDBtnType Button) {
    LineAdd->EditLineRedraw = true;
    if (o.ScaleX > 0) {   // no view yet: nothing to move by
        const float step = 20 / o.ScaleX * o.MoveFactor / o.SSIZE;
        int32_t& c = horizontal ? o.CX : o.CY;
        c = TruncToInt(Button == btNext ? c - step : c + step);
    }
    RedrawMap(o);
}

void UDHorClick(TOpen& o, TObject* Sender, TUDBtnType Button) { PanBy(o, true, Button); }
void UDVerClick(TOpen& o, TObject* Sender, TUDBtnType Button) { PanBy(o, false, Button); }

void UpDown1Click(TOpen& o, TObject* Sender, TUDBtnType Button) {
    LineAdd->EditLineRedraw = true;
    o.MAGSTEP = UiOf(o).UpDown1->Position();
    UiOf(o).Label6->SetCaption(o.MagnificationText(o.MAGSTEP * o.MAGUNIT));
    RedrawMap(o);
}

// The wheel rests while a measurement runs: a new view would void the counted
// pixels or the route's points. Painting and the other tools keep it.
void FormMouseWheel(TOpen& o, TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled) {
    if (!GateOf(o).MapShown || (ToolsOf(o).ActiveTool() && ToolsOf(o).ActiveTool()->HoldsView())) return;
    if (Shift.Shift) {
        PanBy(o, false, WheelDelta > 0 ? btNext : btPrev);
    } else if (Shift.Ctrl) {
        PanBy(o, true, WheelDelta > 0 ? btPrev : btNext);
    } else {
        // A range zoom keeps its own magnification; the up-down no longer tells it.
        if (!o.RangeZoom) {
            UiOf(o).UpDown1->SetPosition(UiOf(o).UpDown1->Position() + (WheelDelta > 0 ? -1 : 1));
            o.MAGSTEP = UiOf(o).UpDown1->Position();
        }
        UiOf(o).Label6->SetCaption(o.MagnificationText(o.MAGSTEP * o.MAGUNIT));
        RedrawMap(o);
    }
    Handled = true;
}

// ---- view menus ----

void SetZoomUnit(TOpen& o, TMenuItem* item, float unit, int index) {
    // The settings group calls back here when it changes; once is enough.
    static bool busy = false;
    if (busy) return;
    busy = true;
    const float m = o.MAGSTEP * o.MAGUNIT;
    item->SetChecked(true);
    o.MAGUNIT = unit;
    o.MAGSTEP = TruncToInt(double(m) / double(o.MAGUNIT));
    if (o.MAGSTEP == 0) o.MAGSTEP = 1;
    UiOf(o).UpDown1->SetPosition(o.MAGSTEP);
    for (TMenuItem* other : {UiOf(o).N101, UiOf(o).N051, UiOf(o).N021, UiOf(o).N011})
        if (other != item) other->SetChecked(false);
    Settei->RadioGroup3->SetItemIndex(index);
    UiOf(o).Label6->SetCaption(o.MagnificationText(o.MAGSTEP * o.MAGUNIT));
    RedrawMap(o);
    UiOf(o).UpDown1->SetEnabled(true);
    UiOf(o).Button12->SetEnabled(false);
    UiOf(o).Label20->Show();
    // Presses on the map need a view to work in.
    if (GateOf(o).DataReady) GateOf(o).MapShown = true;
    o.RangeZoom = false;
    busy = false;
}

void N101Click(TOpen& o, TObject* Sender) { SetZoomUnit(o, UiOf(o).N101, 1.0f, 0); }
void N051Click(TOpen& o, TObject* Sender) { SetZoomUnit(o, UiOf(o).N051, 0.5f, 1); }
void N021Click(TOpen& o, TObject* Sender) { SetZoomUnit(o, UiOf(o).N021, 0.2f, 2); }
void N011Click(TOpen& o, TObject* Sender) { SetZoomUnit(o, UiOf(o).N011, 0.1f, 3); }

void SetMoveFactor(TOpen& o, TMenuItem* item, float factor, int index) {
    for (TMenuItem* m : {UiOf(o).N202, UiOf(o).N102, UiOf(o).N052}) m->SetChecked(m == item);
    Settei->RadioGroup4->SetItemIndex(index);
    o.MoveFactor = factor;
}

void N202Click(TOpen& o, TObject* Sender) { SetMoveFactor(o, UiOf(o).N202, 2.0f, 0); }
void N102Click(TOpen& o, TObject* Sender) { SetMoveFactor(o, UiOf(o).N102, 1.0f, 1); }
void N052Click(TOpen& o, TObject* Sender) { SetMoveFactor(o, UiOf(o).N052, 0.5f, 2); }

std::vector<std::string> ImageSizeItems(const TOpen& o, int k) {
    std::vector<std::string> items;
    for (int m = 1; m <= o.COPYSCALE_MAX; m++) items.push_back(std::to_string(o.SIZEX * m / k));
    return items;
}

void SetReduction(TOpen& o, int k) {
    RedrawOnce once;   // the settings' reduction group redraws too
    o.SSIZE = k;
    TMenuItem* items[] = {UiOf(o).MAG1, UiOf(o).MAG2, UiOf(o).MAG3, UiOf(o).MAG4, UiOf(o).MAG5};
    for (int i = 0; i < 5; i++) items[i]->SetChecked(i == k - 1);
    UiOf(o).RadioGroup1->SetItems(ImageSizeItems(o, k));
    Settei->RadioGroup1->SetItemIndex(k - 1);
    Settei->RadioGroup2->SetItems(ImageSizeItems(o, k));
    RedrawMap(o);
}

void MAG1Click(TOpen& o, TObject* Sender) { SetReduction(o, 1); }
void MAG2Click(TOpen& o, TObject* Sender) { SetReduction(o, 2); }
void MAG3Click(TOpen& o, TObject* Sender) { SetReduction(o, 3); }
void MAG4Click(TOpen& o, TObject* Sender) { SetReduction(o, 4); }
void MAG5Click(TOpen& o, TObject* Sender) { SetReduction(o, 5); }

// ---- standard range, range arming, history ----

void Button6Click(TOpen& o, TObject* Sender) {
    RedrawOnce once;   // the standard view unticks the labels, whose box redraws
    UiOf(o).UDVer->SetPosition(500);
    UiOf(o).UDHor->SetPosition(500);
    UiOf(o).UpDown1->SetPosition(1);
    UiOf(o).Label6->SetCaption(" 1.0");
    UiOf(o).CBPrefBorder->SetChecked(true);
    UiOf(o).CBTownBorder->SetChecked(true);

    UiOf(o).N101->SetChecked(true);
    for (TMenuItem* m : {UiOf(o).N051, UiOf(o).N021, UiOf(o).N011}) m->SetChecked(false);
    o.MAGSTEP = 1;
    o.MAGUNIT = 1.0f;
    Settei->RadioGroup3->SetItemIndex(0);

    GateOf(o).ProjectLoading = false;
    // The same areas again: the views kept so far still belong to them.
    const int32_t kept = SCList->ViewHistoryCount;
    o.Button3Click(&o);
    SCList->ViewHistoryCount = kept;
    UiOf(o).Button12->SetEnabled(false);
    // The standard view has just unticked the label box: ticking it draws the map with its labels.
    if (Settei->CBStation->Checked())
        UiOf(o).CBLabel->SetChecked(true);
    else
        RedrawMap(o);
    GateOf(o).MapShown = true;
}

void TkBtn2Click(TOpen& o, TObject* Sender) {
    UiOf(o).Label15->SetCaption(o.DistanceText(0));
    UiOf(o).Label17->SetCaption("辺長");
    ToolsOf(o).SetTool(std::make_unique<RangeTool>(o));
    o.RangeDrag = false;
    o.RangeZoom = false;
    UiOf(o).TkBtn2->SetColor(0x00FFFF);
    UiOf(o).TkBtn2->Font.Color = 0x800000;
    UiOf(o).TkBtn2->Invalidate();
    UiOf(o).CBTimer->SetChecked(false);
}

void PushViewHistory(TOpen& o) { SCList->PushView(o.MAGSTEP, o.CX, o.CY, o.MaxX, o.MaxY, o.MinX, o.MinY, o.MAGUNIT); }

void Button12Click(TOpen& o, TObject* Sender) {
    auto& h = SCList->ViewHistory;
    int32_t& n = SCList->ViewHistoryCount;
    if (n <= 0) {   // nothing to go back to
        UiOf(o).Button12->SetEnabled(false);
        return;
    }
    n--;
    o.CY = h.CY[n];
    o.CX = h.CX[n];
    o.MAGUNIT = h.MAGUNIT[n];
    o.MAGSTEP = h.MAGSTEP[n];
    o.MaxX = h.MaxX[n];
    o.MaxY = h.MaxY[n];
    o.MinX = h.MinX[n];
    o.MinY = h.MinY[n];
    RedrawMap(o);
    if (n == 0) UiOf(o).Button12->SetEnabled(false);
    UiOf(o).Label6->SetCaption(o.MagnificationText(o.MAGSTEP * o.MAGUNIT));
    SCList->ShowMagnification(o.MAGSTEP * o.MAGUNIT);
}

// One second after a refused range: back one view while a new drag runs, else the whole area.
void Timer1Timer(TOpen& o, TObject* Sender) {
    if (o.RangeDrag)
        Button12Click(o, &o);
    else
        Button6Click(o, &o);
    UiOf(o).Timer1->SetEnabled(false);
    // The refusal is over: the read-out goes back to distances.
    UiOf(o).Label17->SetCaption("距離");
    UiOf(o).Label15->SetCaption(o.DistanceText(0));
}

// ---- keys on the map ----

void Image1KeyDown(TOpen& o, TObject* Sender, int& Key, TShiftState Shift) {
    if (ToolsOf(o).ActiveTool() && ToolsOf(o).ActiveTool()->Key(Key)) {
        Key = 0;
        return;
    }
    // A control that is disabled or hidden just now does nothing, from the keys too.
    auto step = [](TUpDown* u, TUDBtnType b) {
        if (u->isEnabled() && u->isVisibleTo(u->window())) u->UserClick(b);
    };
    auto press = [](TButton* b) { b->Press(); };
    switch (Key) {
    case VK_LEFT: step(UiOf(o).UDHor, btPrev); break;
    case VK_RIGHT: step(UiOf(o).UDHor, btNext); break;
    case VK_UP: step(UiOf(o).UDVer, btNext); break;
    case VK_DOWN: step(UiOf(o).UDVer, btPrev); break;
    case VK_ADD: case VK_OEM_PLUS: case VK_PRIOR: step(UiOf(o).UpDown1, btNext); break;
    case VK_SUBTRACT: case VK_OEM_MINUS: case VK_NEXT: step(UiOf(o).UpDown1, btPrev); break;
    case VK_HOME: press(UiOf(o).Button6); break;
    case VK_BACK: press(UiOf(o).Button12); break;
    default: return;
    }
    Key = 0;
}

// ---- double-click on the map ----

// The armed tool's first (a route ends), else it arms the centre for the
// press that follows the double-click.
void Image1DblClick(TOpen& o, TObject* Sender) {
    if (!GateOf(o).MapShown) return;
    if (ToolsOf(o).ActiveTool() && ToolsOf(o).ActiveTool()->DoubleClick()) return;
    if (!LineAdd->EditLineShown) ToolsOf(o).SetTool(std::make_unique<CentreTool>(o));
}
