// The old-municipality and lake layers drawn from the country's data set.
#include "tests/support/ToolPress.h"
#include "engine/Uken.h"
#include "tests/engine/AreaFiles.h"
#include "engine/Uopen.h"
#include "gui/Testing.h"
#include "labels/Uletter.h"
#include "labels/Upagesdlg.h"
#include "lines/Ulineadd.h"
#include "navigation/Usettei.h"
#include "gui/VectorRecorder.h"
#include "gui/ImageWriters.h"
#include "output/VectorWriters.h"
#include "tests/support/FormsFixture.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <utility>
#include <vector>

namespace {

using Pixel = std::pair<int, int>;

void ForEachPolyline(const PolylineStore& s, const std::function<void(const int32_t*, int32_t)>& fn) {
    for (int32_t i = 0; i < s.Fill && s.Words[i] > 0; i += 2 * s.Words[i] + 1) fn(&s.Words[i + 1], s.Words[i]);
}

class JapanLayers : public FormsTest {
protected:
    void FillProgramFolder(const std::filesystem::path& dir) override {
        testsupport::CopyJapanData(dir, {"MAPDATA"});
    }
    void SetUp() override {
        FormsTest::SetUp();
        gui::testing::Messages().clear();
    }

    // One area at 600 x copyScale pixels in its standard view, as the area choice draws it.
    void ShowArea(int code, int copyScale) {
        Open->COPYSCALE = copyScale;
        Ken->Show();
        for (int c = 1; c <= 52; c++) Ken->AreaBox(c)->SetChecked(c == code);
        Ken->Button1->Click();
        ASSERT_TRUE(gui::testing::Messages().empty());
        ASSERT_EQ(Open->ImageSize, 600 * copyScale);
    }

