// Flood fill and copies between images.
#include "gui/Graphics.h"
#include "gui/Graphics_impl.h"
#include "gui/VectorRecorder.h"
#include <QImage>
#include <algorithm>
#include <cstring>
#include <vector>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

using namespace gui::raster;

namespace {

// One bit per pixel: taken into the region. Kept between fills and cleared
// afterwards over the rows the fill reached, so a small fill on a big image
// costs little.
class RegionMask {
public:
    void Reset(int w, int h) {
        words = size_t(w + 63) / 64;
        if (bits.size() < words * size_t(h)) bits.resize(words * size_t(h), 0);
    }
    bool Test(int y, int x) const { return (bits[size_t(y) * words + size_t(x >> 6)] >> (x & 63)) & 1; }
    void Set(int y, int x0, int x1, bool on) {   // x0..x1 inclusive
        uint64_t* row = bits.data() + size_t(y) * words;
        for (int w = x0 >> 6; w <= x1 >> 6; ++w) {
            int a = std::max(x0, w * 64) & 63, b = std::min(x1, w * 64 + 63) & 63;
            uint64_t m = (b == 63 ? ~0ull : ((1ull << (b + 1)) - 1)) & ~((1ull << a) - 1);
            if (on) row[w] |= m;
            else row[w] &= ~m;
        }
    }
    void ClearRows(int y0, int y1) {
        if (y0 <= y1) std::fill(bits.data() + size_t(y0) * words, bits.data() + size_t(y1 + 1) * words, 0);
    }
    // First set bit at x0 or after it, or a value past the row's end.
    int NextSet(int y, int x0) const {
        const uint64_t* row = bits.data() + size_t(y) * words;
        int w = x0 >> 6;
        uint64_t v = row[w] >> (x0 & 63);
        if (v) return x0 + __builtin_ctzll(v);
        for (++w; size_t(w) < words; ++w)
            if (row[w]) return w * 64 + __builtin_ctzll(row[w]);
        return int(words * 64);
    }
    // Last x of the run of set bits starting at x0.
    int RunEnd(int y, int x0) const {
        const uint64_t* row = bits.data() + size_t(y) * words;
        int w = x0 >> 6;
        uint64_t v = ~row[w] >> (x0 & 63);
        if (v) return x0 + __builtin_ctzll(v) - 1;
        for (++w; size_t(w) < words; ++w)
            if (~row[w]) return w * 64 + __builtin_ctzll(~row[w]) - 1;
        return int(words * 64) - 1;
    }

private:
    std::vector<uint64_t> bits;
    size_t words = 0;
};

RegionMask& SharedMask() {
    static RegionMask mask;
    return mask;
}

// The run of pixels whose colour is (eq) or is not (!eq) c, from x going
// right up to the limit (exclusive) or left down to it (inclusive): returns
// the first x past the run. Four pixels a step: the fill spends its time here.
template <bool Eq> int RunRight(const uint32_t* row, int x, int limit, uint32_t c) {
#ifdef __SSE2__
    const __m128i m = _mm_set1_epi32(int(kRgb)), cv = _mm_set1_epi32(int(c));
    for (; x + 4 <= limit; x += 4) {
        __m128i v = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x)), m);
        int bits = _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(v, cv)));
        if (Eq ? bits != 0xF : bits != 0) return x + __builtin_ctz(Eq ? ~bits : bits);
    }
#endif
    while (x < limit && ((row[x] & kRgb) == c) == Eq) ++x;
    return x;
}

template <bool Eq> int RunLeft(const uint32_t* row, int x, int limit, uint32_t c) {
#ifdef __SSE2__
    const __m128i m = _mm_set1_epi32(int(kRgb)), cv = _mm_set1_epi32(int(c));
    for (; x - 4 >= limit - 1; x -= 4) {
        __m128i v = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x - 3)), m);
        int bits = _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(v, cv)));
        if (Eq ? bits != 0xF : bits != 0) return x - (__builtin_clz(unsigned(Eq ? ~bits & 0xF : bits)) - 28);
    }
#endif
    while (x >= limit && ((row[x] & kRgb) == c) == Eq) --x;
    return x;
}

// Writes the brush into one run; hatch gaps keep their pixels, so only the
// pattern's own pixels are stored.
class RunPainter {
public:
    explicit RunPainter(const TBrush& b) : style(b.Style), v(ToPixel(b.Color)) {
        if (!IsHatch(style)) return;
        for (int py = 0; py < 8; ++py)
            for (int px = 0; px < 8; ++px)
                if (HatchRows(style)[py] & (0x80 >> px)) offsets[py][count[py]++] = px;
    }
    void operator()(uint32_t* row, int y, int x0, int x1) const {   // x0..x1 inclusive
        if (style == bsClear) return;
        if (!IsHatch(style) || count[y & 7] == 8) return FillPixels(row + x0, size_t(x1 - x0 + 1), v);
        const int n = count[y & 7];
        const int* offs = offsets[y & 7];
        int xb = x0 & ~7;
        for (; xb < x0 + 8 && xb <= x1; xb += 8)   // the first block, cut at x0 (and maybe x1)
            for (int i = 0; i < n; ++i)
                if (xb + offs[i] >= x0 && xb + offs[i] <= x1) row[xb + offs[i]] = v;
        for (; xb + 7 <= x1; xb += 8)
            for (int i = 0; i < n; ++i) row[xb + offs[i]] = v;
        for (int i = 0; i < n; ++i)   // the last block, cut at x1
            if (xb + offs[i] <= x1) row[xb + offs[i]] = v;
    }

private:
    TBrushStyle style;
    uint32_t v;
    int offsets[8][8] = {}, count[8] = {};
};

