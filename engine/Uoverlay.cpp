// Reference overlays of the map: longitude/latitude and mesh grids with their
// degree labels, mesh names, the scale bar, the frame, the area caption, the
// notice line and the municipal offices.
#include "engine/Coords.h"
#include "engine/Settings.h"
#include "engine/Uopen.h"
#include "gui/TextFile.h"
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

// The part of the image the grid lines may start in, and the degrees the view spans.
struct GridBox {
    int left, top, right, bottom;
    int lat0, lat1, lon0, lon1;
};

// What an overlay draws on: the canvas, the view, and the map units of the
// view's corners.
struct Sheet {
    TOpen& o;
    TCanvas* cv;
    const MapView& v;
    int32_t minX = 0, minY = 0, maxX = 0, maxY = 0;
    Sheet(TOpen& o, TCanvas& cv, const MapView& v) : o(o), cv(&cv), v(v) {
        v.CornerToMap(0, v.size, minX, minY);
        v.CornerToMap(v.size, 0, maxX, maxY);
    }
    void ToScreen(int32_t x, int32_t y, int& sx, int& sy) const { v.ToScreen(x, y, sx, sy); }
    // Where a vector device keeps the point: as the map puts it.
    TPointF Exact(int32_t x, int32_t y) const {
        TPointF e;
        if (cv->Vector) v.ToScreenF(x, y, e.x, e.y);
        return e;
    }
};

GridBox GridBoxOf(const Sheet& p) {
    GridBox b;
    p.ToScreen(p.minX, p.minY, b.left, b.bottom);
    p.ToScreen(p.maxX, p.maxY, b.right, b.top);
    if (b.left < 0) b.left = 0;
    if (b.top < 0) b.top = 0;
    const int w = p.v.size, h = p.v.size;
    if (b.right >= w) b.right = w - 1;
    if (b.bottom >= h) b.bottom = h - 1;
    b.lat0 = p.minY / 15000;
    b.lat1 = p.maxY / 15000;
    b.lon0 = p.minX / 10000;
    b.lon1 = p.maxX / 10000;
    return b;
}

bool RowInBox(const Sheet& p, const GridBox& b, int32_t y) {
    int sx, sy;
    p.ToScreen(p.minX, y, sx, sy);
    return b.top <= sy && sy < b.bottom;
}

bool ColumnInBox(const Sheet& p, const GridBox& b, int32_t x) {
    int sx, sy;
    p.ToScreen(x, p.minY, sx, sy);
    return b.left <= sx && sx < b.right;
}

// A grid position computed in 64 bits; one beyond the map units lies beyond
// every view and is not drawn.
bool MapUnit(int64_t v, int32_t& out) {
    if (v < INT32_MIN || v > INT32_MAX) return false;
    out = int32_t(v);
    return true;
}

// The grid's lines, gathered and then drawn in order. A line that a later line
// of the same pen draws again pixel for pixel is left out: on a sane view there
// is none, on the view of a bogus extent (thousands of degrees on 600 pixels)
// nearly all, so the drawing time follows the lines that can be told apart
// while the pixels stay those of drawing every line.
class GridLines {
public:
    explicit GridLines(TCanvas* cv) : cv(cv) {}

    void Add(int x1, int y1, int x2, int y2, TPointF e1, TPointF e2) {
        const TPen& p = *cv->Pen;
        lines.push_back({x1, y1, x2, y2, p.Color, p.Width, p.Style, e1, e2});
    }

    void Flush() {
        const TPen after = *cv->Pen;
        std::vector<char> skip(lines.size(), 0);
        // Only a pen that copies its colour makes a line drawn twice the same as once.
        if (after.Mode == pmCopy) {
            std::unordered_set<Line, LineHash> later;
            for (size_t i = lines.size(); i-- > 0;) skip[i] = !later.insert(lines[i]).second;
        }
        for (size_t i = 0; i < lines.size(); ++i) {
            if (skip[i]) continue;
            const Line& l = lines[i];
            cv->Pen->Color = l.color;
            cv->Pen->Width = l.width;
            cv->Pen->Style = l.style;
            if (cv->Vector) {
                cv->MoveTo(l.x1, l.y1, l.e1);
                cv->LineTo(l.x2, l.y2, l.e2);
            } else {
                cv->MoveTo(l.x1, l.y1);
                cv->LineTo(l.x2, l.y2);
            }
        }
        *cv->Pen = after;
        lines.clear();
    }

private:
    struct Line {
        int x1, y1, x2, y2;
        TColor color;
        int width;
        TPenStyle style;
        TPointF e1, e2;   // the ends for a vector device; the pixels tell lines apart
        bool operator==(const Line& o) const {
            return x1 == o.x1 && y1 == o.y1 && x2 == o.x2 && y2 == o.y2 && color == o.color && width == o.width &&
                   style == o.style;
        }
    };
    struct LineHash {
        size_t operator()(const Line& l) const {
            uint64_t h = 1469598103934665603ull;
            for (int64_t v : {int64_t(l.x1), int64_t(l.y1), int64_t(l.x2), int64_t(l.y2), int64_t(l.color),
                              int64_t(l.width), int64_t(l.style)})
                h = (h ^ uint64_t(v)) * 1099511628211ull;
            return size_t(h);
        }
    };
    TCanvas* cv;
    std::vector<Line> lines;
};

