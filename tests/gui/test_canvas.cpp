// Pixel rules of the canvas: what the map drawing relies on, checked pixel by pixel.
#include "gui/Graphics.h"
#include "tests/support/Pixels.h"
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <climits>
#include <set>
#include <string>
#include <vector>

namespace {

using testsupport::BoxText;
using testsupport::PixelsAre;

constexpr TColor kBack = RGB(250, 250, 250);

struct Canvas : ::testing::Test {
    TBitmap bmp{64, 48};
    TCanvas* c = bmp.Canvas();
    void SetUp() override { Clear(kBack); }
    void Clear(TColor col) {
        c->Brush->Style = bsSolid;
        c->Brush->Color = col;
        c->FillRect(Rect(0, 0, bmp.Width(), bmp.Height()));
    }
    // Every pixel that differs from the background colour.
    std::vector<TPoint> Marked() {
        std::vector<TPoint> v;
        for (int y = 0; y < bmp.Height(); ++y)
            for (int x = 0; x < bmp.Width(); ++x)
                if (c->Pixels(x, y) != kBack) v.push_back(Point(x, y));
        return v;
    }
    std::string Bounds() { return BoxText(testsupport::DrawnBox(c, bmp.Width(), bmp.Height(), kBack)); }
};

// ---- lines ------------------------------------------------------------------

TEST_F(Canvas, LineToLeavesItsEndPixelAndMovesThePen) {
    c->Pen->Color = clRed;
    struct { int x0, y0, x1, y1; } lines[] = {{5, 5, 20, 5}, {20, 30, 5, 30}, {40, 2, 40, 20}, {50, 40, 60, 30},
                                              {10, 40, 30, 35}, {30, 20, 27, 40}};
    for (auto l : lines) {
        SCOPED_TRACE(BoxText(Rect(l.x0, l.y0, l.x1, l.y1)));
        SetUp();
        c->MoveTo(l.x0, l.y0);
        c->LineTo(l.x1, l.y1);
        EXPECT_EQ(c->Pixels(l.x0, l.y0), clRed);
        EXPECT_EQ(c->Pixels(l.x1, l.y1), kBack) << "the end pixel";
        EXPECT_EQ(c->PenPos(), Point(l.x1, l.y1));
        // One pixel per step of the longer axis, connected: no gaps, no doubles.
        size_t steps = std::max(std::abs(l.x1 - l.x0), std::abs(l.y1 - l.y0));
        EXPECT_EQ(Marked().size(), steps);
    }
}

TEST_F(Canvas, PolylineOfLineToSegmentsCoversEveryCornerOnce) {
    c->Pen->Color = clWhite;
    c->Pen->Mode = pmXor;   // a pixel drawn twice would vanish
    TPoint pts[] = {{5, 5}, {30, 5}, {30, 25}, {10, 40}, {5, 5}};
    c->Polyline(pts, 5);
    for (int i = 0; i < 4; ++i) EXPECT_NE(c->Pixels(pts[i].x, pts[i].y), kBack) << i;
}

TEST_F(Canvas, ALineClippedByTheImageKeepsItsPixels) {
    // The same line drawn in a big image and, shifted, half outside a small one.
    TBitmap big(400, 300);
    big.Canvas()->Pen->Color = clBlue;
    big.Canvas()->MoveTo(7, 290);
    big.Canvas()->LineTo(390, 13);
    c->Pen->Color = clBlue;
    c->MoveTo(7 - 180, 290 - 150);
    c->LineTo(390 - 180, 13 - 150);
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x)
            ASSERT_EQ(c->Pixels(x, y) == clBlue, big.Canvas()->Pixels(x + 180, y + 150) == clBlue) << x << "," << y;
    // Far outside: nothing drawn, nothing broken.
    c->MoveTo(-2000000000, -5);
    c->LineTo(2000000000, 30);
    c->MoveTo(-100, -100);
    c->LineTo(-10, -50);
}

TEST_F(Canvas, WidePensAreSolidWithRoundEnds) {
    c->Pen->Color = clRed;
    c->Pen->Width = 5;
    c->Pen->Style = psDash;   // ignored on wide pens
    c->MoveTo(15, 20);
    c->LineTo(40, 20);
    for (int y = 18; y <= 22; ++y)
        for (int x = 15; x <= 40; ++x) EXPECT_EQ(c->Pixels(x, y), clRed) << x << "," << y;
    EXPECT_TRUE(PixelsAre(c, {{27, 17, kBack}, {27, 23, kBack},
                              {42, 20, clRed, "the round end reaches half the width past the end point"},
                              {43, 20, kBack}, {42, 22, kBack, "the end is round, not square"}}));
    SetUp();
    c->Pen->Width = 2;
    c->MoveTo(10, 10);
    c->LineTo(30, 10);
    int rows = 0;
    for (int y = 5; y < 15; ++y) rows += c->Pixels(20, y) == clRed;
    EXPECT_EQ(rows, 2);
}

