// Lines and shapes of the canvas, rasterised by hand into the image's
// scanlines: the map draws hundreds of thousands of segments per redraw, and
// the pixels must come out where the desktop canvas puts them.
#include "gui/Graphics.h"
#include "gui/Graphics_impl.h"
#include "gui/VectorRecorder.h"
#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

using namespace gui::raster;

namespace {

// Dash patterns of width-1 styled pens, in pixels: on, off, on, off, ...
struct DashPattern {
    int period = 0;
    bool on[24] = {};
};

constexpr DashPattern MakePattern(const DashRuns& runs) {
    DashPattern p;
    bool on = true;
    for (int k = 0; k < runs.count; ++k) {
        const int n = runs.runs[k];
        for (int i = 0; i < n; ++i) p.on[p.period++] = on;
        on = !on;
    }
    return p;
}

constexpr DashPattern kDash = MakePattern(kDashRuns[0]);
constexpr DashPattern kDot = MakePattern(kDashRuns[1]);
constexpr DashPattern kDashDot = MakePattern(kDashRuns[2]);
constexpr DashPattern kDashDotDot = MakePattern(kDashRuns[3]);

const DashPattern* PatternOf(TPenStyle s) {
    switch (s) {
    case psDash: return &kDash;
    case psDot: return &kDot;
    case psDashDot: return &kDashDot;
    case psDashDotDot: return &kDashDotDot;
    default: return nullptr;
    }
}

// The pixels of an image, looked up once per call rather than once per use.
struct Surface {
    uint32_t* bits = nullptr;
    int w = 0, h = 0;
    int64_t stride = 0;   // in pixels
    explicit Surface(QImage& img)
        : bits(reinterpret_cast<uint32_t*>(img.bits())), w(img.width()), h(img.height()),
          stride(img.bytesPerLine() / 4) {}
};

inline int64_t FloorDiv(int64_t a, int64_t b) {   // b > 0
    int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}
inline int64_t CeilDiv(int64_t a, int64_t b) { return -FloorDiv(-a, b); }

// Far-away end points (a map scrolled a long way) are pulled in along the line
// first, so the integer stepping below cannot overflow.
constexpr int kFar = 1 << 26;

inline bool Far(int v) { return v < -kFar || v > kFar; }

bool PullIn(int& x0, int& y0, int& x1, int& y1) {
    double t0 = 0, t1 = 1, dx = double(x1) - x0, dy = double(y1) - y0;
    auto clip = [&](double p, double q) {   // Liang-Barsky against |v| <= kFar
        if (p == 0) return q >= 0;
        double t = q / p;
        if (p < 0) { if (t > t1) return false; t0 = std::max(t0, t); }
        else { if (t < t0) return false; t1 = std::min(t1, t); }
        return true;
    };
    if (!clip(-dx, x0 + double(kFar)) || !clip(dx, kFar - double(x0)) || !clip(-dy, y0 + double(kFar)) ||
        !clip(dy, kFar - double(y0)))
        return false;
    double ax = x0 + t0 * dx, ay = y0 + t0 * dy, bx = x0 + t1 * dx, by = y0 + t1 * dy;
    x0 = int(std::lround(ax)), y0 = int(std::lround(ay)), x1 = int(std::lround(bx)), y1 = int(std::lround(by));
    return true;
}

struct LineStyle {
    uint32_t pen = 0, gap = 0;
    TPenMode mode = pmCopy;
    const DashPattern* pattern = nullptr;   // null: solid
    bool opaqueGaps = false;
};

// A width-1 line from (x0,y0) towards (x1,y1), the end pixel left out.
// Pixel i (0..n-1) steps the major axis i times and the minor axis
// floor((2*i*minor + major - 1) / (2*major)) times, so a line clipped by the
// image keeps exactly the pixels it would have had unclipped.
// styleIndex goes on by n whatever the clipping.
void Line1(const Surface& img, int x0, int y0, int x1, int y1, const LineStyle& st, int& styleIndex) {
    const int64_t adx = std::abs(int64_t(x1) - x0), ady = std::abs(int64_t(y1) - y0);
    const int64_t major = std::max(adx, ady), minor = std::min(adx, ady);
    if (major == 0) return;
    const int startStyle = styleIndex;
    if (st.pattern) styleIndex = int((styleIndex + major) % st.pattern->period);
    const int W = img.w, H = img.h;
    if (W <= 0 || H <= 0) return;

    const bool xMajor = adx >= ady;
    const int64_t m0 = xMajor ? x0 : y0, n0 = xMajor ? y0 : x0;
    const int smaj = (xMajor ? x1 - x0 : y1 - y0) > 0 ? 1 : -1;
    const int smin = (xMajor ? y1 - y0 : x1 - x0) > 0 ? 1 : -1;
    const int64_t mMax = xMajor ? W : H, nMax = xMajor ? H : W;
    const int64_t c = major - 1, twoMaj = 2 * major, twoMin = 2 * minor;

    int64_t ia = 0, ib = major - 1;
    const bool inside = x0 >= 0 && x0 < W && y0 >= 0 && y0 < H && x1 >= 0 && x1 < W && y1 >= 0 && y1 < H;
    if (!inside) {   // most segments of a map lie wholly inside: no clipping sums for them
        if (smaj > 0) ia = std::max(ia, -m0), ib = std::min(ib, mMax - 1 - m0);
        else ia = std::max(ia, m0 - (mMax - 1)), ib = std::min(ib, m0);
        int64_t lo, hi;   // allowed range of the minor steps
        if (smin > 0) lo = -n0, hi = nMax - 1 - n0;
        else lo = n0 - (nMax - 1), hi = n0;
        if (minor == 0) {
            if (lo > 0 || hi < 0) return;
        } else {
            ia = std::max(ia, CeilDiv(twoMaj * lo - c, twoMin));
            ib = std::min(ib, FloorDiv(twoMaj * (hi + 1) - c - 1, twoMin));
        }
        if (ia > ib) return;
    }

    int64_t num = ia * twoMin + c;
    int64_t q = ia == 0 ? 0 : FloorDiv(num, twoMaj), r = num - q * twoMaj;   // c < twoMaj
    const int64_t stride = img.stride;
    int64_t px = xMajor ? x0 + smaj * ia : x0 + smin * q;
    int64_t py = xMajor ? y0 + smin * q : y0 + smaj * ia;
    uint32_t* p = img.bits + py * stride + px;
    const int64_t majStep = xMajor ? smaj : smaj * stride;
    const int64_t minStep = xMajor ? smin * stride : smin;
    int64_t count = ib - ia + 1;

    WithMode(st.mode, [&]<TPenMode M>() {
        if (!st.pattern) {
            const uint32_t v = st.pen;
            for (; count > 0; --count) {
                Put<M>(*p, v);
                p += majStep;
                r += twoMin;
                if (r >= twoMaj) r -= twoMaj, p += minStep;
            }
            return;
        }
        const DashPattern& pat = *st.pattern;
        int s = int((startStyle + ia) % pat.period);
        for (; count > 0; --count) {
            if (pat.on[s]) Put<M>(*p, st.pen);
            else if (st.opaqueGaps) Put<M>(*p, st.gap);
            if (++s == pat.period) s = 0;
            p += majStep;
            r += twoMin;
            if (r >= twoMaj) r -= twoMaj, p += minStep;
        }
    });
}

// The end discs of a wide pen, row by row: the half-width of the disc on the
// row k rows below its centre, or -1 where the disc misses the row. Taken once
// per width, so a stroke costs no square root per row.
struct DiscRows {
    static constexpr int kMaxWidth = 64;
    int reach = 0;                // rows -reach..reach may meet the disc
    std::vector<double> half;     // index k + reach
};

const DiscRows* DiscOf(int width) {
    if (width > DiscRows::kMaxWidth) return nullptr;
    static DiscRows table[DiscRows::kMaxWidth + 1];
    DiscRows& d = table[width];
    if (d.half.empty()) {
        const double sh = (width % 2 == 0) ? 0.5 : 0.0;
        const double rad = width / 2.0, r2 = rad * rad + 1e-7;
        d.reach = width / 2 + 2;
        for (int k = -d.reach; k <= d.reach; ++k) {
            const double dy = k + sh, t = r2 - dy * dy;
            d.half.push_back(t >= 0 ? std::sqrt(t) : -1.0);
        }
    }
    return &d;
}

// A wide pen's stroke: every pixel whose centre lies within width/2 of the
// segment (round ends). Even widths are shifted half a pixel up and left so a
// width-2 line is two pixels thick, not three.
void Capsule(const Surface& img, int x0, int y0, int x1, int y1, int width, uint32_t v, TPenMode mode) {
    const int W = img.w, H = img.h;
    const double sh = (width % 2 == 0) ? 0.5 : 0.0;
    const double ax = x0 - sh, ay = y0 - sh, bx = x1 - sh, by = y1 - sh;
    const double rad = width / 2.0, r2 = rad * rad + 1e-7;
    // Strokes that cannot reach the image cost nothing more.
    if (std::max(ax, bx) + rad < -1.0 || std::min(ax, bx) - rad > W) return;
    const double dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy, len = std::sqrt(len2);
    int yTop = int(std::ceil(std::min(ay, by) - rad - 1e-7));
    int yBot = int(std::floor(std::max(ay, by) + rad + 1e-7));
    yTop = std::max(yTop, 0), yBot = std::min(yBot, H - 1);
    const double inf = std::numeric_limits<double>::infinity();
    const DiscRows* discs = DiscOf(width);
    const double e = rad * len + 1e-7;
    for (int y = yTop; y <= yBot; ++y) {
        double lo = inf, hi = -inf;
        auto disc = [&](double cx, double cy, int c0) {
            double s;
            if (discs) {
                const int64_t k = int64_t(y) - c0;
                if (k < -discs->reach || k > discs->reach) return;
                s = discs->half[size_t(k + discs->reach)];
                if (s < 0) return;
            } else {
                double d = y - cy, t = r2 - d * d;
                if (t < 0) return;
                s = std::sqrt(t);
            }
            lo = std::min(lo, cx - s), hi = std::max(hi, cx + s);
        };
        disc(ax, ay, y0);
        disc(bx, by, y1);
        if (len2 > 0) {
            // u = x - ax must satisfy 0 <= u*dx + ey*dy <= len2 and |u*dy - ey*dx| <= rad*len.
            double ey = y - ay, ulo = -inf, uhi = inf;
            auto slab = [&](double k, double a, double b) {   // a <= u*k <= b
                if (k == 0) {
                    if (a > 0 || b < 0) ulo = inf, uhi = -inf;
                    return;
                }
                double u1 = a / k, u2 = b / k;
                if (u1 > u2) std::swap(u1, u2);
                ulo = std::max(ulo, u1), uhi = std::min(uhi, u2);
            };
            slab(dx, -ey * dy, len2 - ey * dy);
            slab(dy, ey * dx - e, ey * dx + e);
            if (ulo <= uhi) lo = std::min(lo, ax + ulo), hi = std::max(hi, ax + uhi);
        }
        if (lo > hi) continue;
        double xs = std::ceil(lo - 1e-9), xe = std::floor(hi + 1e-9);
        int s = int(std::max(xs, 0.0)), e1 = int(std::min(xe, double(W - 1)));
        if (s > e1) continue;
        uint32_t* row = img.bits + int64_t(y) * img.stride;
        // The runs of a wide pen are short: a plain loop beats the block fill.
        if (mode == pmCopy && e1 - s < 16) std::fill(row + s, row + e1 + 1, v);
        else Span(row, s, e1 + 1, v, mode);
    }
}

} // namespace

