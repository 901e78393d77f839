// The statistics map drawn as a layer of each unit's polygons: right at every
// view and size, kept apart from the paint, and carried by the project.
#include "engine/Uopen.h"
#include "navigation/MainFormNavigation.h"
#include "paint/MainFormPaint.h"
#include "gui/Testing.h"
#include "gui/TextFile.h"
#include "paint/StatLayer.h"
#include "paint/Uhanrei.h"
#include "paint/Upaint.h"
#include "paint/Ustatmap.h"
#include "tests/support/FormsFixture.h"
#include "tests/support/ToolPress.h"
#include "tests/support/RealAreas.h"
#include <QImage>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

namespace {

using gui::testing::Messages;
using gui::testing::QueueAnswer;
using gui::testing::QueueFileName;
using testsupport::ChooseAreas;
using testsupport::ReadBytes;

QImage MapImage() { return Open->ui.Image1->Picture()->Bitmap()->Image().copy(); }
QRgb Rgb(TColor c) { return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

void ChooseItem(TComboBox* box, int index) {
    box->SetItemIndex(index);
    box->OnChange(box);
}

// The pixels of the background colour reached from the image's edge, or from one pixel.
std::vector<char> Outside(const QImage& bare, QRgb back, const TPoint* seed) {
    const int w = bare.width(), h = bare.height();
    std::vector<char> out(size_t(w) * size_t(h), 0);
    std::vector<std::pair<int, int>> stack;
    auto push = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= w || y >= h) return;
        char& o = out[size_t(y) * size_t(w) + size_t(x)];
        if (o || bare.pixel(x, y) != back) return;
        o = 1;
        stack.push_back({x, y});
    };
    if (seed) push(seed->x, seed->y);
    else
        for (int k = 0; k < w; ++k) push(k, 0), push(k, h - 1), push(0, k), push(w - 1, k);
    while (!stack.empty()) {
        auto [x, y] = stack.back();
        stack.pop_back();
        push(x + 1, y), push(x - 1, y), push(x, y + 1), push(x, y - 1);
    }
    return out;
}

} // namespace

class StatisticsLayer : public JapanFormsTest {
protected:
    std::string File(const std::string& name) { return (programDir / name).string(); }
    std::string Sample() { return (programDir / "サンプル" / "住民基本台帳人口_2021.csv").string(); }
    void ApplySample(int valueColumn = 6) {
        PaintControlsOf(*Open).menuStatMap->Click();
        QueueFileName(Sample());
        StatMap->BtnOpen->Click();
        ChooseItem(StatMap->CBValue, valueColumn);
        StatMap->BtnApply->Click();
    }
    static size_t PointCount(const std::vector<StatUnit>& units) {
        size_t n = 0;
        for (const StatUnit& u : units) n += u.points.size();
        return n;
    }
    static bool InLegend(int x, int y) {
        return Open->LegendShown && x >= Open->LegendLeft - 1 && x <= Open->LegendRight + 1 && y >= Open->LegendTop - 1 &&
               y <= Open->LegendBottom + 1;
    }
    // The colour of a unit's class as the legend shows it.
    TColor ClassColour(const std::string& code) {
        const StatMapBlock& b = StatLayerOnMap->Shown();
        const double v = b.ValueOf(std::stoi(code));
        return b.Slots()[std::isnan(v) ? size_t(b.count) : size_t(StatClassOf(v, b.breaks))].colour;
    }
    // Fill points on the image not showing their unit's colour (the pixel or one beside it, where a line runs).
    std::vector<std::string> Unfilled(const std::vector<StatUnit>& units, const QImage& img) {
        std::vector<std::string> wrong;
        for (const StatUnit& u : units)
            for (const auto& p : u.points) {
                int sx, sy;
                Open->MapToScreen(p.x, p.y, sx, sy);
                if (sx < 1 || sy < 1 || sx >= img.width() - 1 || sy >= img.height() - 1) continue;
                if (InLegend(sx, sy)) continue;
                const QRgb want = Rgb(ClassColour(u.code));
                bool ok = false;
                for (auto [dx, dy] : {std::pair{0, 0}, {1, 0}, {-1, 0}, {0, 1}, {0, -1}}) ok = ok || img.pixel(sx + dx, sy + dy) == want;
                if (!ok) wrong.push_back(u.name + gui::Format(" (%d,%d)", sx, sy));
            }
        return wrong;
    }
    // The sea and the land of other areas: the regions the coasts and the
    // prefecture borders leave, reached from the image's edge, or from one
    // stored point of the sea where the map fills the picture.
    std::vector<char> Sea(const StatUnit::Point* seaAt = nullptr) {
        const MapView& v = Open->DrawnView;
        TBitmap lines(v.size, v.size);
        TCanvas& cv = *lines.Canvas();
        cv.Brush->Color = clWhite;
        cv.FillRect(TRect{0, 0, v.size, v.size});
        for (const PolylineStore* s : {&Open->doc.CoastLine, &Open->doc.HokkaidoLakeLine, &Open->doc.LakeLine, &Open->doc.PrefLine,
                                       &Open->doc.NewPrefLine, &Open->doc.OldPrefLine, &Open->doc.LakePrefLine})
            TOpen::DrawStore(cv, v, *s, true);
        TPoint seed;
        if (seaAt) v.ToScreen(seaAt->x, seaAt->y, seed.x, seed.y);
        return Outside(lines.Image(), Rgb(clWhite), seaAt ? &seed : nullptr);
    }
    // The stored point of the sea pixel nearest to a point of the map shown.
    StatUnit::Point SeaNear(StatUnit::Point p) {
        const std::vector<char> out = Sea();
        const int size = Open->DrawnView.size;
        int sx, sy;
        int64_t best = INT64_MAX;
        Open->MapToScreen(p.x, p.y, sx, sy);
        StatUnit::Point sea{};
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                if (out[size_t(y) * size_t(size) + size_t(x)] && int64_t(x - sx) * (x - sx) + int64_t(y - sy) * (y - sy) < best) {
                    best = int64_t(x - sx) * (x - sx) + int64_t(y - sy) * (y - sy);
                    Open->DrawnView.ToData(x, y, sea.x, sea.y);
                }
        return sea;
    }
    // Pixels of the sea that the layer coloured.
    int SeaFilled(const StatUnit::Point* seaAt = nullptr) {
        const QImage shown = MapImage();
        const std::vector<char> out = Sea(seaAt);
        std::set<QRgb> classes;
        for (const StatSlot& s : StatLayerOnMap->Shown().Slots()) classes.insert(Rgb(s.colour));
        int n = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                n += out[size_t(y) * size_t(shown.width()) + size_t(x)] && classes.count(shown.pixel(x, y)) && !InLegend(x, y);
        return n;
    }
};

