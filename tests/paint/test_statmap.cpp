// The statistics map window on the real data set: the sample table of the
// whole country joined, classed, drawn with its legend, and carried by the
// project and, turned into paint, by the paint file.
#include "engine/Uopen.h"
#include "paint/MainFormPaint.h"
#include "names/MainFormNames.h"
#include "gui/Testing.h"
#include "gui/TextFile.h"
#include "paint/Uhanrei.h"
#include "paint/StatLayer.h"
#include "paint/Upaint.h"
#include "paint/Ustatmap.h"
#include "tests/support/FormsFixture.h"
#include "tests/support/RealAreas.h"
#include <QImage>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

namespace {

using gui::testing::Messages;
using gui::testing::QueueFileName;
using testsupport::ChooseAreas;
using testsupport::ReadBytes;

QImage MapImage() { return Open->ui.Image1->Picture()->Bitmap()->Image().copy(); }

void ChooseItem(TComboBox* box, int index) {
    box->SetItemIndex(index);
    box->OnChange(box);
}

} // namespace

class StatisticsMap : public JapanFormsTest {
protected:
    std::string File(const std::string& name) { return (programDir / name).string(); }
    std::string Sample() { return (programDir / "サンプル" / "住民基本台帳人口_2021.csv").string(); }
    void OpenTable(const std::string& path) {
        QueueFileName(path);
        StatMap->BtnOpen->Click();
    }
    // The unit of a code among the loaded ones.
    const StatUnit& Unit(const std::string& code) { return StatMap->Units.units[size_t(StatMap->Units.byCode.at(code))]; }
    // Every part of a unit shows the fill (or the pixel beside it, where the point falls on a border).
    int PartsFilled(const StatUnit& u, TColor colour) {
        int filled = 0;
        for (const auto& p : u.points) {
            int sx, sy;
            Open->MapToScreen(p.x, p.y, sx, sy);
            for (auto [dx, dy] : {std::pair{0, 0}, {1, 0}, {-1, 0}, {0, 1}, {0, -1}})
                if (Open->ui.Image1->Canvas()->Pixels(sx + dx, sy + dy) == colour) {
                    ++filled;
                    break;
                }
        }
        return filled;
    }
};

