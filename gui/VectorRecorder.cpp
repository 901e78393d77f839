// The canvas's drawing as shapes: lines through pixel centres, fills traced
// from the pixels a flood took, hatches as their own thin bands, texts as text.
#include "gui/VectorRecorder.h"
#include "gui/Graphics_impl.h"
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>

namespace gui {

namespace {

uint32_t Rgb(TColor c) { return uint32_t(c) & 0xFFFFFFu; }

// A wide pen of even width is centred half a pixel up and left, as the
// picture draws it.
double CentreOffset(int width) { return width > 1 && width % 2 == 0 ? 0.0 : 0.5; }

// Bands covering exactly the pixel centres of a hatch, clipped to the spans:
// rows and columns as one-pixel strips, diagonals as parallelograms one pixel
// across.
class HatchBands {
public:
    HatchBands(const std::vector<PixelSpan>& spans, TBrushStyle style) : spans(spans) {
        const uint8_t* rows = raster::HatchRows(style);
        horizontal = rows[0] == 0xFF;
        vertical = (rows[1] & 0x80) && rows[1] != 0xFF && rows[2] == rows[1];
        forward = style == bsFDiagonal || style == bsDiagCross;
        backward = style == bsBDiagonal || style == bsDiagCross;
    }
    std::vector<std::vector<QPointF>> Build() {
        if (horizontal) Rows();
        if (vertical || forward || backward) Lines();
        return std::move(rings);
    }

private:
    void Rows() {
        for (const PixelSpan& s : spans)
            if ((s.y & 7) == 0 && s.x0 < s.x1) Box(s.x0, s.y, s.x1, s.y + 1);
    }
    void Box(double x0, double y0, double x1, double y1) {
        rings.push_back({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}});
    }
    // All bands turn one way, so where they cross the winding rule fills.
    void Turned(std::vector<QPointF> r) {
        double area = 0;
        for (size_t i = 0; i < r.size(); ++i) {
            const QPointF &a = r[i], &b = r[(i + 1) % r.size()];
            area += a.x() * b.y() - b.x() * a.y();
        }
        if (area < 0) std::reverse(r.begin(), r.end());
        rings.push_back(std::move(r));
    }
    // Runs along columns and diagonals: each pixel of the pattern inside the
    // spans extends the run that reached the pixel above it.
    struct Open {
        int x, y, n;
    };
    void Lines() {
        std::unordered_map<int64_t, Open> open[3];   // keyed by the line's constant
        int lastRow = INT32_MIN;
        auto close = [&](int kind, const Open& o) { Band(kind, o); };
        auto flushAbove = [&](int y) {   // runs that did not reach row y end
            for (int k = 0; k < 3; ++k)
                for (auto it = open[k].begin(); it != open[k].end();) {
                    if (it->second.y + it->second.n - 1 < y - 1) close(k, it->second), it = open[k].erase(it);
                    else ++it;
                }
        };
        for (const PixelSpan& s : spans) {
            if (s.y != lastRow) flushAbove(s.y), lastRow = s.y;
            auto put = [&](int kind, int64_t key, int x) {
                auto it = open[kind].find(key);
                if (it != open[kind].end() && it->second.y + it->second.n == s.y) ++it->second.n;
                else {
                    if (it != open[kind].end()) close(kind, it->second), open[kind].erase(it);
                    open[kind].emplace(key, Open{x, s.y, 1});
                }
            };
            for (int kind = 0; kind < 3; ++kind) {
                if (!(kind == 0 ? vertical : kind == 1 ? forward : backward)) continue;
                // Column x % 8 == 0; forward x - y == 0 mod 8; backward x + y == 7 mod 8.
                const int want = kind == 0 ? 0 : kind == 1 ? (s.y & 7) : (7 - (s.y & 7)) & 7;
                int x = s.x0 + ((want - s.x0) % 8 + 8) % 8;
                for (; x < s.x1; x += 8) put(kind, kind == 0 ? x : kind == 1 ? int64_t(x) - s.y : int64_t(x) + s.y, x);
            }
        }
        for (int k = 0; k < 3; ++k)
            for (auto& [key, o] : open[k]) close(k, o);
    }
    void Band(int kind, const Open& o) {
        if (kind == 0) return Box(o.x, o.y, o.x + 1, o.y + o.n);
        const double x = o.x + 0.5, y = o.y + 0.5;
        if (kind == 1) {   // down to the right: centres x+i, y+i
            const double d = x - y, s0 = x + y - 1, s1 = x + y + 2 * (o.n - 1) + 1;
            Parallelogram(d, s0, s1, false);
        } else {   // down to the left: centres x-i, y+i
            const double s = x + y, d0 = x - y - 2 * (o.n - 1) - 1, d1 = x - y + 1;
            Parallelogram(s, d0, d1, true);
        }
    }
    // Points with |u - c| <= 0.5 and v in [v0, v1], where u, v are x - y and
    // x + y (or the other way round).
    void Parallelogram(double c, double v0, double v1, bool swapped) {
        auto pt = [&](double u, double v) {
            const double a = swapped ? v : u, b = swapped ? u : v;   // a = x - y, b = x + y
            return QPointF((a + b) / 2, (b - a) / 2);
        };
        Turned({pt(c - 0.5, v0), pt(c + 0.5, v0), pt(c + 0.5, v1), pt(c - 0.5, v1)});
    }