// 神奈川's wards behind dotted lines and 唐津市's islands, at both sizes,
// zoomed in and back: every fill point shows its class and the sea none.
TEST_F(StatisticsLayer, WardsAndIslandsShowTheirClassAtEveryViewAndSizeAndTheSeaNone) {
    for (int area : {13, 40}) {   // 神奈川, 佐賀
        QueueAnswer(IDOK);       // the work of the map before goes
        QueueAnswer(IDCANCEL);   // not drawn again: applied below
        ChooseAreas({area});
        Open->ui.CBTownName->SetChecked(false);   // names would cover the points
        if (area == 13) ApplySample();
        else StatMap->BtnApply->Click();
        std::vector<StatUnit> shown, all = LoadStatUnits(programDir.string(), {area}, 0).units;
        for (const StatUnit& u : all)
            if (area == 13 ? !u.city.empty() : u.code == "412023") shown.push_back(u);
        ASSERT_GE(area == 13 ? shown.size() : shown[0].points.size(), area == 13 ? 25u : 9u);
        const StatUnit::Point centre = area == 13 ? shown[0].points[0] : shown[0].points.back();
        for (int item : {0, 2}) {   // 600 and 1800 px
            Open->ui.RadioGroup1->SetItemIndex(item);
            Open->ui.Button6->Click();
            const StatUnit::Point sea = SeaNear(centre);
            for (const char* step : {"標準範囲", "×5", "標準範囲 again", "市区町村界なし"}) {
                const std::string s = step;
                if (s == "×5") {
                    Open->CX = centre.x, Open->CY = centre.y;
                    Open->ui.UpDown1->SetPosition(5);
                    UpDown1Click(*Open, Open->ui.UpDown1, btNext);
                } else {
                    Open->ui.Button6->Click();
                }
                if (s == "市区町村界なし") Open->ui.CBTownBorder->Click();
                Open->ui.CBTownName->SetChecked(false);   // names would cover the points
                const QImage img = MapImage();
                const std::string at = gui::Format("%d %s %d", area, step, img.width());
                EXPECT_EQ(Unfilled(s == "市区町村界なし" ? all : shown, img), std::vector<std::string>{}) << at;
                EXPECT_EQ(SeaFilled(s == "×5" ? &sea : nullptr), 0) << at;
                if (s == "市区町村界なし") Open->ui.CBTownBorder->Click();
            }
        }
    }
    // Every unit of the area has a value: no データなし row, and "地図凡例" ticked as the legend is drawn.
    EXPECT_EQ(Hanrei->LegendCount, 5);
    EXPECT_TRUE(Open->ui.CBExp->Checked());
}

