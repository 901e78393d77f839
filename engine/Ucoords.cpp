// TOpen: map units <-> image pixels through the view that drew the image.
#include "engine/Coords.h"
#include "engine/Uopen.h"
#include <algorithm>
#include <cmath>

namespace {

int32_t RoundToInt(double v) { return TruncToInt(v < 0 ? v - 0.5 : v + 0.5); }

} // namespace

void MapView::CornerToMap(int sx, int sy, int32_t& x, int32_t& y) const {
    int half = size / 2;
    sx -= left, sy -= top;
    x = TruncToInt((sx - half) / scaleX + cx);
    y = TruncToInt((half - sy) / scaleY + cy);
}

float MapView::RowKm(int r) const {
    int32_t x1, y1, x2, y2;
    CornerToMap(left, top + r, x1, y1);
    CornerToMap(left + size, top + r, x2, y2);
    const float lat = LatOf(y1);
    return GreatCircleKm(lat, 0, lat, double(int64_t(x2) - x1) * 0.0001);
}

void MapView::CentreToMap(int sx, int sy, int32_t& x, int32_t& y) const {
    if (!(scaleX > 0 && scaleY > 0)) {
        x = cx, y = cy;
        return;
    }
    const double half = size / 2;
    x = RoundToInt(cx + (double(sx) - left + 0.5 - half) / scaleX);
    y = RoundToInt(cy + (half - (double(sy) - top) - 0.5) / scaleY);
}

void MapView::TypedToData(int32_t& x, int32_t& y) const {
    if (wgs) WgsToTokyo(x, y, x, y);
}

void MapView::ToData(int sx, int sy, int32_t& x, int32_t& y) const {
    CentreToMap(sx, sy, x, y);
    if (wgs) WgsToTokyo(x, y, x, y);
    // The two datum conversions truncate, and a pixel's edge may fall between
    // map units: look around for the point that comes back on this pixel, or
    // else the one that comes nearest.
    auto miss = [&](int32_t px, int32_t py) {
        int bx, by;
        ToScreen(px, py, bx, by);
        return int64_t(bx - sx) * (bx - sx) + int64_t(by - sy) * (by - sy);
    };
    int64_t best = miss(x, y);
    if (best == 0) return;
    const int32_t x0 = x, y0 = y;
    for (int r = 1; r <= 2; ++r)
        for (int dy = -r; dy <= r; ++dy)
            for (int dx = -r; dx <= r; ++dx) {
                if (std::abs(dx) != r && std::abs(dy) != r) continue;
                const int64_t m = miss(x0 + dx, y0 + dy);
                if (m >= best) continue;
                best = m, x = x0 + dx, y = y0 + dy;
                if (m == 0) return;
            }
}

// While a line point or a symbol is being placed everything is drawn in the
// stored datum (the map jumps); what is stored does not depend on it.
MapView TOpen::CurrentView() const {
    const MapTool* tool = tools.ActiveTool();
    const bool placing = tool && tool->Placing();
    MapView v;
    v.cx = CX, v.cy = CY;
    v.scaleX = ScaleX, v.scaleY = ScaleY;
    v.size = ImageSize;
    v.wgs = WgsDisplay && !placing;
    return v;
}

void TOpen::MapToScreen(int32_t x, int32_t y, int& sx, int& sy) const { DrawnView.ToScreen(x, y, sx, sy); }

// No datum conversion: a point taken from a WGS map is in WGS map units.
void TOpen::ScreenToMap(int sx, int sy, int32_t& x, int32_t& y) const { ViewAt(sx, sy).CornerToMap(sx, sy, x, y); }

// The one place a pixel of the image picks its view: the inset whose frame holds it, else the map's.
const MapView& TOpen::ViewAt(int sx, int sy) const {
    for (const InsetFrame& f : DrawnInsets)
        if (sx >= f.frame.Left && sx < f.frame.Right && sy >= f.frame.Top && sy < f.frame.Bottom) return f.press;
    return DrawnView;
}

TOpen::MapPoint TOpen::PointAt(int sx, int sy) const {
    MapPoint p;
    ScreenToMap(sx, sy, p.x, p.y);
    p.lon = LonOf(p.x);
    p.lat = LatOf(p.y);
    return p;
}

void TOpen::PressToData(int X, int Y, int32_t& x, int32_t& y) const { ViewAt(X, Y).ToData(X, Y, x, y); }
