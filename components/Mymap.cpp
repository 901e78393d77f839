#include "components/Mymap.h"
#include "components/Mygraph.h"
#include "gui/Dialogs.h"
#include "gui/Forms.h"
#include "gui/TextFile.h"
#include "components/Mystr.h"
#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

constexpr int LON0 = 12200, LAT0 = 2400;   // south-west node
constexpr int NODE_STEP = 200;              // 2 degrees

struct MapUnitMesh {
    TPoint nodes[MESH_ROWS][MESH_COLS];
    constexpr MapUnitMesh() {
        for (int r = 0; r < MESH_ROWS; ++r)
            for (int c = 0; c < MESH_COLS; ++c) nodes[r][c] = TPoint(2 * c * 10000, 2 * r * 15000);
    }
};

} // namespace

TPoint TMyMap::MeshNode[MESH_ROWS][MESH_COLS];
int TMyMap::MeshRows = (TMyMap::UseMapUnitMesh(), MESH_ROWS);
int TMyMap::MeshCols = MESH_COLS;

void TMyMap::UseMapUnitMesh() {
    static const MapUnitMesh mesh;
    std::copy(&mesh.nodes[0][0], &mesh.nodes[0][0] + MESH_ROWS * MESH_COLS, &MeshNode[0][0]);
    MeshRows = MESH_ROWS;
    MeshCols = MESH_COLS;
}

bool TMyMap::LoadMesh(const std::string& path) {
    gui::TextReader in;
    if (!in.Open(path)) return false;
    TPoint nodes[MESH_ROWS][MESH_COLS];
    int rows = 0, cols = 0;
    std::string line;
    std::vector<std::string> fields;
    while (in.ReadLine(line)) {
        const int n = TMyStr::SplitCsv(line, fields);
        if (n == 0) continue;
        if (n % 2 != 0 || rows == MESH_ROWS || (rows == 0 ? n / 2 < 2 || n / 2 > MESH_COLS : n / 2 != cols))
            return false;
        cols = n / 2;
        for (int i = 0; i < n; ++i) {
            const std::string& f = fields[i];
            const char* end = f.data() + f.size();
            while (end > f.data() && (end[-1] == ' ' || end[-1] == '\t')) --end;
            int v = 0;
            auto [p, ec] = std::from_chars(f.data(), end, v);
            if (ec != std::errc() || p != end) return false;
            (i % 2 == 0 ? nodes[rows][i / 2].x : nodes[rows][i / 2].y) = v;
        }
        ++rows;
    }
    if (rows < 2) return false;
    std::copy(&nodes[0][0], &nodes[0][0] + MESH_ROWS * MESH_COLS, &MeshNode[0][0]);
    MeshRows = rows;
    MeshCols = cols;
    return true;
}

namespace {

int RowsInUse() { return std::clamp(TMyMap::MeshRows, 0, MESH_ROWS); }
int ColsInUse() { return std::clamp(TMyMap::MeshCols, 0, MESH_COLS); }

// Truncation toward zero, refused where the value has no int.
bool TruncInt(double v, int& out) {
    if (!std::isfinite(v) || v <= double(INT_MIN) - 1 || v >= double(INT_MAX) + 1) return false;
    out = int(v);
    return true;
}

// Degrees * 100 + minutes to the position inside a 2-degree band: whole
// degrees past the band's start plus minutes as a fraction.
double InBand(int value, int origin, int band) {
    return double((value - origin) / 100 - 2 * band) + double(value % 100) / 60.0;
}

// Outside the cell across the edge a->b, the cell's corners going round
// counter-clockwise on the map (y up).
bool Beyond(TPoint q, TPoint a, TPoint b) {
    int64_t cross = int64_t(b.x - a.x) * (int64_t(q.y) - a.y) - int64_t(b.y - a.y) * (int64_t(q.x) - a.x);
    return cross < 0;
}

} // namespace

TMyMap::TMyMap(QWidget* parent) : TImage(parent) {
    SetImageSize(400, 400);
}

