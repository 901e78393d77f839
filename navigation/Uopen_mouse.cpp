// The map image's mouse press: the map's own steps and the armed tool's.
#include "engine/Coords.h"
#include "engine/Settings.h"
#include "engine/Uopen.h"
#include "navigation/MainFormNavigation.h"
#include "navigation/AreaCount.h"
#include "navigation/NavigationTools.h"
#include "navigation/Ukeisoku.h"
#include "navigation/Usettei.h"
#include "navigation/XorStrokes.h"

namespace {

bool InsideLegend(const TOpen& o, int X, int Y) {
    return o.LegendShown && o.LegendLeft < X && X < o.LegendRight && o.LegendTop < Y && Y < o.LegendBottom;
}

// The scale bar keeps its box in 600-pixel units; the grab margin grows with the image.
bool InsideScaleBar(const TOpen& o, int X, int Y) {
    if (!o.ScaleShown) return false;
    const float k = o.ImageSize / 600.0f;
    const int left = TruncToInt((StyleOf(o).scl_x1 - 5) * k), right = TruncToInt((StyleOf(o).ScaleRight + 5) * k);
    const int top = TruncToInt((StyleOf(o).scly1 - 5) * k), bottom = TruncToInt((StyleOf(o).ScaleBottom + 5) * k);
    return left < X && X < right && top < Y && Y < bottom;
}

} // namespace

// The map's own steps are few: nothing before a map, the settings on the right
// button, the legend and scale-bar grabs, a distance when nothing else takes
// the press. Everything else is the armed tool's; a few tools take the press
// before the grabs, and a tool may let it go on.
void TOpen::Image1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
    const MapEvent e = EventAt(Button, X, Y);
    if (!gate.MapShown) return;
    if (Button == mbRight) {
        Settei->Show();
        return;
    }
    MapTool* tool = tools.ActiveTool();
    if (tool && tool->BeforeGrabs()) {
        if (!tool->Press(e)) return;
        tool = nullptr;
    }
    // A press outside a box lets go of any grab left over.
    if ((LegendDrag = InsideLegend(*this, X, Y))) return;
    if ((ScaleDrag = InsideScaleBar(*this, X, Y))) return;
    if (tool && !tool->Press(e)) return;
    PressDistanceStart(X, Y);
}

void TOpen::PressDistanceStart(int X, int Y) {
    ui.Label15->SetFontColor(clRed);
    ui.Label31->SetFontColor(clRed);
    ui.Label33->SetFontColor(clRed);
    DistanceMode = 1;
    DistAnchorX = DistStartX = X;
    DistAnchorY = DistStartY = Y;
    // The distance is measured from the pressed point, even with no move before the press.
    const MapPoint p = PointAt(X, Y);
    PointerLon = p.lon;
    PointerLat = p.lat;
    ui.Label17->SetCaption("距離");
    if (!RouteDone) ui.Label15->SetCaption(DistanceText(0));
}

void TOpen::BtnCenterClick(TObject* Sender) {
    tools.SetTool(std::make_unique<CentreTool>(*this));
    ui.BtnCenter->SetEnabled(false);
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
    ui.CBChiri->SetChecked(false);
    Keisoku->Close();
}

void TOpen::MeasureAreaAt(int X, int Y) {
    // The image grew while the measurement was armed: refused, and the measurement ends.
    if (!AreaImageFits(*this)) {
        if (tools.ToolAs<AreaTool>()) Button14Click(*this, this);
        return;
    }
    Keisoku->ShowWait("指定領域の面積を計算しています．．．");
    TCanvas& cv = *ui.Image1->Canvas();
    AreaCount& a = AreaCountOf(*this);
    if (CountAreaPixels(*this, cv, cv.Pixels(X, Y), X, Y)) {
        const TColor font = a.OpenRegion ? TColor(65535) : TColor(255);
        for (TLabel* l : {ui.Label15, ui.Label31, ui.Label33}) l->SetFontColor(font);
        const int e = a.EdgeCount / 2;
        const float all = float(ImageSize) * ImageSize;
        a.AreaKm2 = (a.FillCount + e) / all * ViewWidthKm * ViewHeightKm;
        const float perimeter = float(a.EdgeCount) / ImageSize * ViewWidthKm * 1.11f;
        ui.Label31->SetCaption(AreaText(a.AreaKm2));
        ui.Label15->SetCaption(LengthText(perimeter));
    }
    Keisoku->Close();
}
