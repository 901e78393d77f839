// The statistics window as the user works it: typed counts and breaks, the
// keys, the number format, the scheme's midpoint, the join's hard rows, rates,
// levels, fixed classes and the classified table, on the real data set.
#include "engine/Uopen.h"
#include "paint/MainFormPaint.h"
#include "gui/Testing.h"
#include "gui/TextFile.h"
#include "paint/Uhanrei.h"
#include "paint/Upaint.h"
#include "paint/StatLayer.h"
#include "paint/Ustatmap.h"
#include "tests/paint/LabelNumbers.h"
#include "tests/support/FormsFixture.h"
#include "tests/support/RealAreas.h"
#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>

namespace {

using gui::testing::Messages;
using gui::testing::QueueFileName;
using testsupport::ChooseAreas;
using testsupport::TypeInto;

void ChooseItem(TComboBox* box, int index) {
    box->SetItemIndex(index);
    box->OnChange(box);
}

// A screen reader's press: no focus moves, no typing ends.
void ReaderPress(QWidget* w) {
    QAccessible::queryAccessibleInterface(w)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    // A button pressed this way clicks a moment later.
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 250) QApplication::processEvents(QEventLoop::AllEvents, 50);
}

void Key(QWidget* w, int key) {
    QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier, key == Qt::Key_Return ? "\r" : key == Qt::Key_Tab ? "\t" : "");
    QApplication::sendEvent(w, &e);
}


} // namespace

class StatWindow : public JapanFormsTest {
protected:
    std::string File(const std::string& name) { return (programDir / name).string(); }
    std::string Sample() { return (programDir / "サンプル" / "住民基本台帳人口_2021.csv").string(); }
    void Write(const std::string& name, const std::string& utf8) {
        std::ofstream(File(name), std::ios::binary) << gui::Utf8ToCp932(utf8);
    }
    void OpenTable(const std::string& path) {
        QueueFileName(path);
        StatMap->BtnOpen->Click();
    }
    void Start(const std::vector<int>& areas, int valueItem = 6) {
        ChooseAreas(areas);
        PaintControlsOf(*Open).menuStatMap->Click();
        OpenTable(Sample());
        ChooseItem(StatMap->CBValue, valueItem);
    }
    double ValueOf(const std::string& code) {
        return StatMap->Join.unitValue[size_t(StatMap->Units.byCode.at(code))];
    }
    // The legend's rows: the classes, and データなし only when some unit has no value.
    int LegendRows(int classes) {
        const auto& v = StatMap->Join.unitValue;
        return classes + (std::any_of(v.begin(), v.end(), [](double x) { return std::isnan(x); }) ? 1 : 0);
    }
    // Every unit's fill on the map is one of the legend's rows.
    void ExpectFillsFromLegend() {
        std::set<std::pair<TColor, int>> rows;
        for (int k = 0; k < Hanrei->LegendCount; ++k) rows.insert({Hanrei->LegendColors[k], Hanrei->LegendPatterns[k]});
        const StatMapBlock& b = StatLayerOnMap->Shown();
        ASSERT_TRUE(b.on);
        const auto looks = b.Slots();
        for (const auto& [code, v] : b.values) {
            const StatSlot& s = looks[std::isnan(v) ? looks.size() - 1 : size_t(StatClassOf(v, b.breaks))];
            ASSERT_TRUE(rows.count({s.colour, int(s.pattern)})) << "unit " << code;
        }
    }
};

