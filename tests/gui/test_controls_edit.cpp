// Editable grid cells, sorted combo boxes and pop-up menus on controls.
#include "gui/Controls.h"
#include "gui/Forms.h"
#include "gui/Testing.h"
#include <QComboBox>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

class EditControls : public ::testing::Test {
protected:
    void SetUp() override {
        gui::testing::Reset();
        form = std::make_unique<TForm>("edit");
    }
    std::unique_ptr<TForm> form;
};

} // namespace

TEST_F(EditControls, GridEditsReachTheHandlerOnlyFromTheUser) {
    TStringGrid g(form.get(), 3, 3);
    std::vector<std::string> seen;
    g.OnSetEditText = [&](TObject*, int c, int r, const std::string& v) {
        seen.push_back(std::to_string(c) + "," + std::to_string(r) + "=" + v);
    };
    g.SetCells(1, 1, "before");
    g.SetCells(0, 1, "fixed");
    g.SetEditable(true);
    EXPECT_TRUE(g.item(1, 1)->flags() & Qt::ItemIsEditable) << "existing cells become editable";
    EXPECT_FALSE(g.item(1, 0)->flags() & Qt::ItemIsEditable) << "fixed column";
    g.SetCells(1, 1, "code");
    g.SetCells(2, 2, "fresh");
    g.SetCells(0, 2, "fixed too");
    EXPECT_TRUE(seen.empty()) << "cells set by code are no edit";
    EXPECT_TRUE(g.item(2, 2)->flags() & Qt::ItemIsEditable) << "a cell made by code while editable";
    EXPECT_FALSE(g.item(2, 0)->flags() & Qt::ItemIsEditable) << "a fixed cell made by code while editable";
    g.UserEdit(1, 1, "typed");
    g.UserEdit(2, 1, "new cell");
    EXPECT_EQ(seen, (std::vector<std::string>{"1,1=typed", "2,1=new cell"}));
    EXPECT_EQ(g.Cells(1, 1), "typed");
    // A grid without editing takes no typing.
    g.SetEditable(false);
    EXPECT_FALSE(g.item(1, 1)->flags() & Qt::ItemIsEditable);
    g.UserEdit(1, 1, "ignored by the handler");
    EXPECT_EQ(seen.size(), 2u);
}

TEST_F(EditControls, SortedComboPutsItemsInStringListOrderAndKeepsItsText) {
    TComboBox c(form.get(), true);
    c.SetText("typed");
    c.Sorted = true;
    for (const char* s : {"丙", "b", "甲", "A", "乙"}) c.Items()->Add(s);
    std::vector<std::string> v;
    for (int i = 0; i < c.Items()->Count(); ++i) v.push_back(c.Items()->Strings(i));
    EXPECT_EQ(v, (std::vector<std::string>{"A", "b", "乙", "甲", "丙"}));
    EXPECT_EQ(c.Text(), "typed");
    c.Sorted = false;
    c.Items()->Add("あ");
    EXPECT_EQ(c.Items()->Strings(5), "あ");
}

TEST_F(EditControls, APopupMenuIsOfferedOnTheRightClick) {
    TComboBox c(form.get(), true);
    TPopupMenu menu;
    auto* item = new TMenuItem("消す");
    menu.Add(item);
    AttachPopupMenu(&c, &menu);
    EXPECT_EQ(c.contextMenuPolicy(), Qt::CustomContextMenu);
    EXPECT_EQ(c.lineEdit()->contextMenuPolicy(), Qt::CustomContextMenu);
    TStringGrid g(form.get(), 2, 2);
    AttachPopupMenu(&g, &menu);
    EXPECT_EQ(g.viewport()->contextMenuPolicy(), Qt::CustomContextMenu);
}
