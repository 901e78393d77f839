#include "engine/Uken.h"
#include "engine/Uopen.h"
#include "lines/MainFormLines.h"
#include "gui/Testing.h"
#include "labels/Uletter.h"
#include "lines/Ulineadd.h"
#include "lines/Ulineset.h"
#include "lines/Urail.h"
#include "tests/support/FormsFixture.h"
#include <filesystem>
#include <functional>
#include <set>

namespace {

class Railways : public JapanFormsTest {
protected:
    void Select(std::vector<int> codes) {
        Open->doc.SELECT = int(codes.size());
        for (size_t i = 0; i < codes.size(); i++) Open->doc.SelectCode[i] = codes[i];
    }
    void SelectAll() {
        std::vector<int> all;
        for (int c = 1; c <= 52; c++) all.push_back(c);
        Select(all);
    }
    // Ticks the railway map, the station names, then all stations instead of the main ones.
    void LoadAllStations() {
        Open->ui.CBRailLine->SetChecked(true);
        Open->ui.CBEki->SetChecked(true);
        RailControlsOf(*Open).CBMain->SetChecked(false);
    }
    std::vector<std::string> Column(int c) {
        std::vector<std::string> v;
        for (int r = 0; r < LineSet->StringGrid1->RowCount(); r++) v.push_back(LineSet->StringGrid1->Cells(c, r));
        return v;
    }
};

} // namespace

TEST_F(Railways, AreasChooseTheirRegionsAndTheIslandsNone) {
    Select({23});
    Open->ui.CBRailLine->SetChecked(true);
    EXPECT_EQ(LineAdd->RailFileCount, 76);
    for (const auto& p : LineAdd->RailFiles) EXPECT_NE(p.find("/鉄道路線/3東海/"), std::string::npos) << p;
    EXPECT_EQ(Rail->Label1->Caption(), "76 鉄道路線");
    EXPECT_EQ(Rail->Label12->Caption(), "RailRoadSet routine 1");
    // Sorted without regard to ASCII case, then in code order.
    for (size_t i = 1; i < LineAdd->RailFiles.size(); i++)
        EXPECT_LT(gui::Cp932CompareText(LineAdd->RailFiles[i - 1], LineAdd->RailFiles[i]), 0);

    Select({50, 51, 52});
    Open->RailRoadSet();
    EXPECT_EQ(LineAdd->RailFileCount, 0);
    EXPECT_EQ(RailOf(*Open).RailLabelCount, 0);
}

TEST_F(Railways, TheWholeCountryLoadsEveryLineAndStation) {
    SelectAll();
    LoadAllStations();
    EXPECT_EQ(LineAdd->RailFileCount, 626);
    EXPECT_EQ(RailOf(*Open).RailLabelCount, 195);
    EXPECT_EQ(Letter->LabelCount, 9558);
    EXPECT_FALSE(RailOf(*Open).MainStationsLoaded);
    EXPECT_EQ(Rail->Label2->Caption(), "195 駅名ファイル");
    EXPECT_EQ(Rail->Label3->Caption(), "9558 駅名");
    EXPECT_EQ(Letter->Label25->Caption(), "195");
    EXPECT_EQ(Letter->UpDown2->Max, 194);

    LineAdd->DrawLineFiles();
    int points = 0, breaks = 0;
    for (const std::string& p : LineAdd->RailFiles) {
        const LineFileRecord* f = LineAdd->RecordOf(p);
        ASSERT_TRUE(f && f->Readable) << p;
        points += int(f->Points.size());
        breaks += int(f->Breaks.size());
    }
    EXPECT_EQ(points + breaks, 90767) << "point lines, breaks among them";
    EXPECT_EQ(breaks, 1303);

    // The files hold 8 colours: the drawing numbers them 1 to 8.
    LineAdd->DrawLineFiles();
    std::set<std::string> numbers;
    for (const auto& n : Column(2)) numbers.insert(n);
    EXPECT_EQ(numbers.size(), 8u);
    EXPECT_EQ(*numbers.rbegin(), "8");
    EXPECT_EQ(LineSet->StringGrid1->RowCount(), 626);
    EXPECT_EQ(LineSet->Label15->Caption(), "線数 626");
}

