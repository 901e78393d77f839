// Rings filled together (the statistics layer's polygons): holes stay open,
// two polygons that share an edge take each pixel once, and the shapes kept
// for PDF and SVG give back the same pixels.
#include "gui/Graphics.h"
#include "gui/VectorRecorder.h"
#include <gtest/gtest.h>
#include <QPainter>
#include <algorithm>
#include <climits>
#include <map>

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
    EXPECT_EQ(cv.Pixels(10, 10), clRed);
    EXPECT_EQ(cv.Pixels(5, 20), clRed);     // left edge in
    EXPECT_EQ(cv.Pixels(35, 20), clWhite);  // right edge out
    EXPECT_EQ(cv.Pixels(20, 20), clWhite);  // the hole
    EXPECT_EQ(cv.Pixels(15, 20), clWhite);
    EXPECT_EQ(cv.Pixels(25, 20), clRed);
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

// The statistics layer's municipalities tile the map: kept as tiles, those
// of one colour are one shape without the edges they share, and drawn large
// they cover the very pixels the separate fills do.
TEST(FillRings, TilesOfOneColourAreOneShapeThatDrawsAsTheSeparateFills) {
    // A red square with a hole, a red island filling it, a red and a blue
    // neighbour on its right, a red square apart, and three red squares in
    // an L, two of them meeting only at a corner.
    const std::vector<std::pair<TColor, std::vector<std::vector<TPointF>>>> parts = {
        {clRed, {{{2, 2}, {12, 2}, {12, 7}, {12, 12}, {2, 12}}, {{5.25, 5}, {9, 5}, {9, 9.5}, {5.25, 9.5}}}},
        {clRed, {{{5.25, 5}, {9, 5}, {9, 9.5}, {5.25, 9.5}}}},
        {clRed, {{{12, 2}, {17.75, 2}, {17.75, 7}, {12, 7}}}},
        {clBlue, {{{12, 7}, {17.75, 7}, {17.75, 12}, {12, 12}}}},
        {clRed, {{{20, 20}, {24, 20}, {24, 24}, {20, 24}}}},
        {clRed, {{{2, 14}, {5, 14}, {5, 17}, {2, 17}}}},
        {clRed, {{{5, 17}, {8, 17}, {8, 20}, {5, 20}}}},
        {clRed, {{{5, 14}, {8, 14}, {8, 17}, {5, 17}}}},
    };
    auto record = [&](bool tiles) {
        gui::VectorRecorder rec;
        if (tiles) rec.BeginTiles();
        for (const auto& [colour, rings] : parts) {
            std::vector<TPointF> pts;
            std::vector<int> counts;
            for (const auto& r : rings) pts.insert(pts.end(), r.begin(), r.end()), counts.push_back(int(r.size()));
            rec.FillRings(pts.data(), counts.data(), int(counts.size()), TBrush{colour, bsSolid});
        }
        if (tiles) rec.EndTiles();
        return rec;
    };
    const gui::VectorRecorder separate = record(false), tiled = record(true);
    auto draw = [](const gui::VectorRecorder& rec) {
        QImage img(104, 104, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        p.scale(4, 4);
        rec.Replay(p);
        return img;
    };
    EXPECT_TRUE(draw(separate) == draw(tiled));
    std::map<QRgb, std::vector<size_t>> ringSizes;
    tiled.Visit([&](const gui::VectorRecorder::Item& it) {
        for (const auto& r : it.rings) ringSizes[it.color.rgb()].push_back(r.size());
        return true;
    });
    // The red ones: the square and its neighbour as one round the island,
    // the square apart, the L; the blue one as drawn.
    std::vector<size_t> red = ringSizes[QColor(Qt::red).rgb()];
    std::sort(red.begin(), red.end());
    EXPECT_EQ(red, (std::vector<size_t>{4, 7, 8}));
    EXPECT_EQ(ringSizes[QColor(Qt::blue).rgb()], std::vector<size_t>{4});
}
