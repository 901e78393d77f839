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
    o.DrawMap();
}

void UDHorClick(TOpen& o, TObject* Sender, TUDBtnType Button) { PanBy(o, true, Button); }
void UDVerClick(TOpen& o, TObject* Sender, TUDBtnType Button) { PanBy(o, false, Button); }

void UpDown1Click(TOpen& o, TObject* Sender, TUDBtnType Button) {
    LineAdd->EditLineRedraw = true;
    o.MAGSTEP = o.ui.UpDown1->Position();
    o.ui.Label6->SetCaption(o.MagnificationText(o.MAGSTEP * o.MAGUNIT));
    o.DrawMap();
}

// The wheel rests while a measurement runs: a new view would void the counted
// pixels or the route's points. Painting and the other tools keep it.
void FormMouseWheel(TOpen& o, TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled) {
    if (!o.MapShown || (o.tools.ActiveTool() && o.tools.ActiveTool()->HoldsView())) return;
    if (Shift.Shift) {
        PanBy(o, false, WheelDelta > 0 ? btNext : btPrev);
    } else if (Shift.Ctrl) {
        PanBy(o, true, WheelDelta > 0 ? btPrev : btNext);
    } else {
        // A range zoom keeps its own magnification; the up-down no longer tells it.
        if (!o.RangeZoom) {
            o.ui.UpDown1->SetPosition(o.ui.UpDown1->Position() + (WheelDelta > 0 ? -1 : 1));
            o.MAGSTEP = o.ui.UpDown1->Position();
        }
        o.ui.Label6->SetCaption(o.MagnificationText(o.MAGSTEP * o.MAGUNIT));
        o.DrawMap();
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
    o.ui.UpDown1->SetPosition(o.MAGSTEP);
    for (TMenuItem* other : {o.ui.N101, o.ui.N051, o.ui.N021, o.ui.N011})
        if (other != item) other->SetChecked(false);
    Settei->RadioGroup3->SetItemIndex(index);
    o.ui.Label6->SetCaption(o.MagnificationText(o.MAGSTEP * o.MAGUNIT));
    o.DrawMap();
    o.ui.UpDown1->SetEnabled(true);
    o.ui.Button12->SetEnabled(false);
    o.ui.Label20->Show();
    // Presses on the map need a view to work in.
    if (o.DataReady) o.MapShown = true;
    o.RangeZoom = false;
    busy = false;
}

void N101Click(TOpen& o, TObject* Sender) { SetZoomUnit(o, o.ui.N101, 1.0f, 0); }
void N051Click(TOpen& o, TObject* Sender) { SetZoomUnit(o, o.ui.N051, 0.5f, 1); }
void N021Click(TOpen& o, TObject* Sender) { SetZoomUnit(o, o.ui.N021, 0.2f, 2); }
void N011Click(TOpen& o, TObject* Sender) { SetZoomUnit(o, o.ui.N011, 0.1f, 3); }

void SetMoveFactor(TOpen& o, TMenuItem* item, float factor, int index) {
    for (TMenuItem* m : {o.ui.N202, o.ui.N102, o.ui.N052}) m->SetChecked(m == item);
    Settei->RadioGroup4->SetItemIndex(index);
    o.MoveFactor = factor;
}

void N202Click(TOpen& o, TObject* Sender) { SetMoveFactor(o, o.ui.N202, 2.0f, 0); }
void N102Click(TOpen& o, TObject* Sender) { SetMoveFactor(o, o.ui.N102, 1.0f, 1); }
void N052Click(TOpen& o, TObject* Sender) { SetMoveFactor(o, o.ui.N052, 0.5f, 2); }

std::vector<std::string> ImageSizeItems(const TOpen& o, int k) {
    std::vector<std::string> items;
    for (int m = 1; m <= o.COPYSCALE_MAX; m++) items.push_back(std::to_string(o.SIZEX * m / k));
    return items;
}

void SetReduction(TOpen& o, int k) {
    RedrawOnce once;   // the settings' reduction group redraws too
    o.SSIZE = k;
    TMenuItem* items[] = {o.ui.MAG1, o.ui.MAG2, o.ui.MAG3, o.ui.MAG4, o.ui.MAG5};
    for (int i = 0; i < 5; i++) items[i]->SetChecked(i == k - 1);
    o.ui.RadioGroup1->SetItems(ImageSizeItems(o, k));
    Settei->RadioGroup1->SetItemIndex(k - 1);
    Settei->RadioGroup2->SetItems(ImageSizeItems(o, k));
    o.DrawMap();
}

void MAG1Click(TOpen& o, TObject* Sender) { SetReduction(o, 1); }
void MAG2Click(TOpen& o, TObject* Sender) { SetReduction(o, 2); }
void MAG3Click(TOpen& o, TObject* Sender) { SetReduction(o, 3); }
void MAG4Click(TOpen& o, TObject* Sender) { SetReduction(o, 4); }
void MAG5Click(TOpen& o, TObject* Sender) { SetReduction(o, 5); }

// ---- standard range, range arming, history ----

void Button6Click(TOpen& o, TObject* Sender) {
    RedrawOnce once;   // the standard view unticks the labels, whose box redraws
    o.ui.UDVer->SetPosition(500);
    o.ui.UDHor->SetPosition(500);
    o.ui.UpDown1->SetPosition(1);
    o.ui.Label6->SetCaption(" 1.0");
    o.ui.CBPrefBorder->SetChecked(true);
    o.ui.CBTownBorder->SetChecked(true);

    o.ui.N101->SetChecked(true);
    for (TMenuItem* m : {o.ui.N051, o.ui.N021, o.ui.N011}) m->SetChecked(false);
    o.MAGSTEP = 1;
    o.MAGUNIT = 1.0f;
    Settei->RadioGroup3->SetItemIndex(0);

    o.ProjectLoading = false;
    // The same areas again: the views kept so far still belong to them.
    const int32_t kept = SCList->ViewHistoryCount;
    o.Button3Click(&o);
    SCList->ViewHistoryCount = kept;
    o.ui.Button12->SetEnabled(false);
    // The standard view has just unticked the label box: ticking it draws the map with its labels.
    if (Settei->CBStation->Checked())
        o.ui.CBLabel->SetChecked(true);
    else
        o.DrawMap();
    o.MapShown = true;
}

void TkBtn2Click(TOpen& o, TObject* Sender) {
    o.ui.Label15->SetCaption(o.DistanceText(0));
    o.ui.Label17->SetCaption("辺長");
    o.tools.SetTool(std::make_unique<RangeTool>(o));
    o.RangeDrag = false;
    o.RangeZoom = false;
    o.ui.TkBtn2->SetColor(0x00FFFF);
    o.ui.TkBtn2->Font.Color = 0x800000;
    o.ui.TkBtn2->Invalidate();
    o.ui.CBTimer->SetChecked(false);
}

void PushViewHistory(TOpen& o) { SCList->PushView(o.MAGSTEP, o.CX, o.CY, o.MaxX, o.MaxY, o.MinX, o.MinY, o.MAGUNIT); }

void Button12Click(TOpen& o, TObject* Sender) {
    auto& h = SCList->ViewHistory;
    int32_t& n = SCList->ViewHistoryCount;
    if (n <= 0) {   // nothing to go back to
        o.ui.Button12->SetEnabled(false);
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
    o.DrawMap();
    if (n == 0) o.ui.Button12->SetEnabled(false);
    o.ui.Label6->SetCaption(o.MagnificationText(o.MAGSTEP * o.MAGUNIT));
    SCList->ShowMagnification(o.MAGSTEP * o.MAGUNIT);
}

// One second after a refused range: back one view while a new drag runs, else the whole area.
void Timer1Timer(TOpen& o, TObject* Sender) {
    if (o.RangeDrag)
        Button12Click(o, &o);
    else
        Button6Click(o, &o);
    o.ui.Timer1->SetEnabled(false);
    // The refusal is over: the read-out goes back to distances.
    o.ui.Label17->SetCaption("距離");
    o.ui.Label15->SetCaption(o.DistanceText(0));
}

// ---- keys on the map ----

void Image1KeyDown(TOpen& o, TObject* Sender, int& Key, TShiftState Shift) {
    if (o.tools.ActiveTool() && o.tools.ActiveTool()->Key(Key)) {
        Key = 0;
        return;
    }
    // A control that is disabled or hidden just now does nothing, from the keys too.
    auto step = [](TUpDown* u, TUDBtnType b) {
        if (u->isEnabled() && u->isVisibleTo(u->window())) u->UserClick(b);
    };
    auto press = [](TButton* b) { b->Press(); };
    switch (Key) {
    case VK_LEFT: step(o.ui.UDHor, btPrev); break;
    case VK_RIGHT: step(o.ui.UDHor, btNext); break;
    case VK_UP: step(o.ui.UDVer, btNext); break;
    case VK_DOWN: step(o.ui.UDVer, btPrev); break;
    case VK_ADD: case VK_OEM_PLUS: case VK_PRIOR: step(o.ui.UpDown1, btNext); break;
    case VK_SUBTRACT: case VK_OEM_MINUS: case VK_NEXT: step(o.ui.UpDown1, btPrev); break;
    case VK_HOME: press(o.ui.Button6); break;
    case VK_BACK: press(o.ui.Button12); break;
    default: return;
    }
    Key = 0;
}

// ---- double-click on the map ----

// The armed tool's first (a route ends), else it arms the centre for the
// press that follows the double-click.
void Image1DblClick(TOpen& o, TObject* Sender) {
    if (!o.MapShown) return;
    if (o.tools.ActiveTool() && o.tools.ActiveTool()->DoubleClick()) return;
    if (!LineAdd->EditLineShown) o.tools.SetTool(std::make_unique<CentreTool>(o));
}
