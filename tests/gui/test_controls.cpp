// Event rules of the controls, string lists, grids, the panel face and the image control.
#include "gui/CellGrid.h"
#include "gui/Controls.h"
#include "gui/Forms.h"
#include "gui/Testing.h"
#include "gui/TextFile.h"
#include "tests/support/FormsFixture.h"
#include "tests/support/Pixels.h"
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <gtest/gtest.h>
#include <fstream>

using testsupport::PixelsAre;

namespace {

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        gui::testing::Reset();
        form = std::make_unique<TForm>("controls");
        form->SetClientSize(400, 300);
    }
    std::unique_ptr<TForm> form;
};

void SendMouse(QWidget* w, QEvent::Type type, Qt::MouseButton b, QPoint p,
               Qt::KeyboardModifiers mods = Qt::NoModifier) {
    Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(b);
    if (type == QEvent::MouseMove) held = Qt::NoButton;
    QMouseEvent e(type, QPointF(p), w->mapToGlobal(QPointF(p)), type == QEvent::MouseMove ? Qt::NoButton : b, held, mods);
    QCoreApplication::sendEvent(w, &e);
}

TEST_F(ControlsTest, CheckBoxClickRunsOncePerChangeFromCodeOrUser) {
    TCheckBox cb(form.get(), "tick");
    EXPECT_EQ(cb.parentWidget(), form->Client());
    int clicks = 0;
    cb.OnClick = [&](TObject* s) {
        EXPECT_EQ(s, &cb);
        ++clicks;
    };
    cb.SetChecked(false);            // unchanged
    EXPECT_EQ(clicks, 0);
    cb.SetChecked(true);
    EXPECT_EQ(clicks, 1);
    cb.SetChecked(true);             // unchanged
    EXPECT_EQ(clicks, 1);
    cb.SetChecked(false);
    EXPECT_EQ(clicks, 2);
    cb.Click();
    EXPECT_TRUE(cb.Checked());
    EXPECT_EQ(clicks, 3);
    cb.click();                      // the user's click
    EXPECT_FALSE(cb.Checked());
    EXPECT_EQ(clicks, 4);
    // The handler sees the new state.
    bool seen = false;
    cb.OnClick = [&](TObject*) { seen = cb.Checked(); };
    cb.SetChecked(true);
    EXPECT_TRUE(seen);
}

TEST_F(ControlsTest, RadioButtonClickRunsWhenItBecomesChecked) {
    TRadioButton a(form.get(), "a"), b(form.get(), "b");
    int ca = 0, cb = 0;
    a.OnClick = [&](TObject*) { ++ca; };
    b.OnClick = [&](TObject*) { ++cb; };
    a.SetChecked(true);
    EXPECT_EQ(ca, 1);
    a.SetChecked(true);
    EXPECT_EQ(ca, 1);
    b.click();                       // the user picks b: a is unticked without a click
    EXPECT_TRUE(b.Checked());
    EXPECT_FALSE(a.Checked());
    EXPECT_EQ(cb, 1);
    EXPECT_EQ(ca, 1);
    b.SetChecked(false);             // allowed from code, unlike Qt's own rule; no click
    EXPECT_FALSE(b.Checked());
    EXPECT_FALSE(a.Checked());
    EXPECT_EQ(cb, 1);
    a.SetChecked(true);
    EXPECT_EQ(ca, 2);
}

