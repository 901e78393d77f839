// The canvas's drawing kept as shapes: drawn again at the picture's size by a
// plain rasteriser, fills and hatches give back the picture's own pixels.
// Rings filled together (the statistics layer's polygons): holes stay open and
// two polygons that share an edge take each pixel once.
#include "gui/VectorRecorder.h"
#include "tests/support/Pixels.h"
#include <gtest/gtest.h>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <climits>
#include <map>
#include <random>
#include <string>
#include <utility>

namespace {

QPainterPath PathOf(const std::vector<std::vector<QPointF>>& rings) {
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    for (const auto& r : rings) {
        path.moveTo(r[0]);
        for (size_t i = 1; i < r.size(); ++i) path.lineTo(r[i]);
        path.closeSubpath();
    }
    return path;
}

// The recorded drawing on a white image, without smoothing.
QImage Replayed(const gui::VectorRecorder& rec, QSize size) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    rec.Replay(p);
    return img;
}

// The first pixels (up to five) inside `box` where two pictures differ, or "".
std::string Differing(const QImage& a, const QImage& b, const QRect& box, int skipX = -1) {
    std::string out;
    int n = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            if (x != skipX && (a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF) && n++ < 5)
                out += std::to_string(x) + "," + std::to_string(y) + " ";
    return n > 5 ? out + "and " + std::to_string(n - 5) + " more" : out;
}

} // namespace

// Random sets have holes, islands and pixels meeting only at a corner.
TEST(VectorShapes, AnOutlineHoldsExactlyThePixelCentresOfItsSetGrownOrNot) {
    std::mt19937 rng(7);
    for (int round = 0; round < 40; ++round) {
        const int w = 3 + int(rng() % 14), h = 3 + int(rng() % 14), x0 = int(rng() % 50) - 25, y0 = int(rng() % 50);
        std::vector<std::vector<bool>> in(size_t(h), std::vector<bool>(size_t(w), false));
        std::vector<gui::PixelSpan> spans;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) in[size_t(y)][size_t(x)] = rng() % 3 != 0;
            for (int x = 0; x < w;) {
                if (!in[size_t(y)][size_t(x)]) { ++x; continue; }
                int e = x;
                while (e < w && in[size_t(y)][size_t(e)]) ++e;
                spans.push_back({y0 + y, x0 + x, x0 + e});
                x = e;
            }
        }
        for (double grow : {0.0, 0.4}) {
            const QPainterPath path = PathOf(gui::TraceOutline(spans, grow));
            int wrong = 0;
            for (int y = -2; y < h + 2; ++y)
                for (int x = -2; x < w + 2; ++x) {
                    const bool want = x >= 0 && y >= 0 && x < w && y < h && in[size_t(y)][size_t(x)];
                    wrong += path.contains(QPointF(x0 + x + 0.5, y0 + y + 0.5)) != want;
                }
            EXPECT_EQ(wrong, 0) << "round " << round << " grow " << grow;
        }
    }
}

TEST(VectorShapes, FloodsAndHatchesDrawTheirPixelsAndStayOverLinesOfTheColourTheyReplaced) {
    TBitmap bmp(80, 60);
    TCanvas* c = bmp.Canvas();
    gui::VectorRecorder rec;
    c->Vector = &rec;
    c->Brush->Color = clWhite;
    c->FillRect(Rect(0, 0, 80, 60));
    // Four boxes, one of them crossed by a line in the colour it will lose.
    c->Brush->Style = bsClear;
    for (int k = 0; k < 4; ++k) c->Rectangle(2 + 19 * k, 3, 19 + 19 * k, 50);
    c->Pen->Color = clWhite;
    c->MoveTo(5, 20);
    c->LineTo(14, 44);
    const TBrushStyle styles[4] = {bsSolid, bsFDiagonal, bsCross, bsDiagCross};
    for (int k = 0; k < 4; ++k) {
        c->Brush->Style = styles[k];
        c->Brush->Color = RGB(200, 40 * k, 0);
        c->FloodFill(10 + 19 * k, 10, clWhite, fsSurface);
    }
    // The white pen goes on from where it stopped, now over the fill.
    c->LineTo(14, 8);
    c->Vector = nullptr;

    const QImage shapes = Replayed(rec, QSize(80, 60));
    for (int k = 0; k < 4; ++k)   // inside each box, off the outline and the line's column
        EXPECT_EQ(Differing(shapes, bmp.Image(), QRect(3 + 19 * k, 4, 15, 45), 14), "") << "box " << k;
    EXPECT_EQ(shapes.pixel(9, 32) & 0xFFFFFF, 0xC80000u) << "the white line was filled over";
    EXPECT_EQ(shapes.pixel(14, 25) & 0xFFFFFF, 0xFFFFFFu) << "the line drawn after the fill is on it";
}

TEST(FillRings, HolesStayOpenNeighboursShareEachPixelOnceAndTheShapesKeptDrawTheSame) {
    TBitmap bitmap(40, 40);
    TCanvas& cv = *bitmap.Canvas();
    // A square with a square hole, the hole turning against the outline or with
    // it: the alternate rule leaves it open either way.
    for (const bool sameTurn : {false, true}) {
        SCOPED_TRACE(sameTurn ? "the hole turning with the outline" : "the hole turning against it");
        cv.Brush->Color = clWhite;
        cv.FillRect(TRect{0, 0, 40, 40});
        gui::VectorRecorder rec;
        cv.Vector = &rec;
        TPoint ring[8] = {{5, 5}, {35, 5}, {35, 35}, {5, 35}, {15, 15}, {15, 25}, {25, 25}, {25, 15}};
        if (sameTurn) std::swap(ring[5], ring[7]);
        const int counts[2] = {4, 4};
        cv.Brush->Color = clRed;
        cv.FillRings(ring, counts, 2);
        cv.Vector = nullptr;
        EXPECT_TRUE(testsupport::PixelsAre(&cv, {{10, 10, clRed}, {5, 20, clRed, "left edge in"},
                                                 {35, 20, clWhite, "right edge out"}, {20, 20, clWhite, "the hole"},
                                                 {15, 20, clWhite, "the hole's left edge"},
                                                 {25, 20, clRed, "the hole's right edge"}}));
        EXPECT_EQ(Differing(Replayed(rec, QSize(40, 40)), bitmap.Image(), QRect(0, 0, 40, 40)), "");
    }

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