TEST_F(StatWindow, TheClassCountAndTheBreaksAreTakenTogetherOrRefusedWithAMessage) {
    Start({13});
    ASSERT_EQ(StatMap->ClassCount(), 5);
    // A count typed and not confirmed, then 適用 pressed by a screen reader.
    TypeInto(StatMap->EdCount, "2", false);
    ReaderPress(StatMap->BtnApply);
    EXPECT_EQ(StatMap->ClassCount(), 2);
    EXPECT_EQ(StatMap->Breaks.size(), 1u);
    EXPECT_EQ(Hanrei->LegendCount, LegendRows(2));
    ExpectFillsFromLegend();

    // Out of range: said so, the count in force shown again, nothing applied by the Enter.
    const StatMapBlock applied = StatLayerOnMap->Shown();
    Messages().clear();
    TypeInto(StatMap->EdCount, "9");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].text.find("2 から 7"), std::string::npos);
    EXPECT_EQ(StatMap->EdCount->Text(), "2");
    EXPECT_EQ(StatMap->ClassCount(), 2);
    EXPECT_EQ(StatLayerOnMap->Shown(), applied);

    // Breaks typed as the legend prints them, for 4 classes.
    StatMap->RGMethod->SetItemIndex(4);
    TypeInto(StatMap->EdCount, "4", false);
    TypeInto(StatMap->EdManual, "5,000, 10,000, 50,000", false);
    ReaderPress(StatMap->BtnApply);
    EXPECT_EQ(StatMap->Breaks, (std::vector<double>{5000, 10000, 50000}));
    EXPECT_EQ(Hanrei->LegendTexts[1], "5,000 ～ 9,999");
    ExpectFillsFromLegend();
    // Too few, descending, equal: refused, the classes in force stay.
    for (const char* typed : {"5,000, 10,000", "50,000, 10,000, 5,000", "5000, 5000, 9000", "60,000, 10,000, 50,000, 90,000"}) {
        Messages().clear();
        TypeInto(StatMap->EdManual, typed, false);
        ReaderPress(StatMap->BtnApply);
        EXPECT_EQ(Messages().size(), 1u) << typed;
        EXPECT_EQ(StatMap->Breaks, (std::vector<double>{5000, 10000, 50000})) << typed;
        EXPECT_EQ(Hanrei->LegendTexts[1], "5,000 ～ 9,999") << typed;
    }
    // A break far past the data (and the values' bound) has no marker and no cast.
    TypeInto(StatMap->EdManual, "10,000, 100,000, 900,000,000,000,000", false);
    ASSERT_TRUE(StatMap->CommitClasses(true));
    TCanvas* hist = StatMap->ImgHist->Canvas();
    int red = 0;
    for (int x = 0; x < hist->Width(); ++x) red += hist->Pixels(x, 40) == clRed;
    EXPECT_EQ(red, 2);

    // Enter applies from any box; Tab leaves the preview grid.
    StatMap->RGMethod->SetItemIndex(2);
    StatMap->BtnUndo->Click();
    ASSERT_FALSE(StatLayerOnMap->Shown().on);
    testsupport::FocusAsUser(StatMap->EdUnit);
    Key(StatMap->EdUnit, Qt::Key_Return);
    EXPECT_TRUE(StatLayerOnMap->Shown().on);
    testsupport::FocusAsUser(StatMap->Grid1);
    Key(StatMap->Grid1, Qt::Key_Tab);
    EXPECT_FALSE(StatMap->Grid1->hasFocus());
    // The boxes are read by their captions (a reader reads a list box's choice as
    // its name, and its caption from the label it is labelled by).
    for (auto [w, name] : {std::pair<QWidget*, const char*>{StatMap->CBValue, "値の列"}, {StatMap->CBScheme, "配色"},
                           {StatMap->CBDivisor, "割る列"}, {StatMap->CBCandidate, "候補"}}) {
        const auto by = QAccessible::queryAccessibleInterface(w)->relations(QAccessible::Label);
        ASSERT_EQ(by.size(), 1u) << name;
        EXPECT_EQ(by[0].first->text(QAccessible::Name).toStdString(), name);
    }
}