// A line across the view at map y, kept only when its left end lies in the box.
void HorizontalLine(const Sheet& p, const GridBox& b, GridLines& out, int64_t at) {
    int32_t y;
    if (!MapUnit(at, y) || !RowInBox(p, b, y)) return;
    int x1, y1, x2, y2;
    p.ToScreen(p.minX, y, x1, y1);
    p.ToScreen(p.maxX, y, x2, y2);
    out.Add(x1, y1, x2, y2, p.Exact(p.minX, y), p.Exact(p.maxX, y));
}

// A line up the view at map x, kept only when its bottom end lies in the box.
void VerticalLine(const Sheet& p, const GridBox& b, GridLines& out, int64_t at) {
    int32_t x;
    if (!MapUnit(at, x) || !ColumnInBox(p, b, x)) return;
    int x1, y1, x2, y2;
    p.ToScreen(x, p.minY, x1, y1);
    p.ToScreen(x, p.maxY, x2, y2);
    out.Add(x1, y1, x2, y2, p.Exact(x, p.minY), p.Exact(x, p.maxY));
}

// A text at (x, y) whose box takes the colour found at (bx, by).
void TextWithBackground(const Sheet& p, int x, int y, int bx, int by, const std::string& text) {
    TCanvas* cv = p.cv;
    cv->Brush->Color = p.o.PickTextBackground(*cv, bx, by);
    cv->Brush->Style = bsSolid;
    cv->TextOut(x, y, text);
}

// Texts whose boxes take the colour found one pixel inside their top-left
// corners, written in order. A text that the next text of its own edge covers
// (same corner, at least as wide, nothing written over it in between) is left
// out, as the grid lines are: its box would be painted over, and the covering
// text's background is the same colour, read from its box or from below it.
class GridTexts {
public:
    explicit GridTexts(const Sheet& p) : p(p), cv(p.cv) {
        // Where every digit is as wide as 0 (as in the map's font), a text is
        // as wide as the same text with zeros for digits: one measure each.
        tabular = true;
        const int zero = cv->TextWidth("0");
        for (char d = '1'; d <= '9'; ++d) tabular = tabular && cv->TextWidth(std::string(1, d)) == zero;
    }

    void Add(double x, double y, std::string text) {
        texts.push_back({TruncToInt(x), TruncToInt(y), TruncToInt(x + 1), TruncToInt(y + 1), Width(text),
                         std::move(text)});
    }

    void Flush() {
        const int h = cv->TextHeight("0");
        auto meets = [h](const Text& a, const Text& b) {
            return a.x < int64_t(b.x) + b.w && b.x < int64_t(a.x) + a.w && a.y < int64_t(b.y) + h &&
                   b.y < int64_t(a.y) + h;
        };
        for (size_t i = 0; i < texts.size(); ++i) {
            const Text& t = texts[i];
            bool covered = false;
            // The texts go round the edges in turn: the next one of this edge is near.
            for (size_t k = i + 1; k < texts.size() && k <= i + 4; ++k) {
                const Text& n = texts[k];
                if (n.x == t.x && n.y == t.y && n.bx == t.bx && n.by == t.by && n.w >= t.w) {
                    covered = true;
                    break;
                }
                if (meets(t, n)) break;
            }
            if (covered) continue;
            TextWithBackground(p, t.x, t.y, t.bx, t.by, t.text);
        }
        texts.clear();
    }

private:
    struct Text {
        int x, y, bx, by, w;
        std::string text;
    };
    int Width(const std::string& text) {
        if (!tabular) return cv->TextWidth(text);
        std::string key = text;
        for (char& c : key)
            if (c >= '1' && c <= '9') c = '0';
        auto [it, fresh] = widths.try_emplace(key, 0);
        if (fresh) it->second = cv->TextWidth(key);
        return it->second;
    }
    const Sheet& p;
    TCanvas* cv;
    bool tabular = false;
    std::unordered_map<std::string, int> widths;
    std::vector<Text> texts;
};