TEST_F(Railways, MainStationsTakeOneOrTwoFilesPerRegionAndAMissingOneIsReportedOnce) {
    SelectAll();
    Open->ui.CBRailLine->SetChecked(true);
    Open->ui.CBEki->SetChecked(true);
    EXPECT_TRUE(RailControlsOf(*Open).CBMain->Checked()) << "station names start with the main stations";
    EXPECT_TRUE(RailOf(*Open).MainStationsLoaded);
    EXPECT_EQ(RailOf(*Open).RailLabelCount, 19);
    EXPECT_EQ(Letter->LabelCount, 207);
    EXPECT_EQ(Rail->Label2->Caption(), "19 主要駅名ファイル");

    Select({47});
    Open->RailRoadSet();
    ASSERT_EQ(Letter->LabelFileCount, 1);
    EXPECT_NE(Letter->LabelFiles[0].find("0北海道JR主要駅名.lbl"), std::string::npos);

    std::filesystem::remove(programDir / "鉄道路線" / "主要駅名" / "2関東主要駅名.lbl");
    std::filesystem::remove(programDir / "鉄道路線" / "主要駅名" / "2関東JR主要駅名.lbl");
    Select({12});
    gui::testing::Messages().clear();
    Open->RailRoadSet();
    EXPECT_EQ(gui::testing::Messages().size(), 1u);
    EXPECT_FALSE(gui::testing::Terminated());
    EXPECT_EQ(RailOf(*Open).RailLabelCount, 0);
}

TEST_F(Railways, LabelsOfTheUserStayAfterTheStationLabels) {
    Select({12});
    Open->ui.CBRailLine->SetChecked(true);
    ASSERT_TRUE(Letter->AddNewLabel(123, 456));
    Letter->LabelFiles.push_back("own.lbl");
    Letter->LabelFileCount++;
    Open->ui.CBEki->SetChecked(true);
    ASSERT_GT(Letter->LabelCount, 1);
    const LabelRecord& last = Letter->LabelTable[Letter->LabelCount - 1];
    EXPECT_EQ(last.x, 123);
    EXPECT_EQ(last.y, 456);
    EXPECT_EQ(Letter->StringGrid1->Cells(3, Letter->LabelCount - 1), "ラベル記入");
    EXPECT_EQ(Letter->LabelFiles.back(), "own.lbl");
    EXPECT_EQ(Letter->LabelFileCount, RailOf(*Open).RailLabelCount + 1);
    RailControlsOf(*Open).CBMain->SetChecked(false);
    EXPECT_EQ(Letter->LabelTable[Letter->LabelCount - 1].x, 123) << "kept through a second load";
}

TEST_F(Railways, TheLineFilterAndTheUsersValuesStayWithTheirLines) {
    Select({12});
    Open->ui.CBRailLine->SetChecked(true);
    LineAdd->DrawLineFiles();
    const auto names = Column(0);
    ASSERT_EQ(names.size(), 156u);
    // A value typed for a line without "JR" stays with it through the JR-only filter.
    int other = -1;
    for (size_t r = 0; r < names.size() && other < 0; r++)
        if (names[r].find("JR") == std::string::npos) other = int(r);
    ASSERT_GE(other, 0);
    LineSet->StringGrid1SetEditText(nullptr, 1, other, "7");
    EXPECT_EQ(LineSet->UserColors, 1);
    LineSet->RadioGroup2->SetItemIndex(1);
    LineAdd->DrawLineFiles();
    const auto jr = Column(0);
    EXPECT_EQ(jr.size(), 40u);   // the files of 2関東 named "JR"
    for (const auto& n : jr) EXPECT_NE(n.find("JR"), std::string::npos) << n;
    for (const auto& s : Column(1)) EXPECT_NE(s, "7");
    LineSet->RadioGroup2->SetItemIndex(0);
    LineAdd->DrawLineFiles();
    EXPECT_EQ(Column(0), names);
    EXPECT_EQ(Column(1)[other], "7");

    // "戻　す": sizes and colour numbers come from the files again.
    LineSet->Button13Click(nullptr);
    LineAdd->DrawLineFiles();
    EXPECT_EQ(LineSet->UserColors, 0);
    EXPECT_NE(Column(1)[other], "7");
}

