#include "tests/support/ToolPress.h"
#include "lines/MainFormLines.h"
#include "engine/Coords.h"
#include "gui/Testing.h"
#include "lines/Ukyori.h"
#include "tests/lines/LineMap.h"
#include "tests/support/DrawnAt.h"

class Circles : public LineMap {
protected:
    TKyori* k = nullptr;
    void SetUp() override {
        LineMap::SetUp();
        k = Kyori;
    }
    // A centre typed as "ddd.mmss".
    void Typed(const std::string& lon, const std::string& lat) {
        k->CBCenter->SetChecked(true);
        k->EdLon->SetText(lon);
        k->EdLat->SetText(lat);
        k->Button1Click(nullptr);
    }
    int Colour(TColor c, int x0, int y0, int x1, int y1) { return Count(c, x0, y0, x1, y1); }
};

TEST(RingVertices, EveryVertexOfA100KmRingAt35NorthLies100KmAway) {
    const int32_t cx = 170000, cy = 165000;   // 139 E, 35 N
    for (int i = 0; i <= 100; i++) {
        int32_t x, y;
        RingVertex(cx, cy, 100, i, x, y);
        EXPECT_NEAR(GreatCircleKm(LatOf(cy), LonOf(cx), LatOf(y), LonOf(x)), 100.0, 0.05) << i;
    }
    int32_t ex, ey;
    RingVertex(cx, cy, 100, 0, ex, ey);
    EXPECT_GT(ex - cx, 100 * 100) << "a degree of longitude is short at 35 N";
    EXPECT_EQ(ey, cy);
}

TEST_F(Circles, TypedCentresReplaceOrAddAndTheCorrectionMovesThem) {
    k->RadioGroup1->SetItemIndex(3);
    Typed("137.0000", "34.0000");
    ASSERT_EQ(k->CircleCount, 1);
    EXPECT_EQ(k->Circles[0].cx, 150000);
    EXPECT_EQ(k->Circles[0].cy, 150000);
    EXPECT_EQ(k->Circles[0].radius, 100);
    EXPECT_TRUE(k->CheckBox6->Enabled()) << "attribute controls wake up with the first circle";
    Typed("138.3000", "35.1500");
    EXPECT_EQ(k->CircleCount, 1) << "not adding: the new circle replaces the old";
    EXPECT_EQ(k->Circles[0].cx, 165000);
    EXPECT_EQ(k->Circles[0].cy, 168750);
    k->CheckBox6->SetChecked(true);
    k->CBGSICorCircle->SetChecked(true);
    Typed("138.3000", "35.1500");
    ASSERT_EQ(k->CircleCount, 2);
    EXPECT_EQ(k->Label12->Caption(), "2");
    EXPECT_EQ(k->Circles[1].cx, 165000 + 30);
    EXPECT_EQ(k->Circles[1].cy, 168750 - 45);
}

TEST_F(Circles, RadiiMustBeWholeKilometresAndTheTableHasRoom) {
    k->RadioGroup1->SetItemIndex(5);
    for (const char* bad : {"2.5", "0", "-3", "abc"}) {
        k->Edit3->SetText(bad);
        gui::testing::Messages().clear();
        Typed("137.0000", "34.0000");
        ASSERT_EQ(gui::testing::Messages().size(), 1u) << bad;
        EXPECT_EQ(gui::testing::Messages()[0].caption, "半径エラー");
        EXPECT_EQ(k->CircleCount, 0) << bad;
    }
    k->Edit3->SetText("25");
    Typed("137.0000", "34.0000");
    ASSERT_EQ(k->CircleCount, 1);
    EXPECT_EQ(k->Circles[0].radius, 25);

    // A typed radius with a point leaves the circle as it was.
    k->Edit3->SetText("7.5");
    k->RadioGroup1->SetItemIndex(0);
    k->RadioGroup1->SetItemIndex(5);
    EXPECT_EQ(k->Circles[0].radius, 10);

    k->CheckBox6->SetChecked(true);
    k->CircleCount = CIRCLE_MAX;
    gui::testing::Messages().clear();
    Typed("137.0000", "34.0000");
    EXPECT_EQ(k->CircleCount, CIRCLE_MAX);
    EXPECT_EQ(gui::testing::Messages().size(), 1u);

    // With no circle an attribute change only sets its control.
    k->CheckBox6->SetChecked(false);
    k->CircleCount = 0;
    k->UpDown1->UserClick(btNext);
    k->CheckBox1->SetChecked(true);
    EXPECT_EQ(k->CircleCount, 0);
}

