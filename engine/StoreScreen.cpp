#include "engine/StoreScreen.h"
#include "gui/Graphics.h"
#include <algorithm>
#include <climits>
#include <utility>

// The polylines as the store holds them, each with its box, in the datum they are drawn in.
void StoreScreen::take(const int32_t* w, size_t size, bool toWgs) {
    lines.clear();
    points.clear();
    size_t i = 0;
    while (i < size && w[i] > 0) {
        const size_t n = size_t(w[i]);
        if (i + 1 + 2 * n > size) break;   // a count that runs past the store
        Line line{points.size() / 2, int32_t(n), INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN, 0, 0, 0, 0, false};
        const int32_t* p = w + i + 1;
        for (size_t k = 0; k < n; ++k) {
            int32_t x = p[2 * k], y = p[2 * k + 1];
            if (toWgs) TokyoToWgs(x, y, x, y);
            points.push_back(x);
            points.push_back(y);
            line.x0 = std::min(line.x0, x), line.x1 = std::max(line.x1, x);
            line.y0 = std::min(line.y0, y), line.y1 = std::max(line.y1, y);
        }
        lines.push_back(line);
        i += 2 * n + 1;
    }
    screen.resize(points.size() / 2);
    wgs = toWgs;
    built = true;
    aimed = false;
}

// A new view: each polyline's box on the screen; its points wait until it is drawn.
void StoreScreen::aim(const MapView& v) {
    view = v;
    aimed = true;
    for (Line& l : lines) {
        v.DrawnToScreen(l.x0, l.y1, l.sx0, l.sy0);
        v.DrawnToScreen(l.x1, l.y0, l.sx1, l.sy1);
        l.converted = false;
    }
}

void StoreScreen::Draw(TCanvas& cv, const MapView& v, const int32_t* w, size_t size, int32_t used, uint64_t rev,
                       bool closing) {
    // The fill is compared too: a store written in place without a word is seldom written to the same length.
    if (!built || rev != revision || used != fill || w != words || wgs != v.wgs) {
        revision = rev;
        fill = used;
        words = w;
        take(w, size, v.wgs);
    }
    if (!aimed || !(view == v)) aim(v);
    // A box is trusted only where the pixels grow with x and shrink with y;
    // a vector device is given every line, as it always was.
    const bool boxes = v.scaleX > 0 && v.scaleY > 0 && !cv.Vector;
    // The pixels a pen can set around its points: a wide pen's round ends.
    const int reach = std::max(1, cv.Pen->Width) + 2;
    const int W = cv.Width(), H = cv.Height();
    for (Line& l : lines) {
        if (boxes && (l.sx1 < -reach || l.sy1 < -reach || l.sx0 >= W + reach || l.sy0 >= H + reach)) continue;
        TPoint* s = screen.data() + l.at;
        if (!l.converted) {
            const int32_t* p = points.data() + 2 * l.at;
            for (int32_t k = 0; k < l.n; ++k) v.DrawnToScreen(p[2 * k], p[2 * k + 1], s[k].x, s[k].y);
            l.converted = true;
        }
        const int n = l.n;
        if (!cv.Vector) {
            cv.Polyline(s, n);
        } else {
            // A vector device keeps the line where the map puts it, not on the pixels.
            exact.resize(size_t(n));
            const int32_t* p = points.data() + 2 * l.at;
            for (int32_t k = 0; k < n; ++k) v.DrawnToScreenF(p[2 * k], p[2 * k + 1], exact[k].x, exact[k].y);
            cv.Polyline(s, exact.data(), n);
        }
        if (closing && n >= 2) {
            // Only the last point's pixel: the exact line already ends on it.
            gui::VectorRecorder* kept = std::exchange(cv.Vector, nullptr);
            cv.MoveTo(s[n - 1].x, s[n - 1].y);
            cv.LineTo(s[n - 2].x, s[n - 2].y);
            cv.Vector = kept;
        }
    }
}
