// The canvas's drawing kept as shapes: drawn again at the picture's size by a
// plain rasteriser, fills and hatches give back the picture's own pixels.
#include "gui/VectorRecorder.h"
#include <gtest/gtest.h>
#include <QPainter>
#include <QPainterPath>
#include <random>

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
    int wrong = 0;
    for (int k = 0; k < 4; ++k)
        for (int y = 4; y < 49; ++y)   // inside each box, off the outline
            for (int x = 3 + 19 * k; x < 18 + 19 * k; ++x)
                if (x != 14) wrong += (shapes.pixel(x, y) & 0xFFFFFF) != (bmp.Image().pixel(x, y) & 0xFFFFFF);
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(shapes.pixel(9, 32) & 0xFFFFFF, 0xC80000u) << "the white line was filled over";
    EXPECT_EQ(shapes.pixel(14, 25) & 0xFFFFFF, 0xFFFFFFu) << "the line drawn after the fill is on it";
}