// Fills the 4-connected region around (x, y) of pixels whose colour is
// (Eq) or is not (!Eq) c, scanline by scanline with an explicit stack.
// A row's run of such pixels is always taken whole, and it is entered in the
// mask before it is painted: every later decision asks the mask first and
// reads only pixels outside it, which still have their own colours, so a
// brush of colour c or a hatch leaving c in its gaps can never be taken twice.
// Painting each run as soon as it is masked keeps its row in the cache.
template <bool Eq>
void FillRegion(QImage& img, int x, int y, uint32_t c, const RunPainter& paint, RegionMask& mask, int& yMin,
                int& yMax) {
    const int W = img.width(), H = img.height();
    uint32_t* base = reinterpret_cast<uint32_t*>(img.bits());
    const size_t stride = size_t(img.bytesPerLine() / 4);
    // A run still to look around; it was found from the run [px0, px1] on
    // row y - dir (dir 0: the seed), whose row needs looking at only where
    // this run reaches past it.
    struct Pending { int y, x0, x1, dir, px0, px1; };
    std::vector<Pending> stack;
    stack.reserve(256);
    auto take = [&](uint32_t* row, int yy, int xx, int dir) {
        int l = RunLeft<Eq>(row, xx - 1, 0, c) + 1;
        int r = RunRight<Eq>(row, xx + 1, W, c) - 1;
        mask.Set(yy, l, r, true);
        // The row beyond gets read next, over the same stretch: start its loads
        // now, while this run is painted.
        if (dir && yy + dir >= 0 && yy + dir < H) {
            const uint32_t* ahead = row + dir * ptrdiff_t(stride);
            for (int px = l; px <= r; px += 16) __builtin_prefetch(ahead + px);
        }
        paint(row, yy, l, r);
        yMin = std::min(yMin, yy), yMax = std::max(yMax, yy);
        return std::pair(l, r);
    };
    // Takes the runs met on row ny between a and b, found from [x0, x1] on row ny - dir.
    auto scan = [&](int ny, int a, int b, int dir, int x0, int x1) {
        if (ny < 0 || ny >= H || a > b) return;
        uint32_t* row = base + size_t(ny) * stride;
        // Runs already taken are passed over in the mask, without reading
        // their (painted) pixels; the pixel after a run is outside the region.
        for (int xx = a; xx <= b;) {
            int taken = mask.NextSet(ny, xx);
            if (taken == xx) {
                xx = mask.RunEnd(ny, xx) + 2;
                continue;
            }
            int end = std::min(taken, b + 1);
            xx = RunRight<!Eq>(row, xx, end, c);   // next pixel of c's kind
            if (xx >= end) {
                xx = end;
                continue;
            }
            auto [l, r] = take(row, ny, xx, dir);
            stack.push_back({ny, l, r, dir, x0, x1});
            xx = r + 2;
        }
    };
    uint32_t* seedRow = base + size_t(y) * stride;
    if (((seedRow[x] & kRgb) == c) != Eq) return;
    auto [l, r] = take(seedRow, y, x, 0);
    stack.push_back({y, l, r, 0, 0, 0});
    while (!stack.empty()) {
        Pending s = stack.back();
        stack.pop_back();
        if (s.dir == 0) {
            scan(s.y - 1, s.x0, s.x1, -1, s.x0, s.x1);
            scan(s.y + 1, s.x0, s.x1, 1, s.x0, s.x1);
            continue;
        }
        scan(s.y + s.dir, s.x0, s.x1, s.dir, s.x0, s.x1);
        scan(s.y - s.dir, s.x0, s.px0 - 2, -s.dir, s.x0, s.x1);
        scan(s.y - s.dir, s.px1 + 2, s.x1, -s.dir, s.x0, s.x1);
    }
}

