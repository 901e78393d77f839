// Measuring on the drawn map: route length and enclosed area, the area of a
// region of one colour, and the land area of the whole displayed map.
#include "engine/Coords.h"
#include "engine/Uopen.h"
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
    for (TLabel* l : {o.Label15, o.Label31, o.Label33}) l->SetFontColor(clRed);
}

void ZeroReadouts(TOpen& o) {
    o.Label31->SetCaption(gui::Format("%8.2f km", 0.0));
    o.Label15->SetCaption(TOpen::DistanceText(0));
}

} // namespace

void TOpen::BtnMultiClick(TObject* Sender) {
    // Pressed while a route runs, it drops that route and starts afresh
    // (Esc or a double-click ends a route with its length instead).
    if (auto* route = ToolAs<RouteTool>()) {
        Timer2->SetEnabled(false);
        route->Finished = true;
    }
    SetTool(std::make_unique<RouteTool>(*this));
    RouteDone = false;
    DistanceMode = 0;
    RedFonts(*this);
    RoutePointCount = 0;
    DisableMapControls();
    BtnMulti->SetEnabled(true);
    Label15->SetCaption(DistanceText(0));
    Label17->SetCaption("距離");
    Label31->SetCaption(gui::Format("   計測中 %d", 0));
    Label33->SetVisible(false);
    PagesDlg->CursorId = 301;
    Image1->SetCursor(301);
}

float TOpen::RouteLengthKm() {
    float km = 0;
    for (int i = 0; i + 1 < RoutePointCount && i + 1 < ROUTE_MAX; ++i) {
        const MapPoint a = PointAt(RouteX[i], RouteY[i]), b = PointAt(RouteX[i + 1], RouteY[i + 1]);
        km += GreatCircleKm(a.lat, a.lon, b.lat, b.lon);
    }
    Label15->SetCaption(DistanceText(km));
    return km;
}

