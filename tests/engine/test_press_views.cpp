// Every pixel of the image, pressed, is kept as a map position that is drawn
// back on that very pixel: at the views a user reaches on the real data.
#include "engine/Uopen.h"
#include "tests/support/FormsFixture.h"
#include "tests/support/RealAreas.h"
#include <gtest/gtest.h>

namespace {

// Pixels whose data point is drawn elsewhere; every pixel is tried.
int Misses() {
    const MapView& v = Open->DrawnView;
    int misses = 0;
    for (int py = 0; py < v.size; ++py) {
        for (int px = 0; px < v.size; ++px) {
            int32_t x, y;
            Open->PressToData(px, py, x, y);
            int sx, sy;
            Open->MapToScreen(x, y, sx, sy);
            misses += sx != px || sy != py;
        }
    }
    return misses;
}

} // namespace

class PressViews : public JapanFormsTest {};

TEST_F(PressViews, EveryPixelComesBackAtEveryViewSizeAndDatum) {
    auto check = [&](const char* what) {
        for (int copy : {1, 3}) {
            for (bool wgs : {true, false}) {
                Open->COPYSCALE = copy;
                Open->WgsDisplay = wgs;
                ASSERT_TRUE(Open->DrawMap());
                ASSERT_EQ(Open->DrawnView.size, 600 * copy);
                ASSERT_EQ(Open->DrawnView.wgs, wgs);
                EXPECT_EQ(Misses(), 0) << what << " at " << 600 * copy << (wgs ? " WGS" : " Tokyo")
                                       << ", pixels per unit " << Open->ScaleX;
            }
        }
    };
    testsupport::ChooseAreas({13});
    check("standard");
    Open->MAGSTEP = 5;
    check("x5");
    Open->MAGSTEP = 1;
    Open->CX += 37;
    Open->CY -= 23;
    check("panned");
    std::vector<int> all;
    for (int code = 1; code <= 52; ++code) all.push_back(code);
    testsupport::ChooseAreas(all);
    check("52 areas");
}