// ---- pen styles -------------------------------------------------------------

std::string Pattern(TCanvas* c, int y, int x0, int n, TColor pen, TColor gap) {
    std::string s;
    for (int x = x0; x < x0 + n; ++x) {
        TColor p = c->Pixels(x, y);
        s += p == pen ? '#' : p == gap ? '.' : '?';
    }
    return s;
}

TEST_F(Canvas, PenStylesDashTheirGapsInTheBrushColourOrLeaveThem) {
    struct { TPenStyle style; std::string period; } styles[] = {
        {psDash, std::string(18, '#') + std::string(6, '.')},
        {psDot, "###..."},
        {psDashDot, "#########......###......"},
        {psDashDotDot, "#########...###...###..."},
    };
    for (auto [style, period] : styles) {
        std::string expect;
        while (expect.size() < 48) expect += period;
        expect.resize(48);
        // Solid brush: the gaps take its colour.
        SetUp();
        c->Pen->Style = style;
        c->Pen->Color = clBlue;
        c->Brush->Color = clYellow;
        c->MoveTo(2, 10);
        c->LineTo(50, 10);
        EXPECT_EQ(Pattern(c, 10, 2, 48, clBlue, clYellow), expect) << style;
        // Clear brush: the gaps keep what was there.
        c->Brush->Style = bsClear;
        c->MoveTo(2, 20);
        c->LineTo(50, 20);
        EXPECT_EQ(Pattern(c, 20, 2, 48, clBlue, kBack), expect) << style;
        // The pattern goes on from one LineTo to the next, and restarts at MoveTo.
        c->MoveTo(2, 30);
        c->LineTo(12, 30);
        c->LineTo(50, 30);
        EXPECT_EQ(Pattern(c, 30, 2, 48, clBlue, kBack), expect) << style;
    }
    SetUp();
    c->Pen->Style = psClear;
    c->MoveTo(2, 10);
    c->LineTo(50, 40);
    c->Rectangle(5, 5, 20, 20);   // the brush still fills
    EXPECT_EQ(c->Pixels(30, 25), kBack);
    EXPECT_EQ(c->PenPos(), Point(50, 40));
}

TEST_F(Canvas, XorAndNotXorDrawnTwiceRestoreTheImage) {
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x) c->SetPixel(x, y, RGB(x * 4, y * 5, (x * y) & 0xFF));
    QImage before = bmp.Image().copy();
    for (TPenMode mode : {pmXor, pmNotXor, pmNot}) {
        for (int width : {1, 3}) {
            for (int pass = 0; pass < 2; ++pass) {
                c->Pen->Mode = mode;
                c->Pen->Width = width;
                c->Pen->Color = RGB(0x12, 0x34, 0x56);
                c->Brush->Style = bsClear;
                c->MoveTo(3, 3);
                c->LineTo(60, 40);
                c->Rectangle(10, 8, 50, 30);
                if (pass == 0 && mode == pmXor && width == 1) {
                    EXPECT_EQ(c->Pixels(3, 3), RGB(3 * 4, 3 * 5, 9) ^ RGB(0x12, 0x34, 0x56));
                }
                if (pass == 0 && mode == pmNot && width == 1) {
                    EXPECT_EQ(c->Pixels(49, 8), RGB(255 - 49 * 4, 255 - 40, 255 - (49 * 8 & 0xFF)));
                }
            }
            EXPECT_TRUE(bmp.Image() == before) << mode << " " << width;
        }
    }
}

// ---- shapes -----------------------------------------------------------------

TEST_F(Canvas, RectangleCoversX1ToX2Minus1WithOutlineAndInside) {
    c->Pen->Color = clRed;
    c->Brush->Color = clLime;
    c->Rectangle(10, 12, 30, 25);
    EXPECT_EQ(Bounds(), BoxText(Rect(10, 12, 30, 25)));
    EXPECT_TRUE(PixelsAre(c, {{10, 12, clRed}, {29, 24, clRed}, {20, 24, clRed}, {11, 13, clLime},
                              {28, 23, clLime}}));
    // Clear brush: the inside is left alone.
    SetUp();
    c->Brush->Style = bsClear;
    c->Rectangle(30, 25, 10, 12);   // corners in either order
    EXPECT_EQ(c->Pixels(10, 12), clRed);
    EXPECT_EQ(c->Pixels(20, 18), kBack);
    EXPECT_EQ(Marked().size(), size_t(2 * 20 + 2 * 11));
}