// A size typed into the table and reverted before any redraw shows the file's size again.
TEST_F(Railways, RevertShowsTheFilesSizeOverATypedOne) {
    Select({12});
    Open->ui.CBRailLine->SetChecked(true);
    LineAdd->DrawLineFiles();
    const std::string fromFile = Column(1)[0];
    LineSet->StringGrid1->UserEdit(1, 0, fromFile + "9");
    ASSERT_EQ(LineSet->UserColors, 1);
    LineSet->Button13Click(nullptr);
    LineAdd->DrawLineFiles();
    EXPECT_EQ(Column(1)[0], fromFile);
}

#include "lines/Ukyori.h"
#include <fstream>

// The Kanto map at 1200 pixels with its railway lines, a dashed user line
// with triangle heads and 20 km rings, written to the build folder to look at.
TEST_F(Railways, KantoPictureWithLinesAndRings) {
    for (int code = 7; code <= 13; code++) Ken->AreaBox(code)->SetChecked(true);
    Ken->CBRailShow->SetChecked(true);
    Ken->Button1Click(nullptr);
    ASSERT_TRUE(Open->gate.DataReady);
    ASSERT_EQ(LineAdd->RailFileCount, 156);

    const std::string user = (programDir / "user.adl").string();
    std::ofstream(user, std::ios::binary)
        << "K,    1,    4,49152,1,1,2,12,2//K/1/Points/Color/LineType/Size/Arrow/Asize/Step\r\n"
           " 170000, 175500\r\n 174000, 172000\r\n 178000, 174500\r\n 182000, 171000\r\n";
    gui::testing::QueueFileName(user);
    LineAdd->CBFileAdd->SetChecked(false);
    LineAdd->BtnFileClick(nullptr);

    Kyori->CircleColor = 0x7F00FF;
    Kyori->CheckBox1->SetChecked(true);
    Kyori->RadioGroup1->SetItemIndex(1);
    Kyori->CBCenter->SetChecked(true);
    Kyori->EdLon->SetText("139.4604");
    Kyori->EdLat->SetText("35.4052");
    Kyori->Button1Click(nullptr);
    ASSERT_EQ(Kyori->CircleCount, 1);

    Open->COPYSCALE = 2;
    Open->ui.Image1->SetImageSize(1200, 1200);
    ASSERT_TRUE(Open->DrawMap());
    ASSERT_EQ(Open->ImageSize, 1200);
    TCanvas* cv = Open->ui.Image1->Canvas();
    int rings = 0, userInk = 0, railInk = 0;
    for (int y = 0; y < 1200; y++)
        for (int x = 0; x < 1200; x++) {
            const TColor c = cv->Pixels(x, y);
            rings += c == 0x7F00FF;
            userInk += c == 49152;
            railInk += c == 0xFF0000 || c == 0xFF;
        }
    EXPECT_GT(rings, 2000);
    EXPECT_GT(userInk, 100);
    EXPECT_GT(railInk, 5000);
    const auto out = std::filesystem::path(ROVANA_BINARY).parent_path() / "rail_circles.png";
    EXPECT_TRUE(cv->Image().save(QString::fromStdString(out.string()), "PNG"));
}

#include "navigation/Usettei.h"

TEST_F(Railways, TheRailwayBoxesFollowEachOtherAndRowsAreShownOrHiddenTogether) {
    Select({12});
    Open->ui.CBRailLine->SetChecked(true);
    EXPECT_TRUE(Settei->CBRail->Checked());
    EXPECT_TRUE(LineAdd->CheckBox2->Checked());
    EXPECT_TRUE(Open->ui.CBEki->Enabled());
    EXPECT_TRUE(RailControlsOf(*Open).CBRailSet->Enabled());
    Settei->CBMainEki->SetChecked(true);
    EXPECT_TRUE(RailControlsOf(*Open).CBMain->Checked());

    LineAdd->DrawLineFiles();
    LineSet->RadioGroup3->SetItemIndex(1);
    LineSet->Button16Click(nullptr);
    for (const auto& p : LineAdd->RailFiles) EXPECT_EQ(LineAdd->RecordOf(p)->Mark, "");
    EXPECT_EQ(Rail->Label9->Caption(), "鉄道路線のみ非表示");
    LineAdd->DrawLineFiles();
    for (const auto& m : Column(3)) EXPECT_EQ(m, "");
    gui::testing::QueueAnswer(IDCANCEL);
    LineSet->RadioGroup3->SetItemIndex(0);
    LineSet->Button15Click(nullptr);
    EXPECT_EQ(LineAdd->RecordOf(LineAdd->RailFiles[0])->Mark, "") << "cancelled";
    LineSet->Button15Click(nullptr);
    EXPECT_EQ(LineAdd->RecordOf(LineAdd->RailFiles[0])->Mark, "●");

    Open->ui.CBRailLine->SetChecked(false);
    EXPECT_FALSE(Settei->CBRail->Checked());
    EXPECT_FALSE(LineAdd->CheckBox2->Checked());
    EXPECT_FALSE(Open->ui.CBEki->Enabled());
    EXPECT_FALSE(RailControlsOf(*Open).CBMain->Enabled());
    EXPECT_FALSE(RailControlsOf(*Open).CBRailSet->Enabled());
}

