#include "engine/Coords.h"
#include "lines/MainFormLines.h"
#include "labels/Uinlabel.h"
#include "lines/Ulineset.h"
#include "lines/Urail.h"
#include "tests/labels/LabelsMap.h"
#include "tests/support/DrawnAt.h"
#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <set>

namespace {
constexpr TColor kInk = 0x123456, kOther = 0x654321;
}

class LabelTable : public LabelsMap {};

TEST_F(LabelTable, FilesLoadWithPathFlagsAndSaveOnlyShownRows) {
    Write("鉄道路線/2関東/JR主要駅.lbl", "○,100,200,東京,9,255\n○,101,201,品川,9\nshort,1\n\n");
    Write("labels/a.lbl", "□,5,6,ラベル,8,65280\n");
    const std::string rail = (programDir / "鉄道路線/2関東/JR主要駅.lbl").string();
    const std::string plain = (programDir / "labels/a.lbl").string();
    RailOf(*Open).RailLabelCount = 7;

    // Station labels are skipped while "駅名" is unticked.
    Open->ui.CBEki->SetChecked(false);
    gui::testing::QueueFileName(rail + "\n" + plain);
    L->Button7Click(nullptr);
    ASSERT_EQ(L->LabelCount, 1);
    EXPECT_EQ(Cell(3, 0), "ラベル");

    Open->ui.CBEki->SetChecked(true);
    gui::testing::QueueFileName(rail + "\n" + plain);
    L->Button7Click(nullptr);
    ASSERT_EQ(L->LabelCount, 3) << "the short and empty lines are skipped";
    EXPECT_EQ(L->LabelFileCount, 2);
    EXPECT_EQ(L->StringGrid2->Cells(0, 1), plain);
    EXPECT_EQ(L->StringGrid1->RowCount(), 3);
    EXPECT_EQ(Cell(3, 0), "東京");
    for (int c : {5, 6, 7, 8}) EXPECT_EQ(Cell(c, 0), "●") << c;
    EXPECT_EQ(Cell(9, 0), "7");
    EXPECT_EQ(L->LabelTable[0].color, 255);
    EXPECT_EQ(L->LabelTable[1].color, Open->style.LabelColor) << "a five-field line takes the new-label colour";
    EXPECT_EQ(Cell(6, 2), "");
    EXPECT_EQ(L->LabelTable[2].color, 65280);
    EXPECT_TRUE(Open->ui.CBLabel->Checked());

    // Hidden rows stay out; a comma typed into a cell cannot split the line.
    L->StringGrid1->SetCells(5, 1, "");
    L->StringGrid1->SetCells(3, 2, "a,b");
    const std::string out = (programDir / "out.lbl").string();
    gui::testing::QueueFileName(out);
    L->Button3Click(nullptr);
    EXPECT_EQ(Bytes("out.lbl"), Sjis("○,100,200,東京,9,255\r\n□,5,6,a，b,8,65280\r\n"));
    EXPECT_FALSE(L->Button3->Enabled());

    // Added to the table: the flags come from the path alone.
    L->CBFileAdd->SetChecked(true);
    gui::testing::QueueFileName(out);
    L->Button7Click(nullptr);
    ASSERT_EQ(L->LabelCount, 5);
    EXPECT_EQ(Cell(6, 3), "");
    EXPECT_EQ(Cell(3, 4), "a，b");
}

TEST_F(LabelTable, AnUnreadableFileIsReportedAndSkipped) {
    Row("残る", 100, 100, kInk);
    const std::string missing = (programDir / "missing.lbl").string();
    gui::testing::QueueFileName(missing);
    L->Button7Click(nullptr);
    EXPECT_FALSE(gui::testing::Terminated());
    ASSERT_EQ(gui::testing::Messages().size(), 1u);
    EXPECT_EQ(gui::testing::Messages()[0].caption, "ファイルオープンエラー");
    EXPECT_EQ(L->LabelCount, 1) << "no chosen file opened: the table stays";

    // One good file among missing ones: the good one is read, the other reported.
    Write("b.lbl", "○,1,2,新,8,0\n");
    gui::testing::Messages().clear();
    gui::testing::QueueFileName(missing + "\n" + (programDir / "b.lbl").string());
    L->Button7Click(nullptr);
    EXPECT_EQ(L->LabelCount, 1);
    EXPECT_EQ(Cell(3, 0), "新");
    EXPECT_EQ(gui::testing::Messages().size(), 1u);
    EXPECT_FALSE(gui::testing::Terminated());
}