TEST_F(ControlsTest, RadioGroupClickRunsWhenIndexChanges) {
    TRadioGroup g(form.get(), "group");
    g.SetItems({"one", "two", "three"});
    EXPECT_EQ(g.ItemIndex(), -1);
    EXPECT_EQ(g.Count(), 3);
    EXPECT_EQ(g.Item(2), "three");
    std::vector<int> seen;
    g.OnClick = [&](TObject*) { seen.push_back(g.ItemIndex()); };
    g.SetItemIndex(1);
    g.SetItemIndex(1);
    EXPECT_EQ(seen, std::vector<int>({1}));
    auto buttons = g.findChildren<QRadioButton*>();
    ASSERT_EQ(buttons.size(), 3);
    EXPECT_TRUE(buttons[1]->isChecked());
    buttons[2]->click();             // the user
    EXPECT_EQ(g.ItemIndex(), 2);
    buttons[2]->click();             // already chosen
    EXPECT_EQ(seen, std::vector<int>({1, 2}));
    EXPECT_FALSE(buttons[1]->isChecked());
    g.SetItemIndex(-1);              // no choice at all
    EXPECT_EQ(seen, std::vector<int>({1, 2, -1}));
    for (auto* b : buttons) EXPECT_FALSE(b->isChecked());
    g.SetItemIndex(7);               // out of range: no choice, unchanged
    EXPECT_EQ(seen.size(), 3u);
    // New items keep the index where it still exists, and run nothing.
    g.SetItemIndex(2);
    g.SetItems({"x", "y"});
    EXPECT_EQ(g.ItemIndex(), 1);
    EXPECT_EQ(seen.size(), 4u);
    buttons = g.findChildren<QRadioButton*>();
    ASSERT_EQ(buttons.size(), 2);
    EXPECT_TRUE(buttons[1]->isChecked());
}

TEST_F(ControlsTest, MenuTickFromCodeRunsNothingUserChoiceRunsClick) {
    auto* top = new TMenuItem("&File");
    auto* a = new TMenuItem("a");
    auto* b = new TMenuItem("b");
    top->Add(a);
    top->Add(b);
    TMainMenu* menu = new TMainMenu;
    menu->Add(top);
    form->SetMenu(menu);
    int clicks = 0;
    a->OnClick = [&](TObject* s) {
        EXPECT_EQ(s, a);
        ++clicks;
    };
    a->SetChecked(true);
    a->SetChecked(false);
    EXPECT_EQ(clicks, 0);
    a->SetChecked(true);
    a->Action()->trigger();          // the user's choice: the tick stays as the program set it
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(a->Checked());
    EXPECT_TRUE(a->Action()->isChecked());
    a->Click();
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(top->Count(), 2);
    EXPECT_EQ(top->Items(1), b);
    // Radio items of one group untick each other.
    a->RadioItem = b->RadioItem = true;
    b->SetChecked(true);
    EXPECT_FALSE(a->Checked());
    EXPECT_FALSE(a->Action()->isChecked());
    a->SetRadioGroup(1);
    a->SetChecked(true);
    EXPECT_TRUE(b->Checked());       // another group
    EXPECT_EQ(clicks, 2);
}

TEST_F(ControlsTest, UpDownPositionFromCodeRunsNothingArrowsStopAtLimits) {
    TUpDown ud(form.get());
    TEdit edit(form.get());
    ud.SetAssociate(&edit);
    ud.Min = 0;
    ud.Max = 10;
    ud.Increment = 4;
    std::vector<std::pair<int, TUDBtnType>> clicks;
    ud.OnClick = [&](TObject*, TUDBtnType b) { clicks.push_back({ud.Position(), b}); };
    ud.SetPosition(5);
    ud.SetPosition(50);
    EXPECT_EQ(ud.Position(), 10);    // clamped
    ud.SetPosition(-3);
    EXPECT_EQ(ud.Position(), 0);
    EXPECT_TRUE(clicks.empty());
    EXPECT_EQ(edit.Text(), "0");
    ud.UserClick(btPrev);            // at the lower limit
    EXPECT_TRUE(clicks.empty());
    ud.UserClick(btNext);
    ud.UserClick(btNext);
    ud.UserClick(btNext);            // 8 -> clamped to 10
    ud.UserClick(btNext);            // at the limit, no wrap
    ASSERT_EQ(clicks.size(), 3u);
    EXPECT_EQ(clicks[0].first, 4);
    EXPECT_EQ(clicks[2].first, 10);
    EXPECT_EQ(clicks[2].second, btNext);
    EXPECT_EQ(edit.Text(), "10");
    ud.Wrap = true;
    ud.UserClick(btNext);
    EXPECT_EQ(ud.Position(), 0);
    EXPECT_EQ(clicks.size(), 4u);
}

