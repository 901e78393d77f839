// The canvas given what a damaged data file can lead to: texts far off the
// image, absurd font sizes.
#include "gui/Graphics.h"
#include <gtest/gtest.h>
#include <QImage>
#include <algorithm>
#include <climits>

namespace {

constexpr TColor kBack = RGB(250, 250, 250);

struct CanvasHardening : ::testing::Test {
    TBitmap bmp{64, 48};
    TCanvas* c = bmp.Canvas();
    void SetUp() override { Clear(); }
    void Clear() {
        c->Brush->Style = bsSolid;
        c->Brush->Color = kBack;
        c->FillRect(Rect(0, 0, bmp.Width(), bmp.Height()));
    }
    int Changed() {
        int n = 0;
        for (int y = 0; y < bmp.Height(); ++y)
            for (int x = 0; x < bmp.Width(); ++x) n += c->Pixels(x, y) != kBack;
        return n;
    }
};

TEST_F(CanvasHardening, TextsFarOffTheImageDrawNothingAndKeepThePenInRange) {
    c->Brush->Color = clYellow;
    c->Font->Color = clBlack;
    c->TextOut(INT_MAX - 2, INT_MAX - 2, "地図");
    EXPECT_EQ(c->PenPos(), Point(INT_MAX, INT_MAX - 2));
    c->TextOut(INT_MIN, 10, "地図");
    c->TextOut(10, INT_MIN, "地図");
    EXPECT_EQ(Changed(), 0);
    c->Brush->Style = bsClear;
    c->TextRect(Rect(0, 0, 64, 48), 10, INT_MAX - 1, "地図");
    EXPECT_EQ(Changed(), 0);
    c->Brush->Style = bsSolid;
    // Just inside the top-left corner it still shows.
    c->TextOut(-5, -5, "地図");
    EXPECT_GT(Changed(), 0);
}

TEST_F(CanvasHardening, AbsurdFontSizesStayDrawable) {
    for (int size : {INT_MAX, INT_MIN, -100000}) {
        c->Font->Size = size;
        EXPECT_LT(c->Font->Height(), 0);
        EXPECT_GT(c->TextHeight("A"), 48);
        Clear();
        c->Brush->Color = clYellow;
        c->TextOut(0, 0, "A");
        EXPECT_GT(Changed(), 0);
    }
}

TEST_F(CanvasHardening, FontSizeZeroDrawsAtTheDefaultSize) {
    c->Font->Color = clBlack;
    c->Font->Size = TFont().Size;
    c->TextOut(2, 2, "名前");
    const QImage byDefault = bmp.Image().copy();
    const int height = c->TextHeight("名前");
    Clear();
    c->Font->Size = 0;
    EXPECT_EQ(c->TextHeight("名前"), height);
    c->TextOut(2, 2, "名前");
    EXPECT_TRUE(bmp.Image() == byDefault);
    EXPECT_GT(Changed(), 40);
}

TEST_F(CanvasHardening, AHatchedBrushLeavesDashGapsAndTextBoxesUntouched) {
    c->Brush->Style = bsCross;
    c->Brush->Color = clYellow;
    c->Pen->Style = psDot;
    c->Pen->Color = clBlue;
    c->MoveTo(2, 10);
    c->LineTo(50, 10);
    int blue = 0, other = 0;
    for (int x = 2; x < 50; ++x) (c->Pixels(x, 10) == clBlue ? blue : other) += c->Pixels(x, 10) != kBack;
    EXPECT_EQ(blue, 24);
    EXPECT_EQ(other, 0);
    c->Font->Color = clBlack;
    c->TextOut(2, 20, "地図");
    c->TextRect(Rect(30, 20, 60, 40), 30, 20, "地図");
    for (int y = 20; y < 40; ++y)
        for (int x = 0; x < 64; ++x) ASSERT_NE(c->Pixels(x, y), clYellow) << x << "," << y;
}

// Bounds of what a shape drew on the background.
TRect Drawn(TCanvas* c, int w, int h, TColor back) {
    TRect r(w, h, -1, -1);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (c->Pixels(x, y) != back)
                r.Left = std::min(r.Left, x), r.Top = std::min(r.Top, y), r.Right = std::max(r.Right, x + 1),
                r.Bottom = std::max(r.Bottom, y + 1);
    return r;
}

TEST_F(CanvasHardening, WidePensAgreeBetweenEllipseAndRectangle) {
    c->Pen->Color = clBlack;
    for (int width : {2, 3, 4}) {
        for (bool inside : {false, true}) {
            c->Pen->Width = width;
            c->Pen->Style = inside ? psInsideFrame : psSolid;
            Clear();
            c->Brush->Color = clRed;
            c->Rectangle(10, 10, 31, 31);
            const TRect rect = Drawn(c, 64, 48, kBack);
            Clear();
            c->Brush->Color = clRed;
            c->Ellipse(10, 10, 31, 31);
            const TRect ellipse = Drawn(c, 64, 48, kBack);
            EXPECT_EQ(ellipse.Left, rect.Left) << width << inside;
            EXPECT_EQ(ellipse.Top, rect.Top) << width << inside;
            EXPECT_EQ(ellipse.Right, rect.Right) << width << inside;
            EXPECT_EQ(ellipse.Bottom, rect.Bottom) << width << inside;
            // The inside frame keeps the outline within the box, the plain pen straddles the edge.
            EXPECT_EQ(rect.Left, inside ? 10 : 10 - width / 2);
            EXPECT_EQ(rect.Right, inside ? 31 : 31 + (width - 1) / 2);
            EXPECT_EQ(c->Pixels(20, 20), clRed);
        }
    }
    // A huge ellipse draws only the rows it has on the image.
    c->Pen->Width = 1;
    c->Pen->Style = psSolid;
    Clear();
    c->Brush->Color = clRed;
    c->Ellipse(-(1 << 28), -(1 << 28), 1 << 28, 1 << 28);
    EXPECT_EQ(c->Pixels(30, 20), clRed);
}

} // namespace
