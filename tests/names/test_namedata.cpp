#include "tests/support/ToolPress.h"
#include "names/MainFormNames.h"
#include "engine/Coords.h"
#include "engine/Uken.h"
#include "gui/Testing.h"
#include "names/Ucorrect.h"
#include "names/Uextra.h"
#include "names/Unamedel.h"
#include "names/Utoshi.h"
#include "names/Uyomi.h"
#include "names/Uyomilist.h"
#include "tests/engine/AreaFiles.h"
#include "tests/engine/HandMap.h"
#include "tests/support/DrawnAt.h"
#include "tests/names/FullDisk.h"
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using gui::testing::Messages;
using testsupport::ReadBytes;

class NameData : public HandMap {
protected:
    void SetUp() override {
        HandMap::SetUp();
        o->ui.CBTownName->SetChecked(true);
        o->gate.MapShown = true;
        mapFile = programDir / "MAPDATA" / "12.MAP";
    }
    fs::path mapFile;
    void Town(const std::string& name, int px, int py) {
        AddName(o->doc.TownX, o->doc.TownY, o->doc.TownName, o->doc.TownDup, o->doc.TownCount, name, px, py);
    }
    void Old(const std::string& name, int px, int py) {
        AddName(o->doc.OldTownX, o->doc.OldTownY, o->doc.OldTownName, o->doc.OldTownDup, o->doc.OldTownCount, name, px, py);
    }
    std::string Point(int i) { return std::to_string(o->doc.TownX[i]) + "," + std::to_string(o->doc.TownY[i]); }
    std::string Map() { return gui::Cp932ToUtf8(ReadBytes(mapFile)); }
    // As the user does: a button only while it is enabled, a press on the map image.
    void Press(TButton* b) {
        ASSERT_TRUE(b->Enabled());
        b->Click();
    }
    void Down(int x, int y) { o->Image1MouseDown(o->ui.Image1, mbLeft, {}, x, y); }
};

} // namespace

TEST_F(NameData, CorrectionPicksMovesAndRewritesTheFirstLineKeepingItsFields) {
    Town("甲町", 300, 300);
    Old("甲町", 300, 300);
    const std::string p = Point(0);
    areafiles::WriteText(mapFile, "1,2\n100,200\nA," + p + ",甲町,9,z\nX," + p + ",甲町\nA,5,5,乙町\n");
    BtnCorrectClick(*o, NameWidgetsOf(*o).BtnCorrect);
    EXPECT_EQ(Correct->Label2->Caption(), MapFilePath(*o, 12));

    // A press far from any name: reported in the grid, the pick stays armed.
    Correct->Button1Click(Correct->Button1);
    ToolPress(100, 100);
    EXPECT_EQ(Correct->StringGrid1->Cells(2, 0), "該当なし");
    EXPECT_TRUE(Correct->Picking());
    EXPECT_EQ(EditRowOf(*o).EditIndex, 0);

    ToolPress(300, 300);
    EXPECT_FALSE(Correct->Picking());
    EXPECT_EQ(EditRowOf(*o).EditIndex, 1);
    EXPECT_EQ(SearchOf(*o).MatchedListKind, 0);
    EXPECT_EQ(Correct->StringGrid1->Cells(2, 0), "甲町");
    Correct->Button2Click(Correct->Button2);
    ToolPress(350, 320);
    EXPECT_FALSE(Correct->Placing());
    const int32_t nx = o->doc.TownX[0], ny = o->doc.TownY[0];
    EXPECT_TRUE(DrawnAt(nx, ny, 350, 320));
    EXPECT_TRUE(Correct->Button3->Enabled());
    EXPECT_EQ(Correct->Label13->Caption(), "1");

    Correct->Button3Click(Correct->Button3);
    const std::string moved = "A," + std::to_string(nx) + "," + std::to_string(ny) + ",甲町,9,z\r\n";
    EXPECT_NE(Map().find(moved), std::string::npos) << Map();
    EXPECT_NE(Map().find("X," + p + ",甲町\r\n"), std::string::npos) << "only the first record moves";
    EXPECT_NE(Messages().back().text.find("の地図ファイルを修正しました"), std::string::npos);
    EXPECT_EQ(EditRowOf(*o).EditIndex, 0) << "a fresh edit follows";
}