// A text whose box takes the colour found one pixel inside its top-left corner.
void TextOnMap(const Sheet& p, double x, double y, const std::string& text) {
    TextWithBackground(p, TruncToInt(x), TruncToInt(y), TruncToInt(x + 1), TruncToInt(y + 1), text);
}

// The degree figures at both ends of each degree line in the box.
void DegreeLabels(const Sheet& p, const GridBox& b, const DrawSettings& st) {
    const TOpen& o = p.o;
    TCanvas* cv = p.cv;
    const int s = p.v.size;
    cv->Brush->Color = o.style.BackColor;
    cv->Brush->Style = bsSolid;
    cv->Font->Color = st.SameColour ? o.style.CoastColor : clBlack;
    const int fs = s > 600 ? s * 8 / 600 : 8;
    cv->Font->Size = fs;
    const bool everyOther = st.EveryOtherDegree;
    GridTexts texts(p);

    for (int j = b.lat0; j <= b.lat1 + 1; ++j) {
        int32_t y;
        if (everyOther && j % 2 != 0) continue;
        if (!MapUnit(15000 * int64_t(j), y) || !RowInBox(p, b, y)) continue;
        const std::string text = gui::Format(" %d°", 24 + j);
        int sx, sy;
        p.ToScreen(p.minX, y, sx, sy);
        texts.Add(sx > 0 ? sx : 5, sy - fs / 2, text);
        p.ToScreen(p.maxX, y, sx, sy);
        texts.Add((sx < s ? sx : s) - 2.8 * fs, sy - fs / 2, text);
    }
    for (int i = b.lon0; i <= b.lon1 + 1; ++i) {
        int32_t x;
        if (everyOther && i % 2 != 0) continue;
        if (!MapUnit(10000 * int64_t(i), x) || !ColumnInBox(p, b, x)) continue;
        const std::string text = gui::Format("%d°", 122 + i);
        int sx, sy;
        p.ToScreen(x, p.minY, sx, sy);
        texts.Add(sx - fs, sy < s ? sy - 1.3 * fs : s - 1.7 * fs, text);
        p.ToScreen(x, p.maxY, sx, sy);
        texts.Add(sx - fs, sy > 0 ? sy : 5, text);
    }
    texts.Flush();
}

int IntField(const std::vector<std::string>& f, size_t i) {
    return i < f.size() ? int(std::strtol(f[i].c_str(), nullptr, 10)) : 0;
}

} // namespace

void TOpen::DrawLonLatGrid(TCanvas& canvas, const MapView& view, const DrawSettings& s) {
    const Sheet p(*this, canvas, view);
    TCanvas* cv = &canvas;
    TPen* pen = cv->Pen;
    pen->Width = 1;
    pen->Style = psSolid;
    const GridBox b = GridBoxOf(p);
    const bool tenMinutes = s.TenMinutes;
    const bool dotted = s.FunDot;
    GridLines lines(cv);

    // Each degree line, then the five 10-minute lines of the band below it.
    auto degrees = [&](int from, int to, int64_t unit,
                       void (*line)(const Sheet&, const GridBox&, GridLines&, int64_t)) {
        for (int d = from; d <= to; ++d) {
            pen->Style = psSolid;
            pen->Color = style.DoColor;
            line(p, b, lines, unit * d);
            if (!tenMinutes) continue;
            if (dotted) pen->Style = psDot;
            for (int m = 1; m <= 5; ++m) {
                pen->Color = style.FunColor;
                line(p, b, lines, unit * (d - 1) + unit * m / 6);
            }
        }
    };
    degrees(b.lat0, b.lat1 + 1, 15000, HorizontalLine);
    degrees(b.lon0, b.lon1 + 1, 10000, VerticalLine);
    lines.Flush();

    if (s.DegreeLabels) DegreeLabels(p, b, s);
    // The notice stays above the grid.
    if (s.Notice && view.size >= 200) DrawApprovalNotice(canvas, view, s);
}