// Private access for the drawing code of the other canvas units.
class TCanvasImpl {
public:
    static LineStyle StyleOf(const TCanvas& c) {
        LineStyle st;
        st.pen = ToPixel(c.Pen->Color);
        st.gap = ToPixel(c.Brush->Color);
        st.mode = c.Pen->Mode;
        st.pattern = PatternOf(c.Pen->Style);
        // Only a solid brush fills the gaps; a hatched one leaves them as a clear one does.
        st.opaqueGaps = c.Brush->Style == bsSolid;
        return st;
    }
    // One pen segment; width-1 lines leave the end pixel, wide ones are solid.
    static void Segment(TCanvas& c, QImage& img, const Surface& sf, int x0, int y0, int x1, int y1,
                        const LineStyle& st) {
        if ((Far(x0) || Far(y0) || Far(x1) || Far(y1)) && !PullIn(x0, y0, x1, y1)) return;
        if (c.Pen->Width <= 1) Line1(sf, x0, y0, x1, y1, st, c.styleIndex);
        else Capsule(sf, x0, y0, x1, y1, c.Pen->Width, st.pen, st.mode);
    }
    static void Closed(TCanvas& c, QImage& img, const TPoint* pts, int n) {
        LineStyle st = StyleOf(c);
        Surface sf(img);
        int saved = c.styleIndex;
        c.styleIndex = 0;
        for (int i = 0; i < n; ++i) {
            const TPoint& a = pts[i];
            const TPoint& b = pts[(i + 1) % n];
            Segment(c, img, sf, a.x, a.y, b.x, b.y, st);
        }
        c.styleIndex = saved;
    }
};