TEST_F(ControlsTest, UpDownTakesAWholeNumberTypedIntoItsEditAndNothingElse) {
    TUpDown ud(form.get());
    TEdit edit(form.get());
    ud.Min = -100;
    ud.Max = 100;
    ud.SetAssociate(&edit);
    ud.SetPosition(8);
    std::vector<std::pair<int, TUDBtnType>> clicks;
    ud.OnClick = [&](TObject*, TUDBtnType b) { clicks.push_back({ud.Position(), b}); };
    // Read at once; the handler runs when the typing ends.
    testsupport::TypeInto(&edit, "20", false);
    EXPECT_EQ(ud.Position(), 20);
    EXPECT_TRUE(clicks.empty());
    testsupport::TypeInto(&edit, "20");
    testsupport::TypeInto(&edit, " -3");
    EXPECT_EQ(ud.Position(), -3);
    ASSERT_EQ(clicks.size(), 2u);
    EXPECT_EQ(clicks[0], std::make_pair(20, btNext));
    EXPECT_EQ(clicks[1], std::make_pair(-3, btPrev));
    EXPECT_EQ(edit.Text(), "-3") << "typing ends with the position shown";
    // The arrows count from a typed number.
    testsupport::TypeInto(&edit, "40", false);
    ud.UserClick(btNext);
    EXPECT_EQ(ud.Position(), 41);
    EXPECT_EQ(edit.Text(), "41");

    // Refused: no number, junk after one, out of range, empty. The position stays
    // and the edit shows it again when the typing ends.
    clicks.clear();
    for (const char* bad : {"abc", "7x", "101", "3.5", "", "+-4"}) {
        testsupport::TypeInto(&edit, bad);
        EXPECT_EQ(ud.Position(), 41) << bad;
        EXPECT_EQ(edit.Text(), "41") << bad;
    }
    EXPECT_TRUE(clicks.empty());
}

TEST_F(ControlsTest, ComboBoxIndexFromCodeRunsNothingUserChoiceRuns) {
    TComboBox c(form.get(), false);
    int clicks = 0, changes = 0;
    c.OnClick = [&](TObject*) { ++clicks; };
    c.OnChange = [&](TObject*) { ++changes; };
    c.Items()->Add("北海道");
    c.Items()->Add("青森");
    EXPECT_EQ(c.ItemIndex(), -1);    // filling the list chooses nothing
    c.SetItemIndex(1);
    EXPECT_EQ(c.Text(), "青森");
    c.SetText("北海道");
    EXPECT_EQ(c.ItemIndex(), 0);
    EXPECT_EQ(clicks + changes, 0);
    emit c.activated(1);             // what the user's choice sends
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(changes, 1);

    TComboBox e(form.get());
    e.SetText("typed");
    e.Items()->Add("first");
    EXPECT_EQ(e.Text(), "typed");
    EXPECT_EQ(e.ItemIndex(), -1);
    e.Items()->Clear();
    EXPECT_EQ(e.Text(), "typed");
}

