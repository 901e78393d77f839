// The one active map tool, and the main form's own tools: the area count, the
// route, the range zoom, the centre and the web map.
#include "engine/Uopen.h"
#include "navigation/MainFormNavigation.h"
#include "navigation/AreaCount.h"
#include "labels/Upagesdlg.h"
#include "navigation/NavigationTools.h"
#include "navigation/Usclist.h"
#include "navigation/Usettei.h"
#include "navigation/XorStrokes.h"
#include <algorithm>

void TOpen::EscapePressed() { tools.EndActiveTool(); }

// The ends run before the new areas are read: what they would redraw is the
// old map, which the load replaces, and the redraw lock stays as the load has it.
void TOpen::AreaChanged() {
    const bool ready = gate.DataReady, wanted = gate.RedrawWanted;
    gate.RedrawHeld++;
    tools.EndActiveTool();
    gate.RedrawHeld--;
    gate.RedrawWanted = wanted;
    gate.DataReady = ready;
    // The views kept so far belong to the old map.
    SCList->ViewHistoryCount = 0;
    ui.Button12->SetEnabled(false);
}

MapEvent TOpen::EventAt(TMouseButton button, int X, int Y) {
    // The tools ended by the last event are no longer running.
    tools.FreeEnded();
    MapEvent e;
    e.button = button;
    e.X = X, e.Y = Y;
    e.canvas = ui.Image1->Canvas();
    e.view = ViewAt(X, Y);
    return e;
}

// ---- the area count ----

AreaTool::AreaTool(TOpen& o) : OpenTool(o) {
    // Names drawn over the borders would let the count run through their text boxes.
    RedrawOnce once;
    hidKokudo = UiOf(o).kokudo->Checked(), hidPrefName = UiOf(o).ken_name->Checked(), hidTownName = UiOf(o).CBTownName->Checked();
    UiOf(o).kokudo->SetChecked(false);
    UiOf(o).ken_name->SetChecked(false);
    UiOf(o).CBTownName->SetChecked(false);
    if (hidKokudo || hidPrefName || hidTownName) RedrawMap(o);
}

TForm* AreaTool::Owner() const { return &o; }

bool AreaTool::Press(const MapEvent& e) {
    o.MeasureAreaAt(e.X, e.Y);
    return false;
}

void AreaTool::End() {
    RedrawOnce once;
    StyleOf(o).AreaFillColor = StyleOf(o).DefAreaFillColor;
    AreaCountOf(o).OpenRegion = false;
    o.EnableMapControls();
    UiOf(o).kokudo->SetChecked(hidKokudo);
    UiOf(o).ken_name->SetChecked(hidPrefName);
    UiOf(o).CBTownName->SetChecked(hidTownName);
    RedrawMap(o);   // the repainted regions disappear
    UiOf(o).Button14->SetHint("測定領域をクリック");
    UiOf(o).Button14->SetCaption("面積");
    UiOf(o).CBNokori->SetEnabled(true);
}

// ---- the route ----

TForm* RouteTool::Owner() const { return &o; }

bool RouteTool::Sampling() const { return UiOf(o).Timer2->Enabled(); }

bool RouteTool::Press(const MapEvent& e) {
    // A route that follows the mouse takes no presses once it runs.
    if (Sampling()) return false;
    if (UiOf(o).CBTimer->Checked()) {
        RouteOf(o).RouteX[0] = e.X + 16;
        RouteOf(o).RouteY[0] = e.Y + 15;
        UiOf(o).Timer2->SetEnabled(true);
        return false;
    }
    AddPoint(e);
    return false;
}

void RouteTool::AddPoint(const MapEvent& e) {
    // The last entry is kept for the copy of point 0 that closes the route.
    if (o.RoutePointCount >= RouteState::ROUTE_MAX - 1) {
        MessageBox("測点経路のデータ数が多すぎます　　　", "測点経路エラー", MB_OK);
        return;
    }
    const int n = o.RoutePointCount;
    RouteOf(o).RouteX[n] = RouteOf(o).RouteLastX = e.X + 16;
    RouteOf(o).RouteY[n] = RouteOf(o).RouteLastY = e.Y + 15;
    o.RoutePointCount++;
    UiOf(o).Label31->SetCaption(gui::Format("   計測中 %d", o.RoutePointCount));
    if (o.RoutePointCount == 1)
        xorstrokes::XorPen(e.canvas, 32768, 3);
    else
        RouteLengthKm(o);
}

bool RouteTool::Move(const MapEvent& e) {
    if (UiOf(o).CBTimer->Checked()) {
        RouteOf(o).RouteLastX = e.X + 16;
        RouteOf(o).RouteLastY = e.Y + 15;
        return true;
    }
    if (o.RoutePointCount == 0) return false;
    const int i = o.RoutePointCount - 1;
    xorstrokes::Line(e.canvas, RouteOf(o).RouteX[i], RouteOf(o).RouteY[i], RouteOf(o).RouteLastX, RouteOf(o).RouteLastY);
    RouteOf(o).RouteLastX = e.X + 16;
    RouteOf(o).RouteLastY = e.Y + 15;
    xorstrokes::Line(e.canvas, RouteOf(o).RouteX[i], RouteOf(o).RouteY[i], RouteOf(o).RouteLastX, RouteOf(o).RouteLastY);
    return true;
}