    const std::vector<PixelSpan>& spans;
    bool horizontal = false, vertical = false, forward = false, backward = false;
    std::vector<std::vector<QPointF>> rings;
};

QPainterPath PathOf(const std::vector<std::vector<QPointF>>& rings, Qt::FillRule rule) {
    QPainterPath path;
    path.setFillRule(rule);
    for (const auto& r : rings) {
        if (r.size() < 3) continue;
        path.moveTo(r[0]);
        for (size_t i = 1; i < r.size(); ++i) path.lineTo(r[i]);
        path.closeSubpath();
    }
    return path;
}

// Marching squares over a grid of labels at pixel centres (0: outside every
// set), each label's set traced on its own. A crossing lies on the line
// between an inside and an outside centre, 0.5 + grow from the inside one;
// every loop keeps the inside on its left, so loops join crossing to crossing
// and holes come out as rings. Cells whose four corners agree hold no edge and
// are passed over, so the work follows the outlines, not the area.
template <class Label, class RingsOf>
void TraceLabels(const Label* g, int W, int H, double ox, double oy, double grow, RingsOf&& ringsOf) {
    const double f = 0.5 + grow;
    auto at = [&](int i, int j) { return g[size_t(j) * size_t(W) + size_t(i)]; };
    enum Edge { T, R, B, L };
    struct Seg { int from, to; };
    auto point = [&](int i, int j, int e, Label v) {
        int ai = i, aj = j, bi = i + 1, bj = j;   // top: (i,j)-(i+1,j)
        if (e == B) aj = bj = j + 1;
        if (e == L) bi = i, bj = j + 1;
        if (e == R) ai = bi = i + 1, bj = j + 1;
        const double t = at(ai, aj) == v ? f : 1 - f;
        return QPointF(ox + ai + (bi - ai) * t, oy + aj + (bj - aj) * t);
    };
    // The inside grid point on edge e of cell (i, j).
    auto insideEnd = [&](int i, int j, int e, Label v) {
        int ai = i, aj = j, bi = i + 1, bj = j;
        if (e == B) aj = bj = j + 1;
        if (e == L) bi = i, bj = j + 1;
        if (e == R) ai = bi = i + 1, bj = j + 1;
        return at(ai, aj) == v ? QPointF(ox + ai, oy + aj) : QPointF(ox + bi, oy + bj);
    };
    // The segments of label v in cell (i, j) as (from, to) edges, inside on the left.
    auto segments = [&](int i, int j, Label v, Seg out[2]) {
        const int c = (at(i, j) == v ? 1 : 0) | (at(i + 1, j) == v ? 2 : 0) | (at(i + 1, j + 1) == v ? 4 : 0) |
                      (at(i, j + 1) == v ? 8 : 0);
        static const int8_t pairs[16][4] = {
            {-1, -1, -1, -1}, {T, L, -1, -1}, {T, R, -1, -1}, {L, R, -1, -1}, {R, B, -1, -1}, {T, L, R, B},
            {T, B, -1, -1},   {L, B, -1, -1}, {L, B, -1, -1}, {T, B, -1, -1}, {T, R, B, L},   {R, B, -1, -1},
            {L, R, -1, -1},   {T, R, -1, -1}, {T, L, -1, -1}, {-1, -1, -1, -1}};
        int n = 0;
        for (int k = 0; k < 4 && pairs[c][k] >= 0; k += 2) {
            Seg s{pairs[c][k], pairs[c][k + 1]};
            const QPointF p = point(i, j, s.from, v), q = point(i, j, s.to, v), a = insideEnd(i, j, s.from, v);
            const double cross = (q.x() - p.x()) * (a.y() - p.y()) - (q.y() - p.y()) * (a.x() - p.x());
            if (cross > 0) std::swap(s.from, s.to);   // y runs down: inside on the left
            out[n++] = s;
        }
        return n;
    };
    // A label's place among a cell's corners: its first corner, so each of up
    // to four labels of a cell has two bits of its own in done.
    auto slotOf = [&](int i, int j, Label v) {
        return at(i, j) == v ? 0 : at(i + 1, j) == v ? 1 : at(i + 1, j + 1) == v ? 2 : 3;
    };
    std::vector<uint8_t> done(size_t(W - 1) * size_t(H - 1), 0);
    auto doneBit = [&](int i, int j, Label v, int k) { return uint8_t(1 << (slotOf(i, j, v) * 2 + k)); };
    std::vector<QPointF> ring;
    for (int j = 0; j < H - 1; ++j) {
        const Label* r0 = g + size_t(j) * size_t(W);
        const Label* r1 = r0 + W;
        // Where a row repeats the next, only its changes along the row hold edges.
        const bool repeated = std::memcmp(r0, r1, size_t(W) * sizeof(Label)) == 0;
        for (int i = 0; i < W - 1; ++i) {
            if (repeated) {
                while (i < W - 1 && r0[i] == r0[i + 1]) ++i;
                if (i >= W - 1) break;
            } else if (r0[i] == r0[i + 1] && r1[i] == r1[i + 1] && r0[i] == r1[i]) {
                continue;
            }
            const Label c4[4] = {r0[i], r0[i + 1], r1[i + 1], r1[i]};
            for (int q = 0; q < 4; ++q) {
                const Label v = c4[q];
                if (v == 0 || (q > 0 && (c4[0] == v || (q > 1 && (c4[1] == v || (q > 2 && c4[2] == v)))))) continue;
                Seg segs[2];
                const int n = segments(i, j, v, segs);
                for (int k = 0; k < n; ++k) {
                    if (done[size_t(j) * (W - 1) + i] & doneBit(i, j, v, k)) continue;
                    ring.clear();
                    int ci = i, cj = j, ck = k;
                    Seg s = segs[k];
                    while (true) {
                        done[size_t(cj) * (W - 1) + ci] |= doneBit(ci, cj, v, ck);
                        ring.push_back(point(ci, cj, s.from, v));
                        // Across the exit edge into the next cell, which enters there.
                        const int e = s.to;
                        if (e == T) --cj;
                        else if (e == B) ++cj;
                        else if (e == L) --ci;
                        else ++ci;
                        const int entry = e == T ? B : e == B ? T : e == L ? R : L;
                        Seg next[2];
                        const int m = segments(ci, cj, v, next);
                        ck = -1;
                        for (int r = 0; r < m; ++r)
                            if (next[r].from == entry) ck = r, s = next[r];
                        if (ck < 0 || (done[size_t(cj) * (W - 1) + ci] & doneBit(ci, cj, v, ck))) break;
                    }
                    // Points on one straight line are one edge.
                    std::vector<QPointF> kept;
                    const size_t N = ring.size();
                    for (size_t a = 0; a < N; ++a) {
                        const QPointF& p = ring[(a + N - 1) % N];
                        const QPointF& c = ring[a];
                        const QPointF& r = ring[(a + 1) % N];
                        const double cross = (c.x() - p.x()) * (r.y() - c.y()) - (c.y() - p.y()) * (r.x() - c.x());
                        if (std::abs(cross) > 1e-9) kept.push_back(c);
                    }
                    if (kept.size() >= 3) ringsOf(v).push_back(std::move(kept));
                }
            }
        }
    }
}

} // namespace