TEST_F(StatWindow, ClassesOfTheDataDecimalsThatShowEveryValueAndAMidpointForTwoSidedSchemes) {
    // 関東, 人口, standard deviation: no class below the data, none reversed.
    Start({7, 8, 9, 10, 11, 12, 13});
    StatMap->RGMethod->SetItemIndex(3);
    StatMap->BtnApply->Click();
    const double min = *std::min_element(StatMap->Join.values.begin(), StatMap->Join.values.end());
    EXPECT_GT(StatMap->Breaks[0], min);
    for (int k = 0; k < 5; ++k) {
        const auto n = LabelNumbers(Hanrei->LegendTexts[k]);
        ASSERT_EQ(n.size(), 2u) << Hanrei->LegendTexts[k];
        EXPECT_LE(n[0], n[1]) << Hanrei->LegendTexts[k];
        EXPECT_GE(n[0], 0) << Hanrei->LegendTexts[k];
    }

    // 増減率（％）: two decimals, every value inside the label of its class.
    ChooseItem(StatMap->CBValue, 10);
    StatMap->RGMethod->SetItemIndex(2);
    EXPECT_EQ(StatMap->UDDecimals->Position(), 2);
    const auto labels = StatMap->ClassLabels();
    for (double v : StatMap->Join.values) {
        const auto n = LabelNumbers(labels[size_t(StatClassOf(v, StatMap->Breaks))]);
        ASSERT_EQ(n.size(), 2u);
        EXPECT_TRUE(n[0] <= v && v <= n[1]) << v << " in " << labels[size_t(StatClassOf(v, StatMap->Breaks))];
    }
    // Fewer decimals by hand: a class holding a value past its end says 未満.
    StatMap->UDDecimals->UserClick(btPrev);
    StatMap->UDDecimals->UserClick(btPrev);
    ASSERT_EQ(StatMap->UDDecimals->Position(), 0);
    const auto coarse = StatMap->ClassLabels();
    bool below = false;
    for (double v : StatMap->Join.values) {
        const std::string& l = coarse[size_t(StatClassOf(v, StatMap->Breaks))];
        const auto n = LabelNumbers(l);
        const bool open = l.find("未満") != std::string::npos;
        below |= open;
        EXPECT_TRUE(n[0] <= v && (open ? v < n[1] : v <= n[1])) << v << " hidden in " << l;
    }
    EXPECT_TRUE(below);

    // The rates span 0: the midpoint is 0 and a two-sided scheme turns there.
    EXPECT_EQ(StatMap->EdMidpoint->Text(), "0");
    ChooseItem(StatMap->CBScheme, 8);   // 赤－青（二極）
    StatMap->BtnApply->Click();
    const auto fills = StatMap->ClassSlots();
    const int at = StatClassOf(0, StatMap->Breaks);
    const bool onBreak = at > 0 && StatMap->Breaks[size_t(at) - 1] == 0;
    if (!onBreak) {
        EXPECT_EQ(fills[size_t(at)].colour, TColor(0xF7F7F7));
    }
    for (int k = 0; k < StatMap->ClassCount(); ++k) {
        EXPECT_EQ(Hanrei->LegendColors[k], fills[size_t(k)].colour);
        // Below the midpoint the red half, above it the blue half.
        const TColor c = fills[size_t(k)].colour;
        const int r = int(c & 0xFF), b = int((c >> 16) & 0xFF);
        if (k < at || (onBreak && k == at - 1)) {
            EXPECT_GT(r, b) << k;
        }
        if (k > at || (onBreak && k == at)) {
            EXPECT_GT(b, r) << k;
        }
    }
}

