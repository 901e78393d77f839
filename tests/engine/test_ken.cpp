#include "engine/Coords.h"
#include "engine/Uken.h"
#include "engine/Uopen.h"
#include "navigation/MainFormNavigation.h"
#include "engine/Uprocess.h"
#include "gui/Testing.h"
#include "labels/Uletter.h"
#include "lines/Ulineadd.h"
#include "lines/Ulineset.h"
#include "names/Usearch.h"
#include "names/Uyomilist.h"
#include "navigation/Usettei.h"
#include "paint/Upaint.h"
#include "tests/engine/AreaFiles.h"
#include "tests/support/FormsFixture.h"
#include <gtest/gtest.h>
#include <QEvent>
#include <QObject>
#include <filesystem>
#include <vector>

namespace {

// Counts how often a window is shown.
class ShowCounter : public QObject {
public:
    int shows = 0;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Show) shows++;
        return false;
    }
};

class AreaChoice : public FormsTest {
protected:
    void FillProgramFolder(const std::filesystem::path& dir) override {
        FormsTest::FillProgramFolder(dir);
        areafiles::WriteAllAreas(dir);
    }
    void SetUp() override {
        FormsTest::SetUp();
        gui::testing::Messages().clear();
    }
    void Tick(std::vector<int> codes) {
        for (int code : codes) Ken->AreaBox(code)->SetChecked(true);
    }
    std::vector<int32_t> Selection() const { return {Open->doc.SelectCode, Open->doc.SelectCode + Open->doc.SELECT}; }
};

TEST_F(AreaChoice, RegionBoxesTickTheirMembersAndTheSelectionIsAscending) {
    Ken->CheckBox3->SetChecked(true);   // 関東
    for (int code = 7; code <= 13; code++) EXPECT_TRUE(Ken->AreaBox(code)->Checked()) << code;
    EXPECT_FALSE(Ken->AreaBox(14)->Checked());
    Ken->CheckBox22->SetChecked(false);   // 東京
    Ken->CheckBox1->SetChecked(true);     // 北海道
    Ken->Button1->Click();
    EXPECT_EQ(Selection(), (std::vector<int32_t>{7, 8, 9, 10, 11, 13, 47, 48, 49, 52}));
    Ken->CheckBox1->SetChecked(false);
    for (int code : {47, 48, 49, 52}) EXPECT_FALSE(Ken->AreaBox(code)->Checked()) << code;
}

TEST_F(AreaChoice, ClearUnticksEveryBox) {
    Ken->CheckBox3->SetChecked(true);
    Tick({1, 46, 50, 51});
    Ken->Button3->Click();
    for (int code = 1; code <= 52; code++) EXPECT_FALSE(Ken->AreaBox(code)->Checked()) << code;
    for (const auto& r : Ken->Regions()) EXPECT_FALSE(r.box->Checked()) << r.box->Caption();
}

TEST_F(AreaChoice, AllTicksEveryAreaAndDropsTheMunicipalBorders) {
    Ken->CheckBox3->SetChecked(true);
    Ken->CheckBox22->SetChecked(false);   // 関東 stays ticked without 東京
    ASSERT_TRUE(Open->ui.CBTownBorder->Checked());
    Ken->Button4->Click();
    for (int code = 1; code <= 52; code++) EXPECT_TRUE(Ken->AreaBox(code)->Checked()) << code;
    EXPECT_FALSE(Open->ui.CBTownBorder->Checked());
    Ken->Button1->Click();
    ASSERT_EQ(Open->doc.SELECT, 52);
    for (int i = 0; i < 52; i++) EXPECT_EQ(Open->doc.SelectCode[i], i + 1);
    EXPECT_FALSE(gui::testing::Terminated());
}