TEST_F(StatisticsMap, TheWholeCountryFromTheSampleIsPaintedWithItsLegendAndUndoneInOneStep) {
    std::vector<int> all;
    for (int k = 1; k <= 52; ++k) all.push_back(k);
    ChooseAreas(all);
    PaintControlsOf(*Open).menuStatMap->Click();
    ASSERT_TRUE(StatMap->Visible());
    OpenTable(Sample());
    EXPECT_EQ(StatMap->CBCode->ItemIndex(), 1);    // 団体コード
    EXPECT_EQ(StatMap->CBName->ItemIndex(), 3);    // 市区町村名
    EXPECT_EQ(StatMap->CBPref->ItemIndex(), 2);    // 都道府県名
    ChooseItem(StatMap->CBValue, 6);               // 人口
    EXPECT_EQ(StatMap->LblJoin->Caption(), "結合 1922 / 2278 行");
    EXPECT_EQ(StatMap->LBReport->Items()->Count(), 357);
    // By name with the prefecture column: the same rows.
    StatMap->RGKey->SetItemIndex(1);
    EXPECT_EQ(StatMap->LblJoin->Caption(), "結合 1922 / 2278 行");
    StatMap->RGKey->SetItemIndex(0);

    StatMap->EdUnit->SetText("人");
    StatMap->BtnApply->Click();
    ASSERT_TRUE(StatLayerOnMap->Shown().on);
    EXPECT_EQ(Open->paint.paint_rep, 0) << "the layer is no paint";
    // No fill in the sea.
    const int corner = Open->ImageSize - 2;
    EXPECT_EQ(Open->ui.Image1->Canvas()->Pixels(corner, corner), Open->style.BackColor);
    EXPECT_EQ(Open->ui.Image1->Canvas()->Pixels(corner, 1), Open->style.BackColor);
    // Five classes, every unit with a value: no データなし row.
    const auto want = StatClassSlots(0, 5, false, StatStyle::Colour);
    EXPECT_EQ(Hanrei->LegendCount, 5);
    EXPECT_EQ(Hanrei->LegendTitle, "人口（人）");
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(Hanrei->LegendColors[k], want[k].colour);
        EXPECT_EQ(Hanrei->LegendPatterns[k], 0);
    }
    EXPECT_EQ(Open->style.PaintColor[0], Open->style.DefPaintColor[0]) << "the palette is the paint's";
    // The largest unit is a ward: a city's own row stands back where its wards have rows.
    const std::string& top = Hanrei->LegendTexts[4];
    EXPECT_EQ(top.substr(top.rfind(' ') + 1), "920,372");
    EXPECT_TRUE(Hanrei->CBExpDisplay->Checked());

    // Again with another method, then the window's undo: back to no layer and no legend at once.
    StatMap->RGMethod->SetItemIndex(1);
    StatMap->BtnApply->Click();
    StatMap->BtnUndo->Click();
    EXPECT_FALSE(StatLayerOnMap->Shown().on);
    EXPECT_FALSE(Hanrei->CBExpDisplay->Checked());

    // Islands and exclaves: every part of 尾道市 and of 上天草市, each area alone at 1800 px.
    StatMap->BtnApply->Click();
    for (auto [area, code] : {std::pair{31, "342050"}, {42, "432121"}}) {
        // A new choice of areas: drawn again on request, with nothing of the other areas.
        gui::testing::QueueAnswer(IDOK);
        gui::testing::QueueAnswer(IDOK);
        ChooseAreas({area});
        ASSERT_TRUE(StatLayerOnMap->Shown().on);
        for (const StatUnit& u : StatMap->Units.units) ASSERT_EQ(u.area, area) << u.name;
        Open->ui.CBTownName->SetChecked(false);
        Open->ui.RadioGroup1->SetItemIndex(2);
        const StatUnit& u = Unit(code);
        const double v = StatMap->Join.unitValue[size_t(StatMap->Units.byCode.at(code))];
        const TColor c = Hanrei->LegendColors[StatClassOf(v, StatMap->Breaks)];
        EXPECT_GT(u.points.size(), 9u) << u.name;
        EXPECT_EQ(PartsFilled(u, c), int(u.points.size())) << u.name;
        Open->ui.RadioGroup1->SetItemIndex(0);
    }
}

// A new choice of areas under a statistics map is drawn once, with nothing of
// the old layer, and the window offers to draw the new one; the old borders
// are lines over the layer and change nothing of it.
TEST_F(StatisticsMap, ANewMapIsDrawnOnceWithoutTheOldLayerAndTheOldBordersKeepIt) {
    ChooseAreas({13});
    PaintControlsOf(*Open).menuStatMap->Click();
    OpenTable(Sample());
    ChooseItem(StatMap->CBValue, 6);
    const auto classes = StatClassSlots(0, 5, false, StatStyle::Colour);
    auto classPixels = [&] {
        int n = 0;
        for (int y = 0; y < Open->ImageSize; ++y)
            for (int x = 0; x < Open->ImageSize; ++x) {
                const TColor p = Open->ui.Image1->Canvas()->Pixels(x, y);
                for (int k = 0; k < 5; ++k) n += p == classes[size_t(k)].colour;
            }
        return n;
    };
    StatMap->BtnApply->Click();
    ASSERT_GT(classPixels(), 1000);
    const int redraws = Open->RedrawCount;
    Messages().clear();
    gui::testing::QueueAnswer(IDOK);       // the work of the old map goes
    gui::testing::QueueAnswer(IDCANCEL);   // not drawn again
    Ken->AreaBox(13)->SetChecked(false);
    Ken->AreaBox(14)->SetChecked(true);
    Ken->Button1->Click();
    EXPECT_EQ(Open->RedrawCount - redraws, 1);
    EXPECT_FALSE(StatLayerOnMap->Shown().on);
    EXPECT_LT(classPixels(), 200) << "legend swatches at most";
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages().back().caption, "統計地図");
    EXPECT_FALSE(StatMap->BtnUndo->Enabled());

    // Drawn again, the old borders shown: the layer stays as it was, without a question.
    StatMap->BtnApply->Click();
    const int shown = classPixels();
    Messages().clear();
    Open->ui.CBNTownBorder->Click();
    EXPECT_TRUE(Messages().empty());
    EXPECT_TRUE(StatLayerOnMap->Shown().on);
    EXPECT_GT(classPixels(), shown * 9 / 10);
    EXPECT_TRUE(StatMap->BtnUndo->Enabled());
}

