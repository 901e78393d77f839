// The map image's mouse press: one chain of interaction modes, a table tested
// in a fixed order; the first armed step takes the press, a few pass it on.
#include "engine/Coords.h"
#include "engine/Settings.h"
#include "engine/Uopen.h"
#include "labels/Uletter.h"
#include "labels/Upagesdlg.h"
#include "labels/Uprefset.h"
#include "lines/Ukyori.h"
#include "lines/Ulineadd.h"
#include "names/Uextra.h"
#include "names/Unamedel.h"
#include "names/Utoshi.h"
#include "navigation/Ukeisoku.h"
#include "navigation/Usettei.h"
#include "navigation/XorStrokes.h"

namespace {

struct Press {
    TMouseButton button;
    int X, Y;
};

// One step of the chain: its name, whether it takes this press, what it does,
// and whether the press then goes on to the next step.
struct PressStep {
    const char* name;
    bool (*armed)(TOpen&, const Press&);
    void (*hand)(TOpen&, const Press&);
    bool passesOn;
};

void Nothing(TOpen&, const Press&) {}

bool InsideLegend(const TOpen& o, const Press& p) {
    return o.LegendShown && o.LegendLeft < p.X && p.X < o.LegendRight && o.LegendTop < p.Y && p.Y < o.LegendBottom;
}

// The scale bar keeps its box in 600-pixel units; the grab margin grows with the image.
bool InsideScaleBar(const TOpen& o, const Press& p) {
    if (!o.ScaleShown) return false;
    const float k = o.ImageSize / 600.0f;
    const int left = TruncToInt((o.scl_x1 - 5) * k), right = TruncToInt((o.ScaleRight + 5) * k);
    const int top = TruncToInt((o.scly1 - 5) * k), bottom = TruncToInt((o.ScaleBottom + 5) * k);
    return left < p.X && p.X < right && top < p.Y && p.Y < bottom;
}

// A press outside the box lets go of any grab left over.
bool GrabsLegend(TOpen& o, const Press& p) { return o.LegendDrag = InsideLegend(o, p); }
bool GrabsScaleBar(TOpen& o, const Press& p) { return o.ScaleDrag = InsideScaleBar(o, p); }

const PressStep Chain[] = {
    {"no map", [](TOpen& o, const Press&) { return !o.MapShown; }, Nothing, false},
    {"settings", [](TOpen&, const Press& p) { return p.button == mbRight; },
     [](TOpen&, const Press&) { Settei->Show(); }, false},
    {"web map", [](TOpen& o, const Press&) { return o.CBChiri->Checked() || Settei->CBWatch->Checked(); },
     [](TOpen& o, const Press& p) { o.OpenWebMapAt(p.X, p.Y); }, false},
    {"area", [](TOpen& o, const Press&) { return o.AreaMode; },
     [](TOpen& o, const Press& p) { o.MeasureAreaAt(p.X, p.Y); }, false},
    // A route that follows the mouse takes no presses once it runs.
    {"timed route running", [](TOpen& o, const Press&) { return o.CBTimer->Checked() && o.RoutePointCount > 0; },
     Nothing, false},
    {"timed route start", [](TOpen& o, const Press&) { return o.RouteMode && o.CBTimer->Checked(); },
     [](TOpen& o, const Press& p) { o.PressRouteStart(p.X, p.Y); }, false},
    {"route point", [](TOpen& o, const Press&) { return o.RouteMode; },
     [](TOpen& o, const Press& p) { o.PressRoutePoint(p.X, p.Y); }, false},
    {"range", [](TOpen& o, const Press&) { return o.RangeMode && !o.RangeZoom; },
     [](TOpen& o, const Press& p) { o.PressRangeStart(p.X, p.Y); }, false},
    {"stamp off", [](TOpen&, const Press&) { return PagesDlg->StampMode && PagesDlg->StampDisabled; },
     [](TOpen& o, const Press& p) { o.PressStamp(9, p.X, p.Y); }, false},
    {"stamp", [](TOpen&, const Press&) { return PagesDlg->StampMode != 0; },
     [](TOpen& o, const Press& p) { o.PressStamp(10, p.X, p.Y); }, false},
    {"legend", GrabsLegend, Nothing, false},
    {"scale bar", GrabsScaleBar, Nothing, false},
    {"circle centre", [](TOpen&, const Press&) { return Kyori->CircleCentreMode; },
     [](TOpen& o, const Press& p) { o.PressCircleCentre(13, p.X, p.Y); }, false},
    {"line point", [](TOpen&, const Press&) { return LineAdd->PointMode >= 1 && LineAdd->PointMode <= 3; },
     [](TOpen& o, const Press& p) { o.PressLinePoint(13 + LineAdd->PointMode, p.X, p.Y); }, false},
    {"prefecture name pick", [](TOpen&, const Press&) { return PrefSet->PrefNamePickMode; },
     [](TOpen& o, const Press& p) { o.PressPrefName(17, p.X, p.Y); }, false},
    {"prefecture name place", [](TOpen&, const Press&) { return PrefSet->PrefNamePlaceMode; },
     [](TOpen& o, const Press& p) { o.PressPrefName(18, p.X, p.Y); }, true},
    {"city position", [](TOpen&, const Press&) { return Toshi->CityPositionMode; },
     [](TOpen& o, const Press& p) { o.PressCityPosition(19, p.X, p.Y); }, false},
    {"duplicate name position", [](TOpen&, const Press&) { return Extra->ExtraPositionMode; },
     [](TOpen& o, const Press& p) { o.PressExtraPosition(20, p.X, p.Y); }, false},
    {"island pick", [](TOpen& o, const Press&) { return o.IslandPickMode; },
     [](TOpen& o, const Press& p) { o.PressIsland(21, p.X, p.Y); }, true},
    {"island place", [](TOpen& o, const Press&) { return o.IslandPlaceMode; },
     [](TOpen& o, const Press& p) { o.PressIsland(22, p.X, p.Y); }, true},
    {"name pick", [](TOpen& o, const Press&) { return o.NamePickMode; },
     [](TOpen& o, const Press& p) { o.PressName(23, p.X, p.Y); }, false},
    {"name add", [](TOpen&, const Press&) { return NameDel->NameAddMode; },
     [](TOpen& o, const Press& p) { o.PressName(24, p.X, p.Y); }, false},
    {"name delete", [](TOpen& o, const Press&) { return o.NameDeleteMode; },
     [](TOpen& o, const Press& p) { o.PressName(25, p.X, p.Y); }, false},
    {"name place", [](TOpen& o, const Press&) { return o.NamePlaceMode; },
     [](TOpen& o, const Press& p) { o.PressName(26, p.X, p.Y); }, false},
    {"paint", [](TOpen& o, const Press&) { return o.PaintMode; },
     [](TOpen& o, const Press& p) { o.PressPaint(27, p.X, p.Y); }, false},
    {"label move", [](TOpen& o, const Press&) { return Letter->LabelMoveMode && !o.LabelMode; },
     [](TOpen& o, const Press& p) { o.PressLabel(28, p.X, p.Y); }, true},
    {"label", [](TOpen& o, const Press&) { return o.LabelMode; },
     [](TOpen& o, const Press& p) { o.PressLabel(29, p.X, p.Y); }, false},
    {"centre", [](TOpen& o, const Press&) { return o.CentreMode; },
     [](TOpen& o, const Press& p) { o.PressCentre(p.X, p.Y); }, false},
    // A press in no mode starts a two-point distance.
    {"distance", [](TOpen&, const Press&) { return true; },
     [](TOpen& o, const Press& p) { o.PressDistanceStart(p.X, p.Y); }, false},
};

} // namespace