// ---------------------------------------------------------------------------

int TFont::Height() const {
    // A size from a data file can be anything: far beyond every image it is
    // held where the font engine still copes.
    constexpr int64_t kMaxPoints = 3000;
    // Size 0 asks for no size in particular: the desktop then takes the default.
    if (PixelHeight) return PixelHeight;
    const int64_t points = Size == 0 ? kDefaultSize : std::min<int64_t>(std::abs(int64_t(Size)), kMaxPoints);
    return -int(std::lround(points * 96.0 / 72.0));
}

TCanvas::TCanvas(TBitmap* owner_) : Pen(&pen), Brush(&brush), Font(&font), owner(owner_) {}
TCanvas::~TCanvas() = default;

QImage& TCanvas::Image() { return Rgb32(owner->Image()); }
int TCanvas::Width() const { return owner->Width(); }
int TCanvas::Height() const { return owner->Height(); }

void TCanvas::Changed() {
    if (OnChange) OnChange();
}

bool TCanvas::InHidden(int64_t left, int64_t top, int64_t right, int64_t bottom) const {
    for (const TRect& r : Hidden)
        if (left >= r.Left && top >= r.Top && right <= r.Right && bottom <= r.Bottom) return true;
    return false;
}

namespace {

// Whether every point lies in one hidden box.
bool PointsHidden(const TCanvas& cv, const TPoint* pts, int count) {
    if (cv.Hidden.empty() || count <= 0) return false;
    int64_t l = pts[0].x, t = pts[0].y, r = l, b = t;
    for (int i = 1; i < count; ++i)
        l = std::min<int64_t>(l, pts[i].x), r = std::max<int64_t>(r, pts[i].x), t = std::min<int64_t>(t, pts[i].y),
        b = std::max<int64_t>(b, pts[i].y);
    return cv.InHidden(l, t, r, b);
}

} // namespace