TEST_F(StatisticsMap, AStatisticsMapOfTheCountryTurnedIntoPaintComesBackFromThePaintFileAsSaved) {
    std::vector<int> all;
    for (int k = 1; k <= 52; ++k) all.push_back(k);
    ChooseAreas(all);
    ::StatMapWindow()->Show();
    OpenTable(Sample());
    ChooseItem(StatMap->CBValue, 10);   // 増減率（％）, negatives included
    StatMap->UDDecimals->SetPosition(2);
    StatMap->CBOpenEnds->SetChecked(true);
    StatMap->RGStyle->SetItemIndex(2);
    StatMap->BtnApply->Click();
    EXPECT_NE(Hanrei->LegendTexts[0].find(" 未満"), std::string::npos);

    // Turned into paint for a paint file, which reads back as it was written.
    StatMap->BtnToPaint->Click();
    ASSERT_GT(Open->paint.paint_rep, 1300);
    const QImage shown = MapImage();
    QueueFileName(File("a.pnt"));
    MapPaint->Button3Click(MapPaint);
    const std::string paint = ReadBytes(File("a.pnt"));
    QueueFileName(File("a.pnt"));
    MapPaint->Button2Click(MapPaint);
    EXPECT_TRUE(MapImage() == shown);
    QueueFileName(File("b.pnt"));
    MapPaint->Button3Click(MapPaint);
    EXPECT_EQ(ReadBytes(File("b.pnt")), paint);
}