TEST_F(ControlsTest, EditChangeAndKeyPress) {
    TEdit e(form.get(), "x");
    int changes = 0;
    e.OnChange = [&](TObject*) { ++changes; };
    e.SetText("東京");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(e.Text(), "東京");
    std::vector<char> keys;
    e.OnKeyPress = [&](TObject*, char& k) {
        keys.push_back(k);
        if (k == 'z') k = 0;        // eaten
    };
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(&e, &enter);
    QKeyEvent z(QEvent::KeyPress, Qt::Key_Z, Qt::NoModifier, "z");
    QCoreApplication::sendEvent(&e, &z);
    QKeyEvent a(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QCoreApplication::sendEvent(&e, &a);
    EXPECT_EQ(keys, std::vector<char>({'\r', 'z', 'a'}));
    EXPECT_EQ(e.Text(), "東京a");
}

TEST_F(ControlsTest, ListBoxAndMemoItems) {
    TListBox lb(form.get());
    int clicks = 0;
    lb.OnClick = [&](TObject*) { ++clicks; };
    lb.Items()->Add("a");
    lb.Items()->Add("b");
    lb.Items()->Insert(0, "z");
    EXPECT_EQ(lb.Items()->Count(), 3);
    EXPECT_EQ(lb.Items()->Strings(0), "z");
    lb.SetItemIndex(2);
    EXPECT_EQ(lb.ItemIndex(), 2);
    EXPECT_EQ(clicks, 0);
    lb.Items()->Delete(0);
    EXPECT_EQ((*lb.Items())[1], "b");

    // The user: a new item, the same item again, then a key: one click each.
    form->Show();
    lb.SetBounds(0, 0, 100, 100);
    QCoreApplication::processEvents();
    QPoint first = lb.visualItemRect(lb.item(0)).center();
    SendMouse(lb.viewport(), QEvent::MouseButtonPress, Qt::LeftButton, first);
    SendMouse(lb.viewport(), QEvent::MouseButtonRelease, Qt::LeftButton, first);
    EXPECT_EQ(lb.ItemIndex(), 0);
    EXPECT_EQ(clicks, 1);
    QCoreApplication::processEvents();
    SendMouse(lb.viewport(), QEvent::MouseButtonPress, Qt::LeftButton, first);
    SendMouse(lb.viewport(), QEvent::MouseButtonRelease, Qt::LeftButton, first);
    EXPECT_EQ(clicks, 2);
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(&lb, &down);
    EXPECT_EQ(lb.ItemIndex(), 1);
    EXPECT_EQ(clicks, 3);

    TMemo m(form.get());
    EXPECT_EQ(m.Lines()->Count(), 0);
    m.Lines()->Add("一行目");
    m.Lines()->Add("");
    m.Lines()->Add("三");
    EXPECT_EQ(m.Lines()->Count(), 3);
    EXPECT_EQ(m.Text(), "一行目\n\n三\n");
    m.Lines()->Delete(0);
    EXPECT_EQ(m.Lines()->Strings(1), "三");
    m.SetText("a\nb\n");
    EXPECT_EQ(m.Lines()->Count(), 2);
}

TEST_F(ControlsTest, StringListSortsInCodeOrderAndRoundTripsAFile) {
    TStringList l;
    l.Sorted = true;
    // Full-width Ａ (82 60) comes before あ (82 A0) in CP932; UTF-8 would put it after 亜.
    // Half-width ｱ is the single byte B1, after the level-1 kanji.
    for (const char* s : {"あ", "ｱ", "Ａ", "B", "a", "亜"}) l.Add(s);
    std::vector<std::string> got;
    for (int i = 0; i < l.Count(); ++i) got.push_back(l[i]);
    EXPECT_EQ(got, std::vector<std::string>({"a", "B", "Ａ", "あ", "亜", "ｱ"}));
    l.Delete(2);
    l.IgnoreDuplicates = true;
    EXPECT_EQ(l.Add("A"), 0);
    EXPECT_EQ(l.Count(), 5);
    EXPECT_EQ(l.IndexOf("b"), 1);
    EXPECT_EQ(l.IndexOf("ア"), -1);

    auto dir = testsupport::MakeTempDir();
    std::string path = (dir / "list.txt").string();
    ASSERT_TRUE(l.SaveToFile(path));
    EXPECT_EQ(testsupport::ReadBytes(dir / "list.txt"),
              "a\r\nB\r\n\x82\xA0\r\n\x88\x9F\r\n\xB1\r\n");
    TStringList back;
    ASSERT_TRUE(back.LoadFromFile(path));
    ASSERT_EQ(back.Count(), 5);
    EXPECT_EQ(back[4], "ｱ");
    EXPECT_FALSE(back.LoadFromFile((dir / "missing.txt").string()));
    EXPECT_EQ(back.Count(), 5);      // kept on failure
    testsupport::RemoveTree(dir);
}

TEST_F(ControlsTest, StringGridCellsAreColumnFirstAndFixedCellsRefuseSelection) {
    TStringGrid g(form.get(), 3, 4);
    g.SetCells(2, 1, "x");
    EXPECT_EQ(g.Cells(2, 1), "x");
    ASSERT_NE(g.item(1, 2), nullptr);
    EXPECT_EQ(g.item(1, 2)->text(), "x");
    EXPECT_FALSE(g.item(1, 2)->flags() & Qt::ItemIsEditable);
    g.SetCells(5, 9, "out");         // outside: ignored
    EXPECT_EQ(g.Cells(5, 9), "");
    g.SetRow(2);
    EXPECT_EQ(g.Row(), 2);
    EXPECT_EQ(g.Col(), 1);
    std::vector<std::pair<int, int>> asked;
    int clicks = 0;
    g.OnClick = [&](TObject*) { ++clicks; };
    g.OnSelectCell = [&](TObject*, int c, int r, bool& can) {
        asked.push_back({c, r});
        can = r != 3;
    };
    g.setCurrentCell(3, 2);          // refused by the handler
    EXPECT_EQ(g.Row(), 2);
    g.setCurrentCell(0, 2);          // a fixed row
    EXPECT_EQ(g.Row(), 2);
    g.setCurrentCell(1, 2);
    EXPECT_EQ(g.Row(), 1);
    EXPECT_EQ(g.Col(), 2);
    EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{2, 3}, {2, 1}}));
    EXPECT_EQ(clicks, 1);
}