void TCanvas::MoveTo(int x, int y) {
    penPos = TPoint(x, y);
    styleIndex = 0;
    exactKept = false;
}

void TCanvas::MoveTo(int x, int y, TPointF exact) {
    MoveTo(x, y);
    exactPos = exact, exactKept = true;
}

void TCanvas::LineTo(int x, int y) {
    if (!Hidden.empty() && InHidden(std::min(penPos.x, x), std::min(penPos.y, y), std::max(penPos.x, x),
                                    std::max(penPos.y, y))) {
        penPos = TPoint(x, y);
        return;
    }
    if (Vector) {
        const TPoint seg[2] = {penPos, TPoint(x, y)};
        Vector->Stroke(seg, 2, false, *Pen, *Brush, styleIndex, true);
    }
    exactKept = false;
    LinePixels(x, y);
}

void TCanvas::LineTo(int x, int y, TPointF exact) {
    if (Vector) {
        // From a pixel pen position: its centre, where the picture's line starts.
        const TPointF seg[2] = {exactKept ? exactPos : TPointF{penPos.x + 0.5, penPos.y + 0.5}, exact};
        Vector->Stroke(seg, 2, false, *Pen, *Brush, styleIndex, true);
    }
    exactPos = exact, exactKept = true;
    LinePixels(x, y);
}

