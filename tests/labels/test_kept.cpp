// What the user made with labels, islands and symbols stays theirs: a reload,
// a list window or another area never turns it into something else.
#include "labels/LabelTools.h"
#include "engine/Uopen.h"
#include "labels/MainFormLabels.h"
#include "labels/Uinlabel.h"
#include "labels/Uischange.h"
#include "labels/Uletter.h"
#include "labels/Upagesdlg.h"
#include "navigation/Usettei.h"
#include "tests/navigation/ViewFixture.h"
#include "tests/support/RealAreas.h"

using gui::testing::Messages;
using gui::testing::QueueFileName;
using testsupport::ChooseAreas;
using testsupport::ReadBytes;

class KeptWork : public ViewTest {
protected:
    TLetter* L = nullptr;
    void SetUp() override {
        ViewTest::SetUp();
        L = Letter;
    }
    std::string Path(const std::string& rel) { return (programDir / rel).string(); }
    void Write(const std::string& rel, const std::string& text) { areafiles::WriteText(programDir / rel, text); }
    std::string Bytes(const std::string& rel) { return ReadBytes(programDir / rel); }
    void Press(int x, int y) {
        o->Image1MouseDown(o->ui.Image1, mbLeft, {}, x, y);
        o->Image1MouseUp(o->ui.Image1, mbLeft, {}, x, y);
    }
    void LoadLabels(const std::string& rel) {
        QueueFileName(Path(rel));
        L->Button7->Click();
    }
    std::string Texts() {
        std::string s;
        for (int i = 0; i < L->LabelCount; ++i) s += L->StringGrid1->Cells(3, i) + L->StringGrid1->Cells(5, i) + "|";
        return s;
    }
};

TEST_F(KeptWork, TheFileListStaysWithTheTableThroughViewsReloadsAndAreaChoices) {
    Write("a.lbl", "○,251000,171000,甲,9,255\n○,252000,172000,乙,9,255\n");
    LoadLabels("a.lbl");
    ASSERT_EQ(L->LabelCount, 2);

    // The standard view keeps the labels, so it keeps their files: a reload reloads.
    o->ui.Button6->Click();
    EXPECT_EQ(L->StringGrid2->Cells(0, 0), Path("a.lbl"));
    L->StringGrid1->SetCells(3, 0, "書換");
    L->Button14->Click();
    EXPECT_EQ(L->LabelCount, 2);
    EXPECT_EQ(Texts(), "甲●|乙●|");
    EXPECT_EQ(L->Label16->Caption(), "2");
    QueueFileName(Path("out.lbl"));
    L->Button3->Click();
    EXPECT_EQ(Bytes("out.lbl"), gui::Utf8ToCp932("○,251000,171000,甲,9,255\r\n○,252000,172000,乙,9,255\r\n"));

    // A reload whose files are all gone says so and keeps the table.
    std::filesystem::remove(programDir / "a.lbl");
    Messages().clear();
    L->Button14->Click();
    EXPECT_EQ(Messages().size(), 1u);
    EXPECT_EQ(L->LabelCount, 2);
    EXPECT_EQ(Texts(), "甲●|乙●|");

    // A new area choice forgets labels and files together: nothing of them is left on view.
    ChooseAreas({12});
    EXPECT_EQ(L->LabelCount, 0);
    EXPECT_EQ(L->LabelFileCount, 0);
    EXPECT_EQ(L->StringGrid2->Cells(0, 0), "");
    EXPECT_EQ(L->StringGrid1->RowCount(), 1);
    for (int c = 0; c < 10; ++c) EXPECT_EQ(L->StringGrid1->Cells(c, 0), "") << c;
    EXPECT_EQ(L->Label16->Caption(), "0");

    // Files added later are listed alone, never after forgotten ones.
    Write("b.lbl", "○,251000,171000,丙,9,255\n");
    L->CBFileAdd->SetChecked(true);
    LoadLabels("b.lbl");
    EXPECT_EQ(L->LabelFileCount, 1);
    EXPECT_EQ(L->StringGrid2->RowCount(), 1);
    EXPECT_EQ(Texts(), "丙●|");
}