// A panel that records the order its mouse hooks run in.
class ProbePanel : public TPanel {
public:
    using TPanel::TPanel;
    std::vector<std::string> log;
protected:
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override {
        log.push_back("down" + std::to_string(b) + (s.Left ? "L" : ""));
    }
    void MouseUp(TMouseButton b, TShiftState, int, int) override { log.push_back("up" + std::to_string(b)); }
};

TEST_F(ControlsTest, PanelPaintsItsFaceAndClicksOnLeftReleaseInside) {
    ProbePanel p(form.get(), "");
    p.SetBounds(0, 0, 40, 20);
    p.SetColor(clYellow);
    p.BevelOuter = bvRaised;
    p.BevelInner = bvLowered;
    p.BevelWidth = 2;
    p.grab();                        // paints
    ASSERT_NE(p.Face(), nullptr);
    EXPECT_TRUE(PixelsAre(p.Face()->Canvas(),
                          {{0, 0, clBtnHighlight, "outer"}, {1, 5, clBtnHighlight, "outer"}, {39, 19, clBtnShadow, "outer"},
                           {38, 5, clBtnShadow, "outer"}, {2, 5, clBtnShadow, "the inner bevel is lowered"},
                           {37, 5, clBtnHighlight, "inner"}, {20, 10, clYellow}, {4, 4, clYellow}}));

    p.OnClick = [&](TObject*) { p.log.push_back("click"); };
    p.OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
        p.log.push_back("OnDown" + std::to_string(x) + "," + std::to_string(y));
    };
    p.OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { p.log.push_back("OnUp"); };
    SendMouse(&p, QEvent::MouseButtonPress, Qt::LeftButton, {5, 6});
    SendMouse(&p, QEvent::MouseButtonRelease, Qt::LeftButton, {5, 6});
    SendMouse(&p, QEvent::MouseButtonPress, Qt::LeftButton, {5, 6});
    SendMouse(&p, QEvent::MouseButtonRelease, Qt::LeftButton, {60, 6});   // dragged off: no click
    SendMouse(&p, QEvent::MouseButtonPress, Qt::RightButton, {5, 6});
    SendMouse(&p, QEvent::MouseButtonRelease, Qt::RightButton, {5, 6});   // right: no click
    EXPECT_EQ(p.log, (std::vector<std::string>{"down0L", "OnDown5,6", "click", "up0", "OnUp",
                                               "down0L", "OnDown5,6", "up0", "OnUp",
                                               "down1", "OnDown5,6", "up1", "OnUp"}));
}

TEST(ControlsFrame3D, DrawsEdgesAndShrinksTheRect) {
    TBitmap bmp(10, 8);
    TRect r(0, 0, 10, 8);
    Frame3D(bmp.Canvas(), r, clRed, clBlue, 2);
    EXPECT_EQ(testsupport::BoxText(r), testsupport::BoxText(Rect(2, 2, 8, 6)));
    EXPECT_TRUE(PixelsAre(bmp.Canvas(), {{0, 3, clRed}, {5, 1, clRed}, {9, 3, clBlue},
                                         {0, 7, clBlue, "the bottom row runs to the left edge"}, {9, 0, clBlue},
                                         {5, 4, clWhite}}));
}

