// The page's arithmetic alone: places and their boxes, and the scale on paper.
#include "output/PageLayout.h"
#include <gtest/gtest.h>

using namespace output;

TEST(PageLayout, APlaceComesBackFromItsBoxAndAMillimetreIsTheScalesGround) {
    PageSheet sheet{QSizeF(297, 210), QRectF(10, 10, 277, 190)};
    for (int a = 0; a < ANCHORS; ++a) {
        const PagePlace p{true, a, 35, -72};
        const QRectF box = PlaceBox(sheet.printable, p, QSizeF(40, 12));
        EXPECT_TRUE(sheet.printable.adjusted(-8, -8, 8, 8).contains(box)) << AnchorName(a);
        EXPECT_EQ(PlaceAt(sheet.printable, a, box.size(), box.topLeft()), p) << AnchorName(a);
    }

    // The screen's 600 pixels around 35 N, 1,800 km across.
    MapView screen{150000, 165000, 600.0f / 200000, 0, 600, true};
    screen.scaleY = screen.scaleX * float(KmPerMapX(screen.cy) / KmPerMapY());
    const QSizeF none[PAGE_ITEMS];
    PageLayout layout;
    PageComposition fit = ComposePage(layout, sheet, screen, none);
    ASSERT_TRUE(fit.ok);
    EXPECT_NEAR(fit.scale, 200000 * KmPerMapX(screen.cy) * 1e6 / 190, 1) << "the square across the frame's height";
    EXPECT_TRUE(fit.message.empty());
    EXPECT_GE(fit.view.size * fit.mmPerPixel, 277) << "the square covers the frame";

    layout.fixedScale = true;
    for (int scale : {1000000, 25000}) {
        layout.scale = scale;
        const PageComposition c = ComposePage(layout, sheet, screen, none);
        ASSERT_TRUE(c.ok);
        // One millimetre of paper across and up is scale millimetres of ground.
        EXPECT_NEAR(kPageDotsPerMm / c.view.scaleX * KmPerMapX(screen.cy) * 1e6 / scale, 1, 1e-6);
        EXPECT_NEAR(kPageDotsPerMm / c.view.scaleY * KmPerMapY() * 1e6 / scale, 1, 1e-6);
        EXPECT_EQ(c.message.find("全体は用紙に入らず") != std::string::npos, scale < fit.scale) << c.message;
    }
    layout.scale = 999;
    EXPECT_FALSE(ComposePage(layout, sheet, screen, none).ok);

    const ScaleBarPlan million = PlanScaleBar(1000000), large = PlanScaleBar(5000);
    EXPECT_EQ(million.labels, (std::vector<std::string>{"0", "10", "20", "30", "40", "50km"}));
    EXPECT_DOUBLE_EQ(million.segmentMm, 10);
    EXPECT_EQ(large.labels, (std::vector<std::string>{"0", "50", "100", "150", "200m"}));
    EXPECT_DOUBLE_EQ(large.segmentMm, 10);
}
