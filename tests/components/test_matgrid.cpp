#include "components/Matgrid.h"
#include <gtest/gtest.h>

TEST(MatGrid, DefaultsNumberFromOneInAFixedRowAndColumn) {
    TMatGrid g;
    EXPECT_TRUE(g.ElementNumber);
    EXPECT_FALSE(g.InitZero);
    // A 2 x 3 matrix stored with a stride of 4 (one spare element per row).
    const float a[] = {1.5f, 2.25f, -3, 99, 4, 5, 6.125f, 99};
    ASSERT_TRUE(g.Display(a, 4, 2, 3, "%.2f"));
    EXPECT_EQ(g.ColCount(), 4);
    EXPECT_EQ(g.RowCount(), 3);
    EXPECT_EQ(g.FixedCols, 1);
    EXPECT_EQ(g.FixedRows, 1);
    EXPECT_EQ(g.Cells(0, 1), "   1");
    EXPECT_EQ(g.Cells(0, 2), "   2");
    EXPECT_EQ(g.Cells(1, 0), "     1");
    EXPECT_EQ(g.Cells(3, 0), "     3");
    EXPECT_EQ(g.Cells(1, 1), "1.50");
    EXPECT_EQ(g.Cells(3, 1), "-3.00");
    EXPECT_EQ(g.Cells(1, 2), "4.00");
    EXPECT_EQ(g.Cells(3, 2), "6.12");
}

TEST(MatGrid, NumberingAndHeaderOptions) {
    TMatGrid g;
    g.InitZero = true;
    const double a[] = {1, 2, 3, 4};
    ASSERT_TRUE(g.display(a, 2, 2, 2, "%g"));
    EXPECT_EQ(g.Cells(0, 1), "   0");
    EXPECT_EQ(g.Cells(2, 0), "     1");
    EXPECT_EQ(g.Cells(2, 2), "4");

    // Without numbers the matrix starts at cell (0, 0).
    g.ElementNumber = false;
    ASSERT_TRUE(g.display(a, 2, 2, 2, "[%.1f]"));
    EXPECT_EQ(g.ColCount(), 2);
    EXPECT_EQ(g.RowCount(), 2);
    EXPECT_EQ(g.FixedCols, 0);
    EXPECT_EQ(g.Cells(0, 0), "[1.0]");
    EXPECT_EQ(g.Cells(1, 0), "[2.0]");
    EXPECT_EQ(g.Cells(0, 1), "[3.0]");
}

TEST(MatGrid, EmptyMatrixLeavesTheHeaders) {
    TMatGrid g;
    const float a[] = {0};
    ASSERT_TRUE(g.Display(a, 3, 0, 3, "%f"));
    EXPECT_EQ(g.RowCount(), 1);
    EXPECT_EQ(g.ColCount(), 4);
    EXPECT_EQ(g.Cells(2, 0), "     2");
    ASSERT_TRUE(g.Display(nullptr, 0, 2, 0, "%f"));
    EXPECT_EQ(g.ColCount(), 1);
    EXPECT_EQ(g.Cells(0, 2), "   2");
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