// The release of the press that starts the timer leaves the map's own drags alone.
bool RouteTool::Release(const MapEvent&) { return UiOf(o).CBTimer->Checked() && !Sampling(); }

bool RouteTool::DoubleClick() {
    ToolsOf(o).EndActiveTool();
    return true;
}

// A route ends as the double-click ends it, with its length and area on view.
void RouteTool::End() {
    if (Finished) return FinishRoute(o);
    if (Sampling()) return FinishTimedRoute(o);
    Close();
}

void RouteTool::Close() {
    TCanvas* cv = UiOf(o).Image1->Canvas();
    // The clicks keep the entry after the last point free for this copy of point 0.
    const int n = std::clamp(o.RoutePointCount, 0, RouteState::ROUTE_MAX - 1);
    if (n > 0) {
        cv->MoveTo(RouteOf(o).RouteX[n - 1], RouteOf(o).RouteY[n - 1]);
        cv->LineTo(RouteOf(o).RouteX[0], RouteOf(o).RouteY[0]);
    }
    RouteOf(o).RouteX[n] = RouteOf(o).RouteX[0];
    RouteOf(o).RouteY[n] = RouteOf(o).RouteY[0];
    RouteAreaKm2(o);
    o.RoutePointCount = n + 1;
    RouteLengthKm(o);
    FinishRoute(o);
}

// ---- the range zoom ----

TForm* RangeTool::Owner() const { return &o; }

bool RangeTool::Press(const MapEvent& e) {
    // A refused range waits for its timer; presses meanwhile are the map's own.
    if (o.RangeZoom) return true;
    o.RangeDrag = true;
    StartX = e.X;
    StartY = e.Y;
    Side = 0;
    xorstrokes::XorPen(e.canvas, 16776960, 1);
    e.canvas->Brush->Style = bsClear;
    const TOpen::MapPoint p = o.PointAt(e.X, e.Y);
    o.PointerLon = p.lon;
    o.PointerLat = p.lat;
    UiOf(o).Label28->SetCaption("");
    return false;
}

namespace {
void Square(TCanvas* cv, int x, int y, int side) { cv->Rectangle(x, y, x + side, y + side); }
} // namespace

bool RangeTool::Move(const MapEvent& e) {
    if (!o.RangeDrag) return false;
    DrawSquare(e);
    return true;
}

void RangeTool::DrawSquare(const MapEvent& e) {
    TCanvas* cv = e.canvas;
    xorstrokes::XorPen(cv, 16776960, 1);
    cv->Brush->Style = bsClear;
    Square(cv, StartX, StartY, Side);
    // The square grows down and to the right.
    Side = std::max(e.X - StartX, e.Y - StartY);
    const TOpen::MapPoint end = o.PointAt(StartX + Side, StartY + Side);
    o.RangeEndLon = end.lon;
    o.RangeEndLat = end.lat;
    const float m = (o.PointerLat + o.RangeEndLat) / 2;
    const float w = GreatCircleKm(m, o.PointerLon, m, o.RangeEndLon);
    o.RangeWidthKm = w;
    if (w < 3.0f || Side < 25) {
        Square(cv, StartX, StartY, Side);
        return;
    }
    // Snap the width up to the next whole step, even from a whole step.
    float step = 5;
    if (w > 1000) step = 100;
    else if (w > 500) step = 50;
    else if (w > 200) step = 20;
    else if (w > 50) step = 10;
    const float snapped = (TruncToInt(w / step) + 1) * step;
    UiOf(o).Label15->SetCaption(TOpen::DistanceText(snapped));
    Side = TruncToInt(Side * snapped / w);
    Square(cv, StartX, StartY, Side);
    // The text is not XORed: it stays until the next redraw.
    const TPenMode mode = cv->Pen->Mode;
    cv->Font->Color = clRed;
    cv->Font->Size = 8;
    cv->TextOut(StartX + 5, StartY + Side - 12,
                gui::Format("%.0f km  %d pix", snapped, Side));
    cv->Pen->Mode = mode;
}