// What the user waits for: one press or tick, one redraw, however many boxes
// it ticks on the way.
TEST_F(Railways, EachActionRedrawsTheMapOnce) {
    for (int code : {12, 13}) Ken->AreaBox(code)->SetChecked(true);
    Ken->CBRailShow->SetChecked(true);
    Open->ui.CBEki->SetEnabled(true);
    auto redraws = [](const std::function<void()>& action) {
        const int before = Open->RedrawCount;
        action();
        return Open->RedrawCount - before;
    };
    EXPECT_EQ(redraws([] { Ken->Button1->Click(); }), 1) << "県指定 決定";
    ASSERT_TRUE(Open->gate.DataReady);
    EXPECT_EQ(redraws([] { Open->ui.CBEki->Click(); }), 1) << "駅名";
    ASSERT_TRUE(RailControlsOf(*Open).CBMain->Checked());
    EXPECT_EQ(redraws([] { RailControlsOf(*Open).CBMain->Click(); }), 1) << "主要駅 off: every station";
    EXPECT_GT(Letter->LabelCount, 207);
    EXPECT_EQ(redraws([] { RailControlsOf(*Open).CBMain->Click(); }), 1) << "主要駅 on";
    // The areas chosen again with the stations kept: one railway load, one label layer.
    const int layers = Open->LabelLayerCount, loads = Open->RailSetCount;
    EXPECT_EQ(redraws([] { Ken->Button1->Click(); }), 1) << "県指定 決定 with the stations";
    EXPECT_EQ(Rail->Label12->Caption(), "RailRoadSet routine " + std::to_string(loads + 1));
    EXPECT_EQ(Open->LabelLayerCount - layers, 1);
    ASSERT_TRUE(Open->ui.CBEki->Checked());
    EXPECT_EQ(redraws([] { Open->ui.CBEki->Click(); }), 1) << "駅名 off";
    EXPECT_EQ(redraws([] { Open->ui.CBRailLine->Click(); }), 1) << "鉄道 off";
    EXPECT_EQ(redraws([] { Open->ui.CBRailLine->Click(); }), 1) << "鉄道 on";
    // "戻　す" puts the railway colour back to "規定" on the way.
    LineSet->RadioGroup1->SetItemIndex(1);
    EXPECT_EQ(redraws([] { LineSet->Button13->Click(); }), 1) << "戻　す";
    EXPECT_EQ(LineSet->RadioGroup1->ItemIndex(), 0);
    // The map shows what the last state asks, not an earlier one.
    EXPECT_TRUE(LineAdd->CheckBox2->Checked());
}

// Lines the filter hid while the railways were loaded are shown, and drawn,
// once the filter lets them through again.
TEST_F(Railways, LinesFilteredOutAtTheLoadAreShownWhenTheFilterOpens) {
    Ken->AreaBox(12)->SetChecked(true);
    Ken->Button1->Click();
    ASSERT_TRUE(Open->gate.DataReady);
    LineSet->RadioGroup2->SetItemIndex(1);
    Open->ui.CBRailLine->SetChecked(true);
    ASSERT_EQ(Column(0).size(), 40u);
    const QImage jrOnly = Open->ui.Image1->Canvas()->Image().copy();
    LineSet->RadioGroup2->SetItemIndex(0);
    ASSERT_EQ(Column(0).size(), 156u);
    for (const auto& m : Column(3)) EXPECT_EQ(m, "●");
    for (int r = 0; r < 156; r++) EXPECT_EQ(Rail->StringGrid1->Cells(2, r), "描く") << r;
    EXPECT_NE(Open->ui.Image1->Canvas()->Image(), jrOnly) << "the other lines are drawn";
}
