#include "output/PageLayout.h"
#include <algorithm>
#include <cmath>

namespace output {

namespace {

constexpr double kEarthKm = 6371;   // the sphere every distance of the program is measured on
constexpr double kDegree = 3.14159265358979323846 / 180;

// The denominator at which the screen's square just fits into the frame.
double FitScale(const QRectF& frame, const MapView& screen) {
    const double side = std::min(frame.width(), frame.height());   // mm
    const double km = screen.size / double(screen.scaleX) * KmPerMapX(screen.cy);
    return km * 1e6 / side;
}

} // namespace

const char* PageItemName(int item) {
    static const char* const names[PAGE_ITEMS] = {"表題", "副題", "凡例", "縮尺記号", "出典", "方位記号"};
    return item >= 0 && item < PAGE_ITEMS ? names[item] : "";
}

const char* AnchorName(int anchor) {
    static const char* const names[ANCHORS] = {"左上", "上", "右上", "左下", "下", "右下"};
    return anchor >= 0 && anchor < ANCHORS ? names[anchor] : "";
}

double KmPerMapX(int32_t y) { return kEarthKm * kDegree * 1e-4 * std::cos(double(LatOf(y)) * kDegree); }
double KmPerMapY() { return kEarthKm * kDegree / 15000; }

QRectF PlaceBox(const QRectF& printable, const PagePlace& place, QSizeF size) {
    const double dx = place.dx / 10.0, dy = place.dy / 10.0;
    const int a = std::clamp(place.anchor, 0, ANCHORS - 1);
    const int column = a % 3;   // left, middle, right
    const bool bottom = a >= ANCHOR_BOTTOM_LEFT;
    const double x = column == 0   ? printable.left() + dx
                     : column == 1 ? printable.center().x() - size.width() / 2 + dx
                                   : printable.right() - dx - size.width();
    const double y = bottom ? printable.bottom() - dy - size.height() : printable.top() + dy;
    return QRectF(QPointF(x, y), size);
}

PagePlace PlaceAt(const QRectF& printable, int anchor, QSizeF size, QPointF topLeft) {
    PagePlace p;
    p.anchor = std::clamp(anchor, 0, ANCHORS - 1);
    const QRectF at = PlaceBox(printable, p, size);   // the box with no offset
    const int column = p.anchor % 3;
    const double dx = column == 2 ? at.left() - topLeft.x() : topLeft.x() - at.left();
    const double dy = p.anchor >= ANCHOR_BOTTOM_LEFT ? at.top() - topLeft.y() : topLeft.y() - at.top();
    auto tenths = [](double mm) { return int(std::lround(std::clamp(mm * 10, -double(kMaxPageOffset), double(kMaxPageOffset)))); };
    p.dx = tenths(dx);
    p.dy = tenths(dy);
    return p;
}

PageComposition ComposePage(const PageLayout& layout, const PageSheet& sheet, const MapView& screen,
                            const QSizeF (&sizes)[PAGE_ITEMS]) {
    PageComposition c;
    c.frame = sheet.printable;
    if (c.frame.width() < 10 || c.frame.height() < 10 || !(screen.scaleX > 0) || !(screen.scaleY > 0) || screen.size <= 0) {
        c.message = "用紙に地図を置く場所がありません";
        return c;
    }
    if (layout.fixedScale && (layout.scale < kMinPageScale || layout.scale > kMaxPageScale)) {
        c.message = "縮尺は 1:" + Thousands(kMinPageScale) + " から 1:" + Thousands(kMaxPageScale) + " の間で指定してください";
        return c;
    }
    const double wide = c.frame.width() * kPageDotsPerMm, high = c.frame.height() * kPageDotsPerMm;
    c.view = screen;
    if (layout.fixedScale) {
        c.scale = layout.scale;
        c.view.scaleX = float(1e6 * kPageDotsPerMm * KmPerMapX(screen.cy) / c.scale);
        c.view.scaleY = float(1e6 * kPageDotsPerMm * KmPerMapY() / c.scale);
        const double fit = FitScale(c.frame, screen);
        if (c.scale < fit * (1 - 1e-9))
            c.message = "縮尺 1:" + Thousands(c.scale) + " では地図の全体は用紙に入らず、中央の部分だけが入ります（全体が入るのは 1:" +
                        Thousands(int64_t(std::ceil(fit))) + " から）";
    } else {
        // The screen's square across the frame's shorter side; the longer side shows more of the map.
        const double k = std::min(wide, high) / screen.size;
        c.view.scaleX = float(screen.scaleX * k);
        c.view.scaleY = float(screen.scaleY * k);
        c.scale = 1e6 * kPageDotsPerMm * KmPerMapX(screen.cy) / c.view.scaleX;
    }
    c.view.size = int32_t(std::ceil(std::max(wide, high))) + 2;
    c.mmPerPixel = 1 / kPageDotsPerMm;
    const int half = c.view.size / 2;   // the centre's pixel corner, as the view puts it
    c.mapOrigin = c.frame.center() - QPointF(half, half) * c.mmPerPixel;
    for (int k = 0; k < PAGE_ITEMS; ++k) {
        c.drawn[k] = layout.places[k].shown && !sizes[k].isEmpty();
        if (c.drawn[k]) c.boxes[k] = PlaceBox(c.frame, layout.places[k], sizes[k]);
    }
    c.ok = true;
    return c;
}

ScaleBarPlan PlanScaleBar(double scale) {
    ScaleBarPlan plan;
    if (!(scale > 0) || !std::isfinite(scale)) return plan;
    // The longest bar of whole steps (1, 2 or 5 times a power of ten) not over 60 mm.
    constexpr double kLongestMm = 60;
    int64_t step = 1;
    int segments = 5;
    for (int64_t power = 1; power <= 1000000000LL; power *= 10)
        for (int digit : {1, 2, 5}) {
            const int n = digit == 5 ? 4 : 5;
            if (double(n * digit * power) * 1000 / scale <= kLongestMm) step = digit * power, segments = n;
        }
    plan.segments = segments;
    plan.segmentMm = double(step) * 1000 / scale;
    const bool km = step % 1000 == 0;
    for (int i = 0; i <= segments; ++i) {
        const int64_t v = km ? i * step / 1000 : i * step;
        plan.labels.push_back(std::to_string(v) + (i == segments ? (km ? "km" : "m") : ""));
    }
    return plan;
}

std::string PageCredit(bool lakes, bool railways, bool mountains, bool oldTowns) {
    std::string s = "出典：「国土数値情報（行政区域データ）」";
    if (lakes) s += "「国土数値情報（湖沼データ）」";
    if (railways) s += "「国土数値情報（鉄道データ）」";
    s += "（国土交通省）";
    if (mountains) s += "、国土地理院「日本の主な山岳標高」";
    if (oldTowns) s += "、「歴史的行政区域データセットβ版」（CODH作成、CC BY-SA 4.0）";
    return s + "を加工して作成";
}

std::string Thousands(int64_t n) {
    std::string digits = std::to_string(n < 0 ? -n : n), out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return n < 0 ? "-" + out : out;
}

} // namespace output
