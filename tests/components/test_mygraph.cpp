#include "components/Mygraph.h"
#include "gui/Testing.h"
#include "tests/support/Pixels.h"
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cmath>
#include <limits>

using testsupport::PixelsAre;

namespace {

class GraphTest : public ::testing::Test {
protected:
    TMyGraph g;
    void SetUp() override { gui::testing::Reset(); }
    TCanvas* C() { return g.Canvas(); }
    TColor At(int x, int y) { return C()->Pixels(x, y); }
    int CountInColumn(int x, int y0, int y1, TColor c) {
        int n = 0;
        for (int y = y0; y <= y1; ++y) n += At(x, y) == c;
        return n;
    }
    bool AnyNonWhite(int x0, int y0, int x1, int y1) {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                if (At(x, y) != clWhite) return true;
        return false;
    }
    // Grid of the defaults: 4 x 4 cells of 62 pixels from (35, 270).
    static constexpr int cell = 62, left = 35, bottom = 270, top = 270 - 4 * 62;
};

std::string Round(double v) {
    std::string s;
    TMyGraph::_round_number(v, s);
    return s;
}

} // namespace

TEST(MyGraphLabels, RoundNumber) {
    for (auto [v, text] : {std::pair<double, const char*>{2.5, "2.5"}, {0.0001, "0.0001"}, {-3, "-3"},
                           {2.9999, "3"}, {1234.5, "1234.5"}, {0.1f, "0.1"}, {100000, "100000"}, {0, "0"},
                           {5e-9, "0"}, {123456, "1.2e+05"}, {-2e-6, "-2.0e-06"}})
        EXPECT_EQ(Round(v), text) << v;
}

TEST(MyGraphLabels, SubScaleCountsAndFormats) {
    struct Case {
        double step;
        int count;
        const char* format;
    } cases[] = {{0.25, 5, "%.2f"}, {2.5, 5, "%.1f"}, {20, 4, "%.0f"}, {1.5, 3, "%.1f"}, {0.3, 3, "%.1f"},
                 {6, 6, "%.0f"},    {700, 7, "%.0f"}, {90, 3, "%.0f"}, {0.05, 5, "%.2f"}, {4e-4, 4, "%.4f"},
                 {10, 5, "%.0f"}};
    for (const Case& c : cases) {
        std::string f;
        EXPECT_EQ(TMyGraph::sub_scale(c.step, f), c.count) << c.step;
        EXPECT_EQ(f, c.format) << c.step;
    }
    std::string f;
    EXPECT_EQ(TMyGraph::sub_scale(0, f), 0);
    EXPECT_EQ(TMyGraph::sub_scale(-2, f), 0);
    // These would never leave the scaling loops.
    EXPECT_EQ(TMyGraph::sub_scale(std::numeric_limits<double>::infinity(), f), 0);
    EXPECT_EQ(TMyGraph::sub_scale(std::nan(""), f), 0);
    EXPECT_TRUE(TMyGraph::zero_string("-0.00"));
    EXPECT_FALSE(TMyGraph::zero_string("0.01"));
}

TEST(MyGraphScale, LinearStepsFromTheData) {
    TMyGraph g;
    const float up17[] = {3, 17, -50, 10};
    ASSERT_TRUE(g.XScaleUnit(4, up17));
    EXPECT_FLOAT_EQ(g.VValueX, 5);   // 4 x 5.001 > 17; 4 x 2.501 is not
    EXPECT_FLOAT_EQ(g.SValueX, 0);
    const float exact20[] = {20};
    ASSERT_TRUE(g.YScaleUnit(1, exact20));
    EXPECT_FLOAT_EQ(g.VValueY, 5);
    const float small[] = {0.3f};
    ASSERT_TRUE(g.XScaleUnit(1, small));
    EXPECT_FLOAT_EQ(g.VValueX, 0.1f);

    const float mixed[] = {-7, 3};
    ASSERT_TRUE(g.XScaleUnit1(2, mixed));
    EXPECT_EQ(g.NGridX, 4);
    EXPECT_FLOAT_EQ(g.VValueX, 5);
    EXPECT_FLOAT_EQ(g.SValueX, -10);
    g.NGridX = 3;   // two cells per sign make four
    ASSERT_TRUE(g.XScaleUnit1(2, mixed));
    EXPECT_EQ(g.NGridX, 4);
    const float positive[] = {1, 9};
    ASSERT_TRUE(g.XScaleUnit1(2, positive));
    EXPECT_FLOAT_EQ(g.VValueX, 2.5f);
    EXPECT_FLOAT_EQ(g.SValueX, 0);
}