TEST_F(Canvas, FillRectAndFrameRectUseTheBrushOnly) {
    c->Pen->Color = clRed;
    c->Brush->Color = clNavy;
    c->FillRect(Rect(5, 6, 15, 10));
    EXPECT_EQ(Bounds(), BoxText(Rect(5, 6, 15, 10)));
    EXPECT_EQ(Marked().size(), size_t(40));
    SetUp();
    c->Brush->Color = clGreen;
    c->FrameRect(Rect(20, 20, 30, 28));
    EXPECT_EQ(Marked().size(), size_t(2 * 10 + 2 * 6));
    EXPECT_EQ(c->Pixels(29, 27), clGreen);
    EXPECT_EQ(c->Pixels(25, 24), kBack);
}

TEST_F(Canvas, EllipseStaysInsideItsBoxAndTouchesAllFourSides) {
    struct { int x1, y1, x2, y2; } boxes[] = {{10, 10, 31, 31}, {4, 20, 60, 26}, {20, 2, 24, 46}, {8, 8, 40, 30}};
    for (auto e : boxes) {
        SetUp();
        c->Pen->Color = clRed;
        c->Brush->Color = clLime;
        c->Ellipse(e.x1, e.y1, e.x2, e.y2);
        SCOPED_TRACE(BoxText(Rect(e.x1, e.y1, e.x2, e.y2)));
        EXPECT_EQ(Bounds(), BoxText(Rect(e.x1, e.y1, e.x2, e.y2)));
        EXPECT_TRUE(PixelsAre(c, {{e.x1, e.y1, kBack, "corner"}, {e.x2 - 1, e.y2 - 1, kBack, "corner"},
                                  {(e.x1 + e.x2) / 2, e.y1, clRed, "top"}}));
        if (e.x2 - e.x1 > 4 && e.y2 - e.y1 > 4) {
            EXPECT_EQ(c->Pixels((e.x1 + e.x2) / 2, (e.y1 + e.y2) / 2), clLime);
        }
        // Symmetric both ways.
        for (TPoint p : Marked())
            EXPECT_EQ(c->Pixels(e.x1 + e.x2 - 1 - p.x, p.y), c->Pixels(p.x, p.y)) << p.x << "," << p.y;
    }
}

TEST_F(Canvas, PolygonIsOutlinedAndFilled) {
    c->Pen->Color = clRed;
    c->Brush->Color = clLime;
    TPoint tri[] = {{10, 5}, {50, 5}, {30, 40}};
    c->Polygon(tri, 3);
    for (TPoint p : tri) EXPECT_EQ(c->Pixels(p.x, p.y), clRed);
    EXPECT_EQ(c->Pixels(30, 20), clLime);
    EXPECT_EQ(c->Pixels(12, 30), kBack);
    // Every pixel of the outline is pen, none of it missing: 4-connected fill stays inside.
    c->Brush->Color = clBlue;
    c->FloodFill(30, 20, clLime, fsSurface);
    EXPECT_EQ(c->Pixels(12, 30), kBack);
    EXPECT_EQ(c->Pixels(0, 0), kBack);
}

// ---- brushes ----------------------------------------------------------------

TEST_F(Canvas, HatchesAreTheDesktopPatternsAlignedToTheOriginWithUntouchedGaps) {
    auto on = [](TBrushStyle s, int x, int y) {
        x &= 7, y &= 7;
        switch (s) {
        case bsHorizontal: return y == 0;
        case bsVertical: return x == 0;
        case bsFDiagonal: return x == y;            // "\": down to the right
        case bsBDiagonal: return x == 7 - y;        // "/": up to the right
        case bsCross: return x == 0 || y == 0;
        case bsDiagCross: return x == y || x == 7 - y;
        default: return false;
        }
    };
    for (TBrushStyle s : {bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross}) {
        // A background of varied colours so that any write to a gap shows.
        for (int y = 0; y < bmp.Height(); ++y)
            for (int x = 0; x < bmp.Width(); ++x) c->SetPixel(x, y, RGB(x, y, 7));
        c->Brush->Style = s;
        c->Brush->Color = clRed;
        c->FillRect(Rect(3, 5, 27, 30));   // not on a multiple of 8: the pattern keeps to the image
        for (int y = 0; y < bmp.Height(); ++y)
            for (int x = 0; x < bmp.Width(); ++x) {
                bool in = x >= 3 && x < 27 && y >= 5 && y < 30;
                TColor expect = in && on(s, x, y) ? clRed : RGB(x, y, 7);
                ASSERT_EQ(c->Pixels(x, y), expect) << "style " << s << " at " << x << "," << y;
            }
    }
}

// ---- text -------------------------------------------------------------------