TEST_F(NameData, CancelAfterAPickLeavesNothingForTheNextPress) {
    Town("甲町", 300, 300);
    BtnCorrectClick(*o, NameWidgetsOf(*o).BtnCorrect);
    Correct->Button1Click(Correct->Button1);
    ToolPress(300, 300);
    Correct->Button2Click(Correct->Button2);
    ASSERT_TRUE(Correct->Placing());
    Correct->Button4Click(Correct->Button4);
    EXPECT_FALSE(Correct->Placing());
    EXPECT_FALSE(Correct->Picking());
    EXPECT_EQ(EditRowOf(*o).EditIndex, 0);
    EXPECT_EQ(Correct->StringGrid1->RowCount(), 0);
    EXPECT_FALSE(Correct->Button3->Enabled()) << "no completed row to write";

    // Several areas: corrections can be made but never written.
    o->doc.SELECT = 2;
    o->doc.SelectCode[1] = 13;
    BtnCorrectClick(*o, NameWidgetsOf(*o).BtnCorrect);
    EXPECT_EQ(Correct->Label2->Caption(), "変更データを保存することはできません");
    Correct->Button1Click(Correct->Button1);
    ToolPress(300, 300);
    Correct->Button2Click(Correct->Button2);
    ToolPress(320, 300);
    EXPECT_FALSE(Correct->Button3->Enabled());
}

TEST_F(NameData, APressGoesOnlyToTheRowItWasPickedFor) {
    Town("甲町", 300, 300);
    Town("乙町", 200, 200);
    const std::string a = Point(0);
    areafiles::WriteText(mapFile, "1,2\nA," + a + ",甲町\nA," + Point(1) + ",乙町\n");
    NameWidgetsOf(*o).BtnCorrect->Click();
    Press(Correct->Button1);
    Down(300, 300);
    Press(Correct->Button2);
    Down(320, 300);
    const int32_t x0 = o->doc.TownX[0], y0 = o->doc.TownY[0];

    // 乙町 picked, then its row deleted: the next press moves nothing.
    const std::string b = Point(1);
    Press(Correct->Button1);
    Down(200, 200);
    ASSERT_EQ(Correct->StringGrid1->Cells(2, 1), "乙町");
    Press(Correct->Button2);
    Correct->StringGrid1->SetRow(1);
    Correct->N1->Click();
    EXPECT_FALSE(Correct->Placing());
    EXPECT_FALSE(Correct->Button2->Enabled());
    Down(100, 100);
    EXPECT_EQ(Point(1), b);
    EXPECT_EQ(o->doc.TownX[0], x0);
    EXPECT_EQ(o->doc.TownY[0], y0);
    EXPECT_EQ(Correct->StringGrid1->Cells(3, 0), std::to_string(x0));

    // A picked row keeps its pick when an earlier row goes.
    Press(Correct->Button1);
    Down(200, 200);
    Correct->StringGrid1->SetRow(0);
    Correct->N1->Click();
    Press(Correct->Button2);
    Down(250, 260);
    ASSERT_EQ(Correct->StringGrid1->RowCount(), 1);
    EXPECT_EQ(Correct->StringGrid1->Cells(2, 0), "乙町");
    EXPECT_EQ(Correct->StringGrid1->Cells(3, 0), std::to_string(o->doc.TownX[1]));

    Press(Correct->Button3);
    EXPECT_EQ(Map(), "1,2\r\nA," + a + ",甲町\r\nA," + Point(1) + ",乙町\r\n") << "甲町 is no longer a correction";
}