TEST_F(Circles, PressedAndTypedCentresAreKeptInTheTokyoDatumWhereTheUserPointed) {
    o->WgsDisplay = true;
    ASSERT_TRUE(o->DrawMap());
    k->CircleCount = 3;
    NCircleClick(*o, o);
    ToolPress(200, 250);
    ASSERT_EQ(k->CircleCount, 1);
    EXPECT_TRUE(DrawnAt(k->Circles[0].cx, k->Circles[0].cy, 200, 250));
    EXPECT_FALSE(k->CentreArmed());
    EXPECT_TRUE(k->CircleCentreSet);
    // The read-out shows the displayed (WGS) position, the circle keeps the Tokyo one.
    int32_t wx, wy;
    TokyoToWgs(k->Circles[0].cx, k->Circles[0].cy, wx, wy);
    EXPECT_NEAR(std::stoi(k->Label1->Caption()), wx, 2);
    EXPECT_NEAR(o->PointerLat, LatOf(wy), 2.0 / 15000);

    // The typed-centre boxes follow the pointer, to the second; typed back, the
    // centre is drawn on the pixel the read-out was taken at.
    for (bool wgs : {true, false}) {
        o->WgsDisplay = wgs;
        ASSERT_TRUE(o->DrawMap());
        NCircleClick(*o, o);
        o->Image1MouseMove(o->ui.Image1, {}, 123, 321);
        k->CBCenter->SetChecked(true);
        k->Button1Click(k->Button1);
        k->CBCenter->SetChecked(false);
        ASSERT_EQ(k->CircleCount, 1);
        EXPECT_TRUE(DrawnAt(k->Circles[0].cx, k->Circles[0].cy, 123, 321)) << wgs;
    }
}

// A malformed typed centre is told once, whichever of the two boxes holds it, and adds nothing.
TEST_F(Circles, AMalformedTypedCentreIsToldOnceAndAddsNothing) {
    for (auto [lon, lat] : {std::pair{"137.00", "34.0000"}, std::pair{"137.0000", "34.6000"}}) {
        gui::testing::Reset();
        Typed(lon, lat);
        EXPECT_EQ(k->CircleCount, 0) << lon << " " << lat;
        const auto& msgs = gui::testing::Messages();
        ASSERT_EQ(msgs.size(), 1u) << lon << " " << lat;
        EXPECT_EQ(msgs[0].text, "経緯度の指定が違っています\n\nddd.mmss 形式で指定してください");
        EXPECT_EQ(msgs[0].caption, "経緯度指定エラー");
    }
}

TEST_F(Circles, RingsGoOnUntilOneLeavesTheImageAndFixedLabelsKeepTheirSize) {
    k->CircleColor = 0x00FF00;
    k->CheckBox1->SetChecked(true);
    k->CheckBox3->SetChecked(false);
    k->RadioGroup1->SetItemIndex(2);
    Typed("137.0000", "34.0000");
    EXPECT_GT(Colour(0x00FF00, 0, 0, 40, 40), 0) << "rings reach the corners";
    EXPECT_GT(Colour(0x00FF00, 296, 296, 305, 305), 0) << "the centre cross";

    // Labels at 1800 pixels: fixed keeps 8 points, unfixed grows three times.
    auto labelInk = [&](bool fixed) {
        k->CheckBox5->SetChecked(fixed);
        k->CheckBox3->SetChecked(true);
        k->CheckBox1->SetChecked(false);
        o->COPYSCALE = 3;
        o->ui.Image1->SetImageSize(1800, 1800);
        o->DrawMap();
        int X, Y;
        o->MapToScreen(k->Circles[0].cx, k->Circles[0].cy, X, Y);
        int32_t ex, ey;
        RingVertex(k->Circles[0].cx, k->Circles[0].cy, 50, 0, ex, ey);
        o->MapToScreen(ex, ey, X, Y);
        return Colour(0x00FF00, X + 3, Y, X + 300, Y + 60);
    };
    const int small = labelInk(true), large = labelInk(false);
    EXPECT_GT(small, 0);
    EXPECT_GT(large, 4 * small);
}

// The main "円" button opens the window; only a new circle or "円削除" takes circles away.
TEST_F(Circles, OpeningTheWindowKeepsTheCircles) {
    k->RadioGroup1->SetItemIndex(3);
    Typed("137.0000", "34.0000");
    k->CheckBox6->SetChecked(true);
    Typed("137.3000", "34.0000");
    ASSERT_EQ(k->CircleCount, 2);
    k->CheckBox6->SetChecked(false);
    k->CBCenter->SetChecked(false);
    k->Close();
    Open->ui.Button13->Click();
    EXPECT_TRUE(k->Visible());
    EXPECT_EQ(k->CircleCount, 2);
    EXPECT_EQ(k->Label12->Caption(), "2");
    EXPECT_TRUE(k->CentreArmed());
    Open->DrawMap();
    int sx, sy;
    Open->MapToScreen(k->Circles[1].cx, k->Circles[1].cy, sx, sy);
    EXPECT_GT(Count(TColor(k->Circles[1].color), sx - 5, sy - 5, sx + 6, sy + 6), 0) << "still drawn";

    // The press makes the new circle, which replaces them while not adding.
    Open->Image1MouseDown(Open->ui.Image1, mbLeft, {}, 300, 300);
    EXPECT_EQ(k->CircleCount, 1);
    EXPECT_EQ(k->Label12->Caption(), "1");
}

// Rings are kept between redraws; a record rewritten in place (as a project
// restore does) must not draw the rings of the circle it replaced.
TEST_F(Circles, ARewrittenCircleDrawsItsOwnRings) {
    k->CircleColor = 0x00FF00;
    k->CheckBox1->SetChecked(true);
    k->RadioGroup1->SetItemIndex(2);
    Typed("137.0000", "34.0000");
    o->DrawMap();
    k->Circles[0].cx += 3000;
    k->Circles[0].radius += 10;
    o->DrawMap();
    const QImage kept = o->ui.Image1->Canvas()->Image().copy();
    k->Rings = RingCache{};
    o->DrawMap();
    EXPECT_TRUE(kept == o->ui.Image1->Canvas()->Image()) << "the rings of the old record were drawn";
}