TEST_F(Canvas, TextOutPutsTheTopLeftCornerAtXYWithAnOpaqueBox) {
    TBitmap b(200, 80);
    TCanvas* t = b.Canvas();
    t->Brush->Color = clWhite;
    t->FillRect(Rect(0, 0, 200, 80));
    t->Font->Size = 12;
    t->Font->Color = clBlack;
    t->Brush->Color = clYellow;
    const std::string s = "日本地図 Map";
    int w = t->TextWidth(s), h = t->TextHeight(s);
    t->TextOut(20, 30, s);
    EXPECT_EQ(t->PenPos(), Point(20 + w, 30));
    int ink = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 200; ++x) {
            bool inBox = x >= 20 && x < 20 + w && y >= 30 && y < 30 + h;
            TColor p = t->Pixels(x, y);
            if (inBox) {
                ASSERT_TRUE(p == clYellow || p == clBlack) << x << "," << y;
                ink += p == clBlack;
            } else {
                ASSERT_EQ(p, clWhite) << x << "," << y;
            }
        }
    EXPECT_GT(ink, 50);
    // The ink starts near the top of the box, not a baseline's height above it.
    int top = 80;
    for (int y = 0; y < 80 && top == 80; ++y)
        for (int x = 0; x < 200; ++x)
            if (t->Pixels(x, y) == clBlack) { top = y; break; }
    EXPECT_GE(top, 30);
    EXPECT_LT(top, 30 + h / 2);
    // Clear brush: no box.
    t->Brush->Color = clWhite;
    t->FillRect(Rect(0, 0, 200, 80));
    t->Brush->Style = bsClear;
    t->TextOut(20, 30, s);
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 200; ++x) ASSERT_TRUE(t->Pixels(x, y) == clWhite || t->Pixels(x, y) == clBlack);
}

TEST_F(Canvas, TextRectFillsItsRectangleAndClipsTheText) {
    c->Font->Size = 20;
    c->Font->Color = clBlack;
    c->Brush->Color = clYellow;
    c->TextRect(Rect(10, 10, 30, 20), 5, 5, "漢字漢字");
    EXPECT_EQ(Bounds(), BoxText(Rect(10, 10, 30, 20)));
    int ink = 0;
    for (TPoint p : Marked()) ink += c->Pixels(p.x, p.y) == clBlack;
    EXPECT_GT(ink, 0);
}

TEST_F(Canvas, FontSizesArePointsAt96Dpi) {
    for (auto [size, height] : {std::pair{12, -16}, {9, -12}, {10, -13}}) {
        TFont f;
        f.Size = size;
        EXPECT_EQ(f.Height(), height) << size;
    }
    // A full-width character of the Japanese faces is one em wide.
    for (const char* face : {"IPAGothic", "ゴシック", "明朝", "IPAMincho"}) {
        c->Font->Name = face;
        c->Font->Size = 12;
        EXPECT_EQ(c->TextWidth("あ"), 16) << face;
        EXPECT_EQ(c->TextWidth("日本"), 32) << face;
        c->Font->Size = 9;
        EXPECT_EQ(c->TextWidth("あ"), 12) << face;
        EXPECT_GE(c->TextHeight("あ"), 12) << face;
        EXPECT_LE(c->TextHeight("あ"), 16) << face;
    }
    c->Font->Size = 24;
    int big = c->TextHeight("A");
    c->Font->Size = 12;
    EXPECT_NEAR(big, 2 * c->TextHeight("A"), 2);
}

TEST_F(Canvas, TextHasNoAntiAliasing) {
    TBitmap b(300, 60);
    TCanvas* t = b.Canvas();
    const TColor box = RGB(200, 230, 255), ink = RGB(20, 60, 120);
    for (int size : {7, 9, 12, 20}) {
        for (bool bold : {false, true}) {
            for (const char* face : {"IPAGothic", "IPAMincho"}) {
                t->Brush->Style = bsSolid;
                t->Brush->Color = box;
                t->FillRect(Rect(0, 0, 300, 60));
                t->Font->Name = face;
                t->Font->Size = size;
                t->Font->Style.Bold = bold;
                t->Font->Style.Italic = !bold;
                t->Font->Color = ink;
                t->TextOut(3, 3, "漢字かなカナ ABC abc 123 ／・。");
                int inked = 0;
                for (int y = 0; y < 60; ++y)
                    for (int x = 0; x < 300; ++x) {
                        TColor p = t->Pixels(x, y);
                        ASSERT_TRUE(p == box || p == ink) << face << " " << size << " at " << x << "," << y;
                        inked += p == ink;
                    }
                EXPECT_GT(inked, 20);
            }
        }
    }
}

// ---- flood fill ------------------------------------------------------------

TEST_F(Canvas, FloodFillSurfaceIsFourConnected) {
    // Two white squares that touch only at a corner.
    c->Brush->Color = clWhite;
    c->FillRect(Rect(5, 5, 15, 15));
    c->FillRect(Rect(15, 15, 25, 25));
    c->Brush->Color = clRed;
    c->FloodFill(7, 7, clWhite, fsSurface);
    EXPECT_EQ(c->Pixels(14, 14), clRed);
    EXPECT_EQ(c->Pixels(15, 15), clWhite);   // no diagonal leak
    EXPECT_EQ(Marked().size(), size_t(200));
    // A start pixel of another colour, or outside the image, fills nothing.
    c->Brush->Color = clBlue;
    c->FloodFill(7, 7, clWhite, fsSurface);
    c->FloodFill(-1, 7, clRed, fsSurface);
    c->FloodFill(7, 4000, clRed, fsSurface);
    EXPECT_EQ(c->Pixels(7, 7), clRed);
}