TEST_F(NameData, PositionsTakenOnAWgsMapAreStoredInTheTokyoDatum) {
    o->scale = 0.05f;
    ASSERT_TRUE(o->DrawMap());
    Town("甲町", 300, 300);
    o->WgsDisplay = true;
    ASSERT_TRUE(o->DrawMap());
    int sx, sy;
    o->MapToScreen(o->doc.TownX[0], o->doc.TownY[0], sx, sy);
    ASSERT_GT(std::abs(sx - 300) + std::abs(sy - 300), 2) << "the datum shift is visible at this scale";

    // The name is picked where it is drawn and put back where the press was.
    BtnCorrectClick(*o, NameWidgetsOf(*o).BtnCorrect);
    Correct->Button1Click(Correct->Button1);
    ToolPress(sx, sy);
    ASSERT_EQ(EditRowOf(*o).EditIndex, 1);
    Correct->Button2Click(Correct->Button2);
    ToolPress(400, 200);
    o->MapToScreen(o->doc.TownX[0], o->doc.TownY[0], sx, sy);
    EXPECT_LE(std::abs(sx - 400), 1);
    EXPECT_LE(std::abs(sy - 200), 1);

    // The same for a designated city.
    o->doc.CityCount = 1;
    o->doc.CityName[0] = "甲市";
    o->doc.CityPref[0] = 12;
    Toshi->Fill();
    Toshi->StringGrid1->SetRow(1);
    Toshi->StringGrid1Click(Toshi->StringGrid1);
    ASSERT_TRUE(Toshi->PositionArmed());
    ToolPress(250, 260);
    o->MapToScreen(o->doc.CityX[0], o->doc.CityY[0], sx, sy);
    EXPECT_LE(std::abs(sx - 250) + std::abs(sy - 260), 2);
}

TEST_F(NameData, CityAndDuplicatePositionsAreSavedToTheirLists) {
    o->doc.CityCount = 1;
    o->doc.CityName[0] = "甲市", o->doc.CityPref[0] = 12, o->doc.CityFlag[0] = 1;
    o->doc.ExtraCount = 2;
    o->doc.ExtraPref[0] = 12, o->doc.ExtraTownName[0] = "北区", o->doc.ExtraGroupName[0] = "甲市", o->doc.ExtraKind[0] = 'A';
    o->doc.ExtraPref[1] = 12, o->doc.ExtraTownName[1] = "南区", o->doc.ExtraGroupName[1] = "甲市", o->doc.ExtraKind[1] = '\0';
    Toshi->Fill();
    Extra->Fill();

    Toshi->StringGrid1->SetRow(1);
    Toshi->StringGrid1Click(Toshi->StringGrid1);
    EXPECT_EQ(Toshi->StringGrid1->Cells(0, 1), " ★");
    ToolPress(200, 200);
    EXPECT_FALSE(Toshi->PositionArmed());
    EXPECT_EQ(Toshi->StringGrid1->Cells(0, 1), "") << "marks cleared";
    EXPECT_TRUE(Toshi->CityModified);
    Toshi->Button1Click(Toshi->Button1);
    EXPECT_EQ(gui::Cp932ToUtf8(ReadBytes(programDir / "MAPDATA" / "CITYLIST.TXT")),
              gui::Format("甲市,%d,%d,12,1\r\n", o->doc.CityX[0], o->doc.CityY[0]));
    EXPECT_FALSE(Toshi->Button1->Enabled());

    Extra->StringGrid1->SetRow(2);
    Extra->StringGrid1Click(Extra->StringGrid1);
    ToolPress(210, 220);
    Extra->Button1Click(Extra->Button1);
    // An entry without a kind keeps an empty field, never a NUL byte.
    EXPECT_EQ(gui::Cp932ToUtf8(ReadBytes(programDir / "MAPDATA" / "EXTRA.TXT")),
              gui::Format("12,北区,甲市,%d,%d,A\r\n12,南区,甲市,%d,%d,\r\n", o->doc.ExtraX[0], o->doc.ExtraY[0], o->doc.ExtraX[1],
                          o->doc.ExtraY[1]));

    // A click off the entries disarms the move of the row marked before.
    for (TPositionTable* w : std::initializer_list<TPositionTable*>{Toshi, Extra}) {
        w->StringGrid1->SetRow(1);
        w->StringGrid1->OnClick(w->StringGrid1);
        ASSERT_TRUE(w->PositionArmed());
        w->StringGrid1->SetRow(0);
        w->StringGrid1->OnClick(w->StringGrid1);
        EXPECT_FALSE(w->PositionArmed());
    }
    const int32_t cx = o->doc.CityX[0];
    Down(120, 120);
    EXPECT_EQ(o->doc.CityX[0], cx);

    // Closing with unsaved moves asks; Cancel keeps the window.
    Extra->Show();
    Extra->StringGrid1->SetRow(1);
    Extra->StringGrid1Click(Extra->StringGrid1);
    ToolPress(230, 220);
    gui::testing::QueueAnswer(IDCANCEL);
    Extra->Button2Click(Extra->Button2);
    EXPECT_TRUE(Extra->Visible());
}

