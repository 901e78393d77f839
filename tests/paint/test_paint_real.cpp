// Painting on the real data set, drawn in WGS: fills replay where they were made.
#include "engine/Uken.h"
#include "engine/Uopen.h"
#include "gui/Testing.h"
#include "paint/Uhanrei.h"
#include "paint/Upaint.h"
#include "tests/support/FormsFixture.h"
#include "tests/support/RealAreas.h"
#include <QImage>
#include <cmath>
#include <filesystem>

namespace {

using testsupport::BuildFolder;
using testsupport::ChooseAreas;

TColor Px(int x, int y) { return Open->Image1->Canvas()->Pixels(x, y); }

QImage MapImage() { return Open->Image1->Picture()->Bitmap()->Image().copy(); }

// Presses at the screen places of the first current names that lie on the
// background, slot after slot; returns how many were pressed. Each record
// replays within a pixel of its press.
int PaintNames(int wanted) {
    int pressed = 0;
    for (int i = 0; i < Open->TownCount && pressed < wanted; ++i) {
        int sx, sy;
        Open->MapToScreen(Open->TownX[i], Open->TownY[i], sx, sy);
        if (Px(sx, sy) != Open->BackColor) continue;
        MapPaint->TkBtnClick(pressed % 8);
        Open->PressPaint(27, sx, sy);
        // A name point on the water would paint the sea: take that back.
        const int corner = Open->ImageSize - 8;
        if (Px(corner, 8) != Open->BackColor) {
            MapPaint->BtnRepaintClick(MapPaint);
            continue;
        }
        int rx, ry;
        Open->MapToScreen(Open->PaintRecords[pressed].x, Open->PaintRecords[pressed].y, rx, ry);
        EXPECT_LE(std::abs(rx - sx), 1) << i;
        EXPECT_LE(std::abs(ry - sy), 1) << i;
        ++pressed;
    }
    return pressed;
}

} // namespace

class RealPaint : public JapanFormsTest {};

TEST_F(RealPaint, AFillInKanagawaReplaysInTheSameMunicipalityAtEveryZoom) {
    ChooseAreas({13});
    ASSERT_TRUE(Open->WgsDisplay);
    Open->BtnPaintClick(Open);
    // The name point nearest the centre stays on the image at magnification 10.
    int best = -1;
    double bestD = 1e18;
    for (int i = 0; i < Open->TownCount; ++i) {
        double d = std::hypot(double(Open->TownX[i] - Open->CX), double(Open->TownY[i] - Open->CY));
        int sx, sy;
        Open->MapToScreen(Open->TownX[i], Open->TownY[i], sx, sy);
        if (d < bestD && Px(sx, sy) == Open->BackColor) best = i, bestD = d;
    }
    ASSERT_GE(best, 0);
    int px, py;
    Open->MapToScreen(Open->TownX[best], Open->TownY[best], px, py);
    MapPaint->TkBtnClick(6);
    Open->PressPaint(27, px, py);
    ASSERT_EQ(Open->paint_rep, 1);
    EXPECT_EQ(Px(px, py), Open->PaintColor[6]);
    int rx, ry;
    Open->MapToScreen(Open->PaintRecords[0].x, Open->PaintRecords[0].y, rx, ry);
    EXPECT_LE(std::abs(rx - px), 1);
    EXPECT_LE(std::abs(ry - py), 1);

    Open->PaintDisplay = true;
    for (int mag : {10, 3}) {
        Open->MAGSTEP = mag;
        ASSERT_TRUE(Open->DrawMap());
        Open->MapToScreen(Open->TownX[best], Open->TownY[best], px, py);
        Open->MapToScreen(Open->PaintRecords[0].x, Open->PaintRecords[0].y, rx, ry);
        // A pixel of the standard view holds many map units: the press is that exact.
        EXPECT_LE(std::abs(rx - px), mag + 1) << mag;
        EXPECT_LE(std::abs(ry - py), mag + 1) << mag;
        EXPECT_EQ(Px(px, py), Open->PaintColor[6]) << mag;
    }
}

TEST_F(RealPaint, AllAreasReplayAsPainted) {
    std::vector<int> all;
    for (int code = 1; code <= 52; ++code) all.push_back(code);
    ChooseAreas(all);
    Open->BtnPaintClick(Open);
    Open->PaintPattern[3] = 6;
    ASSERT_EQ(PaintNames(200), 200);
    const QImage live = MapImage();
    Open->PaintDisplay = true;
    ASSERT_TRUE(Open->DrawMap());
    const QImage replayed = MapImage();
    int differ = 0;
    for (int y = 0; y < live.height(); ++y)
        for (int x = 0; x < live.width(); ++x) differ += live.pixel(x, y) != replayed.pixel(x, y);
    EXPECT_LT(differ, 600 * 6) << "a record a pixel off may miss a tiny region";
}

// Also a picture for a person to look at, left in the build folder.
TEST_F(RealPaint, KanagawaWithEightSlotsAndALegendSavedAt1200) {
    ChooseAreas({13});
    Open->BtnPaintClick(Open);
    Open->PaintPattern[2] = 6;
    Open->PaintPattern[5] = 7;
    ASSERT_EQ(PaintNames(24), 24);
    MapPaint->Button19Click(MapPaint);
    MapPaint->Button4Click(MapPaint);
    Hanrei->Edit9->SetText("神奈川県の塗り分け");
    for (int i = 0; i < 8; ++i) Hanrei->RowEdit(i)->SetText("色 " + std::to_string(i + 1));
    Hanrei->Button3Click(Hanrei);

    Open->RadioGroup1->SetItemIndex(1);
    const std::string path = (BuildFolder() / "paint-legend-1200.png").string();
    std::filesystem::remove(path);
    gui::testing::QueueFileName(path);
    Open->PNG1Click(Open);
    QImage saved(QString::fromStdString(path));
    ASSERT_EQ(saved.width(), 1200);
    EXPECT_TRUE(saved.convertToFormat(QImage::Format_RGB32) == MapImage());
    // The first swatch, doubled: from (100, 136), 80 x 30.
    EXPECT_EQ(Px(140, 150), Open->PaintColor[0]);
    EXPECT_EQ(Open->LegendLeft, 90);
    int painted = 0;
    for (int slot = 0; slot < 8; ++slot)
        for (int y = 0; y < 1200; y += 3)
            for (int x = 0; x < 1200; x += 3) painted += Px(x, y) == Open->PaintColor[slot];
    EXPECT_GT(painted, 5000);
}