// The set's bounding box with one blank pixel around it, traced as one label.
std::vector<std::vector<QPointF>> TraceOutline(const std::vector<PixelSpan>& spans, double grow) {
    std::vector<std::vector<QPointF>> rings;
    if (spans.empty()) return rings;
    int xmin = INT32_MAX, xmax = INT32_MIN, ymin = INT32_MAX, ymax = INT32_MIN;
    for (const PixelSpan& s : spans)
        if (s.x0 < s.x1) xmin = std::min(xmin, s.x0), xmax = std::max(xmax, s.x1 - 1), ymin = std::min(ymin, s.y),
                         ymax = std::max(ymax, s.y);
    if (xmin > xmax) return rings;
    const int W = xmax - xmin + 3, H = ymax - ymin + 3;
    std::vector<uint8_t> g(size_t(W) * size_t(H), 0);
    for (const PixelSpan& s : spans)
        if (s.x0 < s.x1)
            std::fill_n(g.begin() + ptrdiff_t(size_t(s.y - ymin + 1) * W + size_t(s.x0 - xmin + 1)), s.x1 - s.x0, 1);
    TraceLabels(g.data(), W, H, xmin - 0.5, ymin - 0.5, grow,
                [&](uint8_t) -> std::vector<std::vector<QPointF>>& { return rings; });
    return rings;
}

void VectorRecorder::Add(Item item) {
    if (item.kind == Kind::Stroke) lastStrokeOf[Rgb(RGB(item.color.red(), item.color.green(), item.color.blue()))] = items.size() + 1;
    else floor = items.size() + 1;
    items.push_back(std::move(item));
}

size_t VectorRecorder::LiftPlace(TColor replaced) {
    size_t at = floor;
    // A stroke in the colour the flood replaced may have been filled over.
    auto it = lastStrokeOf.find(Rgb(replaced));
    if (it != lastStrokeOf.end()) at = std::max(at, it->second);
    floor = at;
    return at;
}

// Something lifted sits above the last item kept.
bool VectorRecorder::LiftedOnTop() const {
    return (!lifted.empty() && lifted.back().before >= items.size()) || (group && group->before >= items.size());
}

void VectorRecorder::CloseGroup() const {
    if (!group) return;
    const std::unique_ptr<FloodGroup> g = std::move(group);
    if (g->y0 > g->y1) return;
    const int W = g->w + 2;
    // Hatches become bands over their own pixels; what is left is traced,
    // every colour at once.
    std::vector<std::vector<PixelSpan>> hatch(g->keys.size());
    bool anyHatch = false;
    for (const TBrush& b : g->keys) anyHatch |= raster::IsHatch(b.Style);
    if (anyHatch)
        for (int y = g->y0; y <= g->y1; ++y) {
            uint16_t* row = g->ink.data() + size_t(y + 1) * W + 1;
            for (int x = 0; x < g->w;) {
                const uint16_t k = row[x];
                if (!k || !raster::IsHatch(g->keys[k - 1].Style)) {
                    ++x;
                    continue;
                }
                int e = x;
                while (e < g->w && row[e] == k) row[e++] = 0;
                hatch[k - 1].push_back({y, x, e});
                x = e;
            }
        }
    std::vector<std::vector<std::vector<QPointF>>> rings(g->keys.size());
    TraceLabels(g->ink.data() + size_t(g->y0) * W, W, g->y1 - g->y0 + 3, -0.5, g->y0 - 0.5, 0.4,
                [&](uint16_t k) -> std::vector<std::vector<QPointF>>& { return rings[k - 1]; });
    for (size_t k = 0; k < g->keys.size(); ++k) {
        Item it(Kind::Fill, ToQColor(g->keys[k].Color));
        if (raster::IsHatch(g->keys[k].Style)) {
            it.rings = HatchBands(hatch[k], g->keys[k].Style).Build();
            it.winding = true;
        } else {
            it.rings = std::move(rings[k]);
        }
        if (!it.rings.empty()) lifted.push_back({g->before, std::move(it)});
    }
}