TEST_F(NameData, DeleteRemovesEveryKindOfTheRecordAndRefusesDuplicates) {
    o->scale = 0.05f;   // the ±50 unit box is wider than a pixel
    ASSERT_TRUE(o->DrawMap());
    Town("甲町", 300, 300);
    Old("甲町", 300, 300);
    Town("乙町", 100, 100);
    const std::string p = Point(0);
    areafiles::WriteText(mapFile, "1,2\nA," + p + ",甲町\nX," + p + ",甲町\nB," + p + ",甲町\nA," + Point(1) + ",乙町\n");
    o->doc.ExtraCount = 1;
    auto [ex, ey] = At(200, 200);
    o->doc.ExtraPref[0] = 12, o->doc.ExtraTownName[0] = "北区", o->doc.ExtraX[0] = ex, o->doc.ExtraY[0] = ey;

    o->ui.N17->Click();
    Press(NameDel->Button2);
    Down(200, 200);
    EXPECT_EQ(NameDel->Label7->Caption(), "重複名のため削除できません");
    EXPECT_TRUE(NameDel->NameDeleteArmed());
    Down(300, 300);
    EXPECT_EQ(NameDel->Label7->Caption(), "削除ボタンをクリック");
    EXPECT_FALSE(NameDel->NameDeleteArmed());
    EXPECT_FALSE(NameDel->Button2->Enabled());
    Press(NameDel->Button3);
    EXPECT_EQ(Map(), "1,2\r\nA," + Point(0) + ",乙町\r\n");
    EXPECT_EQ(o->doc.TownCount, 1);
    EXPECT_EQ(o->doc.TownName[0], "乙町");
    EXPECT_EQ(o->doc.OldTownCount, 0);
    EXPECT_EQ(NameDel->Label7->Caption(), "削除しました");

    // The next deletion can be picked after a delete, a cancel, and closing mid-pick.
    Press(NameDel->Button2);
    Down(100, 100);
    Press(NameDel->Button6);
    Press(NameDel->Button2);
    Down(100, 100);
    Press(NameDel->Button1);
    o->ui.N17->Click();
    EXPECT_TRUE(NameDel->Button2->Enabled());
    EXPECT_FALSE(NameDel->Button3->Enabled()) << "the pick of before is gone";
}

