// Pixel helpers shared by the canvas units. Everything writes straight into
// the scanlines of a Format_RGB32 image; alpha is kept at 0xFF.
#pragma once
#include "gui/Graphics.h"
#include <algorithm>
#include <cstdint>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace gui::raster {

constexpr uint32_t kRgb = 0x00FFFFFFu;
constexpr uint32_t kAlpha = 0xFF000000u;

// The 8x8 hatch bitmaps of bsHorizontal..bsDiagCross; bit 0x80 is column 0.
// Forward diagonal runs down to the right ("\"), backward up to the right ("/").
inline constexpr uint8_t kHatch[6][8] = {
    {0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},   // horizontal
    {0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80},   // vertical
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},   // forward diagonal
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},   // backward diagonal
    {0xFF, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80},   // cross
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},   // diagonal cross
};

// Width-1 styled pens in pixels: on, off, on, off, ...
struct DashRuns {
    int count;
    int runs[6];
};
inline constexpr DashRuns kDashRuns[4] = {{2, {18, 6}}, {2, {3, 3}}, {4, {9, 6, 3, 6}}, {6, {9, 3, 3, 3, 3, 3}}};
inline const DashRuns* DashRunsOf(TPenStyle s) {
    return s >= psDash && s <= psDashDotDot ? &kDashRuns[s - psDash] : nullptr;
}

inline bool IsHatch(TBrushStyle s) { return s >= bsHorizontal && s <= bsDiagCross; }
inline const uint8_t* HatchRows(TBrushStyle s) { return kHatch[s - bsHorizontal]; }

// Keeps an image in the one format the canvas writes into.
inline QImage& Rgb32(QImage& img) {
    if (img.format() != QImage::Format_RGB32 && !img.isNull()) img.convertTo(QImage::Format_RGB32);
    return img;
}

inline uint32_t* Row(QImage& img, int y) { return reinterpret_cast<uint32_t*>(img.scanLine(y)); }

// One pixel of a pen in the given mode; v is an opaque pixel value.
template <TPenMode M> inline void Put(uint32_t& d, uint32_t v) {
    if constexpr (M == pmCopy) d = v;
    else if constexpr (M == pmXor) d = ((d ^ v) & kRgb) | kAlpha;
    else if constexpr (M == pmNotXor) d = (~(d ^ v) & kRgb) | kAlpha;
    else d = (~d & kRgb) | kAlpha;
}

// Calls f with the mode as a compile-time constant.
template <class F> inline void WithMode(TPenMode m, F&& f) {
    switch (m) {
    case pmXor: f.template operator()<pmXor>(); break;
    case pmNotXor: f.template operator()<pmNotXor>(); break;
    case pmNot: f.template operator()<pmNot>(); break;
    default: f.template operator()<pmCopy>(); break;
    }
}

// n pixels set to v; four at a time where the plain loop would go one by one.
inline void FillPixels(uint32_t* p, size_t n, uint32_t v) {
#ifdef __SSE2__
    for (; n && (reinterpret_cast<uintptr_t>(p) & 15); --n) *p++ = v;
    const __m128i vv = _mm_set1_epi32(int(v));
    for (; n >= 8; n -= 8, p += 8) {
        _mm_store_si128(reinterpret_cast<__m128i*>(p), vv);
        _mm_store_si128(reinterpret_cast<__m128i*>(p + 4), vv);
    }
#endif
    for (; n; --n) *p++ = v;
}

// Pixels x0..x1-1 of row y, already clipped.
inline void Span(uint32_t* row, int x0, int x1, uint32_t v, TPenMode m) {
    if (x0 >= x1) return;
    if (m == pmCopy) {
        FillPixels(row + x0, size_t(x1 - x0), v);
        return;
    }
    WithMode(m, [&]<TPenMode M>() {
        for (int x = x0; x < x1; ++x) Put<M>(row[x], v);
    });
}

// A brush over pixels x0..x1-1 of row y (clipped): solid, or the hatch lines only.
inline void BrushSpan(uint32_t* row, int y, int x0, int x1, const TBrush& b, TPenMode m) {
    if (x0 >= x1 || b.Style == bsClear) return;
    uint32_t v = ToPixel(b.Color);
    if (!IsHatch(b.Style)) {
        Span(row, x0, x1, v, m);
        return;
    }
    uint8_t bits = HatchRows(b.Style)[y & 7];
    if (!bits) return;
    WithMode(m, [&]<TPenMode M>() {
        for (int x = x0; x < x1; ++x)
            if (bits & (0x80 >> (x & 7))) Put<M>(row[x], v);
    });
}

// Fills the clipped rectangle x0..x1-1, y0..y1-1.
inline void BrushRect(QImage& img, int x0, int y0, int x1, int y1, const TBrush& b, TPenMode m) {
    x0 = std::max(x0, 0), y0 = std::max(y0, 0);
    x1 = std::min(x1, img.width()), y1 = std::min(y1, img.height());
    for (int y = y0; y < y1; ++y) BrushSpan(Row(img, y), y, x0, x1, b, m);
}

} // namespace gui::raster
