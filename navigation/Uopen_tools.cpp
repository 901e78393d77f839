// The one active map tool: each tool's armed test and its end, which gives
// back what the tool switched off. Arming a tool ends every other first, so
// no two modes ever wait for the same press.
#include "engine/Uopen.h"
#include "labels/Uischange.h"
#include "labels/Uletter.h"
#include "labels/Upagesdlg.h"
#include "labels/Uprefset.h"
#include "lines/Ukyori.h"
#include "lines/Ulineadd.h"
#include "names/Ucorrect.h"
#include "names/Uextra.h"
#include "names/Unamedel.h"
#include "names/Utoshi.h"
#include "navigation/Usclist.h"
#include "paint/Upaint.h"

namespace {

struct ToolEntry {
    MapTool tool;
    TForm* (*owner)();   // the window that arms it
    bool (*armed)(const TOpen&);
    void (*end)(TOpen&);
};

const ToolEntry Tools[] = {
    {MapTool::Area, [] { return static_cast<TForm*>(Open); }, [](const TOpen& o) { return o.AreaMode; },
     [](TOpen& o) { o.EndAreaMode(); }},
    {MapTool::Route, [] { return static_cast<TForm*>(Open); },
     [](const TOpen& o) { return o.RouteMode || o.Timer2->Enabled(); }, [](TOpen& o) { o.EndRoute(); }},
    {MapTool::Range, [] { return static_cast<TForm*>(Open); }, [](const TOpen& o) { return o.RangeMode; },
     [](TOpen& o) { o.EndRange(); }},
    {MapTool::Centre, [] { return static_cast<TForm*>(Open); }, [](const TOpen& o) { return o.CentreMode; },
     [](TOpen& o) { o.EndCentre(); }},
    {MapTool::Stamp, [] { return static_cast<TForm*>(PagesDlg); },
     [](const TOpen&) { return PagesDlg->StampMode != 0 || PagesDlg->TypedPositionMode; },
     [](TOpen&) { PagesDlg->EndStamp(); }},
    {MapTool::CircleCentre, [] { return static_cast<TForm*>(Kyori); },
     [](const TOpen&) { return Kyori->CircleCentreMode; }, [](TOpen&) { Kyori->EndCentreMode(); }},
    {MapTool::LinePoint, [] { return static_cast<TForm*>(LineAdd); },
     [](const TOpen&) { return LineAdd->PointMode != 0; }, [](TOpen&) { LineAdd->EndPointMode(); }},
    {MapTool::PrefName, [] { return static_cast<TForm*>(PrefSet); },
     [](const TOpen&) { return PrefSet->PrefNamePickMode || PrefSet->PrefNamePlaceMode; },
     [](TOpen&) { PrefSet->Button7Click(PrefSet); }},
    {MapTool::CityPosition, [] { return static_cast<TForm*>(Toshi); },
     [](const TOpen&) { return Toshi->CityPositionMode; }, [](TOpen&) { Toshi->Button3Click(Toshi); }},
    {MapTool::ExtraPosition, [] { return static_cast<TForm*>(Extra); },
     [](const TOpen&) { return Extra->ExtraPositionMode; }, [](TOpen&) { Extra->Button3Click(Extra); }},
    {MapTool::Island, [] { return static_cast<TForm*>(IsChange); },
     [](const TOpen& o) { return o.IslandPickMode || o.IslandPlaceMode; },
     [](TOpen&) { IsChange->Button3Click(IsChange); }},
    {MapTool::NameCorrect, [] { return static_cast<TForm*>(Correct); },
     [](const TOpen& o) { return o.NamePickMode || o.NamePlaceMode; }, [](TOpen&) { Correct->EndPick(); }},
    {MapTool::NameAdd, [] { return static_cast<TForm*>(NameDel); },
     [](const TOpen&) { return NameDel->NameAddMode; }, [](TOpen&) { NameDel->Button7Click(NameDel); }},
    {MapTool::NameDelete, [] { return static_cast<TForm*>(NameDel); },
     [](const TOpen& o) { return o.NameDeleteMode; }, [](TOpen&) { NameDel->Button6Click(NameDel); }},
    {MapTool::Paint, [] { return static_cast<TForm*>(MapPaint); }, [](const TOpen& o) { return o.PaintMode; },
     [](TOpen&) { MapPaint->Button19Click(MapPaint); }},
    {MapTool::Label, [] { return static_cast<TForm*>(Letter); },
     [](const TOpen& o) { return o.LabelMode || Letter->LabelMoveMode; }, [](TOpen&) { Letter->EndPlacing(); }},
};

} // namespace