TEST_F(KeptWork, EachListedLabelIsTheOneItCameFromThoughOthersShareItsPosition) {
    Write("s.lbl", "○,251000,171000,諫早,9,255\n○,251000,171000,諫早(雲仙・島原口),9,255\n"
                   "○,252000,172000,人吉,9,255\n○,252000,172000,人吉温泉,9,255\n");
    LoadLabels("s.lbl");
    ASSERT_EQ(L->LabelCount, 4);
    L->Button15->Click();
    ASSERT_EQ(InLabel->InLabelCount, 4);

    // "表　示" with nothing changed changes nothing.
    InLabel->Button3->Click();
    EXPECT_EQ(Texts(), "諫早●|諫早(雲仙・島原口)●|人吉●|人吉温泉●|");

    // A double click on the second of a position hides that one, in one redraw.
    L->LabelPlaced = true;   // as after a label placed by mouse: showing the labels redraws
    const int redraws = Open->RedrawCount;
    InLabel->StringGrid1->SetRow(1);
    InLabel->StringGrid1->OnDblClick(InLabel->StringGrid1);
    EXPECT_EQ(Texts(), "諫早●|諫早(雲仙・島原口)|人吉●|人吉温泉●|");
    EXPECT_EQ(Open->RedrawCount - redraws, 1);

    // Sorted, in the list and in the table, each row still reaches its own label.
    InLabel->Button2->Click();
    EXPECT_EQ(InLabel->StringGrid1->Cells(3, 3), "諫早(雲仙・島原口)");
    InLabel->StringGrid1->SetCells(3, 0, "人吉駅");
    L->Button10->Click();
    InLabel->Button3->Click();
    EXPECT_EQ(Texts(), "人吉駅●|人吉温泉●|諫早●|諫早(雲仙・島原口)|");

    // "非表示設定" hides every listed label.
    InLabel->Button4->Click();
    EXPECT_EQ(Texts(), "人吉駅|人吉温泉|諫早|諫早(雲仙・島原口)|");

    // A label read anew is not one the old list came from.
    LoadLabels("s.lbl");
    InLabel->Button3->Click();
    EXPECT_EQ(Texts(), "諫早●|諫早(雲仙・島原口)●|人吉●|人吉温泉●|");
}

TEST_F(KeptWork, AnIslandMoveStaysWithItsAreaAndItsEditWindow) {
    const std::string okinawa = "MAPDATA/Islands/46沖縄島.lbl", kagoshima = "MAPDATA/Islands/45鹿児島島.lbl";
    Write(okinawa, "○,271000,251000,硫黄鳥島,0,0\n");
    Write(kagoshima, "○,251000,251000,甲島,0,0\n");
    const std::string okinawaBytes = Bytes(okinawa), kagoshimaBytes = Bytes(kagoshima);
    Settei->CBIslands->SetChecked(true);
    // Opens the shown area's list, picks its island and arms the new position.
    auto arm = [&](int32_t x, int32_t y) {
        ASSERT_TRUE(Settei->Button13->Enabled());
        Settei->Button13->Click();
        ASSERT_EQ(IslandsOf(*o).IslandCount, 1);
        int sx, sy;
        o->MapToScreen(x, y, sx, sy);
        IsChange->Button1->Click();
        Press(sx, sy);
        ASSERT_TRUE(IsChange->Button2->Enabled());
        IsChange->Button2->Click();
        ASSERT_TRUE(o->tools.ToolAs<IslandTool>() && o->tools.ToolAs<IslandTool>()->Place);
    };
    auto unchanged = [&] {
        EXPECT_FALSE(o->tools.ToolAs<IslandTool>());
        EXPECT_EQ(Bytes(okinawa), okinawaBytes);
        EXPECT_EQ(Bytes(kagoshima), kagoshimaBytes);
    };

    ChooseAreas({46});
    arm(271000, 251000);
    IsChange->Button3->Click();   // キャンセル
    Press(200, 200);
    unchanged();

    arm(271000, 251000);
    IsChange->Button5->Click();   // 閉じる
    Press(200, 200);
    unchanged();

    // Another area's map: its presses never reach the first area's file.
    arm(271000, 251000);
    ChooseAreas({45});
    EXPECT_FALSE(IsChange->Visible());
    Press(200, 200);
    unchanged();

    // A list that cannot be read leaves nothing to write to.
    ChooseAreas({46});
    arm(271000, 251000);
    Write(okinawa, "○,x,251000,硫黄鳥島,0,0\n");
    const std::string damaged = Bytes(okinawa);
    Settei->Button13->Click();
    EXPECT_EQ(Messages().back().caption, "ファイル指定エラー");
    EXPECT_TRUE(IslandsOf(*o).IslandFilePath.empty());
    EXPECT_EQ(IslandsOf(*o).IslandCount, 0);
    Press(200, 200);
    EXPECT_FALSE(o->tools.ToolAs<IslandTool>());
    EXPECT_EQ(Bytes(okinawa), damaged);
}

TEST_F(KeptWork, ASymbolPositionFileOpenedAsASymbolFileKeepsEverySymbol) {
    TPagesDlg* P = PagesDlg;
    Write("p.mks", "101,251000,171000,255,16,0\n102,252000,172000,255,16,1\n");
    Write("c.mrk", "1,STAMP_CT\n103,251000,171000,255,16,0\n");
    for (auto [file, count] : {std::pair{"p.mks", 2}, std::pair{"c.mrk", 1}}) {
        QueueFileName(Path(file));
        P->Button8->Click();
        ASSERT_EQ(P->PlacedSymbolCount, count) << file;
    }
    EXPECT_EQ(P->PlacedSymbols[0].code, 103);
    QueueFileName(Path("p.mks"));
    P->Button8->Click();
    EXPECT_EQ(P->PlacedSymbols[0].code, 101);
    EXPECT_EQ(P->PlacedSymbols[1].transparent, 1);
}