TEST_F(LabelTable, PainterDrawsShownRowsInTheirColourAndATypedBadNumberChangesNothing) {
    Row("あ", 100, 100, kInk);
    Row("い", 300, 100, kInk, "");            // hidden
    Row("う", 100, 300, kInk);
    Row("え", 300, 300, kOther);
    // A size that is no number is said, naming the row, and the label keeps its own;
    // the grid's editor is told the edit was refused.
    EXPECT_FALSE(Type(L->StringGrid1, 4, 2, "x"));
    ASSERT_EQ(gui::testing::Messages().size(), 1u);
    EXPECT_EQ(gui::testing::Messages()[0].text, "ラベル 3 行目の数値 'x' が正しくありません");
    EXPECT_EQ(Cell(4, 2), "10");
    L->CBLabel->SetChecked(true);
    Open->ui.CBLabel->SetChecked(true);
    ASSERT_TRUE(Open->DrawMap());
    EXPECT_GT(Count(kInk, 100, 100, 130, 120), 0);
    EXPECT_EQ(Count(kInk, 300, 100, 330, 120), 0);
    EXPECT_GT(Count(kInk, 100, 300, 130, 320), 0);
    EXPECT_GT(Count(kOther, 300, 300, 330, 320), 0);

    // The found row is red; with the mark the text starts half its size up and left.
    L->FoundLabelMark = true;
    L->FoundLabelIndex = 3;
    L->CBMark->SetChecked(true);
    ASSERT_TRUE(Open->DrawMap());
    EXPECT_EQ(Count(kOther, 280, 280, 340, 330), 0);
    EXPECT_GT(Count(255, 295, 295, 340, 320), 0);
    EXPECT_GT(Count(kInk, 95, 95, 99, 120), 0) << "the mark starts left of the point";
    L->FoundLabelMark = false;

    // Twice the size factor gives taller text.
    L->CBMark->SetChecked(false);
    auto height = [&] {
        int top = 999, bottom = -1;
        for (int y = 90; y < 160; ++y)
            for (int x = 100; x < 160; ++x)
                if (Px(x, y) == kInk) top = std::min(top, y), bottom = std::max(bottom, y);
        return bottom - top;
    };
    ASSERT_TRUE(Open->DrawMap());
    const int normal = height();
    L->RadioGroup2->SetItemIndex(5);
    EXPECT_GT(height(), normal * 3 / 2);
}

TEST_F(LabelTable, StationRowsFollowTheMainAndLineKindChoices) {
    Row("JR駅", 100, 100, kInk);
    Row("私鉄", 300, 100, kInk);
    L->StringGrid1->SetCells(8, 0, "●");
    L->StringGrid1->SetCells(6, 0, "●");
    L->StringGrid1->SetCells(8, 1, "●");
    L->StringGrid1->SetCells(7, 1, "●");
    TCheckBox mainBox(Open);
    TRadioGroup kinds(Open);
    kinds.SetItems({"全線", "JRのみ", "JR除く"});
    kinds.SetItemIndex(1);
    RailControlsOf(*Open).CBMain = &mainBox;
    LineSet->RadioGroup2 = &kinds;
    Open->ui.CBEki->SetChecked(true);
    mainBox.SetChecked(false);   // ticking "駅名" ticks "主要駅" too
    Open->ui.CBLabel->SetChecked(true);
    RailControlsOf(*Open).RailInfo->SetChecked(true);
    ASSERT_TRUE(Open->DrawMap());
    EXPECT_GT(Count(kInk, 100, 100, 140, 120), 0);
    EXPECT_EQ(Count(kInk, 300, 100, 340, 120), 0);
    // The railway window names the last station on the map.
    EXPECT_EQ(Rail->Label6->Caption(), "駅名　0　最終　JR駅");
    mainBox.SetChecked(true);
    kinds.SetItemIndex(0);
    ASSERT_TRUE(Open->DrawMap());
    EXPECT_EQ(Count(kInk, 100, 100, 140, 120), 0) << "not a main station";
    EXPECT_GT(Count(kInk, 300, 100, 340, 120), 0);
    EXPECT_EQ(Rail->Label6->Caption(), "駅名　1　最終　私鉄");

    // The stack drawn onto another bitmap (a save, a print) tells the railway window nothing.
    Rail->Label6->SetCaption("");
    TBitmap other(Open->ImageSize, Open->ImageSize);
    Open->hooks.Layers.Draw(*other.Canvas(), Open->DrawnView, Open->ReadDrawSettings());
    int inked = 0;
    for (int y = 100; y < 120; ++y)
        for (int x = 300; x < 340; ++x) inked += other.Canvas()->Pixels(x, y) == kInk;
    EXPECT_GT(inked, 0) << "the station is drawn there too";
    EXPECT_EQ(Rail->Label6->Caption(), "");
    RailControlsOf(*Open).CBMain = nullptr;
    LineSet->RadioGroup2 = nullptr;
}