TEST_F(Canvas, FloodFillWithTheSurfaceColourOrAHatchEnds) {
    // A U-shaped region: the fill has to come back up the second arm.
    c->Brush->Color = clBlack;
    c->FillRect(Rect(10, 0, 12, 40));
    c->Brush->Color = kBack;
    c->FloodFill(0, 0, kBack, fsSurface);   // brush colour == surface colour
    EXPECT_EQ(Marked().size(), size_t(80));
    c->Brush->Color = clRed;
    c->Brush->Style = bsDiagCross;
    c->FloodFill(0, 0, kBack, fsSurface);
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x) {
            if (x == 10 || x == 11) {
                if (y < 40) continue;
            }
            bool line = (x & 7) == (y & 7) || (x & 7) == 7 - (y & 7);
            ASSERT_EQ(c->Pixels(x, y), line ? clRed : kBack) << x << "," << y;
        }
    // The gaps still have the surface colour exactly: a second fill finds one
    // (a cell between the hatch lines).
    c->Brush->Style = bsSolid;
    c->Brush->Color = clBlue;
    c->FloodFill(1, 0, kBack, fsSurface);
    EXPECT_TRUE(PixelsAre(c, {{6, 0, clBlue}, {3, 2, clBlue}, {0, 0, clRed}, {9, 0, kBack}}));
}

TEST_F(Canvas, WidePenOutlineIsCentredOnTheEdgePixels) {
    c->Pen->Color = clBlack;
    c->Brush->Color = clRed;
    c->Pen->Width = 3;
    c->Rectangle(10, 10, 30, 30);   // edge pixels 10 and 29, one pixel either side
    EXPECT_TRUE(PixelsAre(c, {{8, 20, kBack}, {9, 20, clBlack}, {11, 20, clBlack}, {12, 20, clRed}, {27, 20, clRed},
                              {30, 20, clBlack}, {31, 20, kBack}, {20, 9, clBlack}, {20, 30, clBlack}}));
    c->Pen->Width = 2;
    c->Pen->Mode = pmXor;
    c->Rectangle(40, 10, 56, 30);
    c->Rectangle(40, 10, 56, 30);   // no pixel is flipped twice within one outline
    for (int x = 36; x < 60; ++x) EXPECT_EQ(c->Pixels(x, 10), kBack) << x;
}

TEST_F(Canvas, FloodFillBorderFillsUpToTheBorderColour) {
    c->Pen->Color = clBlack;
    c->Brush->Style = bsClear;
    c->Rectangle(10, 10, 40, 30);
    c->SetPixel(20, 20, clGreen);   // other colours inside are filled over
    c->Brush->Style = bsSolid;
    c->Brush->Color = clRed;
    c->FloodFill(15, 15, clBlack, fsBorder);
    EXPECT_TRUE(PixelsAre(c, {{20, 20, clRed}, {11, 11, clRed}, {10, 10, clBlack}, {5, 5, kBack}}));
    c->FloodFill(10, 10, clBlack, fsBorder);   // starting on the border: nothing
    EXPECT_EQ(c->Pixels(5, 5), kBack);
}

TEST(CanvasFloodFill, FillsA1800SquareSerpentineWithoutRecursion) {
    // A snake of one-pixel corridors: millions of pixels, thousands of turns;
    // a recursive fill would run out of stack long before the end.
    const int n = 1800;
    TBitmap b(n, n);
    TCanvas* c = b.Canvas();
    c->Brush->Color = clWhite;
    c->FillRect(Rect(0, 0, n, n));
    c->Pen->Color = clBlack;
    for (int y = 1; y < n; y += 2) {
        c->MoveTo(y % 4 == 1 ? 0 : 1, y);
        c->LineTo(y % 4 == 1 ? n - 1 : n, y);
    }
    c->Brush->Color = clRed;
    c->FloodFill(0, 0, clWhite, fsSurface);
    EXPECT_TRUE(PixelsAre(c, {{0, 0, clRed}, {n - 1, n - 2, clRed, "the far end of the snake"},
                              {n - 1, 1, clRed, "a turn"}, {5, 1, clBlack}}));
    // The whole image, solid and hatched, colour kept equal.
    c->Brush->Color = clBlack;
    c->FillRect(Rect(0, 0, n, n));
    c->FloodFill(n / 2, n / 2, clBlack, fsSurface);
    c->Brush->Color = clBlue;
    c->FloodFill(n / 2, n / 2, clBlack, fsSurface);
    EXPECT_EQ(c->Pixels(0, 0), clBlue);
    EXPECT_EQ(c->Pixels(n - 1, n - 1), clBlue);
    c->Brush->Style = bsCross;
    c->Brush->Color = clWhite;
    c->FloodFill(3, 3, clBlue, fsSurface);
    EXPECT_EQ(c->Pixels(n - 8, n - 7), clWhite);
    EXPECT_EQ(c->Pixels(n - 7, n - 7), clBlue);
}