void TCanvas::LinePixels(int x, int y) {
    if (Pen->Style != psClear) {
        QImage& img = Image();
        Surface sf(img);
        if (sf.w > 0) TCanvasImpl::Segment(*this, img, sf, penPos.x, penPos.y, x, y, TCanvasImpl::StyleOf(*this));
    }
    penPos = TPoint(x, y);
    Changed();
}

void TCanvas::Polyline(const TPoint* pts, int count) { Polyline(pts, nullptr, count); }

void TCanvas::Polyline(const TPoint* pts, const TPointF* exact, int count) {
    if (!pts || count <= 0) return;
    if (PointsHidden(*this, pts, count)) {
        penPos = pts[count - 1];
        return;
    }
    penPos = pts[0];
    styleIndex = 0;
    exactKept = false;
    if (Vector && exact) Vector->Stroke(exact, count, false, *Pen, *Brush, 0, false);
    else if (Vector) Vector->Stroke(pts, count, false, *Pen, *Brush, 0, false);
    QImage& img = Image();
    if (Pen->Style != psClear && !img.isNull()) {
        LineStyle st = TCanvasImpl::StyleOf(*this);
        Surface sf(img);
        for (int i = 1; i < count; ++i)
            TCanvasImpl::Segment(*this, img, sf, pts[i - 1].x, pts[i - 1].y, pts[i].x, pts[i].y, st);
    }
    penPos = pts[count - 1];
    Changed();
}

namespace {

// Fills rings together by the alternate rule (a ring inside another is a hole):
// pixel centres on the integer grid, left edges in. The spans filled are kept
// when asked for (a hatch's vector copy is its pixels).
void ScanFill(QImage& img, const TPoint* pts, const int* counts, int rings, const TBrush& brush, TPenMode mode,
              std::vector<gui::PixelSpan>* spans) {
    struct Edge { double x, dxdy; int yTop, yEnd; };
    thread_local std::vector<Edge> edges;
    thread_local std::vector<const Edge*> active;
    thread_local std::vector<double> xs;
    edges.clear();
    active.clear();
    int yMin = std::numeric_limits<int>::max(), yMax = std::numeric_limits<int>::min();
    for (int r = 0, first = 0; r < rings; first += counts[r++]) {
        const int n = counts[r];
        if (n < 3) continue;
        for (int i = 0; i < n; ++i) {
            TPoint a = pts[first + i], b = pts[first + (i + 1) % n];
            if (a.y == b.y) continue;
            if (a.y > b.y) std::swap(a, b);
            // In doubles: points of a far zoom sit at the int limits.
            edges.push_back({double(a.x), (double(b.x) - double(a.x)) / (double(b.y) - double(a.y)), a.y, b.y});
            yMin = std::min(yMin, a.y), yMax = std::max(yMax, b.y);
        }
    }
    yMin = std::max(yMin, 0), yMax = std::min(yMax, img.height());
    if (yMin >= yMax) return;
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.yTop < b.yTop; });
    size_t next = 0;
    for (int y = yMin; y < yMax; ++y) {
        while (next < edges.size() && edges[next].yTop <= y) active.push_back(&edges[next++]);
        active.erase(std::remove_if(active.begin(), active.end(), [y](const Edge* e) { return e->yEnd <= y; }),
                     active.end());
        xs.clear();
        for (const Edge* e : active) xs.push_back(e->x + (double(y) - e->yTop) * e->dxdy);
        std::sort(xs.begin(), xs.end());
        uint32_t* row = Row(img, y);
        for (size_t i = 0; i + 1 < xs.size(); i += 2) {
            double l = std::ceil(xs[i] - 1e-9), r = std::ceil(xs[i + 1] - 1e-9);
            const double width = img.width();
            int s = int(std::clamp(l, 0.0, width)), e = int(std::clamp(r, 0.0, width));
            BrushSpan(row, y, s, e, brush, mode);
            if (spans && s < e) spans->push_back({y, s, e});
        }
    }
}

} // namespace

