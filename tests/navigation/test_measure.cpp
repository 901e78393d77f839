#include "navigation/NavigationTools.h"
#include "navigation/MainFormNavigation.h"
#include "navigation/AreaCount.h"
#include "engine/Uken.h"
#include "tests/navigation/MouseMap.h"
#include <QImage>

class Measure : public MouseMap {
protected:
    void Fill(int x1, int y1, int x2, int y2, TColor c) {
        TCanvas* cv = o->ui.Image1->Canvas();
        cv->Brush->Style = bsSolid;
        cv->Brush->Color = c;
        cv->FillRect(Rect(x1, y1, x2, y2));
    }
    // A route by clicks through the given pixels.
    float RouteArea(const std::vector<std::pair<int, int>>& pts) {
        BtnMultiClick(*o, o);
        for (auto [x, y] : pts) Down(x, y);
        return RouteAreaKm2(*o);
    }
};

TEST_F(Measure, AOnePixelRegionAndTheSeaThatTouchesTheEdge) {
    Button14Click(*o, o->ui.Button14);
    ASSERT_TRUE((o->tools.ToolAs<AreaTool>() != nullptr));
    Fill(0, 0, 600, 600, o->style.BackColor);   // no texts in the sea
    // One pixel whose four neighbours all have other colours.
    Fill(20, 20, 21, 21, 0x123456);
    Fill(19, 20, 20, 21, 0x00FF00);
    Fill(21, 20, 22, 21, 0x0000FF);
    Fill(20, 19, 21, 20, 0xFF0000);
    Fill(20, 21, 21, 22, 0x00FFFF);
    Down(20, 20);
    EXPECT_EQ(AreaCountOf(*o).FillCount, 1);
    EXPECT_EQ(AreaCountOf(*o).EdgeCount, 4);
    EXPECT_FALSE(AreaCountOf(*o).OpenRegion);
    EXPECT_FLOAT_EQ(AreaCountOf(*o).AreaKm2, 3.0f / 360000 * o->ViewWidthKm * o->ViewHeightKm);
    EXPECT_EQ(FontColor(o->ui.Label31), clRed);
    EXPECT_EQ(Px(20, 20), o->style.DefAreaFillColor);
    // Counted once: a second press adds nothing.
    Down(20, 20);
    EXPECT_EQ(AreaCountOf(*o).FillCount, 1);
    EXPECT_EQ(AreaCountOf(*o).EdgeCount, 4);

    // The sea: everything but the image edge and the five pixels above.
    Down(300, 300);
    EXPECT_TRUE(AreaCountOf(*o).OpenRegion);
    EXPECT_EQ(AreaCountOf(*o).FillCount, 1 + 598 * 598 - 5);
    EXPECT_EQ(AreaCountOf(*o).EdgeCount, 4) << "the coloured pixels were counted by the first press";
    EXPECT_EQ(FontColor(o->ui.Label31), clYellow);
    EXPECT_EQ(Px(300, 300), o->style.DefAreaFillColor);
    EXPECT_EQ(Px(0, 300), o->style.BackColor) << "the edge is not counted";
    EXPECT_EQ(o->ui.Label31->Caption(), gui::Format("%8.0f km", AreaCountOf(*o).AreaKm2));
    EXPECT_GT(AreaCountOf(*o).AreaKm2, 1000);

    // Off again: the map is redrawn and the box is back.
    Button14Click(*o, o->ui.Button14);
    EXPECT_FALSE((o->tools.ToolAs<AreaTool>() != nullptr));
    EXPECT_FALSE(AreaCountOf(*o).OpenRegion);
    EXPECT_EQ(Px(300, 300), o->style.BackColor);
    EXPECT_TRUE(o->ui.BtnMulti->Enabled());
}

