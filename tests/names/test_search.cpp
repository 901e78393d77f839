#include "engine/Uken.h"
#include "engine/Uopen.h"
#include "names/MainFormNames.h"
#include "engine/RenderJob.h"
#include "gui/Testing.h"
#include "names/Ucheck.h"
#include "names/Usearch.h"
#include "names/Uyomi.h"
#include "names/Uyomilist.h"
#include "navigation/Ukeisoku.h"
#include "navigation/Usettei.h"
#include "tests/engine/AreaFiles.h"
#include "tests/support/FormsFixture.h"
#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <QLineEdit>

namespace {

namespace fs = std::filesystem;
using gui::testing::Messages;

// The country's map data, without the symbols and railways the search never reads.
class JapanSearch : public FormsTest {
protected:
    void FillProgramFolder(const fs::path& dir) override { testsupport::CopyJapanData(dir, {"MAPDATA"}); }

    void Find(const std::string& typed) {
        Open->ui.ComboBox1->SetText(typed);
        ComboBox1Change(*Open, Open->ui.ComboBox1);
        Button9Click(*Open, Open->ui.Button9);
    }
    // Answers the choice window by clicking item k (or closing it, k < 0); counts its showings.
    int shown = 0;
    void ChooseItem(int k) {
        gui::testing::SetShowModalHandler([this, k](TForm*) {
            shown++;
            if (k >= 0) DataCheck->RadioGroup1->SetItemIndex(k);
            return mrNone;
        });
    }
    void LoadArea(int code) {
        Open->doc.SELECT = 1;
        Open->doc.SelectCode[0] = code;
        Open->Button3Click(Open);
        Open->gate.DataReady = true;
        Open->gate.MapShown = true;
        Open->DrawMap();
    }
};

} // namespace

TEST(KeRule, FiveNamesKeepTheLargeKeAndEveryOtherNameTakesTheSmallOne) {
    EXPECT_EQ(ApplyKeRule("金ヶ崎町"), "金ケ崎町");
    EXPECT_EQ(ApplyKeRule("金ケ崎町"), "金ケ崎町");
    EXPECT_EQ(ApplyKeRule("鎌ケ谷"), "鎌ヶ谷");
    EXPECT_EQ(ApplyKeRule("関ケ原町"), "関ヶ原町");
    EXPECT_EQ(ApplyKeRule("ヶケ"), "ヶケ");
    EXPECT_EQ(ApplyKeRule("大阪市"), "大阪市");
}

TEST_F(JapanSearch, SekigaharaIsFoundWhicheverKeIsTyped) {
    for (const char* typed : {"関ヶ原町", "関ケ原町"}) {
        Messages().clear();
        Find(typed);
        EXPECT_TRUE(Messages().empty()) << typed;
        EXPECT_EQ(Open->ui.EdName->Text(), "関ケ原町");
        EXPECT_EQ(Open->doc.SELECT, 1);
        EXPECT_EQ(Open->doc.SelectCode[0], 17);
        EXPECT_EQ(Open->CX, 144507);
        EXPECT_EQ(Open->CY, 170341);
        EXPECT_TRUE(Open->gate.DataReady);
        EXPECT_TRUE(Open->gate.MapShown);
        EXPECT_EQ(NameWidgetsOf(*Open).Label24->Caption(), "");
    }
    // Both spellings typed go into the history as typed.
    EXPECT_EQ(Open->ui.ComboBox1->Items()->Count(), 2);

    // The view with readings on, for people to look at.
    Open->ui.CBYomi->SetChecked(true);
    Yomi->Button2Click(Yomi);
    EXPECT_TRUE(Yomi->YomiShown);
    const fs::path png = fs::path(ROVANA_BINARY).parent_path() / "tests" / "search-sekigahara.png";
    EXPECT_TRUE(Open->ui.Image1->Picture()->Bitmap()->Image().save(QString::fromStdString(png.string())));
}