TEST_F(AreaChoice, WithNoAreaTickedNothingChanges) {
    Ken->Show();
    Ken->Button1->Click();
    areafiles::ExpectOnlyMessage("描くべき都道府県が指定されておりません", "都道府県設定エラー", MB_OK | MB_ICONEXCLAMATION);
    EXPECT_TRUE(Ken->Visible());
    EXPECT_EQ(Open->doc.SELECT, 0);
    EXPECT_FALSE(Open->gate.MapShown);
}

TEST_F(AreaChoice, TheWaitWindowShowsForMoreThanTwentyAreas) {
    ShowCounter counter;
    Process->installEventFilter(&counter);
    std::vector<int> twenty;
    for (int code = 1; code <= 20; code++) twenty.push_back(code);
    Tick(twenty);
    Ken->Button1->Click();
    EXPECT_EQ(counter.shows, 0);
    EXPECT_EQ(Process->Label1->Caption(), "");
    Tick({21});
    Ken->Button1->Click();
    EXPECT_EQ(Open->doc.SELECT, 21);
    EXPECT_EQ(counter.shows, 1);
    EXPECT_EQ(Process->Label1->Caption(), "地図を描く準備をしています");
    EXPECT_FALSE(Process->Visible());
    Process->removeEventFilter(&counter);
}

TEST_F(AreaChoice, ConfirmingSetsUpTheToolsForTheNewMap) {
    Open->paint.paint_rep = 4;
    Letter->LabelCount = 9;
    Letter->LabelFileCount = 2;
    LineAdd->LineFileCount = 3;
    LineSet->UserColors = 1;
    Open->RailSetCount = 2;
    Settei->CBKu->SetChecked(false);
    Tick({13});
    Ken->Button1->Click();
    EXPECT_TRUE(Open->gate.DataReady);
    EXPECT_TRUE(Open->gate.MapShown);
    EXPECT_TRUE(Open->ui.Button1->Enabled());
    EXPECT_EQ(Open->paint.paint_rep, 0);
    EXPECT_EQ(Letter->LabelCount, 0);
    EXPECT_EQ(Letter->LabelFileCount, 0);
    EXPECT_EQ(LineAdd->LineFileCount, 0);
    EXPECT_EQ(LineSet->UserColors, 0);
    EXPECT_EQ(LineAdd->AttrTableDirty, 1);
    EXPECT_EQ(Open->RailSetCount, 0);
    EXPECT_TRUE(Settei->CBKu->Checked());
    EXPECT_TRUE(Settei->CBKuName->Checked());
    EXPECT_TRUE(Settei->Button13->Enabled());
    EXPECT_EQ(Ken->NameListArea, 13);
    EXPECT_EQ(Ken->NameListMode, 1);
    EXPECT_FALSE(Open->ui.Label35->Visible());
    // One area: its names are shown and duplicates are not allowed.
    EXPECT_TRUE(Open->ui.CBTownName->Checked());
    EXPECT_TRUE(Open->ui.CBMainDoubleName->Enabled());
    EXPECT_FALSE(Open->ui.CBMainDoubleName->Checked());
    // Two areas: names off, and no choice about duplicates.
    Tick({14});
    Ken->Button1->Click();
    EXPECT_FALSE(Open->ui.CBTownName->Checked());
    EXPECT_FALSE(Open->ui.CBMainDoubleName->Enabled());
}

TEST_F(AreaChoice, RunFromTheDisplaySettingsTheMapStaysLocked) {
    Tick({3});
    Ken->Choose(Settei, true);
    EXPECT_FALSE(Open->gate.DataReady);
    EXPECT_TRUE(Open->gate.MapShown);
}

TEST_F(AreaChoice, DesignatedCityNamesOnlyForSaitamaAlone) {
    Tick({10});
    Ken->Button1->Click();
    EXPECT_TRUE(Settei->CBCityName->Checked());
    Tick({11});
    Ken->Button1->Click();
    EXPECT_FALSE(Settei->CBCityName->Checked());
}