TEST_F(Measure, ImagesLargerThanTheVisitMapAreRefusedAndLeaveNoModeArmed) {
    o->COPYSCALE = 2;
    ASSERT_TRUE(o->DrawMap());
    ASSERT_EQ(o->ImageSize, 1200);
    const std::string before = o->ui.Label31->Caption();
    Button14Click(*o, o->ui.Button14);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text.rfind("画像サイズ600以上では処理できません", 0), 0u);
    EXPECT_NE(Messages()[0].text.find("600以下を選んで"), std::string::npos) << "says what to do";
    EXPECT_EQ(Messages()[0].caption, "画像サイズエラー");
    EXPECT_FALSE((o->tools.ToolAs<AreaTool>() != nullptr));
    EXPECT_TRUE(o->ui.BtnMulti->Enabled());
    Down(300, 300);
    EXPECT_EQ(Messages().size(), 1u) << "the press is a plain one";
    EXPECT_EQ(AreaCountOf(*o).FillCount, 0);
    EXPECT_EQ(o->ui.Label31->Caption(), before);

    // Armed at 600, the image grown afterwards: the press is refused and the measurement ends.
    o->COPYSCALE = 1;
    ASSERT_TRUE(o->DrawMap());
    Button14Click(*o, o->ui.Button14);
    ASSERT_TRUE((o->tools.ToolAs<AreaTool>() != nullptr));
    o->COPYSCALE = 2;
    ASSERT_TRUE(o->DrawMap());
    Down(300, 300);
    EXPECT_EQ(Messages().size(), 2u);
    EXPECT_FALSE((o->tools.ToolAs<AreaTool>() != nullptr));
    EXPECT_EQ(o->ui.Button14->Caption(), "面積");
    EXPECT_EQ(Px(300, 300), o->style.BackColor);
}

TEST_F(Measure, RouteAreaIsTheSameEitherWayRoundAndZeroForTwoPoints) {
    const float cw = RouteArea({{100, 100}, {300, 100}, {300, 300}, {100, 300}});
    EXPECT_EQ(o->RoutePointCount, 4);
    EXPECT_EQ(RouteOf(*o).RouteX[4], RouteOf(*o).RouteX[0]) << "closed by a copy of point 0";
    const float ccw = RouteArea({{100, 100}, {100, 300}, {300, 300}, {300, 100}});
    EXPECT_NEAR(cw, ccw, cw * 1e-4);
    // A third of the view each way.
    const float box = o->ViewWidthKm / 3 * o->ViewHeightKm / 3;
    EXPECT_NEAR(cw, box, box * 0.03);
    // Zero but for float rounding (the sums run to tens of thousands of km²).
    EXPECT_LT(RouteArea({{100, 100}, {400, 250}}), box * 1e-5);

    // The length so far is shown from the second point on.
    BtnMultiClick(*o, o);
    Down(100, 100);
    EXPECT_EQ(o->ui.Label31->Caption(), "   計測中 1");
    EXPECT_EQ(o->ui.Label15->Caption(), "   0.00 km");
    Down(100, 200);
    EXPECT_EQ(o->ui.Label31->Caption(), "   計測中 2");
    EXPECT_NE(o->ui.Label15->Caption(), "   0.00 km");
}

TEST_F(Measure, ATimedRouteClosesNearItsStartAfterElevenPointsNotTen) {
    for (int far : {9, 8}) {
        o->ui.CBTimer->SetChecked(true);
        BtnMultiClick(*o, o);
        Down(100, 100);
        Timer2Timer(*o, o->ui.Timer2);
        for (int k = 1; k <= far; ++k) {
            Move(100 + 20 * k, 100 + (k % 2) * 50);
            Timer2Timer(*o, o->ui.Timer2);
        }
        Move(103, 97);   // 3 pixels from the start
        Timer2Timer(*o, o->ui.Timer2);
        if (far == 9) {
            EXPECT_TRUE(o->RouteDone);
            EXPECT_FALSE(o->ui.Timer2->Enabled());
            EXPECT_EQ(RouteOf(*o).RouteX[11], RouteOf(*o).RouteX[0]);
            EXPECT_TRUE(o->ui.BtnMulti->Enabled());
        } else {
            EXPECT_FALSE(o->RouteDone);
            EXPECT_TRUE(o->ui.Timer2->Enabled());
            EXPECT_EQ(o->RoutePointCount, 10);
            EXPECT_EQ(o->ui.Label31->Caption(), "   計測中 10");
            o->ui.Timer2->SetEnabled(false);
        }
    }
}