// The paint and the layer are apart: a new paint and the paint's undo keep the
// layer, the window's undo takes back the layer alone, and the layer becomes
// paint records on request.
TEST_F(StatisticsLayer, PaintAndLayerStayApartAndTheLayerBecomesPaintOnRequest) {
    // A table read before any map is joined once a map is drawn.
    PaintControlsOf(*Open).menuStatMap->Click();
    QueueFileName(Sample());
    StatMap->BtnOpen->Click();
    ChooseAreas({13});
    Open->ui.CBTownName->SetChecked(false);
    EXPECT_GT(StatMap->Join.joined, 50);
    ChooseItem(StatMap->CBValue, 6);
    StatMap->BtnApply->Click();
    const std::vector<StatUnit> units = LoadStatUnits(programDir.string(), {13}, 0).units;
    ASSERT_EQ(Unfilled(units, MapImage()), std::vector<std::string>{});

    // ペイント → 新規, a fill, the paint's undo, the end of painting: the layer stays throughout.
    BtnPaintClick(*Open, Open);
    MapPaint->TkBtnClick(1);
    ToolPress(5, 5);
    ASSERT_EQ(Open->paint.paint_rep, 1);
    MapPaint->BtnRepaint->Click();
    EXPECT_EQ(Open->paint.paint_rep, 0);
    ToolPress(5, 5);
    MapPaint->Button19Click(MapPaint);
    EXPECT_EQ(Unfilled(units, MapImage()), std::vector<std::string>{});
    EXPECT_TRUE(Hanrei->CBExpDisplay->Checked());

    // The window's undo: the layer and its legend go, the user's fill stays.
    const TColor sea = Open->ui.Image1->Canvas()->Pixels(5, 5);
    StatMap->BtnUndo->Click();
    EXPECT_FALSE(StatLayerOnMap->Shown().on);
    EXPECT_EQ(Open->paint.paint_rep, 1);
    EXPECT_EQ(Open->ui.Image1->Canvas()->Pixels(5, 5), sea);
    EXPECT_FALSE(Hanrei->CBExpDisplay->Checked());
    EXPECT_FALSE(Open->ui.CBExp->Checked());
    EXPECT_EQ(Unfilled(units, MapImage()).size(), PointCount(units));

    // Applied again and turned into paint: floods at the fill points, the palette the classes', saved as a paint file.
    StatMap->BtnApply->Click();
    ASSERT_TRUE(StatMap->BtnToPaint->Enabled());
    std::map<std::string, QRgb> classOf;
    for (const StatUnit& u : units) classOf[u.code] = Rgb(ClassColour(u.code));
    StatMap->BtnToPaint->Click();
    EXPECT_FALSE(StatLayerOnMap->Shown().on);
    EXPECT_GT(Open->paint.paint_rep, 50);
    EXPECT_EQ(Open->style.PaintColor[0], StatClassSlots(0, 5, false, StatStyle::Colour)[0].colour);
    const QImage painted = MapImage();
    QueueFileName(File("t.pnt"));
    MapPaint->Button3Click(MapPaint);
    EXPECT_GT(ReadBytes(File("t.pnt")).size(), 17u * 12);
    // Where the wards' floods found their own regions, they show the classes the layer drew.
    int same = 0, points = 0;
    for (const StatUnit& u : units)
        for (const auto& p : u.points) {
            int sx, sy;
            Open->MapToScreen(p.x, p.y, sx, sy);
            ++points;
            same += painted.pixel(sx, sy) == classOf[u.code];
        }
    EXPECT_GT(same, points / 2);
}