void TOpen::Image1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
    const Press press{Button, X, Y};
    for (const PressStep& step : Chain) {
        if (!step.armed(*this, press)) continue;
        step.hand(*this, press);
        if (!step.passesOn) return;
    }
}

void TOpen::PressRouteStart(int X, int Y) {
    if (RoutePointCount > 0) return;
    RouteX[RoutePointCount] = X + 16;
    RouteY[RoutePointCount] = Y + 15;
    RouteMode = false;
    Timer2->SetEnabled(true);
}

void TOpen::PressRoutePoint(int X, int Y) {
    // The last entry is kept for the copy of point 0 that closes the route.
    if (RoutePointCount >= ROUTE_MAX - 1) {
        MessageBox("測点経路のデータ数が多すぎます　　　", "測点経路エラー", MB_OK);
        return;
    }
    RouteX[RoutePointCount] = RouteLastX = X + 16;
    RouteY[RoutePointCount] = RouteLastY = Y + 15;
    RoutePointCount++;
    Label31->SetCaption(gui::Format("   計測中 %d", RoutePointCount));
    if (RoutePointCount == 1)
        xorstrokes::XorPen(Image1->Canvas(), 32768, 3);
    else
        RouteLengthKm();
}

void TOpen::PressRangeStart(int X, int Y) {
    RangeDrag = true;
    RangeStartX = X;
    RangeStartY = Y;
    RangeSide = 0;
    TCanvas* cv = Image1->Canvas();
    xorstrokes::XorPen(cv, 16776960, 1);
    cv->Brush->Style = bsClear;
    const MapPoint p = PointAt(X, Y);
    PointerLon = p.lon;
    PointerLat = p.lat;
    Label28->SetCaption("");
}