// ---- screen and map ----

bool TMyMap::scalesUsable() const { return SCW != 0 && SCH != 0 && MPW != 0 && MPH != 0; }

bool TMyMap::map_position(int sx, int sy, int& mx, int& my) const {
    if (SCW == 0 || SCH == 0) return false;
    int x, y;
    if (!TruncInt(double(sx - SCX) * MPW / SCW + MPX, x) || !TruncInt(double(SCY + SCH - sy) * MPH / SCH + MPY, y))
        return false;
    mx = x;
    my = y;
    return true;
}

bool TMyMap::toScreen(double mx, double my, int& sx, int& sy) const {
    if (MPW == 0 || MPH == 0) return false;
    int x, y;
    if (!TruncInt(SCW * (mx - MPX) / MPW + SCX, x) || !TruncInt(-SCH * (my - MPY) / MPH + SCY + SCH, y))
        return false;
    sx = x;
    sy = y;
    return true;
}

bool TMyMap::scr_position(int mx, int my, int& sx, int& sy) const {
    if (!toScreen(mx, my, sx, sy)) return false;
    const TBitmap* bmp = const_cast<TMyMap*>(this)->Picture()->Bitmap();
    return sx >= 0 && sy >= 0 && sx < bmp->Width() && sy < bmp->Height();
}

// ---- geographic and map ----

bool TMyMap::lonlat_map(int lon, int lat, int& mx, int& my) const {
    // West or south of the table is outside it, not in its first cell.
    if (lon < LON0 || lat < LAT0) return false;
    int c = (lon - LON0) / NODE_STEP, r = (lat - LAT0) / NODE_STEP;
    // The far edges belong to the table: a position on them is the far side of the last cell.
    if (c == ColsInUse() - 1 && (lon - LON0) % NODE_STEP == 0) --c;
    if (r == RowsInUse() - 1 && (lat - LAT0) % NODE_STEP == 0) --r;
    if (c < 0 || r < 0 || c >= ColsInUse() - 1 || r >= RowsInUse() - 1) return false;
    const double u = InBand(lon, LON0, c), v = InBand(lat, LAT0, r);
    const TPoint p00 = MeshNode[r][c], p01 = MeshNode[r][c + 1];
    const TPoint p10 = MeshNode[r + 1][c], p11 = MeshNode[r + 1][c + 1];
    const double ax = ((2 - u) * p00.x + u * p01.x) / 2, ay = ((2 - u) * p00.y + u * p01.y) / 2;
    const double bx = ((2 - u) * p10.x + u * p11.x) / 2, by = ((2 - u) * p10.y + u * p11.y) / 2;
    int x, y;
    if (!TruncInt(((2 - v) * ax + v * bx) / 2, x) || !TruncInt(((2 - v) * ay + v * by) / 2, y)) return false;
    mx = x;
    my = y;
    return true;
}

bool TMyMap::origin_scr(int lon, int lat, int& sx, int& sy) const {
    int mx, my;
    return lonlat_map(lon, lat, mx, my) && toScreen(mx, my, sx, sy);
}

int TMyMap::area_check(TPoint q, TPoint a, TPoint b) {
    if (b.x == a.x) return 0;
    const double v = q.y - double(b.y - a.y) / (b.x - a.x) * (double(q.x) - a.x) - a.y;
    return int(std::clamp(v, double(INT_MIN), double(INT_MAX)));
}

