// Measuring on the drawn map: route length and enclosed area, the area of a
// region of one colour, and the land area of the whole displayed map.
#include "engine/Coords.h"
#include "engine/Uopen.h"
#include "navigation/MainFormNavigation.h"
#include "labels/Upagesdlg.h"
#include "navigation/AreaCount.h"
#include "navigation/NavigationTools.h"
#include "navigation/Ukeisoku.h"
#include "navigation/XorStrokes.h"
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

void RedFonts(TOpen& o) {
    for (TLabel* l : {UiOf(o).Label15, UiOf(o).Label31, UiOf(o).Label33}) l->SetFontColor(clRed);
}

void ZeroReadouts(TOpen& o) {
    UiOf(o).Label31->SetCaption(gui::Format("%8.2f km", 0.0));
    UiOf(o).Label15->SetCaption(TOpen::DistanceText(0));
}

} // namespace

void BtnMultiClick(TOpen& o, TObject* Sender) {
    // Pressed while a route runs, it drops that route and starts afresh
    // (Esc or a double-click ends a route with its length instead).
    if (auto* route = ToolsOf(o).ToolAs<RouteTool>()) {
        UiOf(o).Timer2->SetEnabled(false);
        route->Finished = true;
    }
    ToolsOf(o).SetTool(std::make_unique<RouteTool>(o));
    o.RouteDone = false;
    o.DistanceMode = 0;
    RedFonts(o);
    o.RoutePointCount = 0;
    o.DisableMapControls();
    UiOf(o).BtnMulti->SetEnabled(true);
    UiOf(o).Label15->SetCaption(o.DistanceText(0));
    UiOf(o).Label17->SetCaption("距離");
    UiOf(o).Label31->SetCaption(gui::Format("   計測中 %d", 0));
    UiOf(o).Label33->SetVisible(false);
    PagesDlg->CursorId = 301;
    UiOf(o).Image1->SetCursor(301);
}

float RouteLengthKm(TOpen& o) {
    float km = 0;
    for (int i = 0; i + 1 < o.RoutePointCount && i + 1 < RouteState::ROUTE_MAX; ++i) {
        const TOpen::MapPoint a = o.PointAt(RouteOf(o).RouteX[i], RouteOf(o).RouteY[i]), b = o.PointAt(RouteOf(o).RouteX[i + 1], RouteOf(o).RouteY[i + 1]);
        km += GreatCircleKm(a.lat, a.lon, b.lat, b.lon);
    }
    UiOf(o).Label15->SetCaption(o.DistanceText(km));
    return km;
}

// Trapezoids between each edge and the parallel through the route's lowest
// point, on the sphere; the signs of the widths cancel what lies outside.
float RouteAreaKm2(TOpen& o) {
    const int n = std::clamp(o.RoutePointCount, 0, RouteState::ROUTE_MAX - 1);
    float sum = 0;
    if (n > 0) {
        const int ymax = *std::max_element(RouteOf(o).RouteY, RouteOf(o).RouteY + n);
        const float b = o.PointAt(0, ymax).lat;
        RouteOf(o).RouteX[n] = RouteOf(o).RouteX[0];
        RouteOf(o).RouteY[n] = RouteOf(o).RouteY[0];
        for (int i = 0; i < n; ++i) {
            const TOpen::MapPoint p1 = o.PointAt(RouteOf(o).RouteX[i], RouteOf(o).RouteY[i]), p2 = o.PointAt(RouteOf(o).RouteX[i + 1], RouteOf(o).RouteY[i + 1]);
            const float lon1 = p1.lon, lat1 = p1.lat, lon2 = p2.lon, lat2 = p2.lat;
            const float m = (lat1 + lat2) / 2;
            float w = GreatCircleKm(m, lon1, m, lon2);
            if (!(lon2 > lon1)) w = -w;
            const float h1 = GreatCircleKm(b, lon1, lat1, lon1);
            const float h2 = GreatCircleKm(b, lon1, lat2, lon1);
            sum += (h1 + h2) * w * 0.5f;
        }
    }
    const float area = std::fabs(sum);
    UiOf(o).Label31->SetCaption(o.AreaText(area));
    UiOf(o).Label33->SetVisible(true);
    return area;
}