// Trapezoids between each edge and the parallel through the route's lowest
// point, on the sphere; the signs of the widths cancel what lies outside.
float TOpen::RouteAreaKm2() {
    const int n = std::clamp(RoutePointCount, 0, ROUTE_MAX - 1);
    float sum = 0;
    if (n > 0) {
        const int ymax = *std::max_element(RouteY, RouteY + n);
        const float b = PointAt(0, ymax).lat;
        RouteX[n] = RouteX[0];
        RouteY[n] = RouteY[0];
        for (int i = 0; i < n; ++i) {
            const MapPoint p1 = PointAt(RouteX[i], RouteY[i]), p2 = PointAt(RouteX[i + 1], RouteY[i + 1]);
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
    Label31->SetCaption(AreaText(area));
    Label33->SetVisible(true);
    return area;
}

void TOpen::Timer2Timer(TObject* Sender) {
    TCanvas* cv = Image1->Canvas();
    if (RoutePointCount == 0) {
        xorstrokes::XorPen(cv, clRed, 3);
        cv->MoveTo(RouteX[0], RouteY[0]);
        Label33->SetVisible(false);
        RoutePointCount = 1;
        return;
    }
    const int last = RoutePointCount - 1;
    cv->MoveTo(RouteX[last], RouteY[last]);
    cv->LineTo(RouteLastX, RouteLastY);
    RouteX[RoutePointCount] = RouteLastX;
    RouteY[RoutePointCount] = RouteLastY;
    RoutePointCount++;
    // The last entry stays free for the copy of point 0 that closes the route;
    // a full route ends like any other, with its length and area on view.
    if (RoutePointCount >= ROUTE_MAX - 1) {
        Timer2->SetEnabled(false);
        MessageBox("測点経路のデータ数が多すぎます　　　", "測点経路エラー", MB_OK);
        FinishTimedRoute();
        return;
    }
    const int n = RoutePointCount - 1;
    if (RoutePointCount > 10 && std::abs(RouteX[n] - RouteX[0]) < 5 && std::abs(RouteY[n] - RouteY[0]) < 5) {
        // Back at the start: the route closes by itself.
        FinishTimedRoute();
        return;
    }
    Label31->SetCaption(gui::Format("   計測中 %d", RoutePointCount));
    RouteLengthKm();
}

void TOpen::FinishTimedRoute() {
    Timer2->SetEnabled(false);
    RouteAreaKm2();
    RouteLengthKm();
    CBTimer->SetChecked(false);
    FinishRoute();
}

// A finished route leaves its read-out and gives the map back to the other tools.
void TOpen::FinishRoute() {
    if (auto* route = ToolAs<RouteTool>()) {
        // The tool's end comes back here once it is no longer armed.
        route->Finished = true;
        EndActiveTool();
        return;
    }
    DistanceMode = 0;
    RouteDone = true;
    Image1->Canvas()->Pen->Mode = pmCopy;
    DrawMap();
    PagesDlg->CursorId = 0;
    Image1->SetCursor(crDefault);
    EnableMapControls();
}

AreaCount& AreaCountOf(TOpen& o) { return o.Parts.Get<AreaCount>(); }

// A larger image is refused before anything is armed, with what to choose instead.
bool AreaImageFits(const TOpen& o) {
    if (o.ImageSize <= AreaCount::VISIT_SIZE) return true;
    MessageBox("画像サイズ600以上では処理できません\n\n「画像ｻｲｽﾞ」で600以下を選んでから測定してください",
               "画像サイズエラー", MB_OK | MB_ICONEXCLAMATION);
    return false;
}

void TOpen::Button14Click(TObject* Sender) {
    const bool armed = ToolAs<AreaTool>() != nullptr;
    if (!armed && !AreaImageFits(*this)) return;
    if (CBNokori->Checked()) {
        MeasureDisplayedArea();
        return;
    }
    RedFonts(*this);
    if (armed) {
        EndActiveTool();
        return;
    }
    EndActiveTool();
    AreaFillColor = DefAreaFillColor;
    SetTool(std::make_unique<AreaTool>(*this));
    Button14->SetHint("面積測定終了");
    Button14->SetCaption("終り");
    AreaCountOf(*this).Clear();
    Label31->SetCaption(gui::Format("%8.0f km", 0.0));
    Label15->SetCaption(DistanceText(0));
    Label17->SetCaption("周長");
    DisableMapControls();
    for (QWidget* w : std::initializer_list<QWidget*>{Panel1, CBPrefBorder, CBTownBorder, CBLonLat, Button14})
        w->setEnabled(true);
    CBNokori->SetEnabled(false);
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
    const uint32_t target = ToPixel(c) & 0xFFFFFF, fill = ToPixel(o.AreaFillColor);
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

void TOpen::MeasureDisplayedArea() {
    if (SelectCode[0] == 50 || SelectCode[0] == 51) {
        MessageBox("領域が広すぎて測定できません　　　　　", "測定範囲エラー", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    // Texts would break the regions: the redraw leaves them out.
    kokudo->SetChecked(false);
    ken_name->SetChecked(false);
    if (CBTownName->Checked())
        CBTownName->SetChecked(false);   // its handler redraws
    else
        DrawMap();
    Keisoku->ShowWait("表示された領域の総面積を計算しています．．．");
    ZeroReadouts(*this);
    AreaCount& a = AreaCountOf(*this);
    a.Clear();
    TCanvas& cv = *Image1->Canvas();
    if (CountAreaPixels(*this, cv, cv.Pixels(5, 5), 5, 5)) {
        const float all = float(ImageSize) * ImageSize, view = ViewWidthKm * ViewHeightKm;
        const float sea = a.FillCount + a.EdgeCount * 0.65f + ImageSize * 4;
        Label31->SetCaption(AreaText(view - sea / all * view));
        Label17->SetCaption("周長");
        Label15->SetCaption(LengthText(float(a.EdgeCount) / ImageSize * ViewWidthKm * 1.11f));
    }
    kokudo->SetChecked(true);
    ken_name->SetChecked(true);
    if (SELECT == 1) CBTownName->SetChecked(true);
    DrawMap();
    Keisoku->Close();
}