TEST_F(NameData, AddAppendsARecordAndRefusesBadNamesAndFullTables) {
    areafiles::WriteText(mapFile, "1,2\n");
    NameDel->RadioGroup1->SetItemIndex(2);
    NameDel->Edit1->SetText("新町");
    NameDel->Button4Click(NameDel->Button4);
    ASSERT_TRUE(NameDel->NameAddArmed());
    ToolPress(300, 300);
    EXPECT_FALSE(NameDel->NameAddArmed());
    EXPECT_TRUE(NameDel->Button5->Enabled());
    const int32_t x = std::stoi(NameDel->Label10->Caption()), y = std::stoi(NameDel->Label11->Caption());
    EXPECT_TRUE(DrawnAt(x, y, 300, 300));
    NameDel->Button5Click(NameDel->Button5);
    EXPECT_EQ(Map(), gui::Format("1,2\r\nX,%d,%d,新町\r\n", x, y));
    ASSERT_EQ(o->doc.OldTownCount, 1);
    EXPECT_EQ(o->doc.OldTownDup[0], 's');

    for (const char* bad : {"", "a b", "甲,乙", "甲\t乙"}) {
        Messages().clear();
        NameDel->Edit1->SetText(bad);
        NameDel->Button5Click(NameDel->Button5);
        EXPECT_EQ(Messages().size(), 1u) << bad;
    }
    o->doc.OldTownCount = OLDTOWN_MAX;
    NameDel->Edit1->SetText("満町");
    NameDel->Button5Click(NameDel->Button5);
    EXPECT_EQ(o->doc.OldTownCount, OLDTOWN_MAX);
    EXPECT_EQ(Map(), gui::Format("1,2\r\nX,%d,%d,新町\r\n", x, y)) << "nothing written";
}

TEST_F(NameData, EveryRewriteOnAFullDiskKeepsFileAndTables) {
    Town("甲町", 300, 300);
    std::string big(400, '#');
    areafiles::WriteText(mapFile, "1,2\n" + big + "\nA," + Point(0) + ",甲町\n");
    const std::string before = ReadBytes(mapFile);
    o->doc.CityCount = 1, o->doc.CityName[0] = "甲市" + std::string(300, 'x');
    o->doc.ExtraCount = 1, o->doc.ExtraTownName[0] = "北区" + std::string(300, 'x');
    Toshi->Fill();
    Extra->Fill();
    const std::string cities = ReadBytes(programDir / "MAPDATA" / "CITYLIST.TXT");
    const std::string extras = ReadBytes(programDir / "MAPDATA" / "EXTRA.TXT");
    const std::string yomi = ReadBytes(programDir / "MAPDATA" / "yomi.lst");
    const int yomiCount = o->doc.YomiCount;
    {
        FullDisk full(64);
        // Delete.
        NameDel->Label4->SetCaption(std::to_string(o->doc.TownX[0]));
        NameDel->Label5->SetCaption(std::to_string(o->doc.TownY[0]));
        NameDel->Label6->SetCaption("甲町");
        EXPECT_FALSE(NameDel->RewriteMapFile());
        EXPECT_EQ(o->doc.TownCount, 1);
        // Add.
        NameDel->Edit1->SetText("乙町");
        EXPECT_FALSE(NameDel->AddNameToMapFile());
        EXPECT_EQ(o->doc.TownCount, 1);
        // Position correction.
        Correct->StringGrid1->SetRowCount(1);
        for (int c = 0; c < 5; ++c) Correct->StringGrid1->SetCells(c, 0, c == 2 ? "甲町" : "1");
        Correct->StringGrid1->SetCells(0, 0, std::to_string(o->doc.TownX[0]));
        Correct->StringGrid1->SetCells(1, 0, std::to_string(o->doc.TownY[0]));
        EditRowOf(*o).EditIndex = 1;
        Correct->Button3->SetEnabled(true);
        Correct->Button3Click(Correct->Button3);
        EXPECT_TRUE(Correct->Button3->Enabled()) << "not reported as written";
        // The two lists.
        Toshi->Modified = true;
        Toshi->Button1->SetEnabled(true);
        Toshi->Button1Click(Toshi->Button1);
        EXPECT_TRUE(Toshi->Button1->Enabled());
        Extra->Button1Click(Extra->Button1);
        // Readings.
        YomiList->StringGrid1->SetRowCount(1);
        for (int c = 0; c < 5; ++c) YomiList->StringGrid1->SetCells(c, 0, c < 2 ? "1" : "ああ");
        YomiList->StringGrid1->UserEdit(4, 0, "ああ" + std::string(100, 'a'));
        EXPECT_FALSE(YomiList->WriteYomiList());
        EXPECT_EQ(o->doc.YomiCount, yomiCount);
    }
    EXPECT_EQ(ReadBytes(mapFile), before);
    EXPECT_EQ(ReadBytes(programDir / "MAPDATA" / "CITYLIST.TXT"), cities);
    EXPECT_EQ(ReadBytes(programDir / "MAPDATA" / "EXTRA.TXT"), extras);
    EXPECT_EQ(ReadBytes(programDir / "MAPDATA" / "yomi.lst"), yomi);
    const auto failures = std::count_if(Messages().begin(), Messages().end(), [](const auto& m) {
        return m.text.find("を書き換えることができませんでした") != std::string::npos;
    });
    EXPECT_EQ(failures, 6);
    for (const auto& m : Messages()) EXPECT_EQ(m.text.find("修正しました"), std::string::npos) << m.text;
    for (const auto& e : fs::directory_iterator(programDir / "MAPDATA"))
        EXPECT_EQ(e.path().filename().string().find(".tmp"), std::string::npos) << e.path();
}

