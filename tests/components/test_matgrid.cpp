#include "components/Matgrid.h"
#include <gtest/gtest.h>
#include <functional>
#include <vector>

// One grid shows matrix after matrix: its size, its fixed row and column and
// the chosen cells follow each one.
TEST(MatGrid, NumbersAndElementsFollowEachMatrixShown) {
    const float f23[] = {1.5f, 2.25f, -3, 99, 4, 5, 6.125f, 99};   // 2 x 3 with a stride of 4
    const double d22[] = {1, 2, 3, 4};
    struct Cell {
        int col, row;
        const char* text;
    };
    const struct {
        const char* name;
        bool numbers, fromZero;
        std::function<bool(TMatGrid&)> show;
        int cols, rows, fixed;
        std::vector<Cell> cells;
    } cases[] = {
        {"by default numbered from one", true, false, [&](TMatGrid& g) { return g.Display(f23, 4, 2, 3, "%.2f"); },
         4, 3, 1,
         {{0, 1, "   1"}, {0, 2, "   2"}, {1, 0, "     1"}, {3, 0, "     3"},
          {1, 1, "1.50"}, {3, 1, "-3.00"}, {1, 2, "4.00"}, {3, 2, "6.12"}}},
        {"numbered from zero", true, true, [&](TMatGrid& g) { return g.display(d22, 2, 2, 2, "%g"); }, 3, 3, 1,
         {{0, 1, "   0"}, {2, 0, "     1"}, {2, 2, "4"}}},
        {"without numbers the matrix starts at 0,0", false, true,
         [&](TMatGrid& g) { return g.display(d22, 2, 2, 2, "[%.1f]"); }, 2, 2, 0,
         {{0, 0, "[1.0]"}, {1, 0, "[2.0]"}, {0, 1, "[3.0]"}}},
        {"no rows leave the column numbers", true, false, [&](TMatGrid& g) { return g.Display(f23, 3, 0, 3, "%f"); },
         4, 1, 1, {{2, 0, "     2"}}},
        {"no columns leave the row numbers", true, false,
         [&](TMatGrid& g) { return g.Display(nullptr, 0, 2, 0, "%f"); }, 1, 3, 1, {{0, 2, "   2"}}},
    };
    TMatGrid g;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (&c != cases) {   // the first shows the defaults
            g.ElementNumber = c.numbers;
            g.InitZero = c.fromZero;
        }
        ASSERT_TRUE(c.show(g));
        EXPECT_EQ(g.ColCount(), c.cols);
        EXPECT_EQ(g.RowCount(), c.rows);
        EXPECT_EQ(g.FixedCols, c.fixed);
        EXPECT_EQ(g.FixedRows, c.fixed);
        for (const Cell& cell : c.cells)
            EXPECT_EQ(g.Cells(cell.col, cell.row), cell.text) << "cell " << cell.col << "," << cell.row;
    }
}

TEST(MatGrid, ClearKeepsRowAndColumnZero) {
    TMatGrid g;
    const float a[] = {1, 2, 3, 4};
    ASSERT_TRUE(g.Display(a, 2, 2, 2, "%.0f"));
    g.Clear();
    EXPECT_EQ(g.Cells(0, 1), "   1");
    EXPECT_EQ(g.Cells(1, 0), "     1");
    EXPECT_EQ(g.Cells(1, 1), "");
    EXPECT_EQ(g.Cells(2, 2), "");
}

// A format that would read a string or an int from a double is refused
// before anything is written.
TEST(MatGrid, UnsafeFormatsAreRefused) {
    TMatGrid g;
    const float a[] = {1, 2, 3, 4};
    ASSERT_TRUE(g.Display(a, 2, 2, 2, "%.1f%%"));
    EXPECT_EQ(g.Cells(1, 1), "1.0%");
    for (const char* bad : {"%s", "%d", "%f %f", "%*f", "no value", "%Lf", "%.2f%n"}) {
        EXPECT_FALSE(g.Display(a, 2, 2, 2, bad)) << bad;
    }
    EXPECT_FALSE(g.Display(a, 2, 2, 2, nullptr));
    EXPECT_FALSE(g.Display(nullptr, 2, 2, 2, "%f"));
    EXPECT_FALSE(g.Display(a, 2, -1, 2, "%f"));
    EXPECT_EQ(g.Cells(1, 1), "1.0%");
    EXPECT_TRUE(TMatGrid::IsValueFormat("x=%+08.3e;"));
}