bool TOpen::ToolArmed(MapTool t) const {
    for (const ToolEntry& e : Tools)
        if (e.tool == t) return e.armed(*this);
    return false;
}

void TOpen::SetActiveTool(MapTool t) {
    // Each end may redraw; the map is drawn once, after the last.
    RedrawOnce once;
    for (const ToolEntry& e : Tools)
        if (e.tool != t && e.armed(*this)) e.end(*this);
    ActiveTool = t;
}

void TOpen::EndActiveTool() { SetActiveTool(MapTool::None); }

void TOpen::EndToolOf(TForm* f) {
    RedrawOnce once;
    for (const ToolEntry& e : Tools)
        if (e.owner() == f && e.armed(*this)) e.end(*this);
    if (!ToolArmed(ActiveTool)) ActiveTool = MapTool::None;
}

void TOpen::EscapePressed() { EndActiveTool(); }

// The ends run before the new areas are read: what they would redraw is the
// old map, which the load replaces, and the redraw lock stays as the load has it.
void TOpen::AreaChanged() {
    const bool ready = DataReady, wanted = RedrawWanted;
    RedrawHeld++;
    EndActiveTool();
    RedrawHeld--;
    RedrawWanted = wanted;
    DataReady = ready;
    // The views kept so far belong to the old map.
    SCList->ViewHistoryCount = 0;
    Button12->SetEnabled(false);
}

void TOpen::EndAreaMode() {
    RedrawOnce once;
    AreaMode = false;
    AreaFillColor = DefAreaFillColor;
    OpenRegion = false;
    EnableMapControls();
    if (AreaTextsHidden) {
        AreaTextsHidden = false;
        kokudo->SetChecked(AreaHidTexts[0]);
        ken_name->SetChecked(AreaHidTexts[1]);
        CBTownName->SetChecked(AreaHidTexts[2]);
    }
    DrawMap();   // the repainted regions disappear
    Button14->SetHint("測定領域をクリック");
    Button14->SetCaption("面積");
    CBNokori->SetEnabled(true);
}

// A route ends as the double-click ends it, with its length and area on view.
void TOpen::EndRoute() {
    if (Timer2->Enabled()) {
        FinishTimedRoute();
        return;
    }
    if (!RouteMode) return;
    TCanvas* cv = Image1->Canvas();
    // The clicks keep the entry after the last point free for this copy of point 0.
    const int n = std::clamp(RoutePointCount, 0, ROUTE_MAX - 1);
    if (n > 0) {
        cv->MoveTo(RouteX[n - 1], RouteY[n - 1]);
        cv->LineTo(RouteX[0], RouteY[0]);
    }
    RouteX[n] = RouteX[0];
    RouteY[n] = RouteY[0];
    RouteAreaKm2();
    RoutePointCount = n + 1;
    RouteLengthKm();
    FinishRoute();
}

void TOpen::EndRange() {
    RangeMode = false;
    if (RangeDrag) {
        // The square drawn so far goes with the redraw.
        RangeDrag = false;
        Image1->Canvas()->Pen->Mode = pmCopy;
        DrawMap();
    }
    TkBtn2->SetColor(clBtnFace);
    TkBtn2->Font.Color = clGray;
    TkBtn2->Invalidate();
}

void TOpen::EndCentre() {
    CentreMode = false;
    BtnCenter->SetEnabled(MapShown);
    if (CrossDrawn) {
        CrossDrawn = false;
        DistStartX = DistStartY = -100;
        Image1->Canvas()->Pen->Mode = pmCopy;
        DrawMap();
    }
}
