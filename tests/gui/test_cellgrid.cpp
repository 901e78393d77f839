// The grid with its own cell store and presses on a tab sheet.
#include "gui/CellGrid.h"
#include "gui/Forms.h"
#include "gui/Testing.h"
#include "tests/support/FormsFixture.h"
#include <QApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>

namespace {

class CellGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        gui::testing::Reset();
        form = std::make_unique<TForm>("grid");
        form->SetClientSize(400, 300);
    }
    std::unique_ptr<TForm> form;
};

TEST_F(CellGridTest, CellsRowsAndReorderKeepTheirTextsAndTheViewSeesThem) {
    TCellGrid g(form.get(), 3, 2);
    g.SetCells(2, 1, "x");
    g.SetCells(3, 1, "out");   // outside: ignored
    g.SetCells(0, 5, "out");
    EXPECT_EQ(g.Cells(2, 1), "x");
    EXPECT_EQ(g.Cells(3, 1), "");
    EXPECT_EQ(g.model()->rowCount(), 2);
    EXPECT_EQ(g.model()->data(g.model()->index(1, 2)).toString(), "x");

    g.SetRowCount(4);
    EXPECT_EQ(g.model()->rowCount(), 4);
    for (int r = 0; r < 4; ++r) g.SetCells(0, r, std::to_string(r));
    g.ReorderRows({2, 0, 3, 1});
    EXPECT_EQ(g.Cells(0, 0), "2");
    EXPECT_EQ(g.Cells(0, 1), "0");
    EXPECT_EQ(g.Cells(2, 3), "x") << "the whole row moves";
    g.ReorderRows({1, 0});   // only the first rows
    EXPECT_EQ(g.Cells(0, 0), "0");
    EXPECT_EQ(g.Cells(0, 2), "3");

    g.SetRowCount(1);
    EXPECT_EQ(g.RowCount(), 1);
    EXPECT_EQ(g.Cells(0, 1), "");
    g.SetRowCount(2);
    EXPECT_EQ(g.Cells(2, 1), "") << "rows made again start empty";

    // Typing goes into the store only while the grid is editable.
    EXPECT_FALSE(g.model()->flags(g.model()->index(0, 0)) & Qt::ItemIsEditable);
    g.SetEditable(true);
    EXPECT_TRUE(g.model()->flags(g.model()->index(0, 0)) & Qt::ItemIsEditable);
    g.model()->setData(g.model()->index(1, 1), QString("東京"), Qt::EditRole);
    EXPECT_EQ(g.Cells(1, 1), "東京");

    int clicks = 0;
    g.OnClick = [&](TObject*) { ++clicks; };
    g.SetRow(1);
    EXPECT_EQ(clicks, 0) << "moving from code runs nothing";
    EXPECT_EQ(g.Row(), 1);
    g.SetCol(2);
    EXPECT_EQ(g.Col(), 2);
    g.setCurrentIndex(g.model()->index(0, 0));
    EXPECT_EQ(clicks, 1);
}

// The grid is left when another control of its window takes the focus; the
// window itself losing it to another window leaves the grid its control.
TEST_F(CellGridTest, LeavingIsToAnotherControlOfTheSameWindowOnly) {
    TCellGrid g(form.get(), 3, 2);
    TButton here(form.get(), "here");
    here.SetBounds(0, 250, 60, 24);
    TForm other("other");
    TEdit there(&other);
    int exits = 0;
    g.OnExit = [&](TObject*) { ++exits; };
    auto focus = testsupport::FocusAsUser;
    form->Show();
    other.Show();
    focus(&g);
    ASSERT_EQ(QApplication::focusWidget(), &g);
    focus(&there);
    ASSERT_EQ(QApplication::focusWidget(), &there);
    EXPECT_EQ(exits, 0) << "another window";
    focus(&g);
    EXPECT_EQ(exits, 0) << "back again";
    focus(&there);
    focus(&here);
    EXPECT_EQ(exits, 1) << "a control of its own window, even after a stay elsewhere";
    focus(&g);
    g.SetEditable(true);
    g.edit(g.model()->index(0, 0));
    QApplication::processEvents();
    ASSERT_NE(QApplication::focusWidget(), &g);
    EXPECT_EQ(exits, 1) << "its own cell editor";
    focus(&here);
    EXPECT_EQ(exits, 2) << "from the cell editor";
}

TEST_F(CellGridTest, APressOnATabSheetItselfReachesItsHandler) {
    TPageControl pc(form.get());
    auto* sheet = new TTabSheet(&pc, "地図記号");
    auto* button = new TButton(sheet, "b");
    button->SetBounds(0, 0, 20, 20);
    int presses = 0, x = -1;
    TShiftState shift;
    sheet->OnMouseDown = [&](TObject*, TMouseButton, TShiftState st, int px, int) { ++presses, x = px, shift = st; };
    QMouseEvent on(QEvent::MouseButtonPress, QPointF(50, 40), QPointF(50, 40), Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    QCoreApplication::sendEvent(sheet, &on);
    EXPECT_EQ(presses, 1);
    EXPECT_EQ(x, 50);
    // The state holds the pressed button, as every other control's does.
    EXPECT_TRUE(shift.Shift && shift.Left);
    QMouseEvent onButton(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(button, &onButton);
    EXPECT_EQ(presses, 1) << "a press on a control of the sheet is the control's";
}

} // namespace