TEST_F(AreaChoice, TheOldBorderBoxSetsTheOldBorders) {
    Tick({5});
    Ken->CBOldBorder->SetChecked(true);
    Settei->CBNTownDot->SetEnabled(false);
    Settei->CBNTownDot->SetChecked(true);
    Ken->Button1->Click();
    EXPECT_TRUE(Open->ui.CBNTownBorder->Checked());
    EXPECT_TRUE(Settei->CBNTownDot->Enabled());
    EXPECT_FALSE(Settei->CBNTownDot->Checked());
    Ken->CBOldBorder->SetChecked(false);
    Settei->CBNTownDot->SetChecked(true);
    Ken->Button1->Click();
    EXPECT_FALSE(Open->ui.CBNTownBorder->Checked());
    EXPECT_FALSE(Settei->CBNTownDot->Checked());
}

TEST_F(AreaChoice, TheRailwayBoxGoesToTheMainWindowAndTheLineEditor) {
    Ken->CBRailShow->SetChecked(true);
    EXPECT_TRUE(Open->ui.CBRailLine->Checked());
    Tick({6});
    Ken->Button1->Click();
    EXPECT_TRUE(LineAdd->CheckBox2->Checked());
    Ken->CBRailShow->SetChecked(false);
    EXPECT_FALSE(Open->ui.CBRailLine->Checked());
}

TEST_F(AreaChoice, TheNameListNeedsExactlyOneArea) {
    Ken->CBNameList->Click();
    Tick({1, 2});
    Ken->CBNameList->Click();
    ASSERT_EQ(gui::testing::Messages().size(), 2u);
    for (const auto& m : gui::testing::Messages()) {
        EXPECT_EQ(m.text, "市区町村名リストを表示するには，都道府県を1個（1個に限る）選択しなければなりません　　　");
        EXPECT_EQ(m.caption, "県選択数エラー");
    }
    EXPECT_EQ(Open->doc.SELECT, 0);
    EXPECT_FALSE(Open->gate.MapShown);
    Ken->AreaBox(1)->SetChecked(false);
    Ken->CBNameList->Click();
    EXPECT_EQ(gui::testing::Messages().size(), 2u);
    EXPECT_EQ(Selection(), (std::vector<int32_t>{2}));
    EXPECT_EQ(Ken->NameListArea, 2);
    EXPECT_EQ(Ken->NameListMode, 1);
    EXPECT_TRUE(Open->ui.CBYomi->Checked());
}

