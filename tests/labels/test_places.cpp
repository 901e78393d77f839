#include "tests/support/ToolPress.h"
#include "labels/MainFormLabels.h"
#include "labels/LabelTools.h"
#include "engine/Coords.h"
#include "labels/Uischange.h"
#include "labels/Uprefnames.h"
#include "labels/Uprefset.h"
#include "names/Usearch.h"
#include "navigation/Usettei.h"
#include "tests/labels/LabelsMap.h"
#include "tests/support/DrawnAt.h"
#include "names/MainFormNames.h"

TEST(PrefRecords, AreasPickTheirRecordsWithAndWithoutSubPrefectures) {
    const int32_t codes[] = {1, 46, 47, 48, 49, 50, 52};
    EXPECT_EQ(PrefRecordIndexes(codes, 7, false, false), (std::vector<int>{0, 45, 46, 46, 46}));
    std::vector<int> names{0, 45}, seats{0, 45};
    for (int i = 47; i <= 60; ++i) names.push_back(i);
    for (int i = 46; i <= 59; ++i) seats.push_back(i);
    EXPECT_EQ(PrefRecordIndexes(codes, 7, false, true), names);
    EXPECT_EQ(PrefRecordIndexes(codes, 7, true, true), seats);
    EXPECT_EQ(PrefRecordIndexes(codes, 7, true, false), (std::vector<int>{0, 45, 46, 46, 46}));
    // Whole characters, never past the start.
    EXPECT_EQ(DropLastChars("東京都", 1), "東京");
    EXPECT_EQ(DropLastChars("石狩振興局", 2), "石狩振");
    EXPECT_EQ(DropLastChars("ｱ", 3), "");
    EXPECT_EQ(DropLastChars("", 1), "");
}

class Places : public LabelsMap {};

TEST_F(Places, PrefectureNamesDrawMoveAndSave) {
    ASSERT_EQ(L->PrefNameCount, 61);
    ASSERT_EQ(L->PrefSeatCount, 60);
    EXPECT_EQ(L->PrefNameTable[11].text, "東京都");
    EXPECT_EQ(L->PrefNameTable[11].size, o->style.DefPrefSize);
    auto [x, y] = At(200, 200);
    L->PrefNameTable[11].x = x;
    L->PrefNameTable[11].y = y;
    o->style.DefPrefColor = 0x345678;
    o->ui.CBPrefBorder->SetChecked(true);
    Settei->CBKenName->SetChecked(true);
    ASSERT_TRUE(o->DrawMap());
    EXPECT_GT(Count(0x345678, 200, 200, 240, 220), 0);

    // A press within 20 pixels picks it; the place press keeps the Tokyo datum.
    o->WgsDisplay = true;
    ASSERT_TRUE(o->DrawMap());
    PrefSet->Button5->Click();
    ToolPress(260, 260);
    EXPECT_EQ(PrefSet->Label6->Caption(), "県名はありません");
    int sx, sy;
    o->MapToScreen(x, y, sx, sy);
    EXPECT_FALSE(ToolPress(sx + 10, sy + 10)) << "the pick takes the press";
    ASSERT_TRUE(o->tools.ToolAs<PrefNameTool>() && o->tools.ToolAs<PrefNameTool>()->Picked);
    EXPECT_EQ(PrefSet->PrefNameIndex, 11);
    EXPECT_TRUE(ToolPress(400, 400)) << "the place lets the press go on";
    EXPECT_FALSE(o->tools.ToolAs<PrefNameTool>());
    EXPECT_EQ(PrefSet->Label6->Caption(), "移動しました");
    const int32_t px = L->PrefNameTable[11].x, py = L->PrefNameTable[11].y;
    EXPECT_TRUE(DrawnAt(px, py, 400, 400)) << "kept in the Tokyo datum";
    EXPECT_TRUE(PrefSet->Button6->Enabled());

    PrefSet->Button6Click(nullptr);
    EXPECT_EQ(PrefSet->Label6->Caption(), "保存しました");
    const std::string saved = gui::Cp932ToUtf8(Bytes("MAPDATA/prefname.lbl"));
    EXPECT_NE(saved.find(gui::Format(",%d,%d,東京都,%d,%d\r\n", px, py, L->PrefNameTable[11].size, L->PrefNameTable[11].color)),
              std::string::npos);

    // A failed write says so and leaves the button for another try.
    std::filesystem::remove(programDir / "MAPDATA/prefname.lbl");
    std::filesystem::create_directories(programDir / "MAPDATA/prefname.lbl/x");
    PrefSet->Label6->SetCaption("");
    PrefSet->Button6->SetEnabled(true);
    PrefSet->Button6Click(nullptr);
    EXPECT_EQ(gui::testing::Messages().back().caption, "ファイル保存エラー");
    EXPECT_NE(PrefSet->Label6->Caption(), "保存しました");
    EXPECT_TRUE(PrefSet->Button6->Enabled());
}