TEST_F(Measure, RoutesStopWithRoomLeftForTheClosingPoint) {
    BtnMultiClick(*o, o);
    for (int i = 0; i < RouteState::ROUTE_MAX - 1; ++i) Down(50 + i % 500, 50 + i / 500 * 100);
    EXPECT_TRUE(Messages().empty());
    ASSERT_EQ(o->RoutePointCount, RouteState::ROUTE_MAX - 1);
    Down(300, 500);
    EXPECT_EQ(o->RoutePointCount, RouteState::ROUTE_MAX - 1);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text, "測点経路のデータ数が多すぎます　　　");
    EXPECT_EQ(Messages()[0].caption, "測点経路エラー");
    RouteAreaKm2(*o);
    EXPECT_EQ(RouteOf(*o).RouteX[RouteState::ROUTE_MAX - 1], RouteOf(*o).RouteX[0]);

    // Timed: the timer stops at the same count.
    Messages().clear();
    o->ui.CBTimer->SetChecked(true);
    BtnMultiClick(*o, o);
    Down(300, 300);
    int ticks = 0;
    for (; ticks < RouteState::ROUTE_MAX + 5 && Messages().empty(); ++ticks) {
        Move(50 + ticks % 500, 50 + ticks / 500 * 100);
        Timer2Timer(*o, o->ui.Timer2);
    }
    EXPECT_EQ(ticks, RouteState::ROUTE_MAX - 1) << "one tick per point";
    EXPECT_FALSE(o->ui.Timer2->Enabled());
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].caption, "測点経路エラー");
    EXPECT_EQ(Messages()[0].flags, MB_OK);
    // The full route is done: length and area on view, the tools back, presses answered.
    EXPECT_TRUE(o->RouteDone);
    EXPECT_FALSE(o->ui.CBTimer->Checked());
    EXPECT_EQ(RouteOf(*o).RouteX[RouteState::ROUTE_MAX - 1], RouteOf(*o).RouteX[0]);
    EXPECT_EQ(o->ui.Label31->Caption().find("計測中"), std::string::npos);
    EXPECT_TRUE(o->ui.Label33->Visible());
    EXPECT_NE(o->ui.Label15->Caption(), "   0.00 km");
    for (QWidget* w : std::initializer_list<QWidget*>{o->ui.BtnMulti, o->ui.Button6, o->ui.Button14, o->ui.BtnPaint, o->ui.BtnCenter, o->ui.Panel1})
        EXPECT_TRUE(w->isEnabled());
    const std::string length = o->ui.Label15->Caption();
    Down(200, 200);
    EXPECT_EQ(o->DistanceMode, 1);
    EXPECT_EQ(o->ui.Label15->Caption(), length) << "a done route keeps its length";
}