TEST_F(LabelTable, SortsGoInCodeOrderStablyWithTheirColours) {
    // Code order and UTF-8 order differ here: "Ａ" comes before "亜" only in CP932.
    Row("亜", 10, 10, 1, "●", "8", "3");
    Row("Ａ", 20, 10, 2, "●", "8", "");
    Row("亜", 30, 10, 3, "●", "8", "1");
    L->StringGrid1->SetCells(7, 2, "●");
    L->Button10Click(nullptr);
    EXPECT_EQ(Cell(3, 0), "Ａ");
    EXPECT_EQ(L->LabelTable[0].color, 2);
    EXPECT_EQ(L->LabelTable[1].color, 1) << "equal texts keep their order";
    EXPECT_EQ(L->LabelTable[2].color, 3);
    EXPECT_EQ(Cell(7, 2), "●");
    EXPECT_EQ(Cell(9, 0), "0") << "an empty file number counts as 0";

    L->Button17Click(nullptr);
    EXPECT_EQ(L->LabelTable[0].color, 2);
    EXPECT_EQ(L->LabelTable[1].color, 3);
    EXPECT_EQ(L->LabelTable[2].color, 1);

    // A position typed past any map is refused where it is typed; the sort then sorts.
    const std::string y = Cell(2, 2);
    EXPECT_FALSE(Type(L->StringGrid1, 2, 2, "2147483647"));
    ASSERT_EQ(gui::testing::Messages().size(), 1u);
    EXPECT_EQ(Cell(2, 2), y);
    EXPECT_TRUE(Type(L->StringGrid1, 4, 2, "12"));
    EXPECT_EQ(Cell(4, 2), "12");
    L->Button10Click(nullptr);
    EXPECT_EQ(L->LabelTable[2].color, 1);
}

TEST_F(LabelTable, AddingDeletingAndJumping) {
    L->RadioGroup1->SetItemIndex(1);
    L->Edit2->SetText("160.0000");
    L->Edit3->SetText("20.0000");
    L->Button2Click(nullptr);
    ASSERT_EQ(L->LabelCount, 1) << "the limits themselves are accepted";
    EXPECT_EQ(Cell(1, 0), std::to_string(MapXOf(160.0f)));
    EXPECT_EQ(Cell(3, 0), "ラベル記入");
    for (int c = 6; c < 10; ++c) EXPECT_EQ(Cell(c, 0), "");
    L->Edit2->SetText("119.0000");
    L->Button2Click(nullptr);
    EXPECT_EQ(L->LabelCount, 1);
    EXPECT_EQ(gui::testing::Messages().back().text, "設定された経度は正しくありません　　　");

    L->RadioGroup1->SetItemIndex(2);
    L->Edit2->SetText("1000");
    L->Edit3->SetText("2000");
    L->Button2Click(nullptr);
    ASSERT_EQ(L->LabelCount, 2);
    EXPECT_EQ(L->LabelTable[1].color, Open->style.LabelColor);
    L->StringGrid1->SetCells(9, 1, "5");
    L->UpDown2->SetPosition(5);
    L->StringGrid1->SetRow(0);
    L->UpDown2Click(nullptr, btNext);
    EXPECT_EQ(L->StringGrid1->Row(), 1);

    // Cancel keeps the row; OK removes it; the last one leaves empty cells.
    L->StringGrid1->SetRow(0);
    gui::testing::QueueAnswer(IDCANCEL);
    L->RemoveLabelClick(nullptr);
    EXPECT_EQ(L->LabelCount, 2);
    L->RemoveLabelClick(nullptr);
    ASSERT_EQ(L->LabelCount, 1);
    EXPECT_EQ(Cell(1, 0), "1000");
    L->RemoveLabelClick(nullptr);
    EXPECT_EQ(L->LabelCount, 0);
    EXPECT_EQ(L->StringGrid1->RowCount(), 1);
    EXPECT_EQ(Cell(3, 0), "");
}

