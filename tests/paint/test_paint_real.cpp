// Painting on the real data set, drawn in WGS: fills replay where they were made.
#include "paint/PaintTools.h"
#include "engine/Uken.h"
#include "engine/Uopen.h"
#include "paint/MainFormPaint.h"
#include "gui/Testing.h"
#include "paint/Uhanrei.h"
#include "paint/Upaint.h"
#include "tests/support/FormsFixture.h"
#include "tests/support/RealAreas.h"
#include <QImage>
#include <cmath>
#include <filesystem>
#include <map>

namespace {

using testsupport::BuildFolder;
using testsupport::ChooseAreas;

TColor Px(int x, int y) { return Open->ui.Image1->Canvas()->Pixels(x, y); }

QImage MapImage() { return Open->ui.Image1->Picture()->Bitmap()->Image().copy(); }

// Presses at the screen places of the first current names that lie on the
// background, slot after slot; returns how many were pressed. Each record
// replays on the pixel pressed.
int PaintNames(int wanted) {
    int pressed = 0;
    for (int i = 0; i < Open->doc.TownCount && pressed < wanted; ++i) {
        int sx, sy;
        Open->MapToScreen(Open->doc.TownX[i], Open->doc.TownY[i], sx, sy);
        if (Px(sx, sy) != Open->style.BackColor) continue;
        MapPaint->TkBtnClick(pressed % 8);
        PaintAt(*Open, sx, sy);
        // A name point on the water would paint the sea: take that back.
        const int corner = Open->ImageSize - 8;
        if (Px(corner, 8) != Open->style.BackColor) {
            MapPaint->BtnRepaintClick(MapPaint);
            continue;
        }
        int rx, ry;
        Open->MapToScreen(Open->paint.PaintRecords[pressed].x, Open->paint.PaintRecords[pressed].y, rx, ry);
        EXPECT_EQ(rx, sx) << i;
        EXPECT_EQ(ry, sy) << i;
        ++pressed;
    }
    return pressed;
}

} // namespace

class RealPaint : public JapanFormsTest {};

TEST_F(RealPaint, AFillInKanagawaReplaysInTheSameMunicipalityAtEveryZoom) {
    ChooseAreas({13});
    ASSERT_TRUE(Open->WgsDisplay);
    BtnPaintClick(*Open, Open);
    // The name point nearest the centre stays on the image at magnification 10.
    int best = -1;
    double bestD = 1e18;
    for (int i = 0; i < Open->doc.TownCount; ++i) {
        double d = std::hypot(double(Open->doc.TownX[i] - Open->CX), double(Open->doc.TownY[i] - Open->CY));
        int sx, sy;
        Open->MapToScreen(Open->doc.TownX[i], Open->doc.TownY[i], sx, sy);
        if (d < bestD && Px(sx, sy) == Open->style.BackColor) best = i, bestD = d;
    }
    ASSERT_GE(best, 0);
    int px, py;
    Open->MapToScreen(Open->doc.TownX[best], Open->doc.TownY[best], px, py);
    MapPaint->TkBtnClick(6);
    PaintAt(*Open, px, py);
    ASSERT_EQ(Open->paint.paint_rep, 1);
    EXPECT_EQ(Px(px, py), Open->style.PaintColor[6]);
    int rx, ry;
    Open->MapToScreen(Open->paint.PaintRecords[0].x, Open->paint.PaintRecords[0].y, rx, ry);
    EXPECT_EQ(rx, px);
    EXPECT_EQ(ry, py);

    Open->paint.PaintDisplay = true;
    for (int mag : {10, 3}) {
        Open->MAGSTEP = mag;
        ASSERT_TRUE(Open->DrawMap());
        Open->MapToScreen(Open->doc.TownX[best], Open->doc.TownY[best], px, py);
        Open->MapToScreen(Open->paint.PaintRecords[0].x, Open->paint.PaintRecords[0].y, rx, ry);
        // A pixel of the standard view holds many map units: the press is that exact.
        EXPECT_LE(std::abs(rx - px), mag + 1) << mag;
        EXPECT_LE(std::abs(ry - py), mag + 1) << mag;
        EXPECT_EQ(Px(px, py), Open->style.PaintColor[6]) << mag;
    }
}