TEST_F(StatWindow, HardRowsOfTheJoinAreReportedAndChosenByTheUser) {
    // Wards with no value stay without data; a city whose wards have no row fills them.
    Write("wards.csv", "コード,市区町村名,値\n"
                       "141003,横浜市,100\n141011,横浜市鶴見区,x\n141020,横浜市神奈川区,-\n141038,横浜市西区,\n"
                       "141305,川崎市,200\n"
                       ",総数,300\n,計,300\n"
                       "131016,千代田区,1\n131024,中央区,2\n011002,札幌市,3\n");
    ChooseAreas({13});
    PaintControlsOf(*Open).menuStatMap->Click();
    OpenTable(File("wards.csv"));
    ASSERT_EQ(StatMap->CBValue->ItemIndex(), 3);
    for (int i = 0; i < int(StatMap->Units.units.size()); ++i) {
        const StatUnit& u = StatMap->Units.units[size_t(i)];
        const double v = StatMap->Join.unitValue[size_t(i)];
        if (u.city == "横浜市") {
            EXPECT_TRUE(std::isnan(v)) << u.name;
        }
        if (u.city == "川崎市") {
            EXPECT_EQ(v, 200) << u.name;
        }
    }
    std::vector<std::string> report;
    for (int i = 0; i < StatMap->LBReport->Items()->Count(); ++i) report.push_back(StatMap->LBReport->Items()->Strings(i));
    const auto has = [&](const std::string& s) {
        return std::count_if(report.begin(), report.end(), [&](const std::string& l) { return l.find(s) != std::string::npos; });
    };
    EXPECT_EQ(has("総数,合計・都道府県・郡などの集計行"), 1);
    EXPECT_EQ(has(",計,合計・都道府県・郡などの集計行"), 1);
    // 東京 and 北海道 are not on the map: a line each, with the number of rows.
    EXPECT_EQ(has("東京都（2 行）,地図にない都道府県の行"), 1);
    EXPECT_EQ(has("北海道（1 行）,地図にない都道府県の行"), 1);
    EXPECT_EQ(report.size(), 1u + 3 + 2 + 2);   // heading, three wards without value, two totals, two prefectures

    // 泊村 is two villages of 北海道: the report names both and the user picks one.
    Write("tomari.csv", "都道府県,市区町村名,値\n北海道,泊村,5\n北海道,ﾆｾｺ町,7\n");
    ChooseAreas({47, 52});
    OpenTable(File("tomari.csv"));
    EXPECT_EQ(StatMap->Join.joined, 1);   // ニセコ町 from its half-width name
    int line = -1;
    for (int i = 0; i < StatMap->LBReport->Items()->Count(); ++i)
        if (StatMap->LBReport->Items()->Strings(i).find("候補が複数あります：泊村 014036／泊村 016969") != std::string::npos)
            line = i;
    ASSERT_GE(line, 0);
    EXPECT_FALSE(StatMap->CBCandidate->Enabled());
    StatMap->LBReport->SetItemIndex(line);
    StatMap->LBReport->OnClick(StatMap->LBReport);
    ASSERT_TRUE(StatMap->CBCandidate->Enabled());
    ASSERT_EQ(StatMap->CBCandidate->Items()->Count(), 3);
    EXPECT_NE(StatMap->CBCandidate->Items()->Strings(2).find("北方四島"), std::string::npos);
    ChooseItem(StatMap->CBCandidate, 2);
    EXPECT_EQ(StatMap->Join.joined, 2);
    EXPECT_EQ(ValueOf("016969"), 5);
    EXPECT_TRUE(std::isnan(ValueOf("014036")));

    // Title rows above the headings; the same table opened again keeps the choices; 再読込 too.
    Write("estat.csv", "人口の表（令和3年）\n単位：人\n\n団体コード,市区町村名,人口,世帯数\n014036,泊村,1000,500\n"
                       "014044,神恵内村,800,400\n");
    OpenTable(File("estat.csv"));
    EXPECT_EQ(StatMap->UDHeading->Position(), 3);   // the empty line is no row
    EXPECT_EQ(StatMap->Join.joined, 2);
    ChooseItem(StatMap->CBValue, 4);   // 世帯数
    StatMap->RGLevel->SetItemIndex(1);
    Write("estat.csv", "人口の表（令和3年）\n単位：人\n\n団体コード,市区町村名,人口,世帯数\n014036,泊村,1000,600\n");
    StatMap->BtnReload->Click();
    EXPECT_EQ(StatMap->CBValue->ItemIndex(), 4);
    EXPECT_EQ(StatMap->RGLevel->ItemIndex(), 1);
    EXPECT_EQ(ValueOf("014036"), 600);
}