TEST_F(StatisticsMap, ATableOf2005ColoursThe2005BordersAndADamagedTableChangesNothing) {
    ChooseAreas({31});
    // The municipalities of 広島 on 2005-04-01, with their codes and names as a table of that year writes them.
    gui::TextReader r((programDir / "MAPDATA/Codes/2005/31.csv").string());
    std::string line, table = "都道府県,市町村,コード,値\n";
    std::set<std::string> names;
    int parts = 0;
    while (r.ReadLine(line)) {
        ++parts;
        const std::string code = line.substr(0, 6), rest = line.substr(7);
        const std::string name = rest.substr(0, rest.find(','));
        const std::string city = rest.substr(rest.find(',') + 1, rest.find(',', rest.find(',') + 1) - rest.find(',') - 1);
        if (names.insert(city + name).second) table += "広島県," + city + name + "," + code + "," + code + "\n";
    }
    std::ofstream(File("h2005.csv"), std::ios::binary) << gui::Utf8ToCp932(table);
    ::StatMapWindow()->Show();
    OpenTable(File("h2005.csv"));
    ASSERT_EQ(StatMap->CBName->ItemIndex(), 2);
    ASSERT_EQ(StatMap->RGKey->ItemIndex(), 0);
    // On today's map the report tells whose codes they are.
    StatMap->BtnApply->Click();
    bool told = false;
    for (int i = 0; i < StatMap->LBReport->Items()->Count(); ++i)
        told = told || StatMap->LBReport->Items()->Strings(i).find("2005年の市区町村のもの") != std::string::npos;
    EXPECT_TRUE(told) << StatMap->LBReport->Items()->Strings(StatMap->LBReport->Items()->Count() - 1);
    // The edition switched, the map shown is today's until it is loaded again (the table
    // carried onto its units); then the table joins whole, as it is.
    gui::testing::QueueAnswer(IDOK);
    EditionClick(*Open, 2);
    ASSERT_TRUE(NameWidgetsOf(*Open).N20051->Checked());
    EXPECT_NE(&StatMap->JoinUnits(), &StatMap->Units);
    ChooseAreas({31});
    EXPECT_EQ(&StatMap->JoinUnits(), &StatMap->Units);
    EXPECT_EQ(StatMap->Join.joined, int(names.size()));
    StatMap->RGKey->SetItemIndex(1);
    EXPECT_EQ(StatMap->Join.joined, int(names.size()));
    // Before the mergers of 2005 there were more of them than today.
    EXPECT_GT(names.size(), LoadStatUnits(programDir.string(), {31}, 0).units.size());
    // Every municipality of that date shows its class at its points of that date, on the map of that date.
    Open->ui.CBTownName->SetChecked(false);
    Open->ui.RadioGroup1->SetItemIndex(2);
    StatMap->BtnApply->Click();
    for (const StatUnit& u : StatMap->Units.units) {
        const double v = StatMap->Join.unitValue[size_t(&u - StatMap->Units.units.data())];
        EXPECT_GT(PartsFilled(u, Hanrei->LegendColors[StatClassOf(v, StatMap->Breaks)]), 0) << u.name;
    }
    EXPECT_GT(parts, 0);
    const StatMapBlock applied = StatLayerOnMap->Shown();
    const QImage shown = MapImage();

    // A binary file, a line of 10 MB, quotes left open: refused with the line, the map as it was.
    std::ofstream(File("bin.csv"), std::ios::binary) << std::string("\x89PNG\r\n\x1a\n\0\0\0", 11);
    std::ofstream(File("long.csv"), std::ios::binary) << "a,b\r\n" << std::string(10 << 20, '1') << "\r\n";
    std::ofstream(File("quote.csv"), std::ios::binary) << "a,b\r\n1,2\r\n\"3,4\r\n";
    for (const char* f : {"bin.csv", "long.csv", "quote.csv"}) {
        Messages().clear();
        OpenTable(File(f));
        ASSERT_EQ(Messages().size(), 1u) << f;
        EXPECT_EQ(Messages()[0].caption, "統計地図");
    }
    EXPECT_NE(Messages()[0].text.find("3 行目"), std::string::npos) << Messages()[0].text;
    EXPECT_EQ(StatMap->TablePath, File("h2005.csv"));
    EXPECT_TRUE(StatLayerOnMap->Shown() == applied);
    EXPECT_TRUE(MapImage() == shown);

    // Saved under 2005 and opened on today's edition: the table, still there, joins today's units;
    // gone, the project's values stay and the report says whose they are.
    QueueFileName(File("h.rvx"));
    Open->Button1Click(Open);
    gui::testing::QueueAnswer(IDOK);
    EditionClick(*Open, 5);
    for (bool table : {true, false}) {
        if (!table) std::filesystem::remove(File("h2005.csv"));
        QueueFileName(File("h.rvx"));
        Open->Button10Click(Open);
        ASSERT_TRUE(StatLayerOnMap->Shown().on);
        EXPECT_EQ(StatLayerOnMap->Shown().year, table ? 0 : 2005);
        const int n = StatMap->LBReport->Items()->Count();
        EXPECT_EQ(n > 0 && StatMap->LBReport->Items()->Strings(n - 1).find("プロジェクトの値は2005年") == 0, !table);
    }
}