// A unit without a value gets the no-data row; the project keeps the layer
// byte for byte and draws it the same when the table has gone; the command
// line draws what the window saves.
TEST_F(StatisticsLayer, TheProjectKeepsTheLayerWhenTheTableHasMovedAndTheCommandLineDrawsIt) {
    testsupport::PlaceProgramFile(programDir, "rovana");
    ChooseAreas({13});
    // The sample without 藤沢市 (142051).
    std::string text, line;
    {
        gui::TextReader r(Sample());
        while (r.ReadLine(line))
            if (line.find("142051") == std::string::npos) text += line + "\r\n";
    }
    std::filesystem::create_directories(programDir / "表");
    std::ofstream(File("表/人口.csv"), std::ios::binary) << gui::Utf8ToCp932(text);
    PaintControlsOf(*Open).menuStatMap->Click();
    QueueFileName(File("表/人口.csv"));
    StatMap->BtnOpen->Click();
    ChooseItem(StatMap->CBValue, 6);
    StatMap->RGStyle->SetItemIndex(2);   // colours and hatches
    StatMap->CBCounts->SetChecked(true);
    StatMap->EdMidpoint->SetText("100000");
    StatMap->BtnApply->Click();
    EXPECT_EQ(Hanrei->LegendCount, 6);
    EXPECT_EQ(Hanrei->LegendTexts[5], "データなし (1)");
    int counted = 0;
    for (int k = 0; k < 6; ++k) counted += std::atoi(Hanrei->LegendTexts[k].substr(Hanrei->LegendTexts[k].rfind('(') + 1).c_str());
    EXPECT_EQ(counted, int(LoadStatUnits(programDir.string(), {13}, 0).units.size()));
    const QImage shown = MapImage();

    QueueFileName(File("a.rvx"));
    Open->Button1Click(Open);
    const std::string project = ReadBytes(File("a.rvx"));
    EXPECT_NE(project.find(gui::Utf8ToCp932("\r\n表/")), std::string::npos) << "the table beside the project is named relative to it";
    QueueFileName(File("w.png"));
    Open->PNG1Click(Open);

    // The table moved away: the project's own values draw the same picture.
    std::filesystem::rename(File("表/人口.csv"), File("人口.csv"));
    QueueFileName(File("a.rvx"));
    Open->Button10Click(Open);
    EXPECT_TRUE(MapImage() == shown);
    EXPECT_EQ(StatMap->EdMidpoint->Text(), "100000");
    QueueFileName(File("b.rvx"));
    Open->Button1Click(Open);
    EXPECT_EQ(ReadBytes(File("b.rvx")), project);

    const std::string cmd = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" + std::string(ROVANA_BINARY) +
                            "' --render '" + File("a.rvx") + "' --out '" + File("c.png") + "' --program-folder '" +
                            programDir.string() + "' 2> '" + File("run.err") + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << ReadBytes(File("run.err"));
    EXPECT_TRUE(ReadBytes(File("c.png")) == ReadBytes(File("w.png")));

    // A reader that knows nothing of the layer stops before its block: the rest is the whole project.
    const size_t at = project.find("-1,STATMAP\r\n");
    ASSERT_NE(at, std::string::npos);
    std::ofstream(File("old.rvx"), std::ios::binary) << project.substr(0, at);
    QueueFileName(File("old.rvx"));
    Open->Button10Click(Open);
    EXPECT_FALSE(StatLayerOnMap->Shown().on);
    // A damaged block is refused with its line, and the map stays as it was.
    std::string bad = project;
    bad.replace(bad.find(",BREAKS\r\n") + 9, 1, "x");
    std::ofstream(File("bad.rvx"), std::ios::binary) << bad;
    Messages().clear();
    QueueFileName(File("bad.rvx"));
    Open->Button10Click(Open);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].text.find("行目が正しくありません"), std::string::npos);
}

// A damaged shapes file is refused with its name and line: its area stays
// unfilled, the others are drawn.
TEST_F(StatisticsLayer, ADamagedShapesFileIsNamedWithItsLineAndItsAreaLeftOut) {
    const std::string shapes = File("MAPDATA/Codes/Shapes/12.txt");
    std::string text = ReadBytes(shapes);
    size_t at = 0;
    for (int k = 0; k < 4; ++k) at = text.find('\n', at) + 1;
    text.replace(at, text.find('\r', at) - at, "99999999,1");   // line 5: a vertex far past any map
    std::ofstream(shapes, std::ios::binary) << text;
    ChooseAreas({12, 13});
    Open->ui.CBTownName->SetChecked(false);
    Messages().clear();
    ApplySample();
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].text.find("Shapes/12.txt の 5 行目"), std::string::npos) << Messages()[0].text;
    const QImage img = MapImage();
    const std::vector<StatUnit> tokyo = LoadStatUnits(programDir.string(), {12}, 0).units,
                                kanagawa = LoadStatUnits(programDir.string(), {13}, 0).units;
    EXPECT_EQ(Unfilled(kanagawa, img).size(), 0u);
    EXPECT_GT(Unfilled(tokyo, img).size(), PointCount(tokyo) * 9 / 10);
}