namespace {
// Where a point of a stroke lies: a pixel's centre, or an exact point as it is.
double Px(const TPoint& p) { return p.x + 0.5; }
double Py(const TPoint& p) { return p.y + 0.5; }
double Px(const TPointF& p) { return p.x; }
double Py(const TPointF& p) { return p.y; }
// A point on the pixel of the one kept before adds nothing to the line; an
// exact one adds nothing within a step of it.
bool Same(const TPoint& a, const TPoint& b) { return a == b; }
bool Same(const TPointF& a, const TPointF& b) {
    return std::abs(a.x - b.x) < VectorRecorder::kExactStep && std::abs(a.y - b.y) < VectorRecorder::kExactStep;
}
} // namespace

void VectorRecorder::Stroke(const TPoint* pts, int n, bool closed, const TPen& pen, const TBrush& brush,
                            int styleStart, bool continuing) {
    StrokeOf(pts, n, closed, pen, brush, styleStart, continuing);
}

void VectorRecorder::Stroke(const TPointF* pts, int n, bool closed, const TPen& pen, const TBrush& brush,
                            int styleStart, bool continuing) {
    StrokeOf(pts, n, closed, pen, brush, styleStart, continuing);
}

namespace {
// The points a line needs to stay within tolerance of all of them (the
// farthest point splits a stretch until none is farther): a coast of many
// points per pixel keeps only those that give its shape.
void Simplify(std::vector<QPointF>& line, double tolerance) {
    const size_t n = line.size();
    if (n < 3) return;
    thread_local std::vector<char> keep;
    thread_local std::vector<std::pair<size_t, size_t>> todo;
    keep.assign(n, 0);
    keep[0] = keep[n - 1] = 1;
    todo.assign(1, {0, n - 1});
    const double limit = tolerance * tolerance;
    while (!todo.empty()) {
        const auto [a, b] = todo.back();
        todo.pop_back();
        const QPointF &p = line[a], &q = line[b];
        const double dx = q.x() - p.x(), dy = q.y() - p.y(), len = dx * dx + dy * dy;
        double worst = -1;
        size_t at = a;
        for (size_t i = a + 1; i < b; ++i) {
            const double ex = line[i].x() - p.x(), ey = line[i].y() - p.y();
            double d;
            if (len == 0) {
                d = ex * ex + ey * ey;
            } else {
                const double t = std::clamp((ex * dx + ey * dy) / len, 0.0, 1.0);
                const double fx = ex - t * dx, fy = ey - t * dy;
                d = fx * fx + fy * fy;
            }
            if (d > worst) worst = d, at = i;
        }
        if (worst > limit) {
            keep[at] = 1;
            if (at - a > 1) todo.push_back({a, at});
            if (b - at > 1) todo.push_back({at, b});
        }
    }
    size_t w = 0;
    for (size_t i = 0; i < n; ++i)
        if (keep[i]) line[w++] = line[i];
    line.resize(w);
}
} // namespace

template <class P>
void VectorRecorder::StrokeOf(const P* pts, int n, bool closed, const TPen& pen, const TBrush& brush,
                              int styleStart, bool continuing) {
    if (n < 2 || pen.Style == psClear || pen.Mode != pmCopy) return;
    const int width = std::max(1, pen.Width);
    const TPenStyle style = width == 1 ? pen.Style : psSolid;
    const double off = CentreOffset(width) - 0.5;
    const bool dashed = style != psSolid && style != psInsideFrame;
    constexpr bool exact = std::is_same_v<P, TPointF>;
    // Only the stretches that reach the picture are kept: a map zoomed in on a
    // town would otherwise carry every coast of its areas.
    auto seen = [&](int i) {
        if (area.isEmpty() || closed) return true;
        const P &a = pts[i], &b = pts[i + 1];
        // Measured from the pixels' centres: a pixel's edges are half a pixel off them.
        return std::max(Px(a), Px(b)) >= 0.5 - width && std::min(Px(a), Px(b)) <= area.width() + width + 0.5 &&
               std::max(Py(a), Py(b)) >= 0.5 - width && std::min(Py(a), Py(b)) <= area.height() + width + 0.5;
    };
    double along = 0;   // how far the dashes went before the stretch
    for (int i = 0; i < n - 1;) {
        if (!seen(i)) {
            if (dashed) along += std::hypot(Px(pts[i + 1]) - Px(pts[i]), Py(pts[i + 1]) - Py(pts[i]));
            ++i;
            continue;
        }
        const int first = i;
        while (i < n - 1 && seen(i)) ++i;
        std::vector<QPointF> line;
        line.reserve(size_t(i - first + 1));
        int kept = first;
        for (int k = first; k <= i; ++k)
            if (k == first || !Same(pts[k], pts[kept])) line.emplace_back(Px(pts[k]) + off, Py(pts[k]) + off), kept = k;
        // The line ends where it ends: an exact end near the last point kept takes its place.
        const QPointF end(Px(pts[i]) + off, Py(pts[i]) + off);
        if (line.size() < 2) line.push_back(end);
        else if (exact) line.back() = end;
        if (exact) Simplify(line, kExactTolerance);
        if (line.size() > 2 && line.back() == line[line.size() - 2]) line.pop_back();
        const double dashStart = styleStart + along;
        auto add = [&](TColor c, TPenStyle st) {
            const QColor qc = ToQColor(c);
            // Joined on only while nothing was put above the stroke since.
            if (continuing && first == 0 && !closed && !items.empty() && !LiftedOnTop()) {
                Item& last = items.back();
                if (last.kind == Kind::Stroke && !last.closed && last.color == qc && last.width == width &&
                    last.style == st && last.exact == exact && last.points.back() == line.front()) {
                    last.points.insert(last.points.end(), line.begin() + 1, line.end());
                    lastStrokeOf[Rgb(c)] = items.size();
                    return;
                }
            }
            Item it(Kind::Stroke, qc);
            it.width = width, it.style = st, it.dashStart = dashStart, it.closed = closed, it.points = line;
            it.exact = exact;
            Add(std::move(it));
        };
        // A solid brush shows in a styled pen's gaps.
        if (dashed && brush.Style == bsSolid) add(brush.Color, psSolid);
        add(pen.Color, style);
        // Only a dashed line goes on with its pattern where it was cut.
        if (dashed)
            for (int k = first; k < i; ++k) along += std::hypot(Px(pts[k + 1]) - Px(pts[k]), Py(pts[k + 1]) - Py(pts[k]));
    }
}