// ---- readings ----

TEST_F(NameData, ReadingsMatchWithin1000UnitsAndOnlyEditedRowsAreSaved) {
    Town("甲町", 300, 300);
    Town("乙町", 200, 200);
    Town("丙町", 700, 700);   // off the image
    o->doc.YomiRecords = {{o->doc.TownX[0] + 1000, o->doc.TownY[0] - 1000, "甲町", "こうまち"},
                      {o->doc.TownX[1] + 1001, o->doc.TownY[1], "乙町", "おつちょう"}};
    o->doc.YomiCount = 2;
    Yomi->Edit1->SetText("1");
    ASSERT_TRUE(YomiList->BuildDisplayedNameList());
    TStringGrid* g = YomiList->StringGrid1;
    ASSERT_EQ(g->RowCount(), 2);
    EXPECT_EQ(YomiList->Label11->Caption(), "2 個の市区町村名");
    // By name in CP932 order: 乙 (0x89B3) before 甲 (0x8D62).
    EXPECT_EQ(g->Cells(3, 0), "乙町");
    EXPECT_EQ(g->Cells(4, 0), "") << "1001 units away is another place";
    EXPECT_EQ(g->Cells(3, 1), "甲町");
    EXPECT_EQ(g->Cells(4, 1), "こうまち");

    g->UserEdit(4, 0, "おつまち");
    EXPECT_TRUE(YomiList->Button1->Enabled());
    YomiList->Button1Click(YomiList->Button1);
    ASSERT_EQ(o->doc.YomiCount, 3);
    EXPECT_EQ(gui::Cp932ToUtf8(ReadBytes(programDir / "MAPDATA" / "yomi.lst")),
              gui::Format("%d,%d,甲町,こうまち\r\n%d,%d,乙町,おつちょう\r\n%s,%s,乙町,おつまち\r\n", o->doc.TownX[0] + 1000,
                          o->doc.TownY[0] - 1000, o->doc.TownX[1] + 1001, o->doc.TownY[1], g->Cells(0, 0).c_str(),
                          g->Cells(1, 0).c_str()));
    EXPECT_FALSE(YomiList->Button1->Enabled());

    // Refused: a blank in a reading, a position that is no integer, a full table.
    const std::string saved = ReadBytes(programDir / "MAPDATA" / "yomi.lst");
    g->UserEdit(4, 0, "おつ まち");
    EXPECT_FALSE(YomiList->WriteYomiList());
    g->UserEdit(4, 0, "おつまち");
    g->UserEdit(0, 0, "12x");
    EXPECT_FALSE(YomiList->WriteYomiList());
    g->UserEdit(0, 0, "5");
    g->UserEdit(3, 0, "丁町");   // no record of its own any more
    o->doc.YomiRecords.resize(TOpen::YOMI_MAX, {0, 0, "某", "ぼう"});
    o->doc.YomiCount = TOpen::YOMI_MAX;
    EXPECT_FALSE(YomiList->WriteYomiList());
    EXPECT_EQ(o->doc.YomiCount, TOpen::YOMI_MAX);
    EXPECT_EQ(ReadBytes(programDir / "MAPDATA" / "yomi.lst"), saved);
}