TEST_F(Places, IslandsAreDrawnPickedMovedAndWrittenBack) {
    auto [x1, y1] = At(100, 100);
    auto [x2, y2] = At(300, 300);
    Write("MAPDATA/Islands/12東京島.lbl", gui::Format("○,%d,%d,甲島,9,32768\n□,%d,%d,乙島,7,1 余分\n", x1, y1, x2, y2));
    o->style.IslandsColor = 0x00CC00;
    Settei->CBIslands->SetChecked(true);
    ASSERT_TRUE(o->DrawMap());
    EXPECT_GT(Count(0x00CC00, 300, 300, 340, 320), 0);

    LoadIslandEditList(*o);
    ASSERT_EQ(IslandsOf(*o).IslandCount, 2);
    IsChange->Button1->Click();
    ToolPress(200, 200);
    EXPECT_EQ(IsChange->StringGrid1->Cells(2, 0), "該当なし");
    EXPECT_TRUE(o->tools.ToolAs<IslandTool>());
    ToolPress(304, 296);
    EXPECT_FALSE(o->tools.ToolAs<IslandTool>()) << "picked: nothing waits until 位置指定";
    EXPECT_EQ(IslandsOf(*o).IslandIndex, 1);
    EXPECT_EQ(IsChange->StringGrid1->Cells(2, 0), "乙島");
    EXPECT_TRUE(IsChange->Button2->Enabled());

    o->WgsDisplay = true;
    ASSERT_TRUE(o->DrawMap());
    IsChange->Button2->Click();
    ToolPress(450, 450);
    const int32_t nx = IslandsOf(*o).IslandRecords[1].x, ny = IslandsOf(*o).IslandRecords[1].y;
    EXPECT_TRUE(DrawnAt(nx, ny, 450, 450));
    EXPECT_EQ(EditRowOf(*o).EditIndex, 1);
    EXPECT_EQ(Bytes("MAPDATA/Islands/12東京島.lbl"),
              Sjis(gui::Format("○,%d,%d,甲島,9,32768\r\n□,%d,%d,乙島,7,1\r\n", x1, y1, nx, ny)));

    // The file cannot be written: the record keeps its place and the user is told.
    std::filesystem::remove_all(programDir / "MAPDATA/Islands");
    IslandsOf(*o).IslandIndex = 0;
    IsChange->Button2Click(IsChange);
    ToolPress(500, 500);
    EXPECT_EQ(IslandsOf(*o).IslandRecords[0].x, x1);
    EXPECT_EQ(EditRowOf(*o).EditIndex, 1);
    EXPECT_EQ(gui::testing::Messages().back().caption, "ファイル保存エラー");
}

TEST_F(Places, AnIslandNameStartingOnAnotherKeepsTheBackgroundBehindIt) {
    auto [x1, y1] = At(100, 100);
    Write("MAPDATA/Islands/12東京島.lbl", gui::Format("○,%d,%d,甲島,9,32768\n", x1, y1));
    o->style.IslandsColor = 0x00CC00;
    Settei->CBIslands->SetChecked(true);
    ASSERT_TRUE(o->DrawMap());
    // The right-most pixel of the first name's text: the second name starts there.
    int gx = -1, gy = -1;
    for (int x = 140; x >= 100 && gx < 0; --x)
        for (int y = 100; y < 120; ++y)
            if (Px(x, y) == 0x00CC00) {
                gx = x, gy = y;
                break;
            }
    ASSERT_GE(gx, 0);
    auto [x2, y2] = At(gx, gy);
    Write("MAPDATA/Islands/12東京島.lbl", gui::Format("○,%d,%d,甲島,9,32768\n○,%d,%d,乙島,9,32768\n", x1, y1, x2, y2));
    ASSERT_TRUE(o->DrawMap());
    EXPECT_LT(Count(0x00CC00, gx + 1, gy + 1, gx + 15, gy + 8), 14 * 7 / 2) << "no solid block of the name colour";
}

TEST_F(Places, AMalformedIslandFileIsNotEdited) {
    Write("MAPDATA/Islands/12東京島.lbl", "○,1,2,甲島,9,32768\n○,x,2,乙島,9,1\n");
    IslandsOf(*o).IslandCount = 0;
    LoadIslandEditList(*o);
    EXPECT_EQ(IslandsOf(*o).IslandCount, 0);
    EXPECT_EQ(gui::testing::Messages().back().caption, "ファイル指定エラー");
    EXPECT_NE(gui::testing::Messages().back().text.find("2"), std::string::npos);
    o->doc.SELECT = 2;
    LoadIslandEditList(*o);
    EXPECT_EQ(gui::testing::Messages().back().caption, "市区町村名表示位置編集");
}

TEST_F(Places, MountainsAreDrawnAndTheFoundOneAgainInTheHighlight) {
    // 137 E, 34 N is the view centre (300, 300).
    Write("MAPDATA/Mountain/12東京山.txt",
          "h1\nh2\nh3\nh4\nふじ\n富士,-,3776m,34°00′00″\n137°00′00″\n\nあと,x,1m,35°0′0″\n135°0′0″\n");
    int32_t x, y;
    MountainToMap(34.0f, 137.0f, x, y);
    int sx, sy;
    o->MapToScreen(x, y, sx, sy);
    o->style.MountainColor = 0x0000CC;
    o->style.SelectColor = 0xCC00CC;
    Settei->CBMountain->SetChecked(true);
    ASSERT_TRUE(o->DrawMap());
    const int h = o->style.NameFontSize / 2;
    EXPECT_GT(Count(0x0000CC, sx - h, sy - h, sx - h + 40, sy - h + 16), 0);
    EXPECT_EQ(Count(0x0000CC, 0, 0, 600, sy - h - 1), 0) << "the list ends at the empty line; no reading shown";
    Settei->CBMtYomi->SetChecked(true);
    ASSERT_TRUE(o->DrawMap());
    EXPECT_GT(Count(0x0000CC, sx - h, sy - h - 20, sx - h + 40, sy - h), 0);

    Search->SearchHighlight = true;
    Search->SearchFoundName = "富士";
    ASSERT_TRUE(o->DrawMap());
    EXPECT_GT(Count(0xCC00CC, sx - h, sy - h, sx - h + 40, sy - h + 16), 0);
    EXPECT_EQ(Count(0x0000CC, sx - h, sy - h, sx - h + 40, sy - h + 16), 0);
    Search->SearchHighlight = false;
}
