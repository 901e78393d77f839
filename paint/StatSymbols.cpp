#include "paint/StatSymbols.h"
#include "engine/MapDocument.h"
#include "paint/StatLayer.h"
#include "paint/Ustatmap.h"
#include <algorithm>
#include <cmath>
#include <map>

StatValueLayer* StatValuesOnMap = nullptr;

namespace {

// The block's numbers by code, in a map the marks can look up.
double Lookup(const std::vector<std::pair<int32_t, double>>& v, int32_t code) {
    const auto it = std::lower_bound(v.begin(), v.end(), code, [](const auto& p, int32_t c) { return p.first < c; });
    return it != v.end() && it->first == code ? it->second : NAN;
}

std::vector<int> ByMagnitude(const std::vector<StatMarks::Mark>& marks, double StatMarks::Mark::*field) {
    std::vector<int> order;
    for (int i = 0; i < int(marks.size()); ++i)
        if (std::isfinite(marks[size_t(i)].*field)) order.push_back(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return std::abs(marks[size_t(a)].*field) > std::abs(marks[size_t(b)].*field);
    });
    return order;
}

// The largest round number of one significant figure not above v.
double OneFigure(double v) {
    if (!(v > 0)) return 0;
    const double p = std::pow(10.0, std::floor(std::log10(v)));
    const double d = std::floor(v / p + 1e-9);
    return std::max(1.0, d) * p;
}

TPoint Pixel(const MapView& view, double x, double y) {
    TPoint p;
    view.ToScreen(int32_t(std::lround(x)), int32_t(std::lround(y)), p.x, p.y);
    return p;
}

bool Inside(const TPoint& p, const MapView& view) { return p.x >= 0 && p.y >= 0 && p.x < view.size && p.y < view.size; }

StatNumberFormat KeyFormat(const StatMapBlock& b, double v) { return {v >= 1 ? 0 : b.decimals, b.thousands}; }

} // namespace

void StatMarks::Update(const StatMapBlock& b, const std::vector<int>& areas, int year, const std::string& appDir) {
    if (areas == madeAreas && year == madeYear && b == made) return;
    if (areas != unitsAreas || year != unitsYear) {
        units = LoadStatUnits(appDir, areas, year);
        unitsAreas = areas;
        unitsYear = year;
    }
    made = b;
    madeAreas = areas;
    madeYear = year;
    marks.clear();
    // A row that stands for a designated city or a prefecture is one mark at the mean of its units' points.
    std::map<std::string, size_t> group;
    std::vector<int> members;
    for (const StatUnit& u : units.units) {
        if (u.points.empty()) continue;
        const int32_t code = int32_t(std::stoi(u.code));
        std::string key = u.code;
        if (b.level == kLevelPref) key = "p" + std::to_string(u.pref);
        else if (b.level == kLevelCity && !u.city.empty()) key = "c" + std::to_string(u.pref) + u.city;
        auto [it, fresh] = group.emplace(key, marks.size());
        if (fresh) {
            marks.push_back({0, 0, Lookup(b.SizeValues(), code), Lookup(b.values, code)});
            members.push_back(0);
        }
        Mark& m = marks[it->second];
        int& n = members[it->second];
        m.x += (u.points[0].x - m.x) / (n + 1);
        m.y += (u.points[0].y - m.y) / (n + 1);
        ++n;
    }
    bySize = ByMagnitude(marks, &Mark::size);
    byValue = ByMagnitude(marks, &Mark::value);
    largest = bySize.empty() ? 0 : std::abs(marks[size_t(bySize[0])].size);
    negative = std::any_of(bySize.begin(), bySize.end(), [&](int i) { return marks[size_t(i)].size < 0; });
}

double StatCircleScale(const StatMapBlock& b, const MapView& view) { return b.radius * view.size / 600.0; }

double StatCircleRadius(double value, double largest, double scale) {
    return largest > 0 ? scale * std::sqrt(std::abs(value) / largest) : 0;
}

std::vector<double> StatKeyValues(double largest) {
    std::vector<double> v;
    for (double share : {1.0, 0.25, 0.05}) {
        const double k = OneFigure(OneFigure(largest) * share);
        if (k > 0 && (v.empty() || k < v.back())) v.push_back(k);
    }
    return v;
}

bool StatCircleLayer::Wanted(const DrawSettings&) const {
    return StatLayerOnMap && StatLayerOnMap->Shown().on && StatLayerOnMap->Shown().circles;
}

void StatCircleLayer::Prepare(const DrawSettings&) {
    marks->Update(StatLayerOnMap->Shown(), TStatMap::SelectedAreas(), StatLayerOnMap->MapYear, MainDoc().AppDir);
}