// The numbers the pointer read-out shows, typed back in, put the label on the pointed pixel,
// whichever datum the map is drawn in.
TEST_F(LabelTable, ATypedLongitudeAndLatitudeAreTakenInTheDatumOfTheReadout) {
    o->MAGSTEP = 50;
    L->RadioGroup1->SetItemIndex(1);
    for (bool wgs : {true, false}) {
        o->WgsDisplay = wgs;
        ASSERT_TRUE(o->DrawMap());
        o->Image1MouseMove(o->ui.Image1, {}, 300, 300);
        auto typed = [](const std::string& readout) { return readout.substr(readout.find_last_of(' ') + 1); };
        L->Edit2->SetText(typed(o->ui.Label14->Caption()));
        L->Edit3->SetText(typed(o->ui.Label13->Caption()));
        L->Button2->Click();
        ASSERT_GE(L->LabelCount, 1);
        const LabelRecord& r = L->LabelTable[L->LabelCount - 1];
        int sx = 0, sy = 0;
        o->MapToScreen(r.x, r.y, sx, sy);
        EXPECT_NEAR(sx, 300, 3) << (wgs ? "WGS" : "Tokyo") << " " << L->Edit2->Text();
        EXPECT_NEAR(sy, 300, 3) << (wgs ? "WGS" : "Tokyo") << " " << L->Edit3->Text();
    }
}

TEST_F(LabelTable, MapPressesMoveAndAddLabels) {
    Open->WgsDisplay = true;
    Open->DrawMap();
    Row("動く", 100, 100, kInk);
    Row("あ", 300, 300, kInk);
    const std::string still = Cell(1, 1);
    L->StringGrid1->SetRow(0);
    L->N1->Click();
    ASSERT_TRUE(L->MovingLabel());
    // Sorted before the press: the label armed is the one that moves, wherever its row went.
    L->Button10->Click();
    ASSERT_EQ(Cell(3, 1), "動く");
    Open->Image1MouseDown(Open->ui.Image1, mbLeft, {}, 200, 250);
    Open->Image1MouseUp(Open->ui.Image1, mbLeft, {}, 200, 250);
    EXPECT_FALSE(L->MovingLabel());
    EXPECT_EQ(Cell(1, 0), still);
    const int32_t x = std::stoi(Cell(1, 1)), y = std::stoi(Cell(2, 1));
    EXPECT_TRUE(DrawnAt(x, y, 200, 250)) << "kept in the Tokyo datum";

    L->Button2->Click();
    ASSERT_TRUE(L->PlacingNewLabel());
    Open->Image1MouseDown(Open->ui.Image1, mbLeft, {}, 200, 250);
    EXPECT_FALSE(L->PlacingNewLabel());
    ASSERT_EQ(L->LabelCount, 3);
    EXPECT_EQ(Cell(1, 2), std::to_string(x));
    EXPECT_EQ(Cell(2, 2), std::to_string(y));
    EXPECT_EQ(Cell(4, 2), L->Edit1->Text());
    EXPECT_EQ(L->StringGrid1->Row(), 2);
    EXPECT_EQ(L->StringGrid1->Col(), 3);
    // Drawn where it was pressed.
    EXPECT_TRUE(DrawnAt(x, y, 200, 250));
}

TEST_F(LabelTable, ThePromptToWriteStaysWhileTheMapWindowHasTheFocus) {
    auto focus = testsupport::FocusAsUser;
    Open->Show();
    L->Show();
    L->Button2->Click();
    Open->Image1MouseDown(Open->ui.Image1, mbLeft, {}, 200, 250);
    focus(L->StringGrid1);
    ASSERT_EQ(L->Label8->Caption(), "ラベルを記入");
    focus(Open->ui.ComboBox1);   // over to the main window
    EXPECT_EQ(L->Label8->Caption(), "ラベルを記入");
    focus(L->StringGrid1);
    focus(L->Button3);
    EXPECT_EQ(L->Label8->Caption(), "位置指定ボタンをクリック");
}