TEST_F(StatWindow, DensitiesLevelsFixedClassesAndTheClassifiedTable) {
    Start({13});
    StatMap->EdUnit->SetText("人");
    // Per km²: the area of Codes/Area.csv, the unit in the legend's title.
    StatMap->RGDivide->SetItemIndex(2);
    EXPECT_EQ(StatMap->EdUnit->Text(), "人/km²");
    StatMap->BtnApply->Click();
    EXPECT_EQ(Hanrei->LegendTitle, "人口（人/km²）");
    const StatUnit& tsurumi = StatMap->Units.units[size_t(StatMap->Units.byCode.at("141011"))];
    EXPECT_GT(tsurumi.km2, 30);
    EXPECT_NEAR(ValueOf("141011") * tsurumi.km2, 295603, 1);   // 鶴見区's population in the sample
    // A rate of two columns: people per household.
    StatMap->RGDivide->SetItemIndex(1);
    ChooseItem(StatMap->CBDivisor, 7);   // 世帯数
    EXPECT_EQ(StatMap->EdUnit->Text(), "人");
    EXPECT_GT(ValueOf("141011"), 1.5);
    EXPECT_LT(ValueOf("141011"), 3);
    EXPECT_GE(StatMap->UDDecimals->Position(), 1);
    StatMap->RGDivide->SetItemIndex(0);

    // 政令市 as one: every ward of 横浜市 the city's own value, counted once.
    StatMap->RGLevel->SetItemIndex(1);
    for (const StatUnit& u : StatMap->Units.units)
        if (u.city == "横浜市") {
            EXPECT_EQ(StatMap->Join.unitValue[size_t(&u - &StatMap->Units.units[0])], 3759939) << u.name;
        }
    EXPECT_EQ(std::count(StatMap->Join.values.begin(), StatMap->Join.values.end(), 3759939.0), 1);
    // 都道府県: the prefecture's row colours every municipality.
    StatMap->RGLevel->SetItemIndex(2);
    EXPECT_EQ(StatMap->Join.joined, 1);
    for (double v : StatMap->Join.unitValue) EXPECT_EQ(v, 9220245);
    StatMap->RGLevel->SetItemIndex(0);

    // 分類を固定: the next column is put into the same classes.
    StatMap->BtnApply->Click();
    const auto breaks = StatMap->Breaks;
    const TColor first = Hanrei->LegendColors[0];
    StatMap->CBFixClasses->SetChecked(true);
    EXPECT_FALSE(StatMap->RGMethod->isEnabled());
    ChooseItem(StatMap->CBValue, 7);   // 世帯数
    StatMap->BtnApply->Click();
    EXPECT_EQ(StatMap->Breaks, breaks);
    EXPECT_EQ(Hanrei->LegendColors[0], first);
    EXPECT_EQ(Hanrei->LegendCount, LegendRows(5));

    // The classified table: one line per unit, as the legend colours it.
    QueueFileName(File("classes.csv"));
    StatMap->BtnSaveClasses->Click();
    gui::TextReader r(File("classes.csv"));
    std::string line;
    ASSERT_TRUE(r.ReadLine(line));
    EXPECT_EQ(line, "コード,名称,値,階級,色");
    int n = 0;
    while (r.ReadLine(line)) {
        ++n;
        if (line.rfind("141011,", 0) == 0) {
            const double v = ValueOf("141011");
            const int k = StatClassOf(v, breaks);
            EXPECT_EQ(line, gui::Format("141011,横浜市鶴見区,%.16g,%d,0x%08x", v, k + 1, unsigned(Hanrei->LegendColors[k])));
        }
    }
    EXPECT_EQ(n, int(StatMap->Units.units.size()));
    // A folder that is not there: said so, nothing written.
    Messages().clear();
    EXPECT_FALSE(StatMap->SaveClassTable(File("no/such/classes.csv")));
    EXPECT_EQ(Messages().size(), 1u);
}

// A seeded round of counts typed as anything, confirmed or not, then applied:
// the count in force and its breaks, legend and fills always go together.
TEST_F(StatWindow, TypedClassCountsNeverPartTheCountFromItsBreaks) {
    Start({13});
    std::mt19937 rng(401);
    const char* const typed[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "12", "-3", "", "abc", "３", "2.5", "1e1", " 4 "};
    for (int round = 0; round < 40; ++round) {
        const std::string t = typed[rng() % 17];
        Messages().clear();
        TypeInto(StatMap->EdCount, t, rng() % 2);
        if (rng() % 3) StatMap->BtnApply->Click();
        const int n = StatMap->ClassCount();
        ASSERT_TRUE(n >= 2 && n <= 7) << t;
        ASSERT_EQ(int(StatMap->Breaks.size()), n - 1) << t;
        if (StatMap->BtnUndo->Enabled()) {
            ASSERT_EQ(Hanrei->LegendCount, LegendRows(n)) << t;
            ExpectFillsFromLegend();
        }
    }
    RecordProperty("inputs", 40);
}