// Under the old borders a municipality of today is several regions of the map;
// every one of them takes its fill, as the same map without old borders shows it.
TEST_F(StatisticsMap, UnderTheOldBordersEveryOldPartOfAMunicipalityIsFilled) {
    for (int area : {16, 31}) {   // 新潟, 広島: many mergers since 2000
        if (Open->ui.CBNTownBorder->Checked()) Open->ui.CBNTownBorder->Click();
        gui::testing::QueueAnswer(IDOK);       // the work of the map before goes
        gui::testing::QueueAnswer(IDCANCEL);   // not painted again
        ChooseAreas({area});
        Open->ui.CBTownName->SetChecked(false);
        ::StatMapWindow()->Show();
        OpenTable(Sample());
        ChooseItem(StatMap->CBValue, 6);
        StatMap->BtnApply->Click();
        const QImage today = MapImage();
        Open->ui.CBNTownBorder->Click();
        ASSERT_TRUE(Open->ui.CBNTownBorder->Checked());
        ASSERT_TRUE(StatMap->BtnUndo->Enabled());
        const QImage old = MapImage();
        old.save(QString::fromStdString((testsupport::BuildFolder() / gui::Format("statmap-old-%02d.png", area)).string()));
        const int w = today.width(), h = today.height();
        const QRgb back = today.pixel(1, 1);
        EXPECT_EQ(old.pixel(w - 2, h - 2), back) << area << ": the sea stays unfilled";
        // A unit's pixels on today's map: the regions of its colour round its points.
        int worst = 100, partly = 0;
        std::string worstName;
        std::vector<char> seen(size_t(w) * size_t(h), 0);
        for (const StatUnit& u : StatMap->Units.units) {
            int all = 0, white = 0;
            for (const auto& p : u.points) {
                int sx, sy;
                Open->MapToScreen(p.x, p.y, sx, sy);
                if (sx < 0 || sy < 0 || sx >= w || sy >= h) continue;
                const QRgb c = today.pixel(sx, sy);
                if (c == back || seen[size_t(sy) * size_t(w) + size_t(sx)]) continue;
                std::vector<std::pair<int, int>> stack{{sx, sy}};
                seen[size_t(sy) * size_t(w) + size_t(sx)] = 1;
                while (!stack.empty()) {
                    auto [x, y] = stack.back();
                    stack.pop_back();
                    ++all;
                    white += old.pixel(x, y) == back;
                    for (auto [nx, ny] : {std::pair{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}}) {
                        if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
                        char& s = seen[size_t(ny) * size_t(w) + size_t(nx)];
                        if (s || today.pixel(nx, ny) != c) continue;
                        s = 1;
                        stack.push_back({nx, ny});
                    }
                }
            }
            if (all == 0) continue;
            const int share = 100 - 100 * white / all;
            if (share < 99) ++partly;
            if (share < worst) worst = share, worstName = u.name;
        }
        EXPECT_EQ(partly, 0) << area << ": least filled " << worstName << " " << worst << "%";
    }
}