void TOpen::PressCentre(int X, int Y) {
    BtnCenter->SetEnabled(true);
    CentreMode = false;
    TCanvas* cv = Image1->Canvas();
    if (CrossDrawn) {
        // The cross of the last move, drawn again with the XOR pen, goes.
        xorstrokes::Cross(cv, DistStartX, DistStartY);
        CrossDrawn = false;
    }
    const int hx = (SIZEX * COPYSCALE / SSIZE) / 2, hy = (SizeY * COPYSCALE / SSIZE) / 2;
    CX = TruncToInt(CX + (X - hx) / ScaleX);
    CY = TruncToInt(CY + (hy - Y) / ScaleY);
    DistStartX = DistStartY = -100;
    cv->Pen->Mode = pmCopy;
    DrawMap();
}

void TOpen::PressDistanceStart(int X, int Y) {
    if (!RouteMode) Label15->SetFontColor(clRed);
    Label31->SetFontColor(clRed);
    Label33->SetFontColor(clRed);
    DistanceMode = 1;
    DistAnchorX = DistStartX = X;
    DistAnchorY = DistStartY = Y;
    // The distance is measured from the pressed point, even with no move before the press.
    const MapPoint p = PointAt(X, Y);
    PointerLon = p.lon;
    PointerLat = p.lat;
    Label17->SetCaption("距離");
    if (!RouteDone) Label15->SetCaption(DistanceText(0));
}

void TOpen::BtnCenterClick(TObject* Sender) {
    SetActiveTool(MapTool::Centre);
    CentreMode = true;
    CrossDrawn = false;
    BtnCenter->SetEnabled(false);
}

void TOpen::OpenWebMapAt(int X, int Y) {
    Keisoku->ShowWait("国土地理院の地図閲覧サービスに接続しています．．．");
    const MapPoint p = PointAt(X, Y);
    const float lon = p.lon, lat = p.lat;
    const std::string url =
        std::string(settings::WebMapHost) +
        gui::Format("/?vs=c1&ll=%.6f,%.6f#15/%.6f/%.6f/&base=std&ls=std&disp=1&vs=c1j0l0u0t0z0r0f1", lat, lon, lat,
                    lon);
    if (ShellOpen(url) <= 32)
        MessageBox("インターネットエクスプローラの起動に失敗しました　　　　", "ウォッ地図呼び出しエラー",
                   MB_OK | MB_ICONEXCLAMATION);
    // One press, one page.
    Settei->CBWatch->SetChecked(false);
    CBChiri->SetChecked(false);
    Keisoku->Close();
}

void TOpen::MeasureAreaAt(int X, int Y) {
    Keisoku->ShowWait("指定領域の面積を計算しています．．．");
    const TColor c = Image1->Canvas()->Pixels(X, Y);
    if (CountAreaPixels(c, X, Y)) {
        const TColor font = OpenRegion ? TColor(65535) : TColor(255);
        for (TLabel* l : {Label15, Label31, Label33}) l->SetFontColor(font);
        const int e = EdgeCount / 2;
        const float all = float(ImageSize) * ImageSize;
        AreaKm2 = (FillCount + e) / all * ViewWidthKm * ViewHeightKm;
        const float perimeter = float(EdgeCount) / ImageSize * ViewWidthKm * 1.11f;
        Label31->SetCaption(AreaText(AreaKm2));
        Label15->SetCaption(LengthText(perimeter));
    }
    Keisoku->Close();
}