TEST(MyGraphScale, LogarithmicAndRefusedData) {
    gui::testing::Reset();
    TMyGraph g;
    g.LinearX = false;
    const float v[] = {5, 350};
    ASSERT_TRUE(g.XScaleUnit(2, v));
    EXPECT_NEAR(g.SValueX, 0.1, 1e-6);   // 1000 / 10^4
    EXPECT_FLOAT_EQ(g.VValueX, 10);

    // Negative data on a logarithmic axis: a message, no change, no exit.
    const float neg[] = {5, -1};
    g.SValueX = 7;
    ASSERT_FALSE(g.XScaleUnit1(2, neg));
    ASSERT_EQ(gui::testing::Messages().size(), 1u);
    EXPECT_EQ(gui::testing::Messages()[0].text, "負のデータを対数目盛りでは表せません");
    EXPECT_EQ(gui::testing::Messages()[0].caption, "目盛り設定エラー");
    EXPECT_EQ(gui::testing::Messages()[0].flags & 0xF0, MB_ICONEXCLAMATION);
    EXPECT_FALSE(gui::testing::Terminated());
    EXPECT_FLOAT_EQ(g.SValueX, 7);
    EXPECT_EQ(g.NGridX, 4);

    // Data the step search could never pass, and a grid with no cells.
    const float bad[] = {1, std::numeric_limits<float>::infinity()};
    EXPECT_FALSE(g.XScaleUnit(2, bad));
    g.LinearY = true;
    const float nan[] = {std::nanf("")};
    EXPECT_FALSE(g.YScaleUnit1(1, nan));
    g.NGridY = 0;
    EXPECT_FALSE(g.YScaleUnit(2, v));
    EXPECT_FLOAT_EQ(g.VValueY, 10);
}

TEST_F(GraphTest, FrameGridLinesDotsAndLabels) {
    g.Clear(clRed);
    ASSERT_TRUE(g.DrawWaku());
    EXPECT_TRUE(PixelsAre(C(), {{290, 5, clWhite, "cleared white"}, {left + cell, 150, clBlack, "inner line"},
                                {left + cell + 1, 150, clWhite, "inner line, 1 pixel"},
                                {left + cell - 1, 150, clWhite, "inner line, 1 pixel"},
                                {left, 150, clBlack, "outer line"}, {150, bottom - 2 * cell, clBlack}}));
    EXPECT_TRUE(At(left - 1, 150) == clBlack || At(left + 1, 150) == clBlack) << "outer lines are 2 pixels";
    // Sub-divisions every 62/5 pixels: dotted across the plot.
    const int sub = left + cell / 5;
    // Dotted sub-division lines (and the crossings of the horizontal ones).
    const int span = bottom - top - 3;
    int dots = CountInColumn(sub, top + 2, bottom - 2, clBlack);
    EXPECT_GT(dots, span / 3);
    EXPECT_LT(dots, span * 3 / 4);
    EXPECT_LT(CountInColumn(sub + 1, top + 2, bottom - 2, clBlack), span / 8);
    // Labels under the x axis and left of the y axis.
    EXPECT_TRUE(AnyNonWhite(left - 8, bottom + 5, left + 8, bottom + 20));
    EXPECT_TRUE(AnyNonWhite(0, top - 8, left - 10, top + 8));
    EXPECT_FALSE(AnyNonWhite(left + 2 * cell + 20, 0, 299, top - 2));   // right of the y title: empty
}

TEST_F(GraphTest, TicksInsteadOfDotsAndOverWrite) {
    g.Clear(clRed);
    g.SubAxis = false;
    g.OverWrite = true;
    ASSERT_TRUE(g.DrawWaku());
    const int sub = left + cell / 5;
    EXPECT_TRUE(PixelsAre(C(), {{290, 5, clRed, "picture kept"}, {sub, bottom - 5, clBlack, "7-pixel tick"},
                                {sub, bottom - 8, clRed, "tick ends"}, {sub, 150, clRed, "no dots"}}));
}

TEST_F(GraphTest, LogarithmicSubDivisionsAtTwoFourSixEight) {
    g.LinearX = false;
    g.SValueX = 1;
    g.VValueX = 10;
    ASSERT_TRUE(g.DrawWaku());
    for (int j = 1; j <= 4; ++j) {
        const int x = left + int(std::log10(2.0 * j) * cell);
        EXPECT_GT(CountInColumn(x, top + 2, bottom - 2, clBlack), (bottom - top) / 3) << j;
    }
    EXPECT_LT(CountInColumn(left + cell / 5, top + 2, bottom - 2, clBlack), (bottom - top) / 8);
}

TEST_F(GraphTest, DrawWakuNChoosesSubDivisionsFromTheSteps) {
    g.VValueX = 2.5f;
    g.VValueY = 20;
    ASSERT_TRUE(g.DrawWakuN());
    EXPECT_EQ(g.SubX, 5);
    EXPECT_EQ(g.SubY, 4);
    EXPECT_GT(CountInColumn(left + cell / 5, top + 2, bottom - 2, clBlack), (bottom - top) / 3);
}

TEST_F(GraphTest, UndeterminedLogScaleDrawsNothing) {
    g.Clear(clRed);
    g.LinearY = false;
    g.SValueY = 0;
    EXPECT_FALSE(g.DrawWaku());
    EXPECT_FALSE(g.DrawWakuN());
    ASSERT_EQ(gui::testing::Messages().size(), 2u);
    EXPECT_EQ(gui::testing::Messages()[0].text, "Y Logarithmic Scale can not be determind.");
    EXPECT_EQ(gui::testing::Messages()[0].caption, "Y Scale Error");
    EXPECT_FALSE(gui::testing::Terminated());
    for (int y = 0; y < 300; y += 7)
        for (int x = 0; x < 300; x += 7) ASSERT_EQ(At(x, y), clRed);
    g.LinearY = true;
    g.NGridX = 0;
    EXPECT_FALSE(g.DrawWaku());
}