TMyMap::Geo TMyMap::geoOf(int sx, int sy, int& lon, int& lat, bool report) {
    int mx, my;
    if (!map_position(sx, sy, mx, my)) return Geo::Outside;
    const int nr = RowsInUse(), nc = ColsInUse();
    int r = -1, c = -1;
    for (int i = 0; i < nr - 1 && r < 0; ++i)
        for (int j = 0; j < nc - 1; ++j) {
            if (MeshNode[i][j].x <= mx && mx < MeshNode[i + 1][j + 1].x && MeshNode[i][j + 1].y <= my &&
                MeshNode[i + 1][j].y > my) {
                r = i;
                c = j;
                break;
            }
        }
    if (r < 0) return Geo::Outside;
    // The bracket above can pick a neighbour of a slanted cell: step once
    // across the edge the point lies beyond.
    const TPoint q(mx, my);
    const TPoint p00 = MeshNode[r][c], p01 = MeshNode[r][c + 1];
    const TPoint p11 = MeshNode[r + 1][c + 1], p10 = MeshNode[r + 1][c];
    if (Beyond(q, p00, p01))
        --r;
    else if (Beyond(q, p01, p11))
        ++c;
    else if (Beyond(q, p11, p10))
        ++r;
    else if (Beyond(q, p10, p00))
        --c;
    if (r < 0 || c < 0 || r >= nr - 1 || c >= nc - 1) return Geo::Outside;

    const TPoint a = MeshNode[r][c], b = MeshNode[r][c + 1], d = MeshNode[r + 1][c];
    const double bottom2 = double(b.x - a.x) * (b.x - a.x) + double(b.y - a.y) * (b.y - a.y);
    const double left2 = double(d.x - a.x) * (d.x - a.x) + double(d.y - a.y) * (d.y - a.y);
    if (bottom2 > INT32_MAX || left2 > INT32_MAX) {
        if (report)
            MessageBox(bottom2 > INT32_MAX ? "Longitude calculation failed" : "Latitude calculation failed", "scr_map",
                       MB_OK | MB_ICONEXCLAMATION);
        return Geo::Failed;
    }
    if (bottom2 == 0 || left2 == 0) return Geo::Outside;
    // Rotate into the cell's own axes: u along the bottom edge, v along the left.
    const double angA = std::atan2(double(a.y - b.y), double(b.x - a.x));
    const double angB = std::atan2(double(d.x - a.x), double(d.y - a.y));
    const double dx = double(mx) - a.x, dy = double(my) - a.y;
    const double u = 2 * (std::cos(angA) * dx - std::sin(angA) * dy) / std::sqrt(bottom2);
    const double v = 2 * (std::sin(angB) * dx + std::cos(angB) * dy) / std::sqrt(left2);
    const double tu = std::trunc(u), tv = std::trunc(v);
    if (!TruncInt(tu * 100 + (u - tu) * 60 + LON0 + NODE_STEP * c, lon) ||
        !TruncInt(tv * 100 + (v - tv) * 60 + LAT0 + NODE_STEP * r, lat))
        return Geo::Outside;
    return Geo::Found;
}

bool TMyMap::scr_map(int sx, int sy, int& lon, int& lat) { return geoOf(sx, sy, lon, lat, true) == Geo::Found; }

// A meridian against a pixel row, or a parallel against a pixel column: find
// the 2-degree segment of it that spans the row (column), interpolate, and
// snap through the geographic position it stands for.
TMyMap::Geo TMyMap::crossing(bool meridian, int degree, int at, int& x, int& y, bool report) {
    const int segments = (meridian ? RowsInUse() : ColsInUse()) - 1;
    for (int k = 0; k < segments; ++k) {
        const int g0 = (meridian ? LAT0 : LON0) + NODE_STEP * k, g1 = g0 + NODE_STEP;
        int x0, y0, x1, y1;
        bool ok = meridian ? origin_scr(degree, g0, x0, y0) && origin_scr(degree, g1, x1, y1)
                           : origin_scr(g0, degree, x0, y0) && origin_scr(g1, degree, x1, y1);
        if (!ok) continue;
        double cx, cy;
        if (meridian) {
            // Northward is upward: the far node has the smaller y.
            if (!(y1 <= at && at < y0)) continue;
            cx = x0 + double(at - y0) * (x1 - x0) / (y1 - y0);
            cy = at;
        } else {
            if (!(x0 <= at && at < x1)) continue;
            cx = at;
            cy = y0 + double(at - x0) * (y1 - y0) / (x1 - x0);
        }
        int px, py, lon, lat;
        if (!TruncInt(cx, px) || !TruncInt(cy, py)) return Geo::Outside;
        Geo g = geoOf(px, py, lon, lat, report);
        if (g != Geo::Found) return g;
        return origin_scr(lon, lat, x, y) ? Geo::Found : Geo::Outside;
    }
    return Geo::Outside;
}