void TCanvas::Polygon(const TPoint* pts, int count) {
    if (!pts || count <= 0 || PointsHidden(*this, pts, count)) return;
    QImage& img = Image();
    if (img.isNull()) return Changed();
    if (Brush->Style != bsClear && count >= 3) {
        // A hatch is kept by its pixels, a solid fill by the polygon itself.
        std::vector<gui::PixelSpan> spans;
        const bool hatchSpans = Vector && Pen->Mode == pmCopy && IsHatch(Brush->Style);
        if (Vector && Pen->Mode == pmCopy) Vector->FillPolygon(pts, count, *Brush);
        ScanFill(img, pts, &count, 1, *Brush, Pen->Mode, hatchSpans ? &spans : nullptr);
        if (hatchSpans) Vector->FillSpans(spans, *Brush);
    }
    if (Vector) Vector->Stroke(pts, count, true, *Pen, *Brush, 0, false);
    if (Pen->Style != psClear) TCanvasImpl::Closed(*this, img, pts, count);
    Changed();
}

void TCanvas::FillRings(const TPoint* pts, const int* counts, int rings) { FillRings(pts, nullptr, counts, rings); }

void TCanvas::FillRings(const TPoint* pts, const TPointF* exact, const int* counts, int rings) {
    if (!pts || !counts || rings <= 0 || Brush->Style == bsClear) return;
    if (!Hidden.empty() && counts[0] > 0 && PointsHidden(*this, pts, counts[0])) return;   // the outline holds the holes
    QImage& img = Image();
    if (img.isNull()) return Changed();
    std::vector<gui::PixelSpan> spans;
    const bool vector = Vector && Pen->Mode == pmCopy, hatch = IsHatch(Brush->Style);
    if (vector && !hatch && exact) Vector->FillRings(exact, counts, rings, *Brush);
    else if (vector && !hatch) Vector->FillRings(pts, counts, rings, *Brush);
    ScanFill(img, pts, counts, rings, *Brush, Pen->Mode, vector && hatch ? &spans : nullptr);
    if (vector && hatch) Vector->FillSpans(spans, *Brush);
    Changed();
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    if (!Hidden.empty() && InHidden(x1, y1, x2, y2)) return;
    QImage& img = Image();
    if (img.isNull() || x1 == x2 || y1 == y2) return Changed();
    auto box = [&](int a0, int b0, int a1, int b1, const TBrush& br, TPenMode m) {
        BrushRect(img, a0, b0, a1, b1, br, m);
        if (Vector && m == pmCopy) Vector->FillRect(a0, b0, a1, b1, br);
    };
    const int w = std::max(1, Pen->Width);
    // An inside-frame pen keeps the whole outline within the box.
    if (w > 1 && Pen->Style == psInsideFrame) {
        x1 += w / 2, y1 += w / 2, x2 -= (w - 1) / 2, y2 -= (w - 1) / 2;
        if (x1 >= x2 || y1 >= y2) {
            box(x1 - w / 2, y1 - w / 2, x2 + (w - 1) / 2, y2 + (w - 1) / 2, TBrush{Pen->Color, bsSolid},
                      Pen->Mode);
            return Changed();
        }
    }
    if (Pen->Style == psClear) {
        box(x1, y1, x2, y2, *Brush, Pen->Mode);
        return Changed();
    }
    if (w == 1) {
        if (x2 - x1 <= 2 || y2 - y1 <= 2) {
            // No inside left: the outline covers all of it.
            box(x1, y1, x2, y2, TBrush{Pen->Color, bsSolid}, Pen->Mode);
            return Changed();
        }
        box(x1 + 1, y1 + 1, x2 - 1, y2 - 1, *Brush, Pen->Mode);
        TPoint corners[4] = {{x1, y1}, {x2 - 1, y1}, {x2 - 1, y2 - 1}, {x1, y2 - 1}};
        TCanvasImpl::Closed(*this, img, corners, 4);
        if (Vector) Vector->Stroke(corners, 4, true, *Pen, *Brush, 0, false);
        return Changed();
    }
    // A wide pen is centred on the outline through the edge pixels, as the
    // desktop draws it: half of it falls outside the box.
    const int lo = w / 2, hi = (w - 1) / 2;
    const int X0 = x1 - lo, Y0 = y1 - lo, X1 = x2 + hi, Y1 = y2 + hi;
    const int ix0 = x1 + hi + 1, iy0 = y1 + hi + 1, ix1 = x2 - 1 - lo, iy1 = y2 - 1 - lo;
    TBrush pb{Pen->Color, bsSolid};
    if (ix1 <= ix0 || iy1 <= iy0) {
        box(X0, Y0, X1, Y1, pb, Pen->Mode);
        return Changed();
    }
    box(ix0, iy0, ix1, iy1, *Brush, Pen->Mode);
    box(X0, Y0, X1, iy0, pb, Pen->Mode);
    box(X0, iy1, X1, Y1, pb, Pen->Mode);
    box(X0, iy0, ix0, iy1, pb, Pen->Mode);
    box(ix1, iy0, X1, iy1, pb, Pen->Mode);
    Changed();
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    if (!Hidden.empty() && InHidden(x1, y1, x2, y2)) return;
    QImage& img = Image();
    if (img.isNull() || x1 == x2 || y1 == y2) return Changed();
    const bool outline = Pen->Style != psClear;
    const int w = outline ? std::max(1, Pen->Width) : 0;
    // A wide pen is centred on the outline through the edge pixels, as
    // Rectangle's is; an inside-frame pen keeps it within the box.
    int64_t X1 = x1, Y1 = y1, X2 = x2, Y2 = y2;
    if (w > 1 && Pen->Style != psInsideFrame) X1 -= w / 2, Y1 -= w / 2, X2 += (w - 1) / 2, Y2 += (w - 1) / 2;
    // Span of each row: pixel centres inside the ellipse inscribed in the box;
    // every row keeps at least its middle pixel(s) and the middle row(s) the
    // full width, so the shape always reaches all four sides of the box.
    // Rows are worked out as they are needed: only those on the image are.
    const int64_t h = Y2 - Y1;
    const double cx = (double(X1) + double(X2)) / 2.0, cy = (double(Y1) + double(Y2)) / 2.0;
    const double a = (double(X2) - double(X1)) / 2.0, b = double(h) / 2.0;
    auto span = [&](int64_t i, int64_t& l, int64_t& r) {
        double t = (double(Y1 + i) + 0.5 - cy) / b, hw = a * std::sqrt(std::max(0.0, 1 - t * t));
        double lo = std::ceil(cx - hw - 0.5 - 1e-9), hi = std::floor(cx + hw - 0.5 + 1e-9);
        if (lo > hi) lo = std::floor(cx - 0.5), hi = std::ceil(cx - 0.5);
        if (i == (h - 1) / 2 || i == h / 2) lo = double(X1), hi = double(X2 - 1);
        l = std::max(int64_t(lo), X1), r = std::min(int64_t(hi), X2 - 1);
    };
    const uint32_t pv = ToPixel(Pen->Color);
    const int W = img.width();
    auto clip = [&](int64_t s, int64_t e) { return std::pair(int(std::max<int64_t>(s, 0)), int(std::min<int64_t>(e, W))); };
    const int64_t first = std::max<int64_t>(0, -Y1), last = std::min<int64_t>(h, img.height() - Y1);
    const bool keep = Vector && Pen->Mode == pmCopy;
    std::vector<gui::PixelSpan> hatch;   // a hatch is kept by its pixels
    for (int64_t i = first; i < last; ++i) {
        const int y = int(Y1 + i);
        int64_t L, R;
        span(i, L, R);
        // Inside: pixels with every pixel within distance w (4-steps) in the shape.
        int64_t il = L + w, ir = R - w;
        for (int k = 1; k <= w && il <= ir; ++k) {
            for (int64_t j : {i - k, i + k}) {
                if (j < 0 || j >= h) { il = 1, ir = 0; break; }
                int64_t l, r;
                span(j, l, r);
                il = std::max(il, l + (w - k)), ir = std::min(ir, r - (w - k));
            }
        }
        uint32_t* row = Row(img, y);
        if (il > ir) {
            auto [s, e] = clip(L, R + 1);
            if (outline) Span(row, s, e, pv, Pen->Mode);
            else BrushSpan(row, y, s, e, *Brush, Pen->Mode);
            if (!outline && keep && s < e) hatch.push_back({y, s, e});
            continue;
        }
        auto [is, ie] = clip(il, ir + 1);
        BrushSpan(row, y, is, ie, *Brush, Pen->Mode);
        if (keep && is < ie) hatch.push_back({y, is, ie});
        if (outline) {
            auto [s1, e1] = clip(L, il);
            auto [s2, e2] = clip(ir + 1, R + 1);
            Span(row, s1, e1, pv, Pen->Mode);
            Span(row, s2, e2, pv, Pen->Mode);
        }
    }
    if (keep) {
        if (IsHatch(Brush->Style)) Vector->FillSpans(hatch, *Brush);
        const TBrush inside = IsHatch(Brush->Style) ? TBrush{Brush->Color, bsClear} : *Brush;
        if (exactBox) Vector->Ellipse(exactBox[0], exactBox[1], exactBox[2], exactBox[3], inside, w, Pen->Color);
        else Vector->Ellipse(double(X1), double(Y1), double(X2), double(Y2), inside, w, Pen->Color);
    }
    Changed();
}