TEST_F(RealPaint, AllAreasReplayAsPainted) {
    std::vector<int> all;
    for (int code = 1; code <= 52; ++code) all.push_back(code);
    ChooseAreas(all);
    BtnPaintClick(*Open, Open);
    Open->style.PaintPattern[3] = 6;
    ASSERT_EQ(PaintNames(200), 200);
    const QImage live = MapImage();
    Open->paint.PaintDisplay = true;
    ASSERT_TRUE(Open->DrawMap());
    const QImage replayed = MapImage();
    int differ = 0;
    for (int y = 0; y < live.height(); ++y)
        for (int x = 0; x < live.width(); ++x) differ += live.pixel(x, y) != replayed.pixel(x, y);
    EXPECT_EQ(differ, 0);
}

namespace {

// Labels of the 4-connected regions of equal colour.
std::vector<int> Regions(const QImage& im) {
    const int w = im.width(), h = im.height();
    std::vector<int> label(size_t(w) * h, -1);
    std::vector<int> stack;
    int next = 0;
    for (int start = 0; start < w * h; ++start) {
        if (label[start] >= 0) continue;
        const QRgb c = im.pixel(start % w, start / w);
        label[start] = next;
        stack.assign(1, start);
        while (!stack.empty()) {
            const int i = stack.back();
            stack.pop_back();
            const int x = i % w, y = i / w;
            for (auto [nx, ny] : {std::pair{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}}) {
                if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
                const int j = ny * w + nx;
                if (label[j] < 0 && im.pixel(nx, ny) == c) label[j] = next, stack.push_back(j);
            }
        }
        ++next;
    }
    return label;
}

} // namespace