// ---- pixels, copies, bitmaps -------------------------------------------------

TEST_F(Canvas, PixelsIsMinusOneOutsideAndExactInside) {
    EXPECT_TRUE(PixelsAre(c, {{-1, 0, -1}, {0, -1, -1}, {64, 0, -1}, {0, 48, -1}}));
    c->SetPixel(64, 0, clRed);   // ignored
    c->SetPixel(-5, -5, clRed);
    c->SetPixel(63, 47, RGB(1, 2, 3));
    EXPECT_EQ(c->Pixels(63, 47), RGB(1, 2, 3));
    TBitmap empty;
    EXPECT_EQ(empty.Canvas()->Pixels(0, 0), -1);
    empty.Canvas()->LineTo(10, 10);   // drawing on an empty bitmap does nothing, safely
    empty.Canvas()->FloodFill(0, 0, clWhite, fsSurface);
}

TEST_F(Canvas, DrawSkipsTheTransparentColourAndStretchDrawIsNearestNeighbour) {
    TBitmap glyph(4, 2);
    glyph.Canvas()->SetPixel(0, 0, clRed);
    glyph.Canvas()->SetPixel(3, 1, clBlue);
    glyph.Transparent = true;
    glyph.TransparentColor = clWhite;
    c->Draw(10, 10, &glyph);
    EXPECT_TRUE(PixelsAre(c, {{10, 10, clRed}, {13, 11, clBlue}, {11, 10, kBack, "transparent"}}));
    glyph.Transparent = false;
    c->StretchDraw(Rect(20, 20, 28, 24), &glyph);
    std::set<TColor> seen;
    for (int y = 20; y < 24; ++y)
        for (int x = 20; x < 28; ++x) seen.insert(c->Pixels(x, y));
    EXPECT_EQ(seen, (std::set<TColor>{clRed, clBlue, clWhite}));
    EXPECT_TRUE(PixelsAre(c, {{21, 21, clRed}, {27, 23, clBlue}, {22, 21, clWhite}}));
    // A copy onto itself, overlapping, reads the pixels as they were.
    c->CopyRect(Rect(22, 20, 30, 24), c, Rect(20, 20, 28, 24));
    EXPECT_TRUE(PixelsAre(c, {{23, 21, clRed}, {29, 23, clBlue}}));
}

TEST(CanvasBitmap, SetSizeKeepsTheTopLeftAndSaveLoadRoundTrips) {
    TBitmap b(10, 8);
    b.Canvas()->SetPixel(2, 3, clRed);
    b.Canvas()->SetPixel(9, 7, clBlue);
    b.SetSize(20, 5);
    EXPECT_EQ(b.Width(), 20);
    EXPECT_EQ(b.Canvas()->Pixels(2, 3), clRed);
    EXPECT_EQ(b.Canvas()->Pixels(15, 2), clWhite);
    b.SetSize(21, 7);   // odd width: row padding in the file
    b.Canvas()->SetPixel(20, 6, RGB(9, 8, 7));
    QTemporaryDir dir;
    std::string path = QDir(dir.path()).filePath("pic.bmp").toStdString();
    ASSERT_TRUE(b.SaveToFile(path));
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray head = f.read(54);
    EXPECT_EQ(head.left(2), QByteArray("BM"));
    EXPECT_EQ(int(head[28]), 24);   // bits per pixel
    EXPECT_EQ(f.size(), 54 + 7 * 64);   // 21 * 3 = 63 bytes padded to 64 per row
    TBitmap loaded;
    ASSERT_TRUE(loaded.LoadFromFile(path));
    EXPECT_EQ(loaded.Width(), 21);
    EXPECT_EQ(loaded.Height(), 7);
    EXPECT_TRUE(loaded.Image() == b.Image());
    EXPECT_FALSE(loaded.LoadFromFile(path + ".missing"));
}