TEST_F(Measure, TheDisplayedLandAreaIgnoresWhatWasOnTheImageAndSkipsTheIslandGroups) {
    SetStore(o->doc.CoastLine, {{{200, 200}, {400, 200}, {400, 400}, {200, 400}, {200, 200}}});
    o->ui.CBNokori->SetChecked(true);
    o->ui.CBTownName->SetChecked(false);
    ASSERT_TRUE(o->DrawMap());
    Button14Click(*o, o->ui.Button14);
    const std::string clean = o->ui.Label31->Caption();
    EXPECT_FALSE((o->tools.ToolAs<AreaTool>() != nullptr)) << "the box measures at once instead";
    EXPECT_TRUE(o->ui.CBTownName->Checked()) << "one area shown";
    // About a ninth of the view.
    const float ninth = o->ViewWidthKm * o->ViewHeightKm / 9;
    EXPECT_NEAR(std::stof(clean), ninth, ninth * 0.05) << clean;

    // A ring left on the image in the sea does not count as land.
    o->ui.CBTownName->SetChecked(false);
    TCanvas* cv = o->ui.Image1->Canvas();
    cv->Pen->Color = clBlack;
    cv->Brush->Style = bsClear;
    cv->Rectangle(30, 30, 150, 150);
    MeasureDisplayedArea(*o);
    EXPECT_EQ(o->ui.Label31->Caption(), clean);

    Messages().clear();
    o->doc.SelectCode[0] = 51;
    MeasureDisplayedArea(*o);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text, "領域が広すぎて測定できません　　　　　");
    EXPECT_EQ(Messages()[0].caption, "測定範囲エラー");
    o->doc.SelectCode[0] = 12;
}

// The map of Kanagawa with two measured regions, a route and a snapped range
// square, written for a look by eye.
class MeasurePicture : public FormsTest {
protected:
    void FillProgramFolder(const std::filesystem::path& dir) override { testsupport::CopyJapanData(dir, {"MAPDATA"}); }
};

TEST_F(MeasurePicture, KanagawaWithRegionsARouteAndARange) {
    Ken->Show();
    Ken->AreaBox(13)->SetChecked(true);
    Ken->Button1->Click();
    ASSERT_TRUE(Open->gate.MapShown);
    ASSERT_EQ(Open->ImageSize, 600);
    TOpen* o = Open;
    auto down = [o](int x, int y) { o->Image1MouseDown(o->ui.Image1, mbLeft, {}, x, y); };
    auto move = [o](int x, int y) { o->Image1MouseMove(o->ui.Image1, {}, x, y); };

    // Borders leave a pixel open where two polylines meet, so many regions
    // run into the sea: try points until two closed ones are found.
    std::vector<std::pair<int, int>> closed;
    Button14Click(*o, o->ui.Button14);
    for (int y = 180; y < 440 && closed.size() < 2; y += 23)
        for (int x = 150; x < 450 && closed.size() < 2; x += 29) {
            if (o->ui.Image1->Canvas()->Pixels(x, y) != o->style.BackColor) continue;
            const int fill = AreaCountOf(*o).FillCount;
            down(x, y);
            if (AreaCountOf(*o).OpenRegion) {   // the sea: redraw and go on
                Button14Click(*o, o->ui.Button14);
                Button14Click(*o, o->ui.Button14);
                for (auto [cx, cy] : closed) down(cx, cy);
                continue;
            }
            if (AreaCountOf(*o).FillCount - fill > 200) {
                closed.push_back({x, y});
                EXPECT_GT(AreaCountOf(*o).AreaKm2, 1.0f);
                EXPECT_LT(AreaCountOf(*o).AreaKm2, 3000.0f);
            }
        }
    EXPECT_EQ(closed.size(), 2u);

    BtnMultiClick(*o, o);
    const std::pair<int, int> route[] = {{120, 120}, {260, 140}, {300, 260}, {180, 300}};
    for (auto [x, y] : route) {
        move(x, y);
        down(x, y);
    }
    move(130, 160);
    EXPECT_GT(RouteLengthKm(*o), 10.0f);
    TkBtn2Click(*o, o);
    down(330, 330);
    move(450, 440);
    EXPECT_GT(o->tools.ToolAs<RangeTool>()->Side, 110);

    const std::filesystem::path out = std::filesystem::path(ROVANA_BINARY).parent_path() / "measure.png";
    ASSERT_TRUE(o->ui.Image1->Canvas()->Image().save(QString::fromStdString(out.string()), "PNG"));
    std::cout << "  " << out.string() << "\n";
}