TEST_F(GraphTest, PolylineAndSkippedLogPoints) {
    g.Clear(clWhite);
    C()->Pen->Color = clRed;
    const float x[] = {5, 15}, y[] = {10, 10};
    ASSERT_TRUE(g.DrawGraph(2, x, y));
    const int row = bottom - cell;   // y = 10 is one cell up
    EXPECT_TRUE(PixelsAre(C(), {{left + cell, row, clRed}, {150, row, clRed}, {150, row - 1, clWhite},
                                {left + 3 * cell, row, clWhite, "end pixel left unset"}}));

    // On a log axis a zero is skipped: the line runs from the first point to the third.
    g.Clear(clWhite);
    g.LinearY = false;
    g.SValueY = 1;
    g.VValueY = 10;
    const float lx[] = {1, 2, 3}, ly[] = {10, 0, 100};
    ASSERT_TRUE(g.DrawGraph(3, lx, ly));
    const int x0 = left + int(1.0 / 5 * cell), x1 = left + int(3.0 / 5 * cell);
    const int y0 = bottom - cell, y1 = bottom - 2 * cell;
    EXPECT_TRUE(PixelsAre(C(), {{x0, y0, clRed}, {(x0 + x1) / 2, (y0 + y1) / 2, clRed, "midway to the third"}}));
}

TEST_F(GraphTest, AxesThatCannotPlacePointsDrawNothing) {
    g.Clear(clWhite);
    C()->Pen->Color = clRed;
    const float x[] = {1, 2, 3}, y[] = {1, 2, 3};
    g.VValueX = 0;
    EXPECT_FALSE(g.DrawGraph(3, x, y));
    EXPECT_FALSE(g.PlotGraph(3, x, y, 2, 4));
    g.VValueX = 5;
    g.LinearY = false;
    g.SValueY = 1;
    g.VValueY = 1;   // log10(1) = 0
    EXPECT_FALSE(g.DrawGraph(3, x, y));
    g.VValueY = -10;
    EXPECT_FALSE(g.SkipGraph(3, x, y, 2, 4, 1));
    EXPECT_FALSE(AnyNonWhite(0, 0, 299, 299));
    // A zero start on a log axis only skips the points.
    g.VValueY = 10;
    g.SValueY = 0;
    EXPECT_TRUE(g.DrawGraph(3, x, y));
    EXPECT_FALSE(AnyNonWhite(0, 0, 299, 299));
}

TEST_F(GraphTest, MarkersStopRightOfThePlotAndSkip) {
    g.Clear(clWhite);
    C()->Pen->Color = clBlack;
    C()->Brush->Color = clYellow;
    C()->Brush->Style = bsSolid;
    auto px = [&](float v) { return left + int(v / 5 * cell); };
    auto py = [&](float v) { return bottom - int(v / 10 * cell); };
    const float x[] = {5, 25, 10}, y[] = {10, 10, 20};
    ASSERT_TRUE(g.PlotGraph(3, x, y, 2, 6));   // squares of half side 3
    EXPECT_TRUE(PixelsAre(C(), {{px(5), py(10), clYellow}, {px(5) - 3, py(10), clBlack}, {px(5) + 4, py(10), clWhite},
                                {px(10), py(20), clWhite, "after the point off the plot"}}));

    g.Clear(clWhite);
    const float sx[] = {2, 4, 6}, sy[] = {10, 20, 30};
    ASSERT_TRUE(g.SkipGraph(3, sx, sy, 5, 3, 2));   // upright crosses, every second point
    EXPECT_TRUE(PixelsAre(C(), {{px(2) - 3, py(10), clBlack}, {px(2), py(10) - 3, clBlack},
                                {px(2) + 2, py(10) + 2, clWhite, "upright, not diagonal"},
                                {px(4), py(20), clWhite, "skipped"}, {px(6), py(30), clBlack}}));

    g.Clear(clWhite);
    EXPECT_TRUE(g.SkipGraph(3, sx, sy, 5, 3, 0));
    EXPECT_FALSE(AnyNonWhite(0, 0, 299, 299));
}

TEST_F(GraphTest, SavePngAndCopy) {
    ASSERT_TRUE(g.DrawWaku());
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/graph.png";
    std::string error;
    ASSERT_TRUE(g.Save_PNG(path, &error)) << error;
    QImage back(QString::fromStdString(path));
    ASSERT_EQ(back.size(), QSize(300, 300));
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), g.Picture()->Bitmap()->Image());
    EXPECT_FALSE(g.Save_PNG(dir.path().toStdString() + "/no/such/graph.png", &error));
    EXPECT_FALSE(error.empty());

    g.Copy();
    EXPECT_EQ(gui::testing::ClipboardImage(), g.Picture()->Bitmap()->Image());
}