TEST_F(ControlsTest, ImageFollowsItsBitmapAndForwardsMouseInImagePixels) {
    TImage img(form.get());
    img.SetImageSize(120, 80);
    EXPECT_EQ(img.width(), 120);
    EXPECT_EQ(img.height(), 80);
    img.Canvas()->Brush->Color = clRed;
    img.Canvas()->FillRect(Rect(0, 0, 10, 10));
    img.Picture()->Bitmap()->SetSize(200, 90);   // resized behind the control's back
    img.Canvas()->Pixels(0, 0);
    img.Canvas()->Changed();
    QCoreApplication::processEvents();
    EXPECT_EQ(img.width(), 200);
    EXPECT_EQ(img.height(), 90);

    std::vector<std::string> log;
    img.OnMouseDown = [&](TObject*, TMouseButton b, TShiftState s, int x, int y) {
        log.push_back("down" + std::to_string(b) + (s.Shift ? "S" : "") + (s.Double ? "D" : "") + " " +
                      std::to_string(x) + "," + std::to_string(y));
    };
    img.OnMouseMove = [&](TObject*, TShiftState, int x, int y) {
        log.push_back("move " + std::to_string(x) + "," + std::to_string(y));
    };
    img.OnMouseUp = [&](TObject*, TMouseButton b, TShiftState, int x, int y) {
        log.push_back("up" + std::to_string(b) + " " + std::to_string(x) + "," + std::to_string(y));
    };
    img.OnDblClick = [&](TObject*) { log.push_back("dbl"); };
    SendMouse(&img, QEvent::MouseButtonPress, Qt::LeftButton, {7, 9}, Qt::ShiftModifier);
    SendMouse(&img, QEvent::MouseMove, Qt::NoButton, {8, 10});
    SendMouse(&img, QEvent::MouseButtonRelease, Qt::RightButton, {8, 11});
    SendMouse(&img, QEvent::MouseButtonDblClick, Qt::LeftButton, {3, 4});
    EXPECT_EQ(log, (std::vector<std::string>{"down0S 7,9", "move 8,10", "up1 8,11", "dbl", "down0D 3,4"}));

    bool asked = false;
    img.OnMouseWheel = [&](TObject*, TShiftState, int delta, TPoint, bool& handled) {
        asked = true;
        EXPECT_EQ(delta, 120);
        handled = true;
    };
    QWheelEvent w(QPointF(5, 5), img.mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&img, &w);
    EXPECT_TRUE(asked);
    EXPECT_TRUE(w.isAccepted());
}

TEST_F(ControlsTest, ImageOnAScrollBoxIsItsContent) {
    TScrollBox box(form.get());
    box.SetBounds(0, 0, 100, 80);
    TImage img(&box);
    EXPECT_EQ(box.widget(), &img);
    img.SetImageSize(500, 400);
    form->Show();
    QCoreApplication::processEvents();
    box.SetVertPosition(150);
    EXPECT_EQ(box.VertPosition(), 150);
    EXPECT_EQ(img.y(), -150);
}

TEST_F(ControlsTest, TimerRunsEachIntervalWhileEnabled) {
    TTimer t;
    int ticks = 0;
    QEventLoop loop;
    t.OnTimer = [&](TObject*) {
        if (++ticks == 3) {
            t.SetEnabled(false);
            loop.quit();
        }
    };
    t.SetInterval(5);
    EXPECT_EQ(ticks, 0);
    t.SetEnabled(true);
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(ticks, 3);
    EXPECT_FALSE(t.Enabled());
    QCoreApplication::processEvents();
    EXPECT_EQ(ticks, 3);
}

TEST_F(ControlsTest, ButtonWithModalResultSetsItsForm) {
    TButton ok(form.get(), "OK");
    ok.ModalResult = mrOk;
    int clicks = 0;
    ok.OnClick = [&](TObject*) { ++clicks; };
    ok.click();
    EXPECT_EQ(form->ModalResult, mrOk);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(ParentForm(&ok), form.get());
}

// ---- editable grid cells, sorted combo boxes and pop-up menus on controls

struct EditControls : ControlsTest {};

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

// ---- the grid with its own cell store and presses on a tab sheet

struct CellGridTest : ControlsTest {};

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
    SendMouse(sheet, QEvent::MouseButtonPress, Qt::LeftButton, {50, 40}, Qt::ShiftModifier);
    EXPECT_EQ(presses, 1);
    EXPECT_EQ(x, 50);
    // The state holds the pressed button, as every other control's does.
    EXPECT_TRUE(shift.Shift && shift.Left);
    SendMouse(button, QEvent::MouseButtonPress, Qt::LeftButton, {5, 5});
    EXPECT_EQ(presses, 1) << "a press on a control of the sheet is the control's";
}

} // namespace