void TCanvas::Circle(double cx, double cy, double r) { Circle(cx, cy, r, TPointF{cx, cy}); }

void TCanvas::Circle(double cx, double cy, double r, TPointF exact) {
    if (!std::isfinite(cx) || !std::isfinite(cy) || !std::isfinite(r) || r <= 0) return;
    // Far outside any picture nothing is drawn (and no coordinate overflows).
    constexpr double kFar = 1e6;
    if (std::abs(cx) > kFar || std::abs(cy) > kFar || r > kFar) return;
    const double box[4] = {cx - r, cy - r, cx + r, cy + r};
    const bool near = std::isfinite(exact.x) && std::isfinite(exact.y) && std::abs(exact.x - cx) < 2 &&
                      std::abs(exact.y - cy) < 2;
    const double kept[4] = {exact.x - r, exact.y - r, exact.x + r, exact.y + r};
    exactBox = near ? kept : box;
    Ellipse(int(std::lround(box[0])), int(std::lround(box[1])), int(std::lround(box[2])), int(std::lround(box[3])));
    exactBox = nullptr;
}

void TCanvas::FillRect(const TRect& r) {
    if (!Hidden.empty() && InHidden(r.Left, r.Top, r.Right, r.Bottom)) return;
    QImage& img = Image();
    if (!img.isNull()) BrushRect(img, r.Left, r.Top, r.Right, r.Bottom, *Brush, pmCopy);
    if (Vector) Vector->FillRect(r.Left, r.Top, r.Right, r.Bottom, *Brush);
    Changed();
}