TEST_F(AreaChoice, AMissingMapFileEndsTheProgram) {
    std::filesystem::remove(programDir / "MAPDATA/05.MAP");
    Tick({5});
    Ken->Button1->Click();
    ASSERT_FALSE(gui::testing::Messages().empty());
    EXPECT_EQ(gui::testing::Messages()[0].text, "地図データファイルが見つかりません");
    EXPECT_EQ(gui::testing::Messages()[0].caption, "ファイルオープンエラー");
    EXPECT_EQ(gui::testing::Messages()[0].flags, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_TRUE(gui::testing::Terminated());
}

// Work on the map as the user makes it: a fill pressed in paint mode and a
// label typed in by its map position.
void MakeWork() {
    Open->ui.BtnPaint->Click();
    MapPaint->TkBtnClick(2);
    Open->Image1MouseDown(Open->ui.Image1, mbLeft, TShiftState(), 300, 300);
    MapPaint->Button19->Click();
    Letter->RadioGroup1->SetItemIndex(2);
    Letter->Edit2->SetText(std::to_string(Open->CX));
    Letter->Edit3->SetText(std::to_string(Open->CY));
    Letter->Button2->Click();
    ASSERT_EQ(Open->paint.paint_rep, 1);
    ASSERT_EQ(Letter->LabelCount, 1);
}

const char* const kLoseWork = "ペイント・ラベル・地図線などの作業内容は消去されます。よろしいですか";

TEST_F(AreaChoice, TheWindowClosedUnchosenChangesNothingAndOtherAreasAskFirst) {
    Tick({7});
    Ken->Button1->Click();
    MakeWork();
    Open->ui.UpDown1->UserClick(btNext);
    Open->ui.UpDown1->UserClick(btNext);
    ASSERT_EQ(Open->ui.Label6->Caption(), "3.00");
    gui::testing::Messages().clear();

    // "閉じる" and the window's close box: the map, its view and its work stay, and it still answers.
    Open->ui.Button5->Click();
    ASSERT_TRUE(Ken->Visible());
    Ken->Button2->Click();
    Open->ui.Button5->Click();
    Ken->close();
    EXPECT_FALSE(Ken->Visible());
    EXPECT_TRUE(Open->gate.DataReady && Open->gate.MapShown);
    EXPECT_EQ(Open->ui.Label6->Caption(), "3.00");
    const int redraws = Open->RedrawCount;
    bool handled = false;
    FormMouseWheel(*Open, Open, TShiftState(), 120, TPoint(0, 0), handled);
    EXPECT_EQ(Open->RedrawCount, redraws + 1);
    EXPECT_EQ(Open->ui.Label6->Caption(), "2.00");
    gui::testing::QueueFileName((programDir / "a.rvx").string());
    Open->ui.Button1->Click();
    EXPECT_NE(testsupport::ReadBytes(programDir / "a.rvx").find("1,paint_rep"), std::string::npos);

    // The same areas again are a reload: no question, the work stays, the view is the standard one.
    Open->ui.Button5->Click();
    Ken->Button1->Click();
    EXPECT_TRUE(gui::testing::Messages().empty());
    EXPECT_EQ(Open->paint.paint_rep, 1);
    EXPECT_EQ(Letter->LabelCount, 1);
    EXPECT_EQ(Open->MAGSTEP, 1);

    // The name list of another area, cancelled: no list and no readings.
    Ken->AreaBox(7)->SetChecked(false);
    Tick({9});
    gui::testing::QueueAnswer(IDCANCEL);
    Ken->CBNameListClick(Ken->CBNameList);
    EXPECT_FALSE(Open->ui.CBYomi->Checked());
    EXPECT_FALSE(YomiList->Visible());
    Ken->AreaBox(9)->SetChecked(false);
    gui::testing::Messages().clear();

    // Other areas ask; a cancel leaves the map, its work and the window's ticks.
    Open->ui.Button5->Click();
    Tick({7, 8});
    gui::testing::QueueAnswer(IDCANCEL);
    Ken->Button1->Click();
    ASSERT_EQ(gui::testing::Messages().size(), 1u);
    EXPECT_EQ(gui::testing::Messages()[0].text, kLoseWork);
    EXPECT_EQ(gui::testing::Messages()[0].flags, MB_OKCANCEL | MB_ICONQUESTION);
    EXPECT_EQ(Selection(), (std::vector<int32_t>{7}));
    EXPECT_EQ(Open->paint.paint_rep, 1);
    EXPECT_EQ(Letter->LabelCount, 1);
    EXPECT_TRUE(Ken->Visible());
    EXPECT_TRUE(Ken->AreaBox(7)->Checked() && Ken->AreaBox(8)->Checked());
    EXPECT_TRUE(Open->gate.DataReady && Open->gate.MapShown);

    // OK: the old map's work goes and the view settings start afresh.
    Open->ui.UDHor->SetPosition(100);
    Open->ui.CBScale->SetChecked(true);
    Settei->CheckBox13->SetChecked(true);
    Search->SearchHighlight = true;
    gui::testing::QueueAnswer(IDOK);
    Ken->Button1->Click();
    EXPECT_EQ(Selection(), (std::vector<int32_t>{7, 8}));
    EXPECT_EQ(Open->paint.paint_rep, 0);
    EXPECT_EQ(MapPaint->LblPaint->Caption(), "0");
    EXPECT_EQ(Letter->LabelCount, 0);
    EXPECT_FALSE(Open->paint.PaintDisplay);
    EXPECT_FALSE(Search->SearchHighlight);
    EXPECT_EQ(Open->ui.UDHor->Position(), 500);
    EXPECT_FALSE(Open->ui.CBScale->Checked());
    EXPECT_FALSE(Settei->CheckBox13->Checked());
    EXPECT_EQ(LineAdd->Label18->Caption(), "ファイル　なし");
    EXPECT_EQ(Settei->RadioGroup3->ItemIndex(), 0);

    // Nothing left to lose: the next choice asks nothing.
    gui::testing::Messages().clear();
    Tick({9});
    Ken->Button1->Click();
    EXPECT_TRUE(gui::testing::Messages().empty());
    EXPECT_EQ(Selection(), (std::vector<int32_t>{7, 8, 9}));
}

// The other windows that reload areas, on the real data.
class AreaReloads : public FormsTest {
protected:
    std::vector<int32_t> Selection() const { return {Open->doc.SelectCode, Open->doc.SelectCode + Open->doc.SELECT}; }
    void FillProgramFolder(const std::filesystem::path& dir) override { testsupport::CopyJapanData(dir, {"MAPDATA"}); }
    void PickRow(const std::string& name) {
        Search->CBSame->SetChecked(true);
        Search->Edit1->SetText(name);
        Search->Button1Click(Search);
        ASSERT_EQ(Search->StringGrid1->RowCount(), 1);
        Search->StringGrid1->SetRow(0);
        Search->StringGrid1Click(Search->StringGrid1);
    }
};

TEST_F(AreaReloads, TheSubPrefectureBordersAndASearchRowKeepTheWorkOrAskFirst) {
    Ken->AreaBox(13)->SetChecked(true);
    Ken->Button1->Click();
    MakeWork();
    gui::testing::Messages().clear();

    Open->ui.Button5->Click();
    Ken->AreaBox(12)->SetChecked(true);   // not confirmed
    Settei->CBHokkaido->Click();
    EXPECT_TRUE(gui::testing::Messages().empty());
    EXPECT_EQ(Selection(), (std::vector<int32_t>{13}));
    EXPECT_EQ(Open->paint.paint_rep, 1) << "ticking the borders reloads the same areas";
    EXPECT_EQ(Letter->LabelCount, 1);
    PickRow("江の島");
    EXPECT_TRUE(gui::testing::Messages().empty());
    EXPECT_EQ(Open->paint.paint_rep, 1) << "an island of the map's own area";
    EXPECT_EQ(Letter->LabelCount, 1);
    EXPECT_TRUE(Search->SearchHighlight);

    // An island elsewhere: asked first; a cancel leaves everything as it was.
    Search->SearchHighlight = false;
    const bool mountains = Settei->CBMountain->Checked();
    gui::testing::QueueAnswer(IDCANCEL);
    PickRow("久六島");
    ASSERT_EQ(gui::testing::Messages().size(), 1u);
    EXPECT_EQ(gui::testing::Messages()[0].text, kLoseWork);
    EXPECT_EQ(Open->doc.SELECT, 1);
    EXPECT_EQ(Open->doc.SelectCode[0], 13);
    EXPECT_TRUE(Ken->AreaBox(13)->Checked());
    EXPECT_FALSE(Ken->AreaBox(1)->Checked());
    EXPECT_EQ(Settei->CBMountain->Checked(), mountains);
    EXPECT_FALSE(Search->SearchHighlight);
    EXPECT_EQ(Open->paint.paint_rep, 1);

    // OK: once asked, the island's area is drawn with its highlight and without the old work.
    PickRow("久六島");
    EXPECT_EQ(gui::testing::Messages().size(), 2u);
    EXPECT_EQ(Open->doc.SelectCode[0], 1);
    EXPECT_TRUE(Search->SearchHighlight);
    EXPECT_EQ(Open->paint.paint_rep, 0);
    EXPECT_EQ(Letter->LabelCount, 0);
}

// The standard view, on areas of known shape.
class StandardView : public AreaChoice {
protected:
    void FillProgramFolder(const std::filesystem::path& dir) override {
        AreaChoice::FillProgramFolder(dir);
        // A tall area (1000 by 8000 map units) and a wide one (8000 by 1000),
        // around latitude 36.
        areafiles::WriteMap(dir, 1, areafiles::Square('C', 180000, 180000, 1000) + "C,2,2\n180000,180000,180000,188000\n");
        areafiles::WriteMap(dir, 2, areafiles::Square('C', 180000, 180000, 1000) + "C,2,2\n180000,180000,188000,180000\n");
    }
    void Load(int code, int copyScale = 1) {
        Open->COPYSCALE = copyScale;
        Open->doc.SELECT = 1;
        Open->doc.SelectCode[0] = code;
        Open->Button3Click(Open);
    }
    // Every data corner lies inside the image at magnification 1.
    void ExpectInside(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
        Open->WgsDisplay = false;
        const MapView view = Open->CurrentView();
        for (auto [x, y] : {std::pair{x0, y0}, {x1, y1}, {x0, y1}, {x1, y0}}) {
            int sx, sy;
            view.ToScreen(x, y, sx, sy);
            EXPECT_GT(sx, 0);
            EXPECT_LT(sx, Open->ImageSize - 1);
            EXPECT_GT(sy, 0);
            EXPECT_LT(sy, Open->ImageSize - 1);
        }
    }
};

TEST_F(StandardView, ATallAreaFitsItsHeight) {
    Load(1);
    // 8000 units high with 3 % (240) on each side.
    EXPECT_EQ(Open->MinY, 180000 - 240);
    EXPECT_EQ(Open->MaxY, 188000 + 240);
    EXPECT_EQ(Open->CX, (Open->MinX + Open->MaxX) / 2);
    EXPECT_EQ(Open->CY, 184000);
    const float aspect = float(DegreeLengthRatio(184000) * 2 * (1.0 / 3));
    EXPECT_FLOAT_EQ(Open->Aspect, aspect);
    EXPECT_EQ(Open->StdExtent, TruncToInt(float(8480) * aspect));
    EXPECT_EQ(Open->BaseSpan, Open->StdExtent);
    EXPECT_FLOAT_EQ(Open->scale, 600.0f / float(Open->StdExtent));
    EXPECT_FLOAT_EQ(Open->ScaleY, Open->scale * aspect);
    EXPECT_EQ(Open->ImageSize, 600);
    ExpectInside(180000, 180000, 181000, 188000);
}

TEST_F(StandardView, AWideAreaFitsItsWidthWhateverTheImageSize) {
    Load(2);
    EXPECT_EQ(Open->DataWidth, 8000 + 2 * 240);
    EXPECT_EQ(Open->StdExtent, Open->DataWidth);
    const float scale = Open->scale;
    EXPECT_FLOAT_EQ(scale, 600.0f / 8480);
    ExpectInside(180000, 180000, 188000, 181000);
    Load(2, 2);
    EXPECT_EQ(Open->ImageSize, 1200);
    EXPECT_EQ(Open->ui.Image1->Canvas()->Width(), 1200);
    EXPECT_FLOAT_EQ(Open->scale, scale);
}

TEST_F(StandardView, ARestoredProjectKeepsItsCentreAndScale) {
    Open->gate.ProjectLoading = true;
    Open->CX = 181000;
    Open->CY = 182000;
    Open->scale = 0.05f;
    Open->MAGSTEP = 3;
    Open->MAGUNIT = 0.5f;
    Load(2);
    EXPECT_EQ(Open->CX, 181000);
    EXPECT_EQ(Open->CY, 182000);
    EXPECT_FLOAT_EQ(Open->scale, 0.05f);
    EXPECT_EQ(Open->MinX, 181000 - 6000);
    EXPECT_EQ(Open->MaxY, 182000 + 6000);
    EXPECT_EQ(Open->ui.Label6->Caption(), "1.50");
}

} // namespace