bool RangeTool::Release(const MapEvent& e) {
    if (!o.RangeDrag) return false;
    TCanvas* cv = e.canvas;
    if (UiOf(o).CBCopy->Checked()) {
        cv->Pen->Mode = pmCopy;
        RedrawMap(o);
        // A square dragged up or to the left has no pixels to copy.
        if (Side > 0) {
            const int s = Side;
            TBitmap bmp(s, s);
            bmp.Canvas()->CopyRect(Rect(0, 0, s, s), cv,
                                   Rect(StartX, StartY, StartX + s, StartY + s));
            Clipboard()->Assign(&bmp);
        }
    }
    PushViewHistory(o);
    // Drawn again only while it is an XOR outline; a redraw above has wiped it already.
    if (cv->Pen->Mode == pmXor) {
        cv->Brush->Style = bsClear;
        Square(cv, StartX, StartY, Side);
    }
    UiOf(o).TkBtn2->SetColor(clBtnFace);
    UiOf(o).TkBtn2->Font.Color = 8421504;
    UiOf(o).TkBtn2->Invalidate();
    o.ScreenToMap(StartX, StartY, o.MinX, o.MaxY);
    o.ScreenToMap(StartX + Side, StartY + Side, o.MaxX, o.MinY);
    const float m = LatOf(MidOf(o.MaxY, o.MinY));
    o.RangeWidthKm = GreatCircleKm(m, LonOf(o.MinX), m, LonOf(o.MaxX));
    o.RangeZoom = true;
    cv->Pen->Mode = pmCopy;
    if (Side >= 5 && o.RangeWidthKm >= 4.9f) {
        o.CX = MidOf(o.MaxX, o.MinX);
        o.CY = MidOf(o.MaxY, o.MinY);
        RedrawMap(o);
        o.RangeDrag = false;
        GateOf(o).MapShown = true;
        UiOf(o).UpDown1->SetEnabled(false);
        UiOf(o).Label20->SetVisible(false);
        UiOf(o).Button12->SetEnabled(true);
        UiOf(o).Label17->SetCaption("距離");
        // One square, one zoom: the button is pressed again for the next.
        ToolsOf(o).EndActiveTool();
    } else {
        o.RangeDrag = false;
        UiOf(o).Label15->SetCaption("指定エラー");
        UiOf(o).Timer1->SetEnabled(true);
    }
    return true;
}

void RangeTool::End() {
    if (o.RangeDrag) {
        // The square drawn so far goes with the redraw.
        o.RangeDrag = false;
        UiOf(o).Image1->Canvas()->Pen->Mode = pmCopy;
        RedrawMap(o);
    }
    UiOf(o).TkBtn2->SetColor(clBtnFace);
    UiOf(o).TkBtn2->Font.Color = clGray;
    UiOf(o).TkBtn2->Invalidate();
}

// ---- the centre ----

TForm* CentreTool::Owner() const { return &o; }

bool CentreTool::Press(const MapEvent& e) {
    if (CrossDrawn) {
        // The cross of the last move, drawn again with the XOR pen, goes.
        xorstrokes::Cross(e.canvas, CrossX, CrossY);
        CrossDrawn = false;
    }
    ToolsOf(o).EndActiveTool();
    const int hx = (o.SIZEX * o.COPYSCALE / o.SSIZE) / 2, hy = (o.SizeY * o.COPYSCALE / o.SSIZE) / 2;
    o.CX = TruncToInt(o.CX + (e.X - hx) / o.ScaleX);
    o.CY = TruncToInt(o.CY + (hy - e.Y) / o.ScaleY);
    o.DistStartX = o.DistStartY = -100;
    e.canvas->Pen->Mode = pmCopy;
    RedrawMap(o);
    return false;
}

bool CentreTool::Move(const MapEvent& e) {
    xorstrokes::XorPen(e.canvas, 16776960, 1);
    if (CrossDrawn) xorstrokes::Cross(e.canvas, CrossX, CrossY);
    xorstrokes::Cross(e.canvas, e.X, e.Y);
    CrossDrawn = true;
    CrossX = o.DistStartX = e.X;
    CrossY = o.DistStartY = e.Y;
    return true;
}

void CentreTool::End() {
    UiOf(o).BtnCenter->SetEnabled(GateOf(o).MapShown);
    if (CrossDrawn) {
        CrossDrawn = false;
        o.DistStartX = o.DistStartY = -100;
        UiOf(o).Image1->Canvas()->Pen->Mode = pmCopy;
        RedrawMap(o);
    }
}

// ---- the web map ----

TForm* WebMapTool::Owner() const { return &o; }

bool WebMapTool::Press(const MapEvent& e) {
    // One press, one page; the tool it waited in front of takes the presses after.
    std::unique_ptr<MapTool> back = std::move(waiting);
    ToolsOf(o).EndActiveTool();
    o.OpenWebMapAt(e.X, e.Y);
    if (back && !ToolsOf(o).ActiveTool()) ToolsOf(o).SetTool(std::move(back));
    return false;
}

// Ended by anything but its press (Esc, a new tool, an area change): the tool
// it waited in front of ends with it.
void WebMapTool::End() {
    Settei->CBWatch->SetChecked(false);
    UiOf(o).CBChiri->SetChecked(false);
    if (waiting) std::unique_ptr<MapTool>(std::move(waiting))->End();
}

void WebMapTool::BoxClicked(TOpen& o, TCheckBox* box) {
    auto* web = dynamic_cast<WebMapTool*>(ToolsOf(o).ActiveTool());
    if (box->Checked()) {
        if (web) return;
        // In front of the armed tool, which keeps its state for the press after.
        auto t = std::make_unique<WebMapTool>(o);
        t->waiting = ToolsOf(o).SuspendTool();
        ToolsOf(o).SetTool(std::move(t));
    } else if (web) {
        std::unique_ptr<MapTool> back = std::move(web->waiting);
        ToolsOf(o).EndActiveTool();
        if (back && !ToolsOf(o).ActiveTool()) ToolsOf(o).SetTool(std::move(back));
    }
}