TEST_F(JapanSearch, ASearchAfterAllAreasShowsTheBordersAndTheNames) {
    // "すべて" in the area choice leaves the municipality borders off.
    Ken->Button4->Click();
    ASSERT_FALSE(Open->ui.CBTownBorder->Checked());
    Open->ui.CBPrefBorder->SetChecked(false);
    Find("関ケ原町");
    EXPECT_TRUE(Open->ui.CBPrefBorder->Checked() && Open->ui.CBTownBorder->Checked());
    EXPECT_TRUE(Open->ui.CBTownName->Checked()) << "the redraw kept the names";
    EXPECT_TRUE(Open->ui.N9->Enabled()) << "name positions can be edited";
}

TEST_F(JapanSearch, ACityListHitTakesItsAreaWithoutChoiceOrMapScan) {
    // A record of the same name in another map file must not be offered.
    std::ofstream(programDir / "MAPDATA" / "01.MAP", std::ios::binary | std::ios::app) << "A,1,1,"
                                                                                        << gui::Utf8ToCp932("仙台市") << "\r\n";
    ChooseItem(0);
    Find("仙台市");
    EXPECT_EQ(shown, 0);
    EXPECT_TRUE(SearchOf(*Open).SearchFound);
    EXPECT_EQ(SearchOf(*Open).SearchName, "仙台市");
    EXPECT_EQ(Open->doc.SelectCode[0], 3);
    EXPECT_TRUE(Settei->CBCityName->Checked());
    EXPECT_FALSE(Settei->CBKuName->Checked());
}

TEST_F(JapanSearch, AStoppedOrCancelledSearchKeepsMapSelectionAndRedraw) {
    LoadArea(13);
    const int32_t cx = Open->CX;
    auto unchanged = [&](const char* what) {
        EXPECT_EQ(Open->doc.SELECT, 1) << what;
        EXPECT_EQ(Open->doc.SelectCode[0], 13) << what;
        EXPECT_TRUE(Open->gate.DataReady) << what;
        EXPECT_EQ(Open->CX, cx) << what;
        EXPECT_EQ(Open->ui.ComboBox1->Items()->Count(), 0) << what;
    };
    Find("");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].caption, "検索データエラー");
    unchanged("empty");

    Find("存在しない町");
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[1].caption, "検索エラー");
    EXPECT_NE(Messages()[1].text.find("'存在しない町' を見つけることはできませんでした"), std::string::npos);
    unchanged("not found");

    // The choice window closed without a click ends the search.
    Open->ui.CBMenseki->SetChecked(true);
    Open->ui.CBTownPaint->SetChecked(true);
    Settei->CBCityName->SetChecked(true);
    ChooseItem(-1);
    Find("北区");
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(Keisoku->Visible());
    EXPECT_TRUE(Settei->CBCityName->Checked());
    unchanged("cancelled");
}

TEST_F(JapanSearch, ChoiceWindowLayoutsAndTheChosenPlace) {
    ChooseItem(5);
    Find("北区");
    ASSERT_EQ(shown, 1);
    ASSERT_EQ(SearchOf(*Open).CandidateCount, 12);
    const std::string labels = DataCheck->Label2->Caption();
    // Twelve wards: the line breaks after the fourth label.
    const size_t brk = labels.find('\n');
    ASSERT_NE(brk, std::string::npos);
    EXPECT_EQ(labels.substr(0, brk),
              SearchOf(*Open).CandidateLabel[0] + " " + SearchOf(*Open).CandidateLabel[1] + " " + SearchOf(*Open).CandidateLabel[2] + " " +
                  SearchOf(*Open).CandidateLabel[3]);
    EXPECT_EQ(DataCheck->RadioGroup1->Count(), 12);
    EXPECT_EQ(DataCheck->RadioGroup1->ItemIndex(), -1);
    EXPECT_EQ(Open->doc.SelectCode[0], SearchOf(*Open).CandidatePref[5]);
    EXPECT_EQ(Open->CX, SearchOf(*Open).CandidateX[5]);
    EXPECT_EQ(Open->CY, SearchOf(*Open).CandidateY[5]);
    EXPECT_EQ(NameWidgetsOf(*Open).Label24->Caption(), "") << "a duplicated ward shows no mark";

    // Four current and two old towns: every record counts, two columns.
    shown = 0;
    ChooseItem(0);
    Find("池田町");
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(SearchOf(*Open).CandidateCount, 6);
    EXPECT_NE(DataCheck->Label2->Caption().find('\n'), std::string::npos);

    // Exactly four: no line break.
    for (int code : {3, 5, 7, 9})
        std::ofstream(programDir / "MAPDATA" / gui::Format("%02d.MAP", code), std::ios::binary | std::ios::app)
            << "A,1,1," << gui::Utf8ToCp932("試験町") << "\r\n";
    ChooseItem(3);
    Find("試験町");
    EXPECT_EQ(SearchOf(*Open).CandidateCount, 4);
    EXPECT_EQ(DataCheck->Label2->Caption().find('\n'), std::string::npos);
    EXPECT_EQ(Open->doc.SelectCode[0], 9);
}