void Timer2Timer(TOpen& o, TObject* Sender) {
    TCanvas* cv = UiOf(o).Image1->Canvas();
    if (o.RoutePointCount == 0) {
        xorstrokes::XorPen(cv, clRed, 3);
        cv->MoveTo(RouteOf(o).RouteX[0], RouteOf(o).RouteY[0]);
        UiOf(o).Label33->SetVisible(false);
        o.RoutePointCount = 1;
        return;
    }
    const int last = o.RoutePointCount - 1;
    cv->MoveTo(RouteOf(o).RouteX[last], RouteOf(o).RouteY[last]);
    cv->LineTo(RouteOf(o).RouteLastX, RouteOf(o).RouteLastY);
    RouteOf(o).RouteX[o.RoutePointCount] = RouteOf(o).RouteLastX;
    RouteOf(o).RouteY[o.RoutePointCount] = RouteOf(o).RouteLastY;
    o.RoutePointCount++;
    // The last entry stays free for the copy of point 0 that closes the route;
    // a full route ends like any other, with its length and area on view.
    if (o.RoutePointCount >= RouteState::ROUTE_MAX - 1) {
        UiOf(o).Timer2->SetEnabled(false);
        MessageBox("測点経路のデータ数が多すぎます　　　", "測点経路エラー", MB_OK);
        FinishTimedRoute(o);
        return;
    }
    const int n = o.RoutePointCount - 1;
    if (o.RoutePointCount > 10 && std::abs(RouteOf(o).RouteX[n] - RouteOf(o).RouteX[0]) < 5 && std::abs(RouteOf(o).RouteY[n] - RouteOf(o).RouteY[0]) < 5) {
        // Back at the start: the route closes by itself.
        FinishTimedRoute(o);
        return;
    }
    UiOf(o).Label31->SetCaption(gui::Format("   計測中 %d", o.RoutePointCount));
    RouteLengthKm(o);
}

void FinishTimedRoute(TOpen& o) {
    UiOf(o).Timer2->SetEnabled(false);
    RouteAreaKm2(o);
    RouteLengthKm(o);
    UiOf(o).CBTimer->SetChecked(false);
    FinishRoute(o);
}

// A finished route leaves its read-out and gives the map back to the other tools.
void FinishRoute(TOpen& o) {
    if (auto* route = ToolsOf(o).ToolAs<RouteTool>()) {
        // The tool's end comes back here once it is no longer armed.
        route->Finished = true;
        ToolsOf(o).EndActiveTool();
        return;
    }
    o.DistanceMode = 0;
    o.RouteDone = true;
    UiOf(o).Image1->Canvas()->Pen->Mode = pmCopy;
    RedrawMap(o);
    PagesDlg->CursorId = 0;
    UiOf(o).Image1->SetCursor(crDefault);
    o.EnableMapControls();
}

AreaCount& AreaCountOf(TOpen& o) { return PartsOf(o).Get<AreaCount>(); }

// A larger image is refused before anything is armed, with what to choose instead.
bool AreaImageFits(const TOpen& o) {
    if (o.ImageSize <= AreaCount::VISIT_SIZE) return true;
    MessageBox("画像サイズ600以上では処理できません\n\n「画像ｻｲｽﾞ」で600以下を選んでから測定してください",
               "画像サイズエラー", MB_OK | MB_ICONEXCLAMATION);
    return false;
}

void Button14Click(TOpen& o, TObject* Sender) {
    const bool armed = ToolsOf(o).ToolAs<AreaTool>() != nullptr;
    if (!armed && !AreaImageFits(o)) return;
    if (UiOf(o).CBNokori->Checked()) {
        MeasureDisplayedArea(o);
        return;
    }
    RedFonts(o);
    if (armed) {
        ToolsOf(o).EndActiveTool();
        return;
    }
    ToolsOf(o).EndActiveTool();
    StyleOf(o).AreaFillColor = StyleOf(o).DefAreaFillColor;
    ToolsOf(o).SetTool(std::make_unique<AreaTool>(o));
    UiOf(o).Button14->SetHint("面積測定終了");
    UiOf(o).Button14->SetCaption("終り");
    AreaCountOf(o).Clear();
    UiOf(o).Label31->SetCaption(gui::Format("%8.0f km", 0.0));
    UiOf(o).Label15->SetCaption(o.DistanceText(0));
    UiOf(o).Label17->SetCaption("周長");
    o.DisableMapControls();
    for (QWidget* w : std::initializer_list<QWidget*>{UiOf(o).Panel1, UiOf(o).CBPrefBorder, UiOf(o).CBTownBorder, UiOf(o).CBLonLat, UiOf(o).Button14})
        w->setEnabled(true);
    UiOf(o).CBNokori->SetEnabled(false);
}