TEST(CanvasBitmap, PictureAssignCopiesAndTellsItsOwner) {
    TPicture pic;
    int changes = 0;
    pic.OnChange = [&] { ++changes; };
    TBitmap src(5, 5);
    src.Canvas()->SetPixel(1, 1, clRed);
    pic.Assign(&src);
    EXPECT_EQ(changes, 1);
    src.Canvas()->SetPixel(1, 1, clBlue);   // the picture has its own copy
    EXPECT_EQ(pic.Bitmap()->Canvas()->Pixels(1, 1), clRed);
    pic.Bitmap()->Canvas()->SetPixel(2, 2, clGreen);
    EXPECT_EQ(src.Canvas()->Pixels(2, 2), clWhite);
    TPicture other;
    other.Assign(&pic);
    EXPECT_EQ(other.Bitmap()->Canvas()->Pixels(2, 2), clGreen);
    pic.Clear();
    EXPECT_EQ(changes, 2);
    EXPECT_FALSE(pic.HasGraphic());
    EXPECT_TRUE(other.HasGraphic());
}

TEST_F(Canvas, EveryDrawingCallTellsOnChange) {
    int n = 0;
    c->OnChange = [&] { ++n; };
    c->MoveTo(0, 0);
    c->LineTo(5, 5);
    c->Rectangle(1, 1, 5, 5);
    c->Ellipse(1, 1, 5, 5);
    c->FillRect(Rect(0, 0, 2, 2));
    c->TextOut(0, 0, "a");
    c->FloodFill(0, 0, kBack, fsSurface);
    c->SetPixel(1, 1, clRed);
    EXPECT_EQ(n, 7);
    // The canvas follows its bitmap through a resize.
    bmp.SetSize(100, 100);
    c->SetPixel(99, 99, clRed);
    EXPECT_EQ(c->Pixels(99, 99), clRed);
    EXPECT_EQ(n, 8);
}

// ---- what a damaged data file can lead to: texts far off the image, absurd font sizes

struct CanvasHardening : Canvas {};

TEST_F(CanvasHardening, TextsFarOffTheImageDrawNothingAndKeepThePenInRange) {
    c->Brush->Color = clYellow;
    c->Font->Color = clBlack;
    c->TextOut(INT_MAX - 2, INT_MAX - 2, "地図");
    EXPECT_EQ(c->PenPos(), Point(INT_MAX, INT_MAX - 2));
    c->TextOut(INT_MIN, 10, "地図");
    c->TextOut(10, INT_MIN, "地図");
    EXPECT_TRUE(Marked().empty());
    c->Brush->Style = bsClear;
    c->TextRect(Rect(0, 0, 64, 48), 10, INT_MAX - 1, "地図");
    EXPECT_TRUE(Marked().empty());
    c->Brush->Style = bsSolid;
    // Just inside the top-left corner it still shows.
    c->TextOut(-5, -5, "地図");
    EXPECT_FALSE(Marked().empty());
}

TEST_F(CanvasHardening, AbsurdFontSizesStayDrawable) {
    for (int size : {INT_MAX, INT_MIN, -100000}) {
        c->Font->Size = size;
        EXPECT_LT(c->Font->Height(), 0);
        EXPECT_GT(c->TextHeight("A"), 48);
        SetUp();
        c->Brush->Color = clYellow;
        c->TextOut(0, 0, "A");
        EXPECT_FALSE(Marked().empty());
    }
}

TEST_F(CanvasHardening, FontSizeZeroDrawsAtTheDefaultSize) {
    c->Font->Color = clBlack;
    c->Font->Size = TFont().Size;
    c->TextOut(2, 2, "名前");
    const QImage byDefault = bmp.Image().copy();
    const int height = c->TextHeight("名前");
    SetUp();
    c->Font->Size = 0;
    EXPECT_EQ(c->TextHeight("名前"), height);
    c->TextOut(2, 2, "名前");
    EXPECT_TRUE(bmp.Image() == byDefault);
    EXPECT_GT(Marked().size(), 40u);
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

TEST_F(CanvasHardening, WidePensAgreeBetweenEllipseAndRectangle) {
    c->Pen->Color = clBlack;
    for (int width : {2, 3, 4}) {
        for (bool inside : {false, true}) {
            SCOPED_TRACE("width " + std::to_string(width) + (inside ? " inside frame" : " solid"));
            c->Pen->Width = width;
            c->Pen->Style = inside ? psInsideFrame : psSolid;
            SetUp();
            c->Brush->Color = clRed;
            c->Rectangle(10, 10, 31, 31);
            const TRect rect = testsupport::DrawnBox(c, 64, 48, kBack);
            SetUp();
            c->Brush->Color = clRed;
            c->Ellipse(10, 10, 31, 31);
            EXPECT_EQ(Bounds(), BoxText(rect));
            // The inside frame keeps the outline within the box, the plain pen straddles the edge.
            EXPECT_EQ(rect.Left, inside ? 10 : 10 - width / 2);
            EXPECT_EQ(rect.Right, inside ? 31 : 31 + (width - 1) / 2);
            EXPECT_EQ(c->Pixels(20, 20), clRed);
        }
    }
    // A huge ellipse draws only the rows it has on the image.
    c->Pen->Width = 1;
    c->Pen->Style = psSolid;
    SetUp();
    c->Brush->Color = clRed;
    c->Ellipse(-(1 << 28), -(1 << 28), 1 << 28, 1 << 28);
    EXPECT_EQ(c->Pixels(30, 20), clRed);
}

} // namespace