// The regional mesh: first level 40' x 1 degree, second level 5' x 7'30";
// a wide view thins the second level out.
void TOpen::DrawMeshGrid(TCanvas& canvas, const MapView& view, const DrawSettings& s) {
    const Sheet p(*this, canvas, view);
    TCanvas* cv = &canvas;
    TPen* pen = cv->Pen;
    const GridBox b = GridBoxOf(p);
    const float widthKm = view.RowKm(view.size / 2);
    pen->Style = psSolid;
    GridLines lines(cv);

    int n = 16;
    if (widthKm > 200) n = 8;
    if (widthKm > 400) n = 4;
    for (int j = b.lat0; j <= b.lat1 + 1; ++j) {
        for (int t = 0; t < n; ++t) {
            const int64_t y = 15000 * int64_t(j - 1) + 20000 * t / n;
            if (y % 10000 == 0) {
                pen->Width = 2;
                pen->Color = style.DoColor;
            } else {
                pen->Color = style.FunColor;
                pen->Width = t % 2 == 0 ? 2 : 1;
            }
            HorizontalLine(p, b, lines, y);
        }
    }

    int m = 8;
    if (widthKm > 200) m = 4;
    if (widthKm > 400) m = 2;
    for (int i = b.lon0; i <= b.lon1 + 1; ++i) {
        pen->Width = 2;
        pen->Color = style.DoColor;
        VerticalLine(p, b, lines, 10000 * int64_t(i));
        for (int t = 1; t < m; ++t) {
            pen->Color = style.FunColor;
            pen->Width = t % 2 == 0 ? 2 : 1;
            VerticalLine(p, b, lines, 10000 * int64_t(i - 1) + 10000 * t / m);
        }
    }
    lines.Flush();

    DegreeLabels(p, b, s);
}

// Names of the mesh squares in view, centred on their points; their boxes take
// whatever brush the layer before left.
void TOpen::DrawMeshNames(int level) { DrawMeshNames(*ui.Image1->Canvas(), DrawnView, level); }

void TOpen::DrawMeshNames(TCanvas& canvas, const MapView& view, int level) {
    const Sheet p(*this, canvas, view);
    const int s = view.size;
    const float widthKm = view.RowKm(s / 2);
    float f = 1.25f;
    if (widthKm > s * 200 * (1.0 / 600)) f = 1.0f;
    if (widthKm > s * 400 * (1.0 / 600)) f = 0.9f;
    if (widthKm > s * 600 * (1.0 / 600)) f = 0.8f;

    gui::TextReader in;
    if (!in.Open(doc.AppDir + gui::Format("/Mapdata/mesh%d.lbl", level))) return;
    TCanvas* cv = &canvas;
    std::string line;
    std::vector<std::string> fields;
    while (in.ReadLine(line)) {
        TMyStr::SplitCsv(line, fields);
        const int32_t x = IntField(fields, 0), y = IntField(fields, 1);
        if (x < p.minX || x > p.maxX || y < p.minY || y > p.maxY) continue;
        const std::string text = fields.size() > 2 ? fields[2] : std::string();
        int sx, sy;
        view.ToScreen(x, y, sx, sy);
        cv->Font->Color = IntField(fields, 4);
        cv->Font->Size = TruncToInt(IntField(fields, 3) * f);
        const int w = cv->TextWidth(text), h = cv->TextHeight(text);
        cv->TextOut(sx - w / 2, sy - h / 2, text);
    }
}

void TOpen::DrawScaleBar(int32_t cy) {
    MapView view = DrawnView;
    view.cy = cy;
    view.scaleX = ScaleX;
    DrawScaleBar(*ui.Image1->Canvas(), view, true);
}

void TOpen::DrawScaleBar(TCanvas& canvas, const MapView& view, bool keepPlace) {
    const Sheet p(*this, canvas, view);
    TCanvas* cv = &canvas;
    const int s = view.size;
    const int32_t cy = view.cy;
    const float k = s * (1.0 / 600);
    const float lat = cy * (1.0 / 15000) + 24;
    const float D = GreatCircleKm(lat, 0, lat, 1.0);   // km of one degree of longitude
    const float P = 200000 / D * view.scaleX;                // pixels of 20 km
    const float H = (s * 20) / P * 0.5;                 // km of half the image width

    const int fs = 8 * k >= 7 ? TruncToInt(8 * k) : 7;
    cv->Font->Size = fs;
    cv->Font->Color = clBlack;
    if (H < 5.0) return;

    struct Division { float minKm; int n; double segP; int step; };
    static const Division table[] = {
        {5, 5, 0.05, 1},   {10, 5, 0.1, 2},   {20, 4, 0.25, 5},    {50, 5, 0.5, 10},    {100, 5, 1.0, 20},
        {200, 4, 2.5, 50}, {500, 5, 5.0, 100}, {1000, 5, 10.0, 200}, {2000, 4, 25.0, 500},
    };
    const Division* d = &table[0];
    for (const Division& row : table)
        if (H >= row.minKm) d = &row;
    const int n = d->n, step = d->step;
    const float seg = d->segP * P;

    // A press finds the bar on the screen's image only; other drawings leave its place alone.
    const bool screen = keepPlace;
    int x = TruncToInt(style.scl_x1 * k), y = TruncToInt(style.scly1 * k);
    if (x > s || y > s) {
        x = TruncToInt(s * 0.65);
        y = TruncToInt(s * 0.8);
        if (screen) style.scl_x1 = x, style.scly1 = y;
    }

    cv->Pen->Width = 1;
    cv->Pen->Color = clBlack;
    cv->Pen->Style = psSolid;
    cv->Brush->Style = bsSolid;
    const double labelY = y - fs - 5 * k;
    for (int i = 0; i < n; ++i) {
        const int xi = TruncToInt(x + i * seg);
        TextOnMap(p, xi - 8 * k, labelY, gui::Format("%3d", i * step));
        cv->Brush->Color = i % 2 == 0 ? clBlack : clWhite;
        cv->Rectangle(xi, y, TruncToInt(x + (i + 1) * seg), TruncToInt(y + 6 * k));
    }
    const int xn = TruncToInt(x + n * seg);
    TextOnMap(p, xn - 16 * k, labelY, gui::Format("%3dkm", n * step));

    if (!screen) return;
    style.ScaleRight = TruncToInt(style.scl_x1 + n * seg);
    style.ScaleBottom = TruncToInt(style.scly1 + 6 * k);
}