// Copies source onto dest, stretched nearest-neighbour (pixel centres map to
// pixel centres; equal sizes copy one to one), skipping the transparent colour.
void Blit(QImage& dst, const TRect& d, const QImage& srcIn, const TRect& s, bool transparent, TColor tc) {
    const int64_t dw = d.Width(), dh = d.Height(), sw = s.Width(), sh = s.Height();
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0 || dst.isNull() || srcIn.isNull()) return;
    QImage own;
    const QImage* src = &srcIn;
    if (src == &dst || src->format() != QImage::Format_RGB32) {
        // A shared copy: writing into dst detaches it from the source pixels.
        own = srcIn.convertToFormat(QImage::Format_RGB32);
        src = &own;
    }
    const uint32_t tpix = ToPixel(tc);
    const int x0 = std::max(d.Left, 0), x1 = int(std::min<int64_t>(d.Right, dst.width()));
    const int y0 = std::max(d.Top, 0), y1 = int(std::min<int64_t>(d.Bottom, dst.height()));
    if (x0 >= x1) return;
    std::vector<int> sxOf(size_t(x1 - x0));
    for (int x = x0; x < x1; ++x) sxOf[x - x0] = int(s.Left + ((2 * (x - int64_t(d.Left)) + 1) * sw) / (2 * dw));
    const bool oneToOne = sw == dw;
    for (int y = y0; y < y1; ++y) {
        int64_t sy = s.Top + ((2 * (y - int64_t(d.Top)) + 1) * sh) / (2 * dh);
        if (sy < 0 || sy >= src->height()) continue;
        const uint32_t* srow = reinterpret_cast<const uint32_t*>(src->constScanLine(int(sy)));
        uint32_t* drow = Row(dst, y);
        if (oneToOne && !transparent) {
            // Source columns run consecutively: copy the part inside the source.
            int a = x0, b = x1;
            while (a < b && sxOf[a - x0] < 0) ++a;
            while (b > a && sxOf[b - 1 - x0] >= src->width()) --b;
            if (a < b) std::memcpy(drow + a, srow + sxOf[a - x0], size_t(b - a) * 4);
            continue;
        }
        for (int x = x0; x < x1; ++x) {
            int sx = sxOf[x - x0];
            if (sx < 0 || sx >= src->width()) continue;
            uint32_t v = srow[sx] | kAlpha;
            if (transparent && v == tpix) continue;
            drow[x] = v;
        }
    }
}

} // namespace

void TCanvas::FloodFill(int x, int y, TColor color, TFillStyle style) {
    QImage& img = Image();
    if (img.isNull() || x < 0 || y < 0 || x >= img.width() || y >= img.height()) return Changed();
    if (!Hidden.empty() && InHidden(x, y, x, y)) return;
    const uint32_t c = ToPixel(color) & kRgb;
    // Filling a surface with its own colour changes no pixel: nothing to paint or record.
    if (style == fsSurface && Brush->Style != bsClear && (ToPixel(Brush->Color) & kRgb) == c) return Changed();
    RegionMask& mask = SharedMask();
    mask.Reset(img.width(), img.height());
    RunPainter paint(*Brush);
    int yMin = img.height(), yMax = -1;
    if (style == fsSurface) FillRegion<true>(img, x, y, c, paint, mask, yMin, yMax);
    else FillRegion<false>(img, x, y, c, paint, mask, yMin, yMax);
    if (Vector) {
        std::vector<gui::PixelSpan> spans;
        const int W = img.width();
        for (int yy = yMin; yy <= yMax; ++yy)
            for (int xx = mask.NextSet(yy, 0); xx < W; xx = xx < W ? mask.NextSet(yy, xx) : W) {
                const int end = mask.RunEnd(yy, xx) + 1;
                spans.push_back({yy, xx, end});
                xx = end;
                if (xx >= W) break;
            }
        // Filling up to a border colour replaces pixels of many colours.
        Vector->Flood(spans, *Brush, style == fsSurface ? &color : nullptr, img.width(), img.height());
    }
    mask.ClearRows(yMin, yMax);
    Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* src, const TRect& source) {
    if (src) Blit(Image(), dest, src->Image(), source, false, 0);
    if (src && Vector) Vector->Image(dest, src->Image(), source, false, 0);
    Changed();
}

void TCanvas::Draw(int x, int y, TBitmap* bmp) {
    if (bmp && !bmp->Empty() && !InHidden(x, y, int64_t(x) + bmp->Width(), int64_t(y) + bmp->Height())) {
        const TRect dest(x, y, x + bmp->Width(), y + bmp->Height()), whole(0, 0, bmp->Width(), bmp->Height());
        Blit(Image(), dest, bmp->Image(), whole, bmp->Transparent, bmp->TransparentColor);
        if (Vector) Vector->Image(dest, bmp->Image(), whole, bmp->Transparent, bmp->TransparentColor);
    }
    Changed();
}

void TCanvas::StretchDraw(const TRect& r, TBitmap* bmp) {
    if (bmp && !bmp->Empty() && !InHidden(r.Left, r.Top, r.Right, r.Bottom)) {
        const TRect whole(0, 0, bmp->Width(), bmp->Height());
        Blit(Image(), r, bmp->Image(), whole, bmp->Transparent, bmp->TransparentColor);
        if (Vector) Vector->Image(r, bmp->Image(), whole, bmp->Transparent, bmp->TransparentColor);
    }
    Changed();
}