    TColor Px(Pixel p) const { return Open->ui.Image1->Canvas()->Pixels(p.first, p.second); }
    Pixel Screen(int32_t x, int32_t y) const {
        Pixel p;
        Open->MapToScreen(x, y, p.first, p.second);
        return p;
    }
    bool Inside(Pixel p) const {
        return p.first >= 0 && p.second >= 0 && p.first < Open->ImageSize && p.second < Open->ImageSize;
    }
    int Count(TColor c) const {
        const TCanvas* cv = Open->ui.Image1->Canvas();
        int n = 0;
        for (int y = 0; y < Open->ImageSize; y++)
            for (int x = 0; x < Open->ImageSize; x++) n += cv->Pixels(x, y) == c;
        return n;
    }
    // The name points of a table that are drawn without the double-name option.
    std::vector<Pixel> NamePixels(const std::vector<int32_t>& xs, const std::vector<int32_t>& ys,
                                  const std::vector<char>& dups, int count) const {
        std::vector<Pixel> out;
        for (int i = 0; i < count; i++) {
            Pixel p = Screen(xs[i], ys[i]);
            if (dups[i] == 's' && Inside(p)) out.push_back(p);
        }
        return out;
    }
    // A name is drawn at a point when its white box (or a letter) covers the point.
    double DrawnShare(const std::vector<Pixel>& points) const {
        int drawn = 0;
        for (Pixel p : points) drawn += Px(p) == 0xFFFFFF || Px(p) == Open->style.TownFontColor;
        // No point at all counts as both all and none drawn.
        return points.empty() ? NAN : double(drawn) / points.size();
    }
    // Water of the drawn lakes: the middle of the longest segment of every
    // border across a lake, and a point inside every closed shore (even-odd
    // over all closed shores, so that an island is land).
    std::vector<Pixel> WaterPixels() const {
        std::vector<Pixel> out;
        auto longest = [&](const int32_t* p, int32_t n) {
            int best = -1;
            double len = -1;
            for (int k = 0; k + 1 < n; k++) {
                const double d = std::hypot(double(p[2 * k + 2] - p[2 * k]), double(p[2 * k + 3] - p[2 * k + 1]));
                if (d > len) len = d, best = k;
            }
            if (best >= 0)
                out.push_back(Screen((p[2 * best] + p[2 * best + 2]) / 2, (p[2 * best + 1] + p[2 * best + 3]) / 2));
        };
        ForEachPolyline(Open->doc.LakeBorderLine, longest);
        ForEachPolyline(Open->doc.LakePrefLine, longest);

        std::vector<std::vector<std::pair<double, double>>> rings;
        auto closed = [&](const int32_t* p, int32_t n) {
            if (n < 4 || p[0] != p[2 * n - 2] || p[1] != p[2 * n - 1]) return;
            rings.emplace_back();
            for (int k = 0; k < n; k++) rings.back().emplace_back(p[2 * k], p[2 * k + 1]);
        };
        ForEachPolyline(Open->doc.LakeLine, closed);
        ForEachPolyline(Open->doc.HokkaidoLakeLine, closed);
        for (const auto& r : rings) {
            double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
            for (auto [x, y] : r) minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
            const double y = std::floor((minY + maxY) / 2) + 0.5;   // between the rows of points
            std::vector<double> xs;
            for (const auto& q : rings)
                for (size_t k = 0; k + 1 < q.size(); k++) {
                    auto [x1, y1] = q[k];
                    auto [x2, y2] = q[k + 1];
                    if ((y1 > y) != (y2 > y)) xs.push_back(x1 + (y - y1) * (x2 - x1) / (y2 - y1));
                }
            std::sort(xs.begin(), xs.end());
            double bestMid = 0, bestWidth = -1;
            for (size_t k = 0; k + 1 < xs.size(); k += 2) {
                const double mid = (xs[k] + xs[k + 1]) / 2;
                if (mid > minX && mid < maxX && xs[k + 1] - xs[k] > bestWidth) bestWidth = xs[k + 1] - xs[k], bestMid = mid;
            }
            if (bestWidth > 0) out.push_back(Screen(int32_t(bestMid), int32_t(y)));
        }
        return out;
    }
};

TEST_F(JapanLayers, LakeShoresKeepEveryFillOnLand) {
    const TColor fill = 0x123456;
    int fills = 0;
    for (int code : {1, 4, 6, 7, 8, 11, 15, 16, 17, 18, 24, 32, 33, 45, 47, 48, 49}) {
        SCOPED_TRACE(code);
        ShowArea(code, 2);
        Open->ui.CBTownName->SetChecked(false);
        ASSERT_FALSE(Open->ui.CBLake->Checked());
        ASSERT_FALSE(Open->ui.CBNTownBorder->Checked());
        std::vector<Pixel> land;
        for (int i = 0; i < Open->doc.TownCount; i++) land.push_back(Screen(Open->doc.TownX[i], Open->doc.TownY[i]));
        for (int i = 0; i < Open->doc.NewTownCount; i++) land.push_back(Screen(Open->doc.NewTownX[i], Open->doc.NewTownY[i]));
        for (int i = 0; i < Open->doc.OldTownCount; i++) land.push_back(Screen(Open->doc.OldTownX[i], Open->doc.OldTownY[i]));
        // A short border across the water may put its middle on the shore.
        std::vector<Pixel> water;
        for (Pixel w : WaterPixels())
            if (Px(w) == Open->style.BackColor) water.push_back(w);
        ASSERT_FALSE(water.empty());
        const int prefPixels = Count(Open->style.PrefColor);
        EXPECT_EQ(Count(Open->style.NTownColor), 0);

        for (int state = 0; state < 3; state++) {
            Open->ui.CBLake->SetChecked(state > 0);
            Open->ui.CBNTownBorder->SetChecked(state > 1);
            if (state == 1) {
                // The borders across the water: municipalities in the old-municipality
                // pen, prefectures dotted in the prefecture pen.
                EXPECT_EQ(Count(Open->style.NTownColor) > 0, Open->doc.LakeBorderLine.Fill > 0);
                EXPECT_EQ(Count(Open->style.PrefColor) > prefPixels, Open->doc.LakePrefLine.Fill > 0);
            }
            TBitmap work;
            for (Pixel w : water) {
                if (Px(w) != Open->style.BackColor) continue;   // a border across the water passes here
                work.Assign(Open->ui.Image1->Picture()->Bitmap());
                TCanvas* cv = work.Canvas();
                cv->Brush->Color = fill;
                cv->Brush->Style = bsSolid;
                cv->FloodFill(w.first, w.second, Open->style.BackColor, fsSurface);
                fills++;
                for (Pixel p : land)
                    EXPECT_NE(cv->Pixels(p.first, p.second), fill)
                        << "state " << state << ": the water at " << w.first << "," << w.second
                        << " reaches the land at " << p.first << "," << p.second;
            }
        }
        Open->ui.CBNTownBorder->SetChecked(false);
        Open->ui.CBLake->SetChecked(false);
    }
    EXPECT_GT(fills, 200);
}

TEST_F(JapanLayers, OldBordersAndTheOldPrefectureBorderAreDrawnOnlyWithTheOldState) {
    // 岐阜 holds the one prefecture border of 2000 that is gone (山口村).
    ShowArea(17, 1);
    ASSERT_GT(Open->doc.OldPrefLine.Fill, 0);
    ASSERT_GT(Open->doc.NTownLine.Fill, 0);
    std::vector<Pixel> oldPref, oldTown;
    ForEachPolyline(Open->doc.OldPrefLine, [&](const int32_t* p, int32_t n) {
        for (int k = 0; k < n; k++) oldPref.push_back(Screen(p[2 * k], p[2 * k + 1]));
    });
    // A line's first point is always set.
    ForEachPolyline(Open->doc.NTownLine, [&](const int32_t* p, int32_t) { oldTown.push_back(Screen(p[0], p[1])); });
    Open->ui.CBTownName->SetChecked(false);
    Settei->CBNTownDot->SetChecked(false);
    auto share = [&](const std::vector<Pixel>& ps, TColor c) {
        return double(std::count_if(ps.begin(), ps.end(), [&](Pixel p) { return Px(p) == c; })) / ps.size();
    };

    ASSERT_FALSE(Open->ui.CBNTownBorder->Checked());
    EXPECT_EQ(Count(Open->style.NTownColor), 0);
    EXPECT_LT(share(oldPref, Open->style.PrefColor), 0.2);

    Open->ui.CBNTownBorder->SetChecked(true);
    EXPECT_TRUE(Open->ui.CBOldTown->Checked());
    EXPECT_GT(share(oldPref, Open->style.PrefColor), 0.8) << "the old prefecture border in the prefecture pen";
    EXPECT_GT(share(oldTown, Open->style.NTownColor), 0.8) << "the old borders in their own pen";
    EXPECT_GT(Count(Open->style.NTownColor), 2000);
}

TEST_F(JapanLayers, OldNamesTakeThePlaceOfTheChangedNames) {
    // Every drawn name gets a white box on the (not white) background.
    Settei->CBWhite->SetChecked(true);
    ASSERT_NE(Open->style.BackColor, 0xFFFFFFu);
    for (int code : {16, 10, 29, 9}) {
        SCOPED_TRACE(code);
        ShowArea(code, 2);
        ASSERT_TRUE(Open->ui.CBTownName->Checked());
        const auto today = NamePixels(Open->doc.TownX, Open->doc.TownY, Open->doc.TownDup, Open->doc.TownCount);
        const auto changed = NamePixels(Open->doc.NewTownX, Open->doc.NewTownY, Open->doc.NewTownDup, Open->doc.NewTownCount);
        const auto old = NamePixels(Open->doc.OldTownX, Open->doc.OldTownY, Open->doc.OldTownDup, Open->doc.OldTownCount);
        std::vector<Pixel> oldListed, city;
        for (int i = 0; i < Open->doc.ExtraCount; i++)
            if (Open->doc.ExtraPref[i] == code && Open->doc.ExtraKind[i] == 'X')
                oldListed.push_back(Screen(Open->doc.ExtraX[i], Open->doc.ExtraY[i]));
        for (int i = 0; i < Open->doc.CityCount; i++)
            if (Open->doc.CityPref[i] == code && Open->doc.CityName[i] == "さいたま市")
                city.push_back(Screen(Open->doc.CityX[i], Open->doc.CityY[i]));
        ASSERT_FALSE(old.empty());
        ASSERT_FALSE(changed.empty());

        Settei->CBCityName->SetChecked(true);
        ASSERT_FALSE(Open->ui.CBOldTown->Checked());
        Open->DrawMap();
        EXPECT_EQ(DrawnShare(today), 1.0);
        EXPECT_EQ(DrawnShare(changed), 1.0);
        EXPECT_LT(DrawnShare(old), 0.5);
        if (!oldListed.empty()) {
            EXPECT_EQ(DrawnShare(oldListed), 0.0) << "the listed old names only in the old state";
        }
        if (!city.empty()) {
            EXPECT_EQ(DrawnShare(city), 1.0);
        }

        Open->ui.CBOldTown->SetChecked(true);
        EXPECT_TRUE(Open->ui.CBNTownBorder->Checked());
        EXPECT_EQ(DrawnShare(today), 1.0);
        EXPECT_EQ(DrawnShare(old), 1.0);
        EXPECT_LT(DrawnShare(changed), 0.5);
        if (!oldListed.empty()) {
            EXPECT_EQ(DrawnShare(oldListed), 1.0);
        }
        if (!city.empty()) {
            EXPECT_EQ(DrawnShare(city), 0.0) << "the merged city did not exist in 2000";
        }
        Open->ui.CBOldTown->SetChecked(false);
    }
}

// Pictures to look at, in the build folder: 新潟 in 2000 and today, and 滋賀
// with the boundaries across 琵琶湖.
TEST_F(JapanLayers, PicturesOfTheOldAndTodaysMapAndOfALake) {
    const std::filesystem::path build(ROVANA_BUILD_DIR);
    auto write = [&](const char* name) {
        std::string error;
        EXPECT_TRUE(output::WritePng(*Open->ui.Image1->Picture()->Bitmap(), (build / name).string(), &error)) << error;
    };
    // The area choice's old-border option draws the old borders solid.
    Ken->CBOldBorder->SetChecked(true);
    ShowArea(16, 2);
    ASSERT_TRUE(Open->ui.CBOldTown->Checked());
    ASSERT_TRUE(Open->ui.CBTownName->Checked());
    EXPECT_GT(Count(Open->style.NTownColor), 5000);
    write("niigata-2000.png");

    Ken->CBOldBorder->SetChecked(false);
    ShowArea(16, 2);
    ASSERT_FALSE(Open->ui.CBOldTown->Checked());
    EXPECT_EQ(Count(Open->style.NTownColor), 0);
    write("niigata-today.png");

    ShowArea(24, 2);
    Open->ui.CBLake->SetChecked(true);
    EXPECT_GT(Count(Open->style.NTownColor), 500);
    write("biwako-lake.png");
}

// The stack drawn onto a bitmap of its own at the screen's view gives the
// screen's picture: no layer draws on the screen or by the view drawn last.
TEST_F(JapanLayers, TheStackDrawnOntoAnotherBitmapGivesTheScreensPicture) {
    areafiles::WriteText(programDir / "a.lbl", "○,176000,171700,甲,9,255\n○,176300,171900,乙,12,16711680\n");
    ShowArea(13, 1);
    gui::testing::QueueFileName((programDir / "a.lbl").string());
    Letter->Button7->Click();
    ASSERT_GT(Letter->LabelCount, 0);
    Open->ui.CBLabel->SetChecked(true);
    Open->ui.CBLonLat->SetChecked(true);
    Open->ui.CBScale->SetChecked(true);
    Open->ui.CBCenter->SetChecked(true);
    Open->ui.ken_name->SetChecked(true);
    Open->ui.kokudo->SetChecked(true);
    Settei->CBMesh->SetChecked(true);
    Settei->CBMeshName->SetChecked(true);
    Settei->CBOffice->SetChecked(true);
    Settei->CBWaku->SetChecked(true);
    Open->ui.CBExp->SetChecked(true);
    Open->ui.EdName->SetText("神奈川区");
    Open->ui.CBTownPaint->SetChecked(true);
    PagesDlg->SelectSymbol(100);
    ASSERT_TRUE(PagesDlg->AddPlacedSymbol(176200, 171500));
    PagesDlg->SymbolsShown = true;
    LineAdd->Button2Click(nullptr);
    for (int x : {200, 300, 320}) ToolPress(x, x / 2);
    LineAdd->Button10Click(nullptr);
    LineAdd->CheckBox3->SetChecked(true);
    LineAdd->EditLineShown = true;
    Open->DrawMap();
    ASSERT_EQ(LineAdd->PointCount(), 3);
    ASSERT_GT(Count(Open->style.TownPaintColor), 100) << "the search paint fills the ward";

    const int size = Open->ImageSize;
    TBitmap bitmap(size, size);
    const DrawSettings s = Open->ReadDrawSettings();
    ASSERT_TRUE(s.Labels && s.Mesh && s.MeshNames && s.Office && s.Frame && s.LegendShown && s.ScaleBar &&
                s.TownPaint && s.Symbols && s.EditLineShown);
    // Kept as shapes on the way, for a PDF of the same picture.
    gui::VectorRecorder shapes;
    bitmap.Canvas()->Vector = &shapes;
    Open->hooks.Layers.Draw(*bitmap.Canvas(), Open->DrawnView, s);
    bitmap.Canvas()->Vector = nullptr;
    const TCanvas* screen = Open->ui.Image1->Canvas();
    int differ = 0;
    for (int y = 0; y < size; y++)
        for (int x = 0; x < size; x++) differ += bitmap.Canvas()->Pixels(x, y) != screen->Pixels(x, y);
    EXPECT_EQ(differ, 0);

    // Every layer reaches the shapes: the PDF, rasterised at the picture's size, shows it.
    const std::string pdf = (programDir / "layers.pdf").string(), png = (programDir / "layers").string();
    ASSERT_TRUE(output::WritePdf(shapes, size, pdf, {int(output::PaperNames().size()) - 1, false, 100}, "layers"));
    ASSERT_EQ(std::system(("pdftocairo -png -r 100 -antialias none -singlefile '" + pdf + "' '" + png + "'").c_str()), 0);
    const QImage raster = QImage(QString::fromStdString(png + ".png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(raster.width(), size);
    // Two rasterisers put a glyph's or a slanted line's edge a pixel apart:
    // a pixel differs when no pixel next to it has its colour in the other picture.
    auto unmatched = [size](auto colourA, auto colourB) {
        int n = 0;
        for (int y = 1; y < size - 1; y++)
            for (int x = 1; x < size - 1; x++) {
                bool near = false;
                for (int dy = -1; dy <= 1 && !near; dy++)
                    for (int dx = -1; dx <= 1 && !near; dx++) near = colourB(x + dx, y + dy) == colourA(x, y);
                n += !near;
            }
        return n;
    };
    auto fromPdf = [&](int x, int y) { return FromPixel(raster.pixel(x, y)); };
    auto fromScreen = [&](int x, int y) { return screen->Pixels(x, y); };
    EXPECT_LT(unmatched(fromPdf, fromScreen), 40) << "drawn only in the PDF";
    EXPECT_LT(unmatched(fromScreen, fromPdf), 40) << "missing from the PDF";
}

} // namespace
