// Rings filled together (the statistics layer's polygons): holes stay open,
// two polygons that share an edge take each pixel once, and the shapes kept
// for PDF and SVG give back the same pixels.
#include "gui/Graphics.h"
#include "gui/VectorRecorder.h"
#include "tests/support/Pixels.h"
#include <gtest/gtest.h>
#include <QPainter>
#include <climits>

using testsupport::PixelsAre;

TEST(FillRings, HolesStayOpenNeighboursShareEachPixelOnceAndTheShapesKeptDrawTheSame) {
    TBitmap bitmap(40, 40);
    TCanvas& cv = *bitmap.Canvas();
    cv.Brush->Color = clWhite;
    cv.FillRect(TRect{0, 0, 40, 40});
    gui::VectorRecorder rec;
    cv.Vector = &rec;
    // A square with a square hole.
    const TPoint ring[8] = {{5, 5}, {35, 5}, {35, 35}, {5, 35}, {15, 15}, {15, 25}, {25, 25}, {25, 15}};
    const int counts[2] = {4, 4};
    cv.Brush->Color = clRed;
    cv.FillRings(ring, counts, 2);
    cv.Vector = nullptr;
    EXPECT_TRUE(PixelsAre(&cv, {{10, 10, clRed}, {5, 20, clRed, "left edge in"}, {35, 20, clWhite, "right edge out"},
                                {20, 20, clWhite, "the hole"}, {15, 20, clWhite, "the hole's left edge"},
                                {25, 20, clRed, "the hole's right edge"}}));
    QImage replayed(40, 40, QImage::Format_RGB32);
    replayed.fill(Qt::white);
    {
        QPainter p(&replayed);
        rec.Replay(p);
    }
    int differ = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            if ((replayed.pixel(x, y) & 0xFFFFFF) != (bitmap.Image().pixel(x, y) & 0xFFFFFF)) {
                if (differ < 5) ADD_FAILURE() << x << "," << y;
                ++differ;
            }
    EXPECT_EQ(differ, 0);

    // Two halves of a slanted quadrilateral, each inverting what it covers:
    // a pixel taken twice or by neither stays white.
    cv.Brush->Color = clWhite;
    cv.FillRect(TRect{0, 0, 40, 40});
    cv.Pen->Mode = pmXor;
    const TPoint a[3] = {{3, 2}, {37, 9}, {8, 38}}, b[3] = {{37, 9}, {31, 36}, {8, 38}};
    const int three = 3;
    cv.Brush->Color = clWhite;
    cv.FillRings(a, &three, 1);
    cv.FillRings(b, &three, 1);
    TBitmap whole(40, 40);
    TCanvas& w = *whole.Canvas();
    w.Brush->Color = clWhite;
    w.FillRect(TRect{0, 0, 40, 40});
    w.Pen->Mode = pmXor;
    const TPoint quad[4] = {{3, 2}, {37, 9}, {31, 36}, {8, 38}};
    const int four = 4;
    w.FillRings(quad, &four, 1);
    EXPECT_TRUE(bitmap.Image() == whole.Image());

    // A part far larger than the picture (a deep zoom puts its points at the int limits) covers it whole.
    cv.Pen->Mode = pmCopy;
    cv.Brush->Color = clBlue;
    const TPoint far[3] = {{INT_MIN, INT_MIN}, {INT_MAX, 20}, {INT_MIN, INT_MAX}};
    cv.FillRings(far, &three, 1);
    EXPECT_EQ(cv.Pixels(0, 0), clBlue);
    EXPECT_EQ(cv.Pixels(39, 39), clBlue);
}