// Counts the 4-connected region of colour c from (x, y) and repaints it:
// the same counts as a recursive flood, on an explicit stack. A pixel on the
// image edge is never counted; reaching one marks the region as open.
// False when the image is beyond the visit map (after telling the user).
bool CountAreaPixels(TOpen& o, TCanvas& cv, TColor c, int x, int y) {
    constexpr int VISIT_SIZE = AreaCount::VISIT_SIZE;
    AreaCount& a = AreaCountOf(o);
    QImage& img = cv.Image();
    const int last = std::min({o.ImageSize, img.width(), img.height()}) - 1;
    if (!AreaImageFits(o)) return false;
    if (x < 0 || y < 0 || x >= VISIT_SIZE || y >= VISIT_SIZE || x > last || y > last) return false;
    uchar* bits = img.bits();
    const qsizetype bpl = img.bytesPerLine();
    const uint32_t target = ToPixel(c) & 0xFFFFFF, fill = ToPixel(StyleOf(o).AreaFillColor);
    auto px = [&](int px, int py) -> uint32_t& { return reinterpret_cast<uint32_t*>(bits + py * bpl)[px]; };
    uint8_t* visit = a.VisitMap.data();
    auto edge = [last](int px, int py) { return px == 0 || py == 0 || px == last || py == last; };

    if (visit[x * VISIT_SIZE + y]) return true;
    if (edge(x, y)) {
        a.OpenRegion = true;
        return true;
    }
    std::vector<uint32_t> stack;
    stack.reserve(4096);
    visit[x * VISIT_SIZE + y] = 1;
    stack.push_back(uint32_t(x) << 16 | uint32_t(y));
    while (!stack.empty()) {
        const int cx = int(stack.back() >> 16), cy = int(stack.back() & 0xFFFF);
        stack.pop_back();
        px(cx, cy) = fill;
        a.FillCount++;
        const int nx[4] = {cx - 1, cx + 1, cx, cx}, ny[4] = {cy, cy, cy - 1, cy + 1};
        for (int k = 0; k < 4; ++k) {
            uint8_t& v = visit[nx[k] * VISIT_SIZE + ny[k]];
            if (v) continue;
            if ((px(nx[k], ny[k]) & 0xFFFFFF) != target) {
                a.EdgeCount++;
                v = 1;
            } else if (edge(nx[k], ny[k])) {
                a.OpenRegion = true;
            } else {
                v = 1;
                stack.push_back(uint32_t(nx[k]) << 16 | uint32_t(ny[k]));
            }
        }
    }
    cv.Changed();
    return true;
}

void MeasureDisplayedArea(TOpen& o) {
    if (DocOf(o).SelectCode[0] == 50 || DocOf(o).SelectCode[0] == 51) {
        MessageBox("領域が広すぎて測定できません　　　　　", "測定範囲エラー", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    // Texts would break the regions: the redraw leaves them out.
    UiOf(o).kokudo->SetChecked(false);
    UiOf(o).ken_name->SetChecked(false);
    if (UiOf(o).CBTownName->Checked())
        UiOf(o).CBTownName->SetChecked(false);   // its handler redraws
    else
        RedrawMap(o);
    Keisoku->ShowWait("表示された領域の総面積を計算しています．．．");
    ZeroReadouts(o);
    AreaCount& a = AreaCountOf(o);
    a.Clear();
    TCanvas& cv = *UiOf(o).Image1->Canvas();
    if (CountAreaPixels(o, cv, cv.Pixels(5, 5), 5, 5)) {
        const float all = float(o.ImageSize) * o.ImageSize, view = o.ViewWidthKm * o.ViewHeightKm;
        const float sea = a.FillCount + a.EdgeCount * 0.65f + o.ImageSize * 4;
        UiOf(o).Label31->SetCaption(o.AreaText(view - sea / all * view));
        UiOf(o).Label17->SetCaption("周長");
        UiOf(o).Label15->SetCaption(o.LengthText(float(a.EdgeCount) / o.ImageSize * o.ViewWidthKm * 1.11f));
    }
    UiOf(o).kokudo->SetChecked(true);
    UiOf(o).ken_name->SetChecked(true);
    if (DocOf(o).SELECT == 1) UiOf(o).CBTownName->SetChecked(true);
    RedrawMap(o);
    Keisoku->Close();
}

RouteState& RouteOf(TOpen& o) { return PartsOf(o).Get<RouteState>(); }
const RouteState& RouteOf(const TOpen& o) { return PartsOf(o).Get<RouteState>(); }