void VectorRecorder::FillPolygon(const TPoint* pts, int n, const TBrush& brush) { FillRings(pts, &n, 1, brush); }

namespace {
constexpr double kInset = 0.5 - 1.0 / 64;
}

void VectorRecorder::FillRings(const TPoint* pts, const int* counts, int rings, const TBrush& brush) {
    if (brush.Style != bsSolid) return;
    Item it(Kind::Fill, ToQColor(brush.Color));
    for (int r = 0, first = 0; r < rings; first += counts[r++]) {
        if (counts[r] < 3) continue;
        std::vector<QPointF> ring;
        // A hair up and left of the centres: a centre on a top or left edge is
        // inside, on a bottom or right one outside, as the canvas fills them.
        for (int i = first; i < first + counts[r]; ++i) ring.emplace_back(pts[i].x + kInset, pts[i].y + kInset);
        it.rings.push_back(std::move(ring));
    }
    if (!it.rings.empty()) Add(std::move(it));
}

void VectorRecorder::FillRings(const TPointF* pts, const int* counts, int rings, const TBrush& brush) {
    if (brush.Style != bsSolid) return;
    Item it(Kind::Fill, ToQColor(brush.Color));
    it.exact = true;
    // Points go to the nearest step: two areas that share an edge share its
    // points, in either direction, so no gap opens between them.
    auto snap = [](double v) { return std::round(v * 4) / 4; };
    for (int r = 0, first = 0; r < rings; first += counts[r++]) {
        if (counts[r] < 3) continue;
        std::vector<QPointF> ring;
        ring.reserve(size_t(counts[r]));
        for (int i = first; i < first + counts[r]; ++i) {
            const QPointF q(snap(pts[i].x), snap(pts[i].y));
            if (ring.empty() || q != ring.back()) ring.push_back(q);
        }
        while (ring.size() > 1 && ring.back() == ring.front()) ring.pop_back();
        if (ring.size() >= 3) it.rings.push_back(std::move(ring));
    }
    if (it.rings.empty()) return;
    if (!tiling) return Add(std::move(it));
    for (Item& t : tiles)
        if (t.color == it.color) {
            for (auto& r : it.rings) t.rings.push_back(std::move(r));
            return;
        }
    tiles.push_back(std::move(it));
}