TEST_F(JapanSearch, NewAndOldMarksDescribeTheChosenRecordOnly) {
    ChooseItem(0);
    Find("関市");   // a new name in 17.MAP, also an old one; the first record is new
    EXPECT_EQ(NameWidgetsOf(*Open).Label24->Caption(), "新名称");
    EXPECT_FALSE(Open->ui.CBOldTown->Checked());
    // A later city-list hit must not carry the earlier mark.
    Find("仙台市");
    EXPECT_EQ(NameWidgetsOf(*Open).Label24->Caption(), "");
    EXPECT_FALSE(SearchOf(*Open).FoundAsNew);
    EXPECT_FALSE(SearchOf(*Open).FoundAsOld);
}

TEST_F(JapanSearch, MagnificationFollowsTheAreaSpan) {
    Open->ui.CBMenseki->SetChecked(true);
    struct Case { const char* name; float unit; };
    // Area 12 spans 93 km, area 46 890 km: wide areas get coarser units.
    for (Case c : {Case{"八王子市", 0.2f}, Case{"那覇市", 1.0f}}) {
        ChooseItem(0);
        Find(c.name);
        EXPECT_FLOAT_EQ(Open->MAGUNIT, c.unit) << c.name;
        EXPECT_GE(Open->MAGSTEP * Open->MAGUNIT, 3.0f) << c.name;
        EXPECT_EQ(Open->ui.UpDown1->Position(), Open->MAGSTEP);
        EXPECT_EQ(Open->ui.Label6->Caption(), gui::Format("%4.2f", Open->MAGSTEP * Open->MAGUNIT));
    }
    // Without the area box Okinawa zooms twice as far as the rule for other areas.
    Open->ui.CBMenseki->SetChecked(false);
    Find("那覇市");
    const int okinawa = Open->MAGSTEP;
    const float scale = Open->scale;
    EXPECT_GE(okinawa, 2);
    EXPECT_LE(std::abs(okinawa * scale - 0.1f), scale) << "about 0.1 / scale";
}

// The searched area is filled and counted on whatever picture its layer
// draws, never on the screen's: the same stack drawn onto a bitmap of its own
// fills the bitmap as the screen was filled and gives the same figures.
TEST_F(JapanSearch, TheSearchedAreaIsCountedOnThePictureItsLayerDraws) {
    Open->ui.CBMenseki->SetChecked(true);
    Open->ui.CBTownPaint->SetChecked(true);
    ChooseItem(0);
    Find("八王子市");
    const std::string area = Open->ui.Label31->Caption(), perimeter = Open->ui.Label15->Caption();
    ASSERT_NE(area.find("km"), std::string::npos);
    const QImage screen = Open->ui.Image1->Canvas()->Image().copy();
    auto filled = [](TCanvas& cv) {
        int n = 0;
        for (int y = 0; y < cv.Image().height(); ++y)
            for (int x = 0; x < cv.Image().width(); ++x) n += cv.Pixels(x, y) == Open->style.TownPaintColor;
        return n;
    };
    const int onScreen = filled(*Open->ui.Image1->Canvas());
    ASSERT_GT(onScreen, 1000);

    const DrawSettings settings = Open->ReadDrawSettings();
    ASSERT_TRUE(settings.Menseki);
    TBitmap picture(Open->DrawnView.size, Open->DrawnView.size);
    RenderMap(*picture.Canvas(), {Open->DrawnView, settings, &Open->hooks.Layers});
    EXPECT_EQ(Open->ui.Image1->Canvas()->Image(), screen) << "the screen's map was drawn on";
    EXPECT_EQ(filled(*picture.Canvas()), onScreen);
    Open->ui.Label31->SetCaption("");
    Open->AfterRedraw(settings);
    EXPECT_EQ(Open->ui.Label31->Caption(), area);
    EXPECT_EQ(Open->ui.Label15->Caption(), perimeter);
}