// Wide strokes of every width and mode, most of them running off the image:
// the pixels must stay those the map images have always had. The checksum was
// taken from the stroke drawing as it stood before its speed-up.
TEST(CanvasWidePens, KeepTheirPixelsOnAndOffTheImage) {
    TBitmap bmp(97, 83);
    TCanvas* c = bmp.Canvas();
    c->Brush->Color = clWhite;
    c->FillRect(Rect(0, 0, 97, 83));
    uint32_t seed = 12345;
    auto next = [&](int lo, int hi) {
        seed = seed * 1103515245u + 12345u;
        return lo + int((seed >> 8) % uint32_t(hi - lo + 1));
    };
    const TPenMode modes[] = {pmCopy, pmXor, pmNotXor};
    for (int i = 0; i < 600; ++i) {
        c->Pen->Width = next(2, 11);
        c->Pen->Mode = modes[next(0, 2)];
        c->Pen->Color = TColor(next(0, 0xFFFFFF));
        TPoint pts[4];
        for (TPoint& p : pts) p = Point(next(-60, 156), next(-60, 142));
        if (i % 3 == 0) pts[1] = Point(pts[0].x + next(-2, 2), pts[0].y + next(-2, 2));   // short and dot-like
        if (i % 2) c->Polyline(pts, 4);
        else {
            c->MoveTo(pts[0].x, pts[0].y);
            c->LineTo(pts[1].x, pts[1].y);
        }
    }
    uint64_t h = 1469598103934665603ull;
    for (int y = 0; y < 83; ++y)
        for (int x = 0; x < 97; ++x) h = (h ^ uint32_t(c->Pixels(x, y))) * 1099511628211ull;
    EXPECT_EQ(h, 14631105993038012971ull);
}

// Texts laid one after another, large before small and back, each ink the
// pixels the font engine gives that text alone: nothing of an earlier text
// shows in a later one, and a text put together from glyphs laid before (in a
// proportional face too, and with glyphs the face lacks) is the text drawn whole.
// A text laid for the first time inks and measures as the painter does too:
// ligature letters, blanks at its ends and all.
TEST(CanvasTexts, LaidInTurnEachInksItsOwnPixels) {
    gui::ForgetLaidTexts();
    const std::pair<int, std::string> texts[] = {{72, "鉄道駅"}, {9, "東京"}, {20, "ABCxyz 123"}, {9, "東京駅"},
                                                 {40, "新宿　Shinjuku"}, {12, "駅"}, {72, "鉄道駅"},
                                                 {11, "駅前 Aj.,iW"}, {11, "Wi,.jA 前駅"}, {14, "한글 ĀŒ∮"},
                                                 {8, "fi ffl AVA To."}, {10, "fi ffl AVA To."}, {15, "fi ffl AVA To."},
                                                 {8, "  空白  "}, {10, "  空白  "}, {15, "  空白  "},
                                                 {8, "①②ｱｲｳ 12"}, {10, "①②ｱｲｳ 12"}, {15, "①②ｱｲｳ 12"},
                                                 {8, "さいたま市中央区"}, {10, "さいたま市中央区"}, {15, "さいたま市中央区"}};
    TBitmap laid(900, 120), direct(900, 120);
    const std::string faces[] = {"ＭＳ ゴシック", "ＭＳ Ｐ明朝", TFont().Name};
    for (const std::string& face : faces)
    for (const auto& [size, s] : texts) {
        for (TBitmap* b : {&laid, &direct}) {
            TCanvas* t = b->Canvas();
            t->Brush->Style = bsSolid;
            t->Brush->Color = clWhite;
            t->FillRect(Rect(0, 0, 900, 120));
            t->Font->Name = face;
            t->Font->Size = size;
            t->Font->Color = clBlack;
        }
        laid.Canvas()->TextOut(5, 4, s);
        const int w = direct.Canvas()->TextWidth(s), h = direct.Canvas()->TextHeight(s);
        EXPECT_EQ(laid.Canvas()->PenPos().x, 5 + w) << face << " " << s << " " << size;
        direct.Canvas()->TextRect(Rect(0, 0, 900, 120), 5, 4, s);
        int ink = 0;
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 900; ++x) {
                ASSERT_EQ(laid.Canvas()->Pixels(x, y), direct.Canvas()->Pixels(x, y))
                    << face << " " << s << " " << size << " at " << x << "," << y;
                ink += laid.Canvas()->Pixels(x, y) == clBlack;
            }
        EXPECT_GT(ink, 10) << s;
        EXPECT_GT(w * h, 0);
    }
}