namespace {

// Rings of quarter-pixel points filled by the odd-even rule, less every edge
// they hold an even number of times (two neighbours' common edge): a line
// crosses such an edge an even number of times, so the same area is filled.
// What is left is joined into rings again, each edge taken once, following
// the rings it came from where it can.
std::vector<std::vector<QPointF>> WithoutSharedEdges(const std::vector<std::vector<QPointF>>& rings) {
    constexpr double kFar = double(1 << 28);   // pixels; farther out a part is kept as drawn
    size_t n = 0;
    for (const auto& r : rings) {
        for (const QPointF& q : r)
            if (!(std::abs(q.x()) < kFar && std::abs(q.y()) < kFar)) return rings;
        n += r.size();
    }
    if (n >= UINT32_MAX / 2) return rings;
    // A point as one number: quarter pixels across in the high half, down in the low.
    auto key = [](const QPointF& q) {
        return uint64_t(uint32_t(int32_t(q.x() * 4))) << 32 | uint64_t(uint32_t(int32_t(q.y() * 4)));
    };
    // Edge s runs from[s] -> from[next[s]] along its ring.
    std::vector<uint64_t> from(n);
    std::vector<uint32_t> next(n), prev(n);
    for (size_t r = 0, s = 0; r < rings.size(); s += rings[r++].size()) {
        const size_t m = rings[r].size();
        for (size_t i = 0; i < m; ++i) {
            from[s + i] = key(rings[r][i]);
            next[s + i] = uint32_t(s + (i + 1) % m);
            prev[s + i] = uint32_t(s + (i + m - 1) % m);
        }
    }
    auto to = [&](uint32_t s) { return from[next[s]]; };
    // Each edge, whichever way it runs, once in a table: a second one takes
    // the first out, a third puts it back.
    std::vector<char> alive(n, 0);
    {
        size_t cap = 1;
        while (cap < 2 * n) cap <<= 1;
        std::vector<uint32_t> first(cap, UINT32_MAX);   // the first edge of each kind
        for (uint32_t s = 0; s < n; ++s) {
            const uint64_t a = from[s], b = to(s), lo = std::min(a, b), hi = std::max(a, b);
            size_t h = size_t((lo * 0x9E3779B97F4A7C15ull) ^ (hi * 0xC2B2AE3D27D4EB4Full));
            h = (h ^ (h >> 29)) & (cap - 1);
            for (;; h = (h + 1) & (cap - 1)) {
                const uint32_t f = first[h];
                if (f == UINT32_MAX) {
                    first[h] = s;
                    alive[s] = 1;
                    break;
                }
                if (std::min(from[f], to(f)) == lo && std::max(from[f], to(f)) == hi) {
                    alive[f] ^= 1;
                    break;
                }
            }
        }
    }
    // Where a ring's own next edge is gone the line goes on along another
    // whose own neighbour there is gone too, entering it at that end.
    std::vector<std::pair<uint64_t, uint32_t>> loose;
    for (uint32_t s = 0; s < n; ++s) {
        if (!alive[s]) continue;
        if (!alive[prev[s]]) loose.push_back({from[s], s});
        if (!alive[next[s]]) loose.push_back({to(s), s});
    }
    std::sort(loose.begin(), loose.end());
    std::vector<std::vector<QPointF>> out;
    auto point = [](uint64_t k) {
        return QPointF(double(int32_t(uint32_t(k >> 32))) / 4, double(int32_t(uint32_t(k))) / 4);
    };
    for (uint32_t first = 0; first < n; ++first) {
        if (!alive[first]) continue;
        std::vector<QPointF> ring;
        const uint64_t start = from[first];
        uint32_t s = first;
        bool forward = true;
        while (true) {
            alive[s] = 0;
            ring.push_back(point(forward ? from[s] : to(s)));
            const uint64_t end = forward ? to(s) : from[s];
            if (end == start) break;
            const uint32_t own = forward ? next[s] : prev[s];
            if (alive[own]) {
                s = own;
                continue;
            }
            auto it = std::lower_bound(loose.begin(), loose.end(), std::pair<uint64_t, uint32_t>{end, 0});
            while (it != loose.end() && it->first == end && !alive[it->second]) ++it;
            if (it == loose.end() || it->first != end) break;   // not for rings that close
            s = it->second;
            forward = from[s] == end;
        }
        if (ring.size() >= 3) out.push_back(std::move(ring));
    }
    return out;
}

} // namespace

void VectorRecorder::BeginTiles() { tiling = true; }

void VectorRecorder::EndTiles() {
    tiling = false;
    for (Item& t : tiles) {
        t.rings = WithoutSharedEdges(t.rings);
        if (!t.rings.empty()) Add(std::move(t));
    }
    tiles.clear();
}

void VectorRecorder::FillRect(int x0, int y0, int x1, int y1, const TBrush& brush) {
    if (x0 >= x1 || y0 >= y1 || brush.Style == bsClear) return;
    if (raster::IsHatch(brush.Style)) {
        std::vector<PixelSpan> spans;
        for (int y = y0; y < y1; ++y) spans.push_back({y, x0, x1});
        return AddHatch(spans, brush);
    }
    Item it(Kind::Fill, ToQColor(brush.Color));
    it.rings.push_back({{double(x0), double(y0)}, {double(x1), double(y0)}, {double(x1), double(y1)}, {double(x0), double(y1)}});
    Add(std::move(it));
}

void VectorRecorder::Ellipse(double x0, double y0, double x1, double y1, const TBrush& brush, int penWidth,
                             TColor penColor) {
    // Kept as a path of curves: a circle stays round at any scale.
    QPainterPath outer;
    outer.addEllipse(QRectF(x0, y0, x1 - x0, y1 - y0));
    auto add = [&](const QPainterPath& path, QColor c) {
        Item f(Kind::Fill, c);
        f.path = path;
        Add(std::move(f));
    };
    if (brush.Style == bsSolid) add(outer, ToQColor(brush.Color));
    if (penWidth > 0) {
        QPainterPath inner;
        const double w = penWidth;
        if (x1 - x0 > 2 * w && y1 - y0 > 2 * w) inner.addEllipse(QRectF(x0 + w, y0 + w, x1 - x0 - 2 * w, y1 - y0 - 2 * w));
        QPainterPath ring = outer;
        ring.addPath(inner);   // odd-even: the inner ellipse is the hole
        add(ring, ToQColor(penColor));
    }
}

QString WithoutControls(const QString& text) {
    QString kept;
    kept.reserve(text.size());
    for (QChar c : text)
        if (c.category() != QChar::Other_Control && c.unicode() != 0xFFFE && c.unicode() != 0xFFFF) kept += c;
    return kept;
}