// A press on the pixel just right of a municipal border fills that
// municipality; ended and taken up again, the fill is still there, and zoomed
// by 2 it never fills a neighbour. Batches stay within the records' room.
TEST_F(RealPaint, PressesBesideEveryBorderPixelOfKanagawaStayAfterTheRedraw) {
    ChooseAreas({13});
    BtnPaintClick(*Open, Open);
    const QImage bare = MapImage();
    const int size = bare.width();
    const QRgb back = bare.pixel(size - 1, size - 1);
    std::vector<std::pair<int, int>> presses;
    for (int y = 0; y < size; ++y)
        for (int x = 1; x < size; ++x)
            if (bare.pixel(x - 1, y) != back && bare.pixel(x, y) == back) presses.emplace_back(x, y);
    ASSERT_GT(presses.size(), 3000u);
    // The municipality of a region: the one name point on it.
    const std::vector<int> bareRegion = Regions(bare);
    const MapView standard = Open->DrawnView;
    std::map<int, int> nameOf;
    for (int i = 0; i < Open->doc.TownCount; ++i) {
        int nx, ny;
        standard.ToScreen(Open->doc.TownX[i], Open->doc.TownY[i], nx, ny);
        if (nx < 0 || ny < 0 || nx >= size || ny >= size || bare.pixel(nx, ny) != back) continue;
        auto [it, added] = nameOf.emplace(bareRegion[ny * size + nx], i);
        if (!added) it->second = -1;
    }
    int compared = 0, onBorder = 0;
    for (size_t first = 0; first < presses.size(); first += 1300) {
        const size_t end = std::min(presses.size(), first + 1300);
        for (size_t k = first; k < end; ++k) {
            MapPaint->TkBtnClick(int(k % 8));
            Open->Image1MouseDown(Open->ui.Image1, mbLeft, {}, presses[k].first, presses[k].second);
        }
        ASSERT_EQ(Open->paint.paint_rep, int(end - first));
        const QImage live = MapImage();
        MapPaint->Button19Click(MapPaint);
        MapPaint->BtnPaintAddClick(MapPaint);
        ASSERT_TRUE((Open->tools.ToolAs<PaintTool>() != nullptr));
        EXPECT_TRUE(MapImage() == live) << "every fill replays as made, presses from " << first;

        // Zoomed by 2 about the centre.
        Open->MAGSTEP = 2;
        ASSERT_TRUE(Open->DrawMap());
        const QImage zoomed = MapImage();
        const std::vector<int> zoomedRegion = Regions(zoomed);
        for (size_t k = first; k < end; ++k) {
            auto name = nameOf.find(bareRegion[presses[k].second * size + presses[k].first]);
            if (name == nameOf.end() || name->second < 0) continue;
            int rx, ry, nx, ny;
            const auto& r = Open->paint.PaintRecords[k - first];
            Open->MapToScreen(r.x, r.y, rx, ry);
            Open->MapToScreen(Open->doc.TownX[name->second], Open->doc.TownY[name->second], nx, ny);
            if (std::min({rx, ry, nx, ny}) < 0 || std::max({rx, ry, nx, ny}) >= size) continue;
            ++compared;
            // Twice as fine, a border drawn beside the pressed pixel may pass through it.
            if (zoomed.pixel(rx, ry) == bare.pixel(presses[k].first - 1, presses[k].second)) {
                ++onBorder;
                continue;
            }
            EXPECT_EQ(zoomedRegion[ry * size + rx], zoomedRegion[ny * size + nx])
                << "press " << k << " at " << presses[k].first << "," << presses[k].second << " fills another municipality";
        }
        Open->MAGSTEP = 1;
        gui::testing::QueueAnswer(IDOK);
        BtnPaintClick(*Open, Open);
        ASSERT_EQ(Open->paint.paint_rep, 0);
    }
    EXPECT_GT(compared, 1000);
    // A press half a pixel from a border (beside a diagonal step) lies a pixel
    // from it at zoom 2, where the drawn line may cover it; some 8 % do.
    EXPECT_LT(onBorder * 8, compared) << onBorder << " of " << compared;
}

// Also a picture for a person to look at, left in the build folder.
TEST_F(RealPaint, KanagawaWithEightSlotsAndALegendSavedAt1200) {
    ChooseAreas({13});
    BtnPaintClick(*Open, Open);
    Open->style.PaintPattern[2] = 6;
    Open->style.PaintPattern[5] = 7;
    ASSERT_EQ(PaintNames(24), 24);
    MapPaint->Button19Click(MapPaint);
    MapPaint->Button4Click(MapPaint);
    Hanrei->Edit9->SetText("神奈川県の塗り分け");
    for (int i = 0; i < 8; ++i) Hanrei->RowEdit(i)->SetText("色 " + std::to_string(i + 1));
    Hanrei->Button3Click(Hanrei);

    Open->ui.RadioGroup1->SetItemIndex(1);
    const std::string path = (BuildFolder() / "paint-legend-1200.png").string();
    std::filesystem::remove(path);
    gui::testing::QueueFileName(path);
    Open->PNG1Click(Open);
    QImage saved(QString::fromStdString(path));
    ASSERT_EQ(saved.width(), 1200);
    EXPECT_TRUE(saved.convertToFormat(QImage::Format_RGB32) == MapImage());
    // The first swatch, doubled: from (100, 136), 80 x 30.
    EXPECT_EQ(Px(140, 150), Open->style.PaintColor[0]);
    EXPECT_EQ(Open->LegendLeft, 90);
    int painted = 0;
    for (int slot = 0; slot < 8; ++slot)
        for (int y = 0; y < 1200; y += 3)
            for (int x = 0; x < 1200; x += 3) painted += Px(x, y) == Open->style.PaintColor[slot];
    EXPECT_GT(painted, 5000);
}