void StatCircleLayer::Draw(TCanvas& cv, const MapView& view, const DrawSettings& s) {
    const StatMapBlock& b = StatLayerOnMap->Shown();
    const auto looks = b.Slots();
    const double scale = StatCircleScale(b, view), margin = scale;
    cv.Pen->Mode = pmCopy;
    cv.Pen->Style = psSolid;
    // Largest first, each with a white edge, so the small ones stay seen on the large.
    for (int i : marks->bySize) {
        const StatMarks::Mark& m = marks->marks[size_t(i)];
        const double r = StatCircleRadius(m.size, marks->largest, scale);
        TPoint p = Pixel(view, m.x, m.y);
        if (p.x < -margin || p.y < -margin || p.x > view.size + margin || p.y > view.size + margin) continue;
        const StatSlot look = b.circleLook == 1 ? StatSlot{b.circleColour, 0}
                              : std::isfinite(m.value) ? looks[size_t(StatClassOf(m.value, b.breaks))]
                                                       : looks.back();
        if (m.size < 0) {   // hollow, drawn in its colour
            cv.Brush->Style = bsClear;
            cv.Pen->Color = look.colour == 0xFFFFFF ? clBlack : look.colour;
            cv.Pen->Width = std::max(1, int(view.size / 600));
        } else {
            cv.Brush->Style = TBrushStyle(look.pattern);
            cv.Brush->Color = look.colour;
            cv.Pen->Color = clWhite;
            cv.Pen->Width = 1;
        }
        TPointF exact{p.x + 0.5, p.y + 0.5};
        if (cv.Vector) view.ToScreenF(int32_t(std::lround(m.x)), int32_t(std::lround(m.y)), exact.x, exact.y);
        cv.Circle(p.x + 0.5, p.y + 0.5, r, exact);
    }
    cv.Pen->Width = 1;
    if (!s.Inset) drawKey(cv, view);
    cv.Brush->Style = bsSolid;
}

StatCircleKey StatCircleLayer::Key(TCanvas& cv, const MapView& view) const {
    StatCircleKey k;
    const StatMapBlock& b = StatLayerOnMap->Shown();
    k.values = StatKeyValues(marks->largest);
    if (k.values.empty()) return k;
    const double scale = StatCircleScale(b, view), zoom = view.size / 600.0;
    for (double v : k.values) k.radii.push_back(StatCircleRadius(v, marks->largest, scale));
    cv.Font->Name = "IPAGothic";
    cv.Font->Size = std::max(1, int(std::lround(8 * zoom)));
    int textW = cv.TextWidth(b.sizeHeading);
    for (double v : k.values) textW = std::max(textW, int(2 * k.radii[0]) + int(6 * zoom) + cv.TextWidth(KeyFormat(b, v).Text(v)));
    const int th = cv.TextHeight("0"), pad = int(std::lround(6 * zoom)), side = int(std::ceil(2 * k.radii[0]));
    const int w = textW + 2 * pad, h = pad + (b.sizeHeading.empty() ? 0 : th + pad / 2) + side + (marks->negative ? th : 0) + pad;
    const int gap = int(std::lround(10 * zoom));
    k.box = TRect(view.size - w - gap, view.size - h - gap, view.size - gap, view.size - gap);
    k.cx = k.box.Left + pad + int(std::ceil(k.radii[0]));
    k.base = k.box.Top + pad + (b.sizeHeading.empty() ? 0 : th + pad / 2) + side;
    return k;
}

void StatCircleLayer::drawKey(TCanvas& cv, const MapView& view) {
    const StatMapBlock& b = StatLayerOnMap->Shown();
    const StatCircleKey k = Key(cv, view);
    if (k.values.empty()) return;
    const double zoom = view.size / 600.0;
    cv.Brush->Style = bsSolid;
    cv.Brush->Color = clWhite;
    cv.Pen->Color = clBlack;
    cv.Rectangle(k.box);
    const int pad = int(std::lround(6 * zoom)), th = cv.TextHeight("0");
    cv.Brush->Style = bsClear;
    cv.Font->Color = clBlack;
    if (!b.sizeHeading.empty()) cv.TextOut(k.box.Left + pad, k.box.Top + pad, b.sizeHeading);
    // One colour: the circles' own; class colours: a neutral grey, the class being no part of the size.
    const TColor fill = b.circleLook == 1 ? b.circleColour : 0xC0C0C0;
    for (size_t i = 0; i < k.values.size(); ++i) {
        const double r = k.radii[i], cy = k.base - r;
        cv.Brush->Style = bsSolid;
        cv.Brush->Color = fill;
        cv.Pen->Color = i == 0 ? clBlack : clWhite;
        cv.Circle(k.cx, cy, r);
        // Leader from the circle's top to its value on the right.
        const int top = int(std::lround(k.base - 2 * r)), right = k.cx + int(std::ceil(k.radii[0])) + int(3 * zoom);
        cv.Pen->Color = clBlack;
        cv.MoveTo(k.cx, top);
        cv.LineTo(right, top);
        cv.Brush->Style = bsClear;
        cv.TextOut(right + 1, top - th / 2, KeyFormat(b, k.values[i]).Text(k.values[i]));
    }
    if (marks->negative) cv.TextOut(k.box.Left + pad, k.base, "白抜きは負の値");
}