TEST_F(LabelTable, TheListUpdatesMatchedLabelsInPlaceAndKeepsTheRest) {
    Row("中", 100, 100, kInk);
    Row("外", -50, 100, kOther);   // outside the view
    Row("中2", 200, 100, 77);
    L->Button15Click(nullptr);
    ASSERT_EQ(InLabel->InLabelCount, 2);
    EXPECT_EQ(InLabel->StringGrid1->Cells(3, 1), "中2");
    InLabel->Button2Click(nullptr);
    EXPECT_EQ(InLabel->StringGrid1->Cells(3, 0), "中");

    InLabel->StringGrid1->SetCells(4, 1, "20");
    InLabel->Button4Click(nullptr);   // all hidden, then applied
    ASSERT_EQ(L->LabelCount, 3) << "labels outside the view stay";
    EXPECT_EQ(Cell(3, 1), "外");
    EXPECT_EQ(Cell(5, 1), "●");
    EXPECT_EQ(Cell(5, 0), "");
    EXPECT_EQ(Cell(5, 2), "");
    EXPECT_EQ(Cell(4, 2), "20");
    EXPECT_EQ(L->LabelTable[2].color, 77);

    // A double click toggles its row and its label.
    InLabel->StringGrid1->SetRow(0);
    InLabel->StringGrid1DblClick(nullptr);
    EXPECT_EQ(Cell(5, 0), "●");
}

// Both grids show the labels themselves: what is typed in either is the label's at once,
// and no "表　示", double click or sort of the list puts back what the list showed before.
TEST_F(LabelTable, WhatIsTypedInEitherGridStaysThroughTheListTheSortsAndTheFile) {
    Row("甲", 100, 100, kInk);
    Row("乙", 200, 100, kInk);
    L->Button15->Click();
    ASSERT_EQ(InLabel->InLabelCount, 2);
    Type(L->StringGrid1, 3, 0, "丙");
    Type(L->StringGrid1, 4, 1, "14");
    EXPECT_EQ(InLabel->StringGrid1->Cells(3, 0), "丙");
    InLabel->StringGrid1->SetRow(1);
    InLabel->StringGrid1->OnDblClick(InLabel->StringGrid1);
    InLabel->Button3->Click();
    EXPECT_EQ(Cell(3, 0), "丙");
    EXPECT_EQ(Cell(4, 1), "14");
    EXPECT_EQ(Cell(5, 1), "");

    Type(InLabel->StringGrid1, 3, 1, "丁");
    EXPECT_EQ(Cell(3, 1), "丁");
    const std::string x0 = Cell(1, 0), y0 = Cell(2, 0), x1 = Cell(1, 1), y1 = Cell(2, 1);
    Type(InLabel->StringGrid1, 1, 0, "東");
    ASSERT_EQ(gui::testing::Messages().size(), 1u);
    EXPECT_EQ(Cell(1, 0), x0);

    // Code order puts 丁 first in both; shown again from the list, it is saved with its size.
    L->Button10->Click();
    InLabel->Button2->Click();
    EXPECT_EQ(InLabel->StringGrid1->Cells(3, 0), "丁");
    InLabel->StringGrid1->SetRow(0);
    InLabel->StringGrid1->OnDblClick(InLabel->StringGrid1);
    gui::testing::QueueFileName((programDir / "t.lbl").string());
    L->Button3->Click();
    EXPECT_EQ(Bytes("t.lbl"), Sjis(gui::Format("○,%s,%s,丁,14,%d\r\n○,%s,%s,丙,10,%d\r\n", x1.c_str(), y1.c_str(),
                                               int(kInk), x0.c_str(), y0.c_str(), int(kInk))));
}