void TOpen::DrawMapFrame(TCanvas& canvas, const MapView& view, const DrawSettings& st) {
    TCanvas* cv = &canvas;
    cv->Pen->Style = psSolid;
    if (!st.Frame) return;
    const int s = view.size;
    const int w = st.FrameWidth;
    cv->Pen->Color = st.SameColour ? style.CoastColor : style.WakuColor;
    cv->Brush->Style = bsClear;
    cv->Pen->Width = w;
    const int b = w >= 2 ? 1 : 0, a = w == 3 ? 1 : 0;
    cv->Rectangle(b, b, s - a, s - a);
}

// The area's name in the lower-left corner of a one-area map.
void TOpen::DrawPrefCaption(TCanvas& canvas, const MapView& view, const DrawSettings& st) {
    if (doc.SELECT != 1) return;
    const Sheet p(*this, canvas, view);
    TCanvas* cv = &canvas;
    const int s = view.size;
    cv->Font->Size = std::max(10, s * 12 / 600);
    const float g = std::max(1.0f, s / 600.0f);
    cv->Font->Color = st.SameColour ? style.CoastColor : style.TownFontColor;
    const int code = doc.SelectCode[0];
    TextOnMap(p, 25 * g, s - 25 * g, code >= 0 && code < 60 ? doc.AreaName[code] : std::string());
}

void TOpen::DrawApprovalNotice(TCanvas& canvas, const MapView& view, const DrawSettings& st) {
    const Sheet p(*this, canvas, view);
    TCanvas* cv = &canvas;
    cv->Font->Size = std::max(8, TruncToInt(view.size * 8.0 / 600));
    cv->Font->Color = st.SameColour ? style.CoastColor : clBlack;
    TextOnMap(p, 5, 5, settings::MapNotice);
}

// Office marks centred on their points, the names just right of the marks.
void TOpen::Disp_Office(TCanvas& canvas, const MapView& view, const DrawSettings& st) {
    TCanvas* cv = &canvas;
    const int s = view.size;
    cv->Brush->Color = style.BackColor;
    cv->Brush->Style = bsSolid;
    const bool scaled = !st.FixedSize && s >= 600;
    const bool withName = st.OfficeNames;
    const int count = std::min<int>(doc.OfficeCount, int(doc.OfficeRecords.size()));
    for (int i = 0; i < count; ++i) {
        const OfficeRecord& r = doc.OfficeRecords[i];
        const std::string mark(r.mark, strnlen(r.mark, sizeof r.mark));
        cv->Font->Size = scaled ? TruncToInt(double(r.size) * s * (1.0 / 600)) : style.DefPrefSeatSize;
        cv->Font->Color = style.DefPrefSeatColor;
        const int h = cv->TextHeight(mark);
        int sx, sy;
        view.ToScreen(r.x, r.y, sx, sy);
        cv->TextOut(sx - h / 2, sy - h / 2, mark);
        if (withName) cv->TextOut(TruncToInt(sx + 0.5 * h), sy - h / 2, std::string(r.name, strnlen(r.name, sizeof r.name)));
    }
}

void TOpen::DrawPrefCaption() { DrawPrefCaption(*ui.Image1->Canvas(), DrawnView, ReadDrawSettings()); }
void TOpen::DrawApprovalNotice() { DrawApprovalNotice(*ui.Image1->Canvas(), DrawnView, ReadDrawSettings()); }