bool StatValueLayer::Wanted(const DrawSettings&) const {
    return StatLayerOnMap && StatLayerOnMap->Shown().on && StatLayerOnMap->Shown().valueLabels;
}

void StatValueLayer::Prepare(const DrawSettings&) {
    marks->Update(StatLayerOnMap->Shown(), TStatMap::SelectedAreas(), StatLayerOnMap->MapYear, MainDoc().AppDir);
}

void StatValueLayer::Draw(TCanvas& cv, const MapView& view, const DrawSettings& s) {
    const StatMapBlock& b = StatLayerOnMap->Shown();
    const StatNumberFormat fmt{b.decimals, b.thousands};
    const double zoom = view.size / 600.0;
    cv.Font->Name = b.labelFont;
    cv.Font->Size = std::max(1, int(std::lround(b.labelSize * zoom)));
    cv.Font->Style = {};
    cv.Brush->Style = bsClear;
    cv.Pen->Mode = pmCopy;
    const int th = cv.TextHeight("0");
    // Placed boxes by the cells of a coarse grid they touch (with the halo's pixel).
    const int cell = std::max(16, th * 4), cells = view.size / cell + 1;
    std::vector<std::vector<TRect>> grid(size_t(cells) * size_t(cells));
    const auto cellsOf = [&](const TRect& r, auto&& f) {
        for (int gy = std::clamp(r.Top / cell, 0, cells - 1); gy <= std::clamp(r.Bottom / cell, 0, cells - 1); ++gy)
            for (int gx = std::clamp(r.Left / cell, 0, cells - 1); gx <= std::clamp(r.Right / cell, 0, cells - 1); ++gx)
                if (f(grid[size_t(gy) * size_t(cells) + size_t(gx)])) return true;
        return false;
    };
    const auto take = [&](const TRect& r) {
        cellsOf(r, [&](std::vector<TRect>& g) {
            g.push_back(r);
            return false;
        });
    };
    const auto overlaps = [&](const TRect& r) {
        return cellsOf(r, [&](std::vector<TRect>& g) {
            return std::any_of(g.begin(), g.end(), [&](const TRect& o) {
                return r.Left < o.Right && o.Left < r.Right && r.Top < o.Bottom && o.Top < r.Bottom;
            });
        });
    };
    // The circles' key is there first.
    if (b.circles && circles) {
        const StatCircleKey k = circles->Key(cv, view);
        if (!k.values.empty()) take(k.box);
        cv.Font->Name = b.labelFont;
        cv.Font->Size = std::max(1, int(std::lround(b.labelSize * zoom)));
    }
    // A number's width from its characters' (digits, separators, signs), each measured once.
    int widths[128] = {};
    const auto widthOf = [&](const std::string& text) {
        int w = 0;
        for (unsigned char ch : text) {
            if (ch >= 128) return cv.TextWidth(text);
            if (!widths[ch]) widths[ch] = std::max(1, cv.TextWidth(std::string(1, char(ch))));
            w += widths[ch];
        }
        return w;
    };
    int placed = 0, wanting = 0;
    for (int i : marks->byValue) {
        const StatMarks::Mark& m = marks->marks[size_t(i)];
        const TPoint p = Pixel(view, m.x, m.y);
        if (!Inside(p, view)) continue;
        ++wanting;
        const std::string text = fmt.Text(m.value);
        const int w = widthOf(text), x = p.x - w / 2, y = p.y - th / 2;
        const TRect box(x - 1, y - 1, x + w + 1, y + th + 1);
        if (overlaps(box)) continue;
        take(box);
        ++placed;
        cv.Font->Color = clWhite;
        for (const auto [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) cv.TextOut(x + dx, y + dy, text);
        cv.Font->Color = clBlack;
        cv.TextOut(x, y, text);
    }
    // The window counts the labels of the map itself, not of an inset drawn after it.
    if (!s.Inset) Placed = placed, Wanting = wanting;
    cv.Brush->Style = bsSolid;
}