// A table of another date is carried onto the units of the map shown, as a count
// or as a rate: the national total stays, and the report names the units merged,
// split or taken from a city row.
TEST_F(StatisticsMap, ATableOfAnotherDateIsCarriedOntoTheUnitsShownKeepingTheNationalTotal) {
    std::vector<int> all;
    for (int k = 1; k <= 52; ++k) all.push_back(k);
    gui::testing::QueueAnswer(IDOK);
    EditionClick(*Open, 2);
    ChooseAreas(all);
    PaintControlsOf(*Open).menuStatMap->Click();
    OpenTable(Sample());
    ChooseItem(StatMap->CBValue, 6);   // 人口
    const auto total = [](const std::vector<double>& v) {
        double s = 0;
        for (double x : v) s += std::isfinite(x) ? x : 0;
        return s;
    };
    const auto line = [](const std::string& head, const std::string& a, const std::string& b) {
        for (int i = 0; i < StatMap->LBReport->Items()->Count(); ++i) {
            const std::string l = StatMap->LBReport->Items()->Strings(i);
            if (l.rfind(head, 0) == 0 && l.find(a) != std::string::npos && l.find(b) != std::string::npos) return l;
        }
        return std::string();
    };
    ASSERT_EQ(StatMap->Units.units.size(), 2551u);
    EXPECT_EQ(StatMap->CarriedFrom, 0);
    EXPECT_NEAR(total(StatMap->Join.unitValue), 126654010, 50);
    EXPECT_NE(line("分割,", "上九一色村", "富士河口湖町"), "");
    EXPECT_NE(line("合併,", "天竜区", "水窪町"), "");
    // As a rate: the share of the new unit's land weighs the old values.
    const auto value = [](const std::string& code) { return StatMap->Join.unitValue[size_t(StatMap->Units.byCode.at(code))]; };
    const std::string kami = StatMap->Units.units[size_t(StatMap->Units.byName.at("上九一色村")[0])].code;
    const double counted = value(kami);
    StatMap->CBCarryRate->SetChecked(true);
    const auto old = [](const std::string& code) {
        for (const StatJoinRow& r : StatMap->Join.rows)
            if (r.Joined() && r.target >= 0 && StatMap->FromUnits.units[size_t(r.target)].code == code) return r.value;
        return std::nan("");
    };
    EXPECT_NEAR(value(kami), 0.2220 * old("192015") + 0.7780 * old("194301"), 1.0);
    EXPECT_LT(counted, value(kami));
    StatMap->CBCarryRate->SetChecked(false);
    // A designated city taken whole: carried from the city rows.
    StatMap->RGLevel->SetItemIndex(1);
    EXPECT_NEAR(total(StatMap->Join.values), 126654244, 126654244 * 1e-4);
    EXPECT_NE(line("政令市の行から,", "浜松市", "浜松市"), "");
    StatMap->RGLevel->SetItemIndex(0);

    // A table of 2005 (the land of its units) on today's map: the total land stays.
    gui::testing::QueueAnswer(IDOK);
    EditionClick(*Open, 5);
    ChooseAreas(all);
    gui::TextReader r((programDir / "MAPDATA/Codes/2005/Area.csv").string());
    std::string table = "コード,名称,面積\n", l;
    double land = 0;
    while (r.ReadLine(l)) {
        table += l + "\n";
        land += std::stod(l.substr(l.rfind(',') + 1));
    }
    std::ofstream(File("a2005.csv"), std::ios::binary) << gui::Utf8ToCp932(table);
    OpenTable(File("a2005.csv"));
    ASSERT_EQ(StatMap->Units.units.size(), 1902u);
    EXPECT_EQ(StatMap->CarriedFrom, 2005);
    EXPECT_NEAR(total(StatMap->Join.unitValue), land - [&] {   // the cities' rows repeat their wards
        double c = 0;
        for (const StatCity& k : StatMap->FromUnits.cities) c += k.km2;
        return c;
    }(), land * 1e-4);
    EXPECT_NE(line("分割,", "上九一色村", "甲府市"), "");
    // The user says the codes are today's: joined as they are, the merged ones left out.
    ChooseItem(StatMap->CBTableYear, 1);
    EXPECT_EQ(StatMap->CarriedFrom, 0);
    EXPECT_LT(StatMap->Join.joined, 1902);
    // Chosen as 2005, the choice and the way of carrying go into the project and come back.
    ChooseItem(StatMap->CBTableYear, 4);
    StatMap->CBCarryRate->SetChecked(true);
    StatMap->BtnApply->Click();
    const StatMapBlock applied = StatLayerOnMap->Shown();
    EXPECT_EQ(applied.tableYear, 2005);
    QueueFileName(File("c.rvx"));
    Open->Button1Click(Open);
    StatMap->CBCarryRate->SetChecked(false);
    ChooseItem(StatMap->CBTableYear, 0);
    QueueFileName(File("c.rvx"));
    Open->Button10Click(Open);
    EXPECT_EQ(StatMap->CBTableYear->ItemIndex(), 4);
    EXPECT_TRUE(StatMap->CBCarryRate->Checked());
    EXPECT_TRUE(StatLayerOnMap->Shown() == applied);
}