bool TMyMap::lon_cross(int lon, int sy, int& x, int& y) { return crossing(true, lon, sy, x, y, true) == Geo::Found; }

bool TMyMap::lat_cross(int lat, int sx, int& x, int& y) { return crossing(false, lat, sx, x, y, true) == Geo::Found; }

// ---- drawing ----

void TMyMap::polylineMap(const TPoint* pts, int count) {
    TCanvas* c = Canvas();
    for (int i = 0; i < count; ++i) {
        int sx, sy;
        if (!toScreen(pts[i].x, pts[i].y, sx, sy)) continue;
        if (i == 0)
            c->MoveTo(sx, sy);
        else
            c->LineTo(sx, sy);
    }
}

bool TMyMap::map_draw(const int* counts, const int* const* outlines) {
    if (SCW == 0 || SCH == 0 || MPH == 0 || !counts || !outlines) return false;
    // Same scale across and up.
    const int mpw = int(int64_t(SCW) * MPH / SCH);
    if (mpw == 0) return false;
    MPW = mpw;
    TCanvas* c = Canvas();
    c->Pen->Color = PenColor;
    c->Pen->Width = PenWidth;
    c->Pen->Style = psSolid;
    c->Brush->Style = bsClear;
    std::vector<TPoint> pts;
    for (int i = 0; i < MAP_OUTLINES; ++i) {
        if (counts[i] <= 0 || !outlines[i]) continue;
        pts.clear();
        for (int k = 0; k < counts[i]; ++k) pts.emplace_back(outlines[i][2 * k], outlines[i][2 * k + 1]);
        pts.push_back(pts.front());
        polylineMap(pts.data(), int(pts.size()));
    }
    return true;
}

bool TMyMap::grid_draw() {
    if (!scalesUsable()) return false;
    TCanvas* c = Canvas();
    if (Division > 0) {
        const int nr = RowsInUse(), nc = ColsInUse();
        c->Pen->Width = 1;
        c->Pen->Style = psSolid;
        std::vector<TPoint> pts;
        // Lines of one family: along the band between node lines a and a+1,
        // t of the way across; across: rows, else columns.
        auto line = [&](bool rows, int a, double t) {
            pts.clear();
            const int n = rows ? nc : nr;
            for (int k = 0; k < n; ++k) {
                TPoint p = rows ? MeshNode[a][k] : MeshNode[k][a];
                TPoint q = t == 0 ? p : rows ? MeshNode[a + 1][k] : MeshNode[k][a + 1];
                pts.emplace_back(int((1 - t) * p.x + t * q.x), int((1 - t) * p.y + t * q.y));
            }
            polylineMap(pts.data(), int(pts.size()));
        };
        for (int pass = 0; pass < 2; ++pass) {
            const bool rows = pass == 0;
            const int last = (rows ? nr : nc) - 1;
            for (int a = 0; a < last; ++a)
                for (int k = 0; k < Division; ++k) {
                    c->Pen->Color = k == 0 ? clBlack : DivColor;
                    line(rows, a, double(k) / Division);
                }
            if (last >= 0) {
                c->Pen->Color = clBlack;
                line(rows, last, 0);
            }
        }
    }
    outer_clear();
    return true;
}

