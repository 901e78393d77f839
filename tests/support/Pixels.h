// Pixel checks of the drawing tests: colours wanted at chosen pixels, and the
// box of what a drawing changed, each failure naming its place.
#pragma once
#include "gui/Graphics.h"
#include <gtest/gtest.h>
#include <initializer_list>
#include <sstream>
#include <string>

namespace testsupport {

struct PixelWant {
    int x, y;
    TColor colour;
    const char* why = "";
};

// Whether every pixel has its colour; `at(x, y)` gives the colour of a pixel.
// A failure lists each wrong one.
template <class At>
::testing::AssertionResult PixelsAre(At&& at, std::initializer_list<PixelWant> want) {
    std::ostringstream wrong;
    for (const PixelWant& p : want)
        if (const TColor got = at(p.x, p.y); got != p.colour)
            wrong << "\n  pixel " << p.x << "," << p.y << (*p.why ? " (" : "") << p.why << (*p.why ? ")" : "")
                  << " is " << std::hex << got << ", wanted " << p.colour << std::dec;
    if (wrong.tellp() == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "wrong pixels (colours in hex):" << wrong.str();
}

inline ::testing::AssertionResult PixelsAre(TCanvas* c, std::initializer_list<PixelWant> want) {
    return PixelsAre([c](int x, int y) { return c->Pixels(x, y); }, want);
}

// The smallest rectangle holding every pixel that is not `back`.
inline TRect DrawnBox(TCanvas* c, int w, int h, TColor back) {
    TRect r(w, h, -1, -1);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (c->Pixels(x, y) != back)
                r = TRect(std::min(r.Left, x), std::min(r.Top, y), std::max(r.Right, x + 1), std::max(r.Bottom, y + 1));
    return r;
}

// A rectangle as text, so that a wrong one prints readably.
inline std::string BoxText(const TRect& r) {
    return std::to_string(r.Left) + "," + std::to_string(r.Top) + " - " + std::to_string(r.Right) + "," +
           std::to_string(r.Bottom);
}

} // namespace testsupport