TEST_F(NameData, NameListKindsOrderAndItsLimit) {
    Town("甲町", 100, 100);
    AddName(o->doc.NewTownX, o->doc.NewTownY, o->doc.NewTownName, o->doc.NewTownDup, o->doc.NewTownCount, "新町", 110, 100);
    Old("旧村", 120, 100);
    o->doc.CityCount = 1, o->doc.CityName[0] = "甲市", o->doc.CityPref[0] = 12, o->doc.CityFlag[0] = 0;
    std::tie(o->doc.CityX[0], o->doc.CityY[0]) = At(130, 100);
    o->doc.ExtraCount = 1, o->doc.ExtraTownName[0] = "北区", o->doc.ExtraPref[0] = 12;
    std::tie(o->doc.ExtraX[0], o->doc.ExtraY[0]) = At(140, 100);
    YomiList->Button2Click(YomiList->Button2);
    TStringGrid* g = YomiList->StringGrid1;
    std::vector<std::string> kinds;
    for (int r = 0; r < g->RowCount(); ++r) kinds.push_back(g->Cells(2, r));
    EXPECT_EQ(kinds, (std::vector<std::string>{"政", "新", "重", "旧", ""}));
    YomiList->CBGyaku->SetChecked(true);
    YomiList->Button2Click(YomiList->Button2);
    EXPECT_EQ(g->Cells(2, 0), "");
    YomiList->CBOldNeg->SetChecked(true);
    EXPECT_EQ(g->RowCount(), 4) << "old names left out";
    EXPECT_FALSE(o->ui.CBNTownBorder->Checked());
    // Names hidden over many areas: the list is still that of the view, never the last one kept.
    o->ui.CBTownName->SetChecked(false);
    o->doc.SELECT = 21;
    YomiList->CBOldNeg->SetChecked(false);
    EXPECT_EQ(g->RowCount(), 5) << "old names back in the list";
    o->doc.SELECT = 1;

    // Over 2000 names: refused, the grid keeps its rows.
    for (int i = 0; i < 2001; ++i) Town("町" + std::to_string(i), 10 + i % 500, 10 + i / 500);
    EXPECT_FALSE(YomiList->BuildDisplayedNameList());
    EXPECT_EQ(g->RowCount(), 5);
    Yomi->Button2Click(Yomi->Button2);
    EXPECT_EQ(Messages().back().text, "読みがなを表示する市区町村名が多すぎます");
}

TEST_F(NameData, OpenersRefuseWithoutNamesOrWithSeveralAreas) {
    o->ui.CBTownName->SetChecked(false);
    BtnCorrectClick(*o, NameWidgetsOf(*o).BtnCorrect);
    EXPECT_EQ(Messages().back().caption, "市区町村名表示位置編集");
    EXPECT_FALSE(Correct->Visible());
    N10Click(*o, NameWidgetsOf(*o).N10);
    EXPECT_EQ(Messages().back().caption, "政令指定都市名表示位置編集");
    EXPECT_FALSE(Toshi->Visible());

    o->ui.CBTownName->SetChecked(true);
    o->doc.SELECT = 6;
    for (int a = 0; a < 6; ++a) o->doc.SelectCode[a] = a + 1;
    N17Click(*o, o->ui.N17);
    EXPECT_EQ(Messages().back().caption, "市区町村名削除");
    EXPECT_FALSE(NameDel->Visible());
    // A duplicated name among the areas opens its window too.
    o->doc.ExtraCount = 1, o->doc.ExtraPref[0] = 4;
    N9Click(*o, o->ui.N9);
    EXPECT_EQ(Correct->Label4->Caption(),
              o->doc.AreaName[1] + " " + o->doc.AreaName[2] + " " + o->doc.AreaName[3] + " " + o->doc.AreaName[4] + " ほか");
    EXPECT_TRUE(Extra->Visible());
}