void TMyMap::outer_clear() {
    TCanvas* c = Canvas();
    const int w = c->Width(), h = c->Height();
    c->Pen->Mode = pmCopy;
    c->Brush->Color = clWhite;
    c->Brush->Style = bsSolid;
    c->FillRect(Rect(0, 0, w, SCY));
    c->FillRect(Rect(0, 0, SCX, h));
    c->FillRect(Rect(SCX + SCW + 1, 0, w, h));
    c->FillRect(Rect(0, SCY + SCH + 1, w, h));
    c->Pen->Color = clBlack;
    c->Pen->Width = 2;
    c->Pen->Style = psSolid;
    c->MoveTo(SCX, SCY);
    c->LineTo(SCX + SCW, SCY);
    c->LineTo(SCX + SCW, SCY + SCH);
    c->LineTo(SCX, SCY + SCH);
    c->LineTo(SCX, SCY);
}

bool TMyMap::degree_write() {
    if (Division <= 0) return true;
    if (!scalesUsable()) return false;
    TCanvas* c = Canvas();
    c->Font->Name = "ＭＳゴシック";
    c->Font->SetHeight(LetterSize);
    c->Brush->Color = clWhite;
    c->Brush->Style = bsSolid;

    // The first position along a line of pixels that lies in a mesh cell, as
    // whole degrees rounded to an even number (up, or down); false if none.
    // A failed conversion ends the labelling.
    bool failed = false;
    auto evenDegree = [&](int x, int y, int dx, int dy, int steps, bool up, bool lonWanted, int& deg) {
        for (int i = 0; i <= steps && !failed; ++i, x += dx, y += dy) {
            int lon, lat;
            Geo g = geoOf(x, y, lon, lat, true);
            if (g == Geo::Failed) failed = true;
            if (g != Geo::Found) continue;
            deg = (lonWanted ? lon : lat) / 100;
            if (deg % 2 != 0) deg += up ? 1 : -1;
            return true;
        }
        return false;
    };

    // Meridians along a pixel row, or parallels along a pixel column; the
    // labels go below (right of) the edge when below is true, else above (left of) it.
    auto edge = [&](bool meridian, int at, bool below) {
        int lo = 0, hi = -1;
        const bool found = meridian ? evenDegree(SCX, at, 10, 0, SCW / 10, true, true, lo) &&
                                          evenDegree(SCX + SCW, at, -10, 0, SCW / 10, false, true, hi)
                                    : evenDegree(at, SCY + SCH, 0, -10, SCH / 10, true, false, lo) &&
                                          evenDegree(at, SCY, 0, 10, SCH / 10, false, false, hi);
        for (int deg = lo; found && deg <= hi && !failed; deg += 2) {
            int x, y;
            Geo g = crossing(meridian, deg * 100, at, x, y, true);
            if (g == Geo::Failed) failed = true;
            if (g != Geo::Found) continue;
            if (meridian ? x < SCX || x > SCX + SCW : y < SCY || y > SCY + SCH) continue;
            const std::string text = gui::Format("%d゜", deg);
            const int w = c->TextWidth(text), h = c->TextHeight(text);
            if (meridian)
                c->TextOut(x - w / 2, below ? at + 5 : at - 5 - h, text);
            else
                c->TextOut(below ? at + 5 : at - 5 - w, y - h / 2, text);
        }
    };
    edge(true, SCY + SCH, true);
    if (!failed) edge(true, SCY, false);
    if (!failed) edge(false, SCX + SCW, true);
    if (!failed) edge(false, SCX, false);
    c->Font->SetHeight(0);
    return !failed;
}

bool TMyMap::MapDraw(const int* counts, const int* const* outlines) {
    return map_draw(counts, outlines) && grid_draw() && degree_write();
}

bool TMyMap::MarkPlot(int lon, int lat, int type, int size) {
    if (lon < 12200 || lon >= 15201 || lat < 2400 || lat >= 5001 || type < 0 || type > 5) return false;
    int px, py;
    if (!origin_scr(lon, lat, px, py)) return false;
    DrawMarker(Canvas(), type, px, py, size, size, size / 2);
    return true;
}

void TMyMap::Clear(TColor color) { FillCanvas(Canvas(), color); }

void TMyMap::Copy() { Clipboard()->Assign(Picture()->Bitmap()); }