TEST_F(JapanSearch, SavingOneReadingChangesOnlyItsRecord) {
    const fs::path yomi = programDir / "MAPDATA" / "yomi.lst";
    const std::string before = testsupport::ReadBytes(yomi);
    LoadArea(17);
    Yomi->Button3->Click();
    // By kind: the new 岐阜市 and 大垣市 come before their old names, which share their readings.
    YomiList->Button2->Click();
    TStringGrid* g = YomiList->StringGrid1;
    int r = 0;
    while (r < g->RowCount() && g->Cells(3, r) != "関ケ原町") ++r;
    ASSERT_LT(r, g->RowCount());
    g->UserEdit(4, r, "せきがはら");
    YomiList->Button1->Click();
    const std::string after = testsupport::ReadBytes(yomi);
    const std::string was = gui::Utf8ToCp932("144507,170341,関ケ原町,せきがはらちょう\r\n");
    const std::string now = gui::Utf8ToCp932("144507,170341,関ケ原町,せきがはら\r\n");
    ASSERT_NE(before.find(was), std::string::npos);
    std::string expected = before;
    expected.replace(before.find(was), was.size(), now);
    EXPECT_TRUE(after == expected) << "other records changed";
}

TEST_F(JapanSearch, MountainsByReadingIslandsByNameAndTheRowClick) {
    Search->Edit1->SetText("いわきさん");
    Search->Button1Click(Search);
    ASSERT_GE(Search->StringGrid1->RowCount(), 1);
    EXPECT_EQ(Search->StringGrid1->Cells(1, 0), "岩木山");
    EXPECT_EQ(Search->StringGrid1->Cells(0, 0), Open->doc.AreaName[1]);
    EXPECT_EQ(Search->Label3->Caption(), std::to_string(Search->StringGrid1->RowCount()) + " 個みつかりました");

    Search->CBSame->SetChecked(true);
    Search->Edit1->SetText("久六島");
    Search->Button1Click(Search);
    ASSERT_EQ(Search->StringGrid1->RowCount(), 1);
    EXPECT_EQ(Search->StringGrid1->Cells(2, 0), "");

    // An island row draws its area with the island layer on.
    Settei->CBMountain->SetChecked(true);
    Search->StringGrid1->SetRow(0);
    Search->StringGrid1Click(Search->StringGrid1);
    EXPECT_TRUE(Settei->CBIslands->Checked());
    EXPECT_FALSE(Settei->CBMountain->Checked());
    EXPECT_TRUE(Search->SearchHighlight);
    EXPECT_EQ(Search->SearchFoundName, "久六島");
    EXPECT_EQ(Open->doc.SELECT, 1);
    EXPECT_EQ(Open->doc.SelectCode[0], 1);

    // Nothing found: the count line says so and a click on the empty row does nothing.
    Search->Edit1->SetText("ありえない山");
    Search->Button1Click(Search);
    EXPECT_EQ(Search->Label3->Caption(), "該当するものはありません");
    Open->doc.SelectCode[0] = 13;
    Search->StringGrid1->SetRow(0);
    Search->StringGrid1Click(Search->StringGrid1);
    EXPECT_EQ(Open->doc.SelectCode[0], 13);
}

// ---- history, on the small program folder ----

