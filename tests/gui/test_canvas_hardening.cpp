// The canvas given what a damaged data file can lead to: texts far off the
// image, absurd font sizes.
#include "gui/Graphics.h"
#include <gtest/gtest.h>
#include <QImage>
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

} // namespace