TEST_F(LabelTable, NameLabelFilesHoldTheSingleNamesInsideTheImage) {
    AddName(o->doc.TownX, o->doc.TownY, o->doc.TownName, o->doc.TownDup, o->doc.TownCount, "甲", 600, 600);
    AddName(o->doc.TownX, o->doc.TownY, o->doc.TownName, o->doc.TownDup, o->doc.TownCount, "乙", 100, 100, 'd');
    AddName(o->doc.TownX, o->doc.TownY, o->doc.TownName, o->doc.TownDup, o->doc.TownCount, "丙", 601, 100);
    AddName(o->doc.OldTownX, o->doc.OldTownY, o->doc.OldTownName, o->doc.OldTownDup, o->doc.OldTownCount, "旧", 10, 10);
    gui::testing::QueueFileName((programDir / "n.lbl").string());
    gui::testing::QueueAnswer(IDOK);
    Open->ui.MakeLabel->Click();
    const std::string text = gui::Cp932ToUtf8(Bytes("n.lbl"));
    EXPECT_EQ(text, gui::Format("○,%d,%d,甲,8\r\n", o->doc.TownX[0], o->doc.TownY[0]));
    gui::testing::QueueFileName((programDir / "o.lbl").string());
    Open->ui.N15->Click();
    EXPECT_EQ(gui::Cp932ToUtf8(Bytes("o.lbl")), gui::Format("○,%d,%d,旧,8\r\n", o->doc.OldTownX[0], o->doc.OldTownY[0]));
}

TEST_F(LabelTable, FindingCentringAndShowingAll) {
    Row("駅", 100, 100, kInk);
    Row("駅", 200, 200, kInk);
    Row("他", 300, 300, kInk);
    o->ui.CBLabel->SetChecked(true);
    L->Edit4->SetText("駅");
    gui::testing::QueueAnswer(IDOK);
    gui::testing::QueueAnswer(IDCANCEL);
    L->Button13Click(nullptr);
    EXPECT_EQ(gui::testing::Messages().size(), 2u);
    EXPECT_GT(Count(255, 200, 200, 230, 220), 0) << "the second one found is red";
    EXPECT_EQ(Count(255, 100, 100, 130, 120), 0) << "the first one back in its own colour";
    EXPECT_GT(Count(kInk, 100, 100, 130, 120), 0);
    EXPECT_FALSE(L->FoundLabelMark);
    // Enter in the search box searches, whatever the window's default button.
    gui::testing::QueueAnswer(IDCANCEL);
    L->Edit4->SetText("他");
    QTest::keyClick(L->Edit4, Qt::Key_Return);
    EXPECT_EQ(gui::testing::Messages().size(), 3u);
    EXPECT_GT(Count(255, 300, 300, 330, 320), 0) << "found by Enter, drawn red";

    L->StringGrid1->SetRow(2);
    auto [x, y] = At(300, 300);
    L->k1Click(nullptr);
    EXPECT_EQ(o->CX, x);
    EXPECT_EQ(o->CY, y);
    EXPECT_GT(Count(255, 300, 300, 330, 320), 0) << "drawn red at the centre";
    EXPECT_FALSE(L->CenterLabelMark);

    gui::testing::QueueAnswer(IDCANCEL);
    L->Button16Click(nullptr);
    EXPECT_TRUE(L->AllLabelsShown);
    EXPECT_EQ(Cell(5, 0), "●");
    L->Button16Click(nullptr);
    EXPECT_FALSE(L->AllLabelsShown);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Cell(5, i), "");
    EXPECT_EQ(L->Button16->Caption(), "表　示");
    EXPECT_EQ(Count(kInk, 0, 0, 600, 600), 0);
}

// A screen reader reads each column of both label grids by what it holds, not by its number.
TEST_F(LabelTable, TheGridsColumnsAreReadByWhatTheyHold) {
    for (TCellGrid* g : {Letter->StringGrid1, InLabel->StringGrid1}) {
        QAccessibleTableInterface* t = QAccessible::queryAccessibleInterface(g)->tableInterface();
        ASSERT_TRUE(t);
        std::set<QString> names;
        for (int c = 0; c < g->ColCount(); ++c) {
            const QString name = t->columnDescription(c);
            bool number = false;
            name.toInt(&number);
            EXPECT_FALSE(name.isEmpty() || number) << c << " reads " << name.toStdString();
            names.insert(name);
        }
        EXPECT_EQ(int(names.size()), g->ColCount());
    }
    EXPECT_EQ(QAccessible::queryAccessibleInterface(Letter->StringGrid1)->tableInterface()->columnDescription(7).toStdString(),
              "主要駅");
}