namespace {

class History : public FormsTest {
protected:
    void Fill(int n) {
        TStrings* items = Open->ui.ComboBox1->Items();
        items->Clear();
        for (int i = 0; i < n; ++i) items->Add("名" + std::to_string(i));
    }
    std::vector<std::string> Items() {
        std::vector<std::string> v;
        for (int i = 0; i < Open->ui.ComboBox1->Items()->Count(); ++i) v.push_back(Open->ui.ComboBox1->Items()->Strings(i));
        return v;
    }
};

} // namespace

TEST_F(History, TimeOrderKeepsFiftyNewestAndTwelveAreCompared) {
    Fill(50);
    UpdateSearchHistory(*Open, "新しい町");
    auto v = Items();
    ASSERT_EQ(v.size(), 50u);
    EXPECT_EQ(v[0], "新しい町");
    EXPECT_EQ(v[1], "名0");
    EXPECT_EQ(v[49], "名48") << "the oldest is dropped";

    // Among the 12 newest: unchanged. The 13th newest: a second copy on top.
    UpdateSearchHistory(*Open, "名10");
    EXPECT_EQ(Items(), v);
    UpdateSearchHistory(*Open, "名11");
    v = Items();
    EXPECT_EQ(v[0], "名11");
    EXPECT_EQ(std::count(v.begin(), v.end(), "名11"), 2);
}

TEST_F(History, CodeOrderReplacesTheLastAndDeletingRewritesSorted) {
    Open->ui.NKanji->Click();
    EXPECT_EQ(Open->TimeOrder, 0);
    Fill(50);
    UpdateSearchHistory(*Open, "あ");
    auto v = Items();
    ASSERT_EQ(v.size(), 50u);
    EXPECT_NE(std::find(v.begin(), v.end(), "あ"), v.end());
    EXPECT_TRUE(std::is_sorted(v.begin(), v.end(),
                               [](const std::string& a, const std::string& b) { return gui::Cp932CompareText(a, b) < 0; }));

    // Deleting one name keeps the rest sorted, without repeats, in the file too.
    Open->ui.ComboBox1->Items()->Clear();
    for (const char* s : {"丙", "甲", "乙", "甲"}) Open->ui.ComboBox1->Items()->Add(s);
    EXPECT_EQ(Items(), (std::vector<std::string>{"乙", "甲", "甲", "丙"})) << "the drop-down is sorted";
    Open->ui.ComboBox1->SetItemIndex(1);
    N7Click(*Open, NameWidgetsOf(*Open).N7);
    EXPECT_EQ(Items(), (std::vector<std::string>{"乙", "甲", "丙"}));
    EXPECT_EQ(testsupport::ReadBytes(programDir / "MAPDATA" / "townlist.lst"),
              gui::Utf8ToCp932("乙\r\n甲\r\n丙\r\n"));

    // A name typed over the one chosen before is the one deleted.
    Open->ui.ComboBox1->SetItemIndex(0);
    Open->ui.ComboBox1->lineEdit()->setText(QString::fromStdString("丙"));
    Messages().clear();
    N7Click(*Open, NameWidgetsOf(*Open).N7);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text, "丙 を検索履歴から削除しますか？     ");
    EXPECT_EQ(Items(), (std::vector<std::string>{"乙", "甲"}));

    // A name that is not in the list, or none at all: nothing asked.
    Messages().clear();
    Open->ui.ComboBox1->SetItemIndex(0);
    Open->ui.ComboBox1->lineEdit()->setText(QString::fromStdString("丁"));
    N7Click(*Open, NameWidgetsOf(*Open).N7);
    Open->ui.ComboBox1->SetItemIndex(-1);
    Open->ui.ComboBox1->lineEdit()->clear();
    N7Click(*Open, NameWidgetsOf(*Open).N7);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Items().size(), 2u);

    // Clearing all asks first; Cancel keeps them.
    gui::testing::QueueAnswer(IDCANCEL);
    N8Click(*Open, NameWidgetsOf(*Open).N8);
    EXPECT_EQ(Items().size(), 2u);
    N8Click(*Open, NameWidgetsOf(*Open).N8);
    EXPECT_TRUE(Items().empty());
}