void VectorRecorder::Text(double x, double baseline, const QFont& font, TColor color, const QString& text,
                          const QRectF* clip) {
    // No XML reader takes a control character, and no page shows one.
    QString shown = WithoutControls(text);
    if (shown.isEmpty()) return;
    Item it(Kind::Text, ToQColor(color));
    it.font = font;
    it.text = std::move(shown);
    it.box = QRectF(x, baseline, 0, 0);
    if (clip) it.clipped = true, it.box = *clip, it.points = {QPointF(x, baseline)};
    Add(std::move(it));
}

void VectorRecorder::FillSpans(const std::vector<PixelSpan>& spans, const TBrush& brush) {
    if (raster::IsHatch(brush.Style)) return AddHatch(spans, brush);
    if (brush.Style != bsSolid || spans.empty()) return;
    Item it(Kind::Fill, ToQColor(brush.Color));
    it.rings = TraceOutline(spans, 0);
    Add(std::move(it));
}

void VectorRecorder::AddHatch(const std::vector<PixelSpan>& spans, const TBrush& brush) {
    Item it(Kind::Fill, ToQColor(brush.Color));
    it.rings = HatchBands(spans, brush.Style).Build();
    it.winding = true;   // crossing bands are one ink, not holes
    if (!it.rings.empty()) Add(std::move(it));
}

void VectorRecorder::Flood(const std::vector<PixelSpan>& spans, const TBrush& brush, const TColor* replaced,
                           int width, int height) {
    if (spans.empty() || brush.Style == bsClear || width <= 0 || height <= 0) return;
    if (!replaced) {
        if (raster::IsHatch(brush.Style)) return AddHatch(spans, brush);
        Item it(Kind::Fill, ToQColor(brush.Color));
        it.rings = TraceOutline(spans, 0);
        return Add(std::move(it));
    }
    const size_t at = LiftPlace(*replaced);
    if (group && (group->before != at || group->w != width || group->h != height || group->keys.size() >= 0xFFFF))
        CloseGroup();
    if (!group) {
        group = std::make_unique<FloodGroup>();
        group->before = at, group->w = width, group->h = height, group->y0 = height;
        group->ink.assign(size_t(width + 2) * size_t(height + 2), 0);
    }
    FloodGroup& g = *group;
    const uint64_t id = uint64_t(Rgb(brush.Color)) << 8 | uint64_t(brush.Style);
    auto [it, added] = g.keyOf.emplace(id, uint16_t(g.keys.size() + 1));
    if (added) g.keys.push_back(TBrush{brush.Color, brush.Style});
    const uint16_t key = it->second;
    const uint8_t* rows = raster::IsHatch(brush.Style) ? raster::HatchRows(brush.Style) : nullptr;
    const int W = width + 2;
    for (const PixelSpan& s : spans) {
        const int x0 = std::max(s.x0, 0), x1 = std::min(s.x1, width);
        if (s.y < 0 || s.y >= height || x0 >= x1) continue;
        uint16_t* row = g.ink.data() + size_t(s.y + 1) * W + 1;
        g.y0 = std::min(g.y0, s.y), g.y1 = std::max(g.y1, s.y);
        if (!rows) {
            std::fill(row + x0, row + x1, key);
            continue;
        }
        // Only the pattern's own pixels are inked; its gaps keep what they had.
        const uint8_t bits = rows[s.y & 7];
        for (int x = x0; x < x1; ++x)
            if (bits & (0x80 >> (x & 7))) row[x] = key;
    }
}

void VectorRecorder::Image(const TRect& dest, const QImage& src, const TRect& source, bool transparent, TColor key) {
    if (dest.Width() <= 0 || dest.Height() <= 0 || src.isNull()) return;
    QImage part = src.copy(source.Left, source.Top, source.Width(), source.Height());
    if (transparent) {
        part = part.convertToFormat(QImage::Format_ARGB32);
        const uint32_t kp = ToPixel(key);
        for (int y = 0; y < part.height(); ++y) {
            auto* row = reinterpret_cast<uint32_t*>(part.scanLine(y));
            for (int x = 0; x < part.width(); ++x)
                if ((row[x] | raster::kAlpha) == kp) row[x] = 0;
        }
    }
    // A picture drawn again is the same image, which a writer keeps once.
    std::vector<QImage>& same = pictures[qHashBits(part.constBits(), size_t(part.sizeInBytes()), size_t(part.width()))];
    const auto found = std::find(same.begin(), same.end(), part);
    if (found != same.end()) part = *found;
    else same.push_back(part);
    Item it(Kind::Picture);
    it.image = std::move(part);
    it.box = QRectF(dest.Left, dest.Top, dest.Width(), dest.Height());
    Add(std::move(it));
}

void VectorRecorder::Inset(std::shared_ptr<const VectorRecorder> drawing, QPointF offset, const QRectF& clip) {
    if (!drawing) return;
    Item it(Kind::Inset);
    it.inset = std::move(drawing);
    it.points.push_back(offset);
    it.box = clip;
    Add(std::move(it));
}

std::vector<VectorRecorder::KeptText> VectorRecorder::Texts() const {
    CloseGroup();
    std::vector<KeptText> texts;
    for (const Item& it : items) {
        if (it.kind == Kind::Text) texts.push_back({it.text, it.clipped ? it.points.front() : it.box.topLeft(), it.font});
        if (it.kind != Kind::Inset) continue;
        // An inset's texts where they show, at their place on the picture.
        for (KeptText t : it.inset->Texts()) {
            t.baseline += it.points.front();
            if (it.box.contains(t.baseline)) texts.push_back(std::move(t));
        }
    }
    return texts;
}