void TCanvas::FrameRect(const TRect& r) {
    QImage& img = Image();
    auto box = [&](int a0, int b0, int a1, int b1) {
        BrushRect(img, a0, b0, a1, b1, *Brush, pmCopy);
        if (Vector) Vector->FillRect(a0, b0, a1, b1, *Brush);
    };
    if (!img.isNull() && r.Right > r.Left && r.Bottom > r.Top) {
        box(r.Left, r.Top, r.Right, r.Top + 1);
        if (r.Bottom - r.Top > 1) box(r.Left, r.Bottom - 1, r.Right, r.Bottom);
        box(r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1);
        if (r.Right - r.Left > 1) box(r.Right - 1, r.Top + 1, r.Right, r.Bottom - 1);
    }
    Changed();
}

TColor TCanvas::Pixels(int x, int y) const {
    const QImage& img = owner->Image();
    if (x < 0 || y < 0 || x >= img.width() || y >= img.height()) return -1;
    if (img.format() == QImage::Format_RGB32)
        return FromPixel(reinterpret_cast<const uint32_t*>(img.constScanLine(y))[x]);
    return FromPixel(img.pixel(x, y));
}

void TCanvas::SetPixel(int x, int y, TColor c) {
    QImage& img = Image();
    if (x < 0 || y < 0 || x >= img.width() || y >= img.height()) return;
    Row(img, y)[x] = ToPixel(c);
    if (Vector) Vector->FillRect(x, y, x + 1, y + 1, TBrush{c, bsSolid});
    Changed();
}