// A workbook as it comes: its sheets in a list, the table on the chosen one joined
// as its CSV would be; a damaged workbook or an old .xls refused with the map as it was.
TEST_F(StatWindow, AWorkbookIsReadSheetBySheetAndADamagedOneLeavesTheMapAsItWas) {
    ChooseAreas({31});
    PaintControlsOf(*Open).menuStatMap->Click();
    std::filesystem::copy_file(testsupport::TestDataDir("tables") / "population.xlsx", File("p.xlsx"));
    OpenTable(File("p.xlsx"));
    ASSERT_EQ(StatMap->CBSheet->Items()->Count(), 2);
    EXPECT_EQ(StatMap->CBSheet->ItemIndex(), 0);
    EXPECT_TRUE(StatMap->CBSheet->Enabled());
    EXPECT_EQ(StatMap->Join.joined, 0);
    ChooseItem(StatMap->CBSheet, 1);
    EXPECT_EQ(StatMap->UDHeading->Position(), 2);   // below the merged title
    EXPECT_EQ(StatMap->LblJoin->Caption(), "結合 5 / 6 行");
    EXPECT_EQ(ValueOf("342025"), 214592);
    ChooseItem(StatMap->CBValue, 6);                // the formula's results
    EXPECT_NEAR(ValueOf("342076"), 466136.0 / 213766, 1e-12);
    StatMap->BtnApply->Click();
    const StatMapBlock applied = StatLayerOnMap->Shown();
    ASSERT_TRUE(applied.on);
    EXPECT_EQ(applied.sheet, 1);
    const QImage shown = Open->ui.Image1->Picture()->Bitmap()->Image().copy();

    const std::string whole = testsupport::ReadBytes(File("p.xlsx"));
    std::ofstream(File("cut.xlsx"), std::ios::binary) << whole.substr(0, whole.size() - 200);
    std::ofstream(File("old.xls"), std::ios::binary) << std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    for (const char* f : {"cut.xlsx", "old.xls"}) {
        Messages().clear();
        OpenTable(File(f));
        ASSERT_EQ(Messages().size(), 1u) << f;
        EXPECT_EQ(Messages()[0].caption, "統計地図");
        EXPECT_NE(Messages()[0].text.find(std::string(f) == "cut.xlsx" ? "壊れている" : ".xlsx か CSV"), std::string::npos)
            << Messages()[0].text;
        EXPECT_EQ(StatMap->TablePath, File("p.xlsx"));
        EXPECT_EQ(StatMap->CBSheet->ItemIndex(), 1);
        EXPECT_TRUE(StatLayerOnMap->Shown() == applied);
        EXPECT_TRUE(Open->ui.Image1->Picture()->Bitmap()->Image() == shown);
    }
    // The project keeps the sheet: opened again, the table is read from it.
    QueueFileName(File("w.rvx"));
    Open->Button1Click(Open);
    ChooseItem(StatMap->CBSheet, 0);
    QueueFileName(File("w.rvx"));
    Open->Button10Click(Open);
    EXPECT_EQ(StatMap->CBSheet->ItemIndex(), 1);
    EXPECT_EQ(StatMap->Join.joined, 5);
    EXPECT_TRUE(StatLayerOnMap->Shown() == applied);
    // The workbook gone, the project's sheet stays with its values: saved again, the same bytes.
    const std::string project = testsupport::ReadBytes(File("w.rvx"));
    std::filesystem::remove(File("p.xlsx"));
    QueueFileName(File("w.rvx"));
    Open->Button10Click(Open);
    QueueFileName(File("w2.rvx"));
    Open->Button1Click(Open);
    EXPECT_EQ(testsupport::ReadBytes(File("w2.rvx")), project);
}