bool VectorRecorder::Visit(const std::function<bool(const Item&)>& f) const {
    CloseGroup();
    size_t next = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        for (; next < lifted.size() && lifted[next].before <= i; ++next)
            if (!f(lifted[next].item)) return false;
        if (!f(items[i])) return false;
    }
    for (; next < lifted.size(); ++next)
        if (!f(lifted[next].item)) return false;
    return true;
}

namespace {

// A line or ring of whole numbers without its repeated points and the points
// inside a straight run: the same shape in fewer numbers, so neighbours still meet.
std::vector<QPointF> Straightened(const std::vector<QPointF>& ring) {
    std::vector<QPointF> out;
    out.reserve(ring.size());
    for (const QPointF& q : ring) {
        if (!out.empty() && out.back() == q) continue;
        while (out.size() >= 2) {
            const QPointF a = out[out.size() - 2], b = out.back();
            const double cross = (b.x() - a.x()) * (q.y() - b.y()) - (b.y() - a.y()) * (q.x() - b.x());
            const double dot = (b.x() - a.x()) * (q.x() - b.x()) + (b.y() - a.y()) * (q.y() - b.y());
            if (cross != 0 || dot <= 0) break;
            out.pop_back();
        }
        out.push_back(q);
    }
    return out;
}

// Four corners of a box in turn, starting at its top left.
bool IsBox(const std::vector<QPointF>& r) {
    return r.size() == 4 && r[0].y() == r[1].y() && r[1].x() == r[2].x() && r[2].y() == r[3].y() &&
           r[3].x() == r[0].x() && r[0].x() < r[1].x() && r[0].y() < r[3].y();
}

} // namespace

bool VectorRecorder::Replay(QPainter& p, const std::function<bool()>& keepGoing, int units) const {
    p.save();
    // Lines in whole steps of 1/units pixel: a device that writes their
    // numbers writes them short. The rest is drawn as kept, and the scale
    // changes only where a run of lines begins or ends.
    units = std::max(units, 1);
    const QTransform base = p.worldTransform(), fine = QTransform::fromScale(1.0 / units, 1.0 / units) * base;
    bool inFine = false;
    auto use = [&](bool f) {
        if (units > 1 && f != inFine) p.setWorldTransform(f ? fine : base), inFine = f;
    };
    std::vector<QPointF> line;
    auto rounded = [&](const std::vector<QPointF>& pts) {
        line.clear();
        for (const QPointF& q : pts) line.emplace_back(std::round(q.x() * units), std::round(q.y() * units));
        return &line;
    };
    auto draw = [&](const Item& it) {
        const bool exactFill = it.kind == Kind::Fill && it.exact && units > 1;
        use(it.kind == Kind::Stroke || exactFill);
        switch (it.kind) {
        case Kind::Stroke: {
            QPen pen(it.color);
            pen.setWidthF(double(it.width) * units);
            pen.setCapStyle(it.width > 1 ? Qt::RoundCap : Qt::FlatCap);
            pen.setJoinStyle(Qt::RoundJoin);
            if (const raster::DashRuns* runs = raster::DashRunsOf(it.style)) {
                // In pen widths, so the pattern scales with the pen.
                QList<qreal> pattern;
                for (int k = 0; k < runs->count; ++k) pattern << runs->runs[k];
                pen.setDashPattern(pattern);
                pen.setDashOffset(it.dashStart);
            }
            p.setPen(pen);
            p.setBrush(Qt::NoBrush);
            if (units > 1) line = Straightened(*rounded(it.points));
            const std::vector<QPointF>* pts = units > 1 ? &line : &it.points;
            if (it.closed) p.drawPolygon(pts->data(), int(pts->size()));
            else p.drawPolyline(pts->data(), int(pts->size()));
            break;
        }
        case Kind::Fill:
            if (exactFill) {
                std::vector<std::vector<QPointF>> rings;
                for (const auto& r : it.rings) rings.push_back(Straightened(*rounded(r)));
                p.fillPath(PathOf(rings, Qt::OddEvenFill), it.color);
                break;
            }
            // A box (a name's ground) as a box: a PDF writes it in four numbers.
            if (it.rings.size() == 1 && IsBox(it.rings[0])) {
                p.fillRect(QRectF(it.rings[0][0], it.rings[0][2]), it.color);
                break;
            }
            p.fillPath(it.rings.empty() ? it.path : PathOf(it.rings, it.winding ? Qt::WindingFill : Qt::OddEvenFill),
                       it.color);
            break;
        case Kind::Text:
            p.setFont(it.font);
            p.setPen(it.color);
            if (it.clipped) {
                p.save();
                p.setClipRect(it.box, Qt::IntersectClip);
                p.drawText(it.points.front(), it.text);
                p.restore();
            } else {
                p.drawText(it.box.topLeft(), it.text);
            }
            break;
        case Kind::Picture:
            if (!it.image.isNull()) p.drawImage(it.box, it.image);
            break;
        case Kind::Inset:
            p.save();
            p.setClipRect(it.box, Qt::IntersectClip);
            p.translate(it.points.front());
            it.inset->Replay(p, {}, units);
            p.restore();
            break;
        }
    };
    size_t n = 0;
    const bool going = Visit([&](const Item& it) {
        draw(it);
        return !keepGoing || (++n & 1023) != 0 || keepGoing();
    });
    p.restore();
    return going;
}

} // namespace gui
