#include "labels/LabelTools.h"
#include "navigation/MainFormNavigation.h"
#include "lines/MainFormLines.h"
#include "navigation/AreaCount.h"
#include "labels/Uletter.h"
#include "labels/Uischange.h"
#include "labels/Upagesdlg.h"
#include "labels/Uprefset.h"
#include "lines/LineTools.h"
#include "lines/Ukyori.h"
#include "lines/Ulineadd.h"
#include "names/NameTools.h"
#include "names/Ucorrect.h"
#include "names/Uextra.h"
#include "names/Unamedel.h"
#include "names/Utoshi.h"
#include "names/Uyomi.h"
#include "navigation/NavigationTools.h"
#include "navigation/Usettei.h"
#include "paint/Upaint.h"
#include "tests/navigation/MouseMap.h"
#include <functional>
#include <regex>
#include "names/MainFormNames.h"

class PressChain : public MouseMap {};

TEST_F(PressChain, NothingBeforeAMapAndTheRightButtonOpensTheSettingsWhateverIsArmed) {
    o->gate.MapShown = false;
    o->BtnCenterClick(o);
    Down(100, 100);
    EXPECT_TRUE(o->tools.ToolAs<CentreTool>());
    EXPECT_EQ(o->DistanceMode, 0);

    o->gate.MapShown = true;
    Button14Click(*o, o);
    ASSERT_TRUE(o->tools.ToolAs<AreaTool>());
    ASSERT_FALSE(Settei->Visible());
    Down(100, 100, mbRight);
    EXPECT_TRUE(Settei->Visible());
    EXPECT_TRUE(o->tools.ToolAs<AreaTool>());
    EXPECT_EQ(AreaCountOf(*o).FillCount, 0);
}

TEST_F(PressChain, TheWebMapComesBeforeTheArmedToolOpensOnceAndNamesLatitudeFirst) {
    Button14Click(*o, o);
    Settei->CBWatch->SetChecked(true);
    Down(120, 450);
    ASSERT_EQ(gui::testing::ShellOpens().size(), 1u);
    EXPECT_FALSE(Settei->CBWatch->Checked());
    EXPECT_FALSE(o->ui.CBChiri->Checked());
    EXPECT_EQ(AreaCountOf(*o).FillCount, 0) << "the area count did not see the press";
    EXPECT_TRUE(Messages().empty());
    ASSERT_TRUE(o->tools.ToolAs<AreaTool>()) << "and takes the press after";
    EXPECT_EQ(o->ui.Button14->Caption(), "終り");

    // Pixel (120, 450) of a map centred on 137 E, 34 N lies south-west of the centre.
    const std::string url = gui::testing::ShellOpens()[0];
    std::smatch m;
    ASSERT_TRUE(std::regex_search(url, m, std::regex(R"(^https?://[^/]+/\?vs=c1&ll=([0-9.]+),([0-9.]+)#15/([0-9.]+)/([0-9.]+)/&base=std&ls=std&disp=1&vs=c1j0l0u0t0z0r0f1$)")))
        << url;
    const double lat = std::stod(m[1]), lon = std::stod(m[2]);
    EXPECT_GT(lat, 31.0);
    EXPECT_LT(lat, 34.0);
    EXPECT_GT(lon, 134.0);
    EXPECT_LT(lon, 137.0);
    EXPECT_EQ(m[1], m[3]);
    EXPECT_EQ(m[2], m[4]);

    // Ticked and unticked, the box gives the map back to the area count; Esc
    // with the box ticked ends both.
    o->ui.CBChiri->SetChecked(true);
    o->ui.CBChiri->SetChecked(false);
    ASSERT_TRUE(o->tools.ToolAs<AreaTool>());
    Down(120, 450);
    EXPECT_EQ(gui::testing::ShellOpens().size(), 1u);
    EXPECT_GT(AreaCountOf(*o).FillCount, 0);
    o->ui.CBChiri->SetChecked(true);
    o->EscapePressed();
    EXPECT_EQ(o->tools.ActiveTool(), nullptr);
    EXPECT_FALSE(o->ui.CBChiri->Checked());
    EXPECT_EQ(o->ui.Button14->Caption(), "面積");

    // A failing shell is told.
    o->ui.CBChiri->SetChecked(true);
    gui::testing::ShellOpenResult() = 32;
    Down(120, 450);
    gui::testing::ShellOpenResult() = 42;
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text, "インターネットエクスプローラの起動に失敗しました　　　　");
    EXPECT_EQ(Messages()[0].caption, "ウォッ地図呼び出しエラー");
    EXPECT_EQ(Messages()[0].flags, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_FALSE(o->ui.CBChiri->Checked());
}

TEST_F(PressChain, ARunningTimedRouteSwallowsEveryLeftPress) {
    o->ui.CBTimer->SetChecked(true);
    BtnMultiClick(*o, o);
    Down(200, 200);
    EXPECT_EQ(RouteOf(*o).RouteX[0], 216);
    EXPECT_EQ(RouteOf(*o).RouteY[0], 215);
    EXPECT_TRUE(o->ui.Timer2->Enabled());
    Down(250, 250);   // before the first tick too
    Timer2Timer(*o, o->ui.Timer2);
    ASSERT_EQ(o->RoutePointCount, 1);
    EXPECT_EQ(RouteOf(*o).RouteX[0], 216);

    Down(300, 300);
    EXPECT_EQ(o->DistanceMode, 0);
    EXPECT_EQ(o->RoutePointCount, 1);
    o->ui.Timer2->SetEnabled(false);
}

TEST_F(PressChain, LegendAndScaleBoxesAreGrabbedStrictlyInsideAndScaleWithTheImage) {
    o->LegendShown = true;
    o->LegendLeft = 100, o->LegendTop = 100, o->LegendRight = 200, o->LegendBottom = 150;
    Letter->Button2Click(Letter);   // a tool after the grabs does not take a press inside the box
    ASSERT_TRUE(Letter->PlacingNewLabel());
    Down(101, 149);
    EXPECT_TRUE(o->LegendDrag);
    EXPECT_TRUE(Letter->PlacingNewLabel());
    o->tools.EndActiveTool();
    Down(100, 120);
    EXPECT_FALSE(o->LegendDrag);
    EXPECT_EQ(o->DistanceMode, 1) << "the edge is outside: the press starts a distance";
    o->Image1MouseUp(o->ui.Image1, mbLeft, {}, 100, 120);

    o->ScaleShown = true;
    o->style.scl_x1 = 350, o->style.scly1 = 550, o->style.ScaleRight = 450, o->style.ScaleBottom = 556;
    o->ImageSize = 1200;   // the box in 600-pixel units, doubled
    Down(691, 1091);
    EXPECT_TRUE(o->ScaleDrag);
    o->ScaleDrag = false;
    Down(690, 1091);
    EXPECT_FALSE(o->ScaleDrag);
    Down(909, 1121);
    EXPECT_TRUE(o->ScaleDrag);
    o->ScaleDrag = false;
    o->ImageSize = 600;
    Down(400, 560);   // inside the 600-pixel box
    EXPECT_TRUE(o->ScaleDrag);
}

// Each tool of a window, armed alone: the press either ends with it or goes on
// to the map's own steps, where it starts a distance.
TEST_F(PressChain, ToolsEndThePressOrPassItOn) {
    struct Case { const char* name; std::function<void()> arm; bool goesOn; };
    const std::vector<Case> cases = {
        {"stamp", [] { PagesDlg->SelectSymbol(100); }, false},
        {"circle centre", [this] { NCircleClick(*o, o); }, false},
        {"add point", [] { LineAdd->Button2Click(nullptr); }, false},
        {"insert point", [] { LineAdd->ArmPoint(LinePointTool::Insert); }, false},
        {"move point", [] { LineAdd->ArmPoint(LinePointTool::MovePoint); }, false},
        {"prefecture pick", [] { PrefSet->Button5Click(PrefSet); }, false},
        {"prefecture place", [this] { PrefSet->Button5Click(PrefSet), o->tools.ToolAs<PrefNameTool>()->Picked = true; }, true},
        {"city position", [this] { o->tools.SetTool(std::make_unique<PositionTool>(*o, Toshi)); }, false},
        {"duplicate position", [this] { o->tools.SetTool(std::make_unique<PositionTool>(*o, Extra)); }, false},
        {"island pick", [] { IsChange->Button1Click(IsChange); }, true},
        {"island place", [] { IsChange->Button2Click(IsChange); }, true},
        {"name pick", [] { Correct->Button1Click(Correct); }, false},
        {"name add", [this] { o->tools.SetTool(std::make_unique<NameAddTool>(*o)); }, false},
        {"name delete", [] { NameDel->Button2Click(NameDel); }, false},
        {"name place", [] { Correct->Button2Click(Correct); }, false},
        {"paint", [] { MapPaint->TkBtnClick(0); }, false},
        {"label move", [this] { o->tools.ArmTool<LabelTool>(*o).MoveLabel = true; }, true},
        {"label", [] { Letter->Button2Click(Letter); }, false},
    };
    for (const Case& c : cases) {
        c.arm();
        ASSERT_NE(o->tools.ActiveTool(), nullptr) << c.name;
        o->DistanceMode = 0;
        Down(300, 300);
        EXPECT_EQ(o->DistanceMode != 0, c.goesOn) << c.name;
        o->Image1MouseUp(o->ui.Image1, mbLeft, {}, 300, 300);
        o->tools.EndActiveTool();
    }
    // A label being moved while a new one is placed does not go on by itself.
    LabelTool& t = o->tools.ArmTool<LabelTool>(*o);
    t.MoveLabel = t.NewLabel = true;
    o->DistanceMode = 0;
    Down(300, 300);
    EXPECT_EQ(o->DistanceMode, 0);
    EXPECT_TRUE(Letter->MovingLabel()) << "the move waits for the next press";
    o->tools.EndActiveTool();
}

TEST_F(PressChain, TheCentreButtonMakesThePressedPixelTheCentre) {
    o->ui.BtnCenter->SetEnabled(true);
    o->BtnCenterClick(o);
    EXPECT_FALSE(o->ui.BtnCenter->Enabled());
    int32_t x, y;
    o->ScreenToMap(450, 200, x, y);

    // The cross follows the mouse and leaves no trace behind.
    const QImage before = Snapshot();
    Move(100, 100);
    EXPECT_NE(Px(110, 100), o->style.BackColor);
    Move(150, 120);
    EXPECT_EQ(Px(110, 100), o->style.BackColor);
    EXPECT_NE(Px(150, 130), o->style.BackColor);
    Move(450, 200);

    Down(450, 200);
    EXPECT_TRUE(o->ui.BtnCenter->Enabled());
    EXPECT_FALSE(o->tools.ToolAs<CentreTool>());
    int sx, sy;
    o->MapToScreen(x, y, sx, sy);
    EXPECT_NEAR(sx, 300, 1);
    EXPECT_NEAR(sy, 300, 1);
    EXPECT_EQ(o->ui.Image1->Canvas()->Pen->Mode, pmCopy);
    EXPECT_EQ(Snapshot(), before) << "an empty map redrawn anywhere";
}

class Range : public MouseMap {
protected:
    void SetUp() override {
        MouseMap::SetUp();
        TkBtn2Click(*o, o);
        o->ui.CBCopy->SetChecked(false);
    }
    // Drags from (100, 100) by side pixels; returns the unsnapped width.
    float DragBy(int side) {
        Down(100, 100);
        Move(100 + side, 100 + side);
        return o->RangeWidthKm;
    }
    // The first side whose unsnapped width lies in [lo, hi).
    int SideFor(float lo, float hi) {
        for (int side = 25; side < 590; ++side) {
            Down(100, 100);
            Move(100 + side, 100 + side);
            const float w = o->RangeWidthKm;
            o->RangeDrag = false;
            o->ui.Image1->Canvas()->Pen->Mode = pmCopy;
            o->DrawMap();
            if (w >= lo && w < hi) return side;
        }
        return -1;
    }
};

TEST_F(Range, WidthsSnapUpToTheNextStep) {
    struct Case { float lo, hi; const char* shown; float snapped; };
    for (const Case& c : {Case{49.0f, 49.95f, "  50.00 km", 50}, Case{50.05f, 51.0f, "  60.00 km", 60},
                          Case{198.5f, 199.95f, " 200.00 km", 200}, Case{200.05f, 202.0f, " 220.00 km", 220}}) {
        const int side = SideFor(c.lo, c.hi);
        ASSERT_GT(side, 0) << c.shown;
        const float w = DragBy(side);
        EXPECT_EQ(o->ui.Label15->Caption(), c.shown);
        EXPECT_GE(o->tools.ToolAs<RangeTool>()->Side, side);
        EXPECT_LE(o->tools.ToolAs<RangeTool>()->Side, side * 1.2 + 1);
        EXPECT_LT(w, c.snapped);
        o->RangeDrag = false;
        o->ui.Image1->Canvas()->Pen->Mode = pmCopy;
        o->DrawMap();
    }
    o->scale = 0.005f;   // about 1100 km across
    o->DrawMap();
    const int side = SideFor(1000.5f, 1010.0f);
    ASSERT_GT(side, 0);
    DragBy(side);
    EXPECT_EQ(o->ui.Label15->Caption(), "1100.00 km");
}

TEST_F(Range, AnAcceptedRangeFillsTheImageAndIsCopiedWhenAsked) {
    o->ui.CBCopy->SetChecked(true);
    gui::testing::ClipboardImage() = QImage();
    DragBy(60);
    const int side = o->tools.ToolAs<RangeTool>()->Side;
    const int redraws = o->RedrawCount;
    Up(160, 160);
    EXPECT_FALSE(o->RangeDrag);
    EXPECT_TRUE(o->RangeZoom);
    EXPECT_EQ(gui::testing::ClipboardImage().width(), side);
    EXPECT_EQ(gui::testing::ClipboardImage().height(), side);
    EXPECT_GE(o->RedrawCount, redraws + 2);
    EXPECT_FALSE(o->ui.Timer1->Enabled());
    EXPECT_NEAR(o->ViewWidthKm, o->RangeWidthKm, o->RangeWidthKm * 0.02);
    EXPECT_EQ(o->ui.Image1->Canvas()->Pen->Mode, pmCopy);
}

TEST_F(Range, UpLeftTinyAndNarrowRangesAreRefused) {
    o->ui.CBCopy->SetChecked(true);
    struct Case { int dx, dy; };
    // Up and left; 4 pixels.
    for (Case c : {Case{-30, -40}, Case{4, 4}}) {
        gui::testing::ClipboardImage() = QImage();
        o->RangeZoom = false;
        o->ui.Timer1->SetEnabled(false);
        Down(300, 300);
        Move(300 + c.dx, 300 + c.dy);
        Up(300 + c.dx, 300 + c.dy);
        EXPECT_EQ(o->ui.Label15->Caption(), "指定エラー") << c.dx;
        EXPECT_TRUE(o->ui.Timer1->Enabled());
        EXPECT_FALSE(o->RangeDrag);
        EXPECT_EQ(o->ui.Image1->Canvas()->Pen->Mode, pmCopy);
        if (c.dx < 0) {
            EXPECT_TRUE(gui::testing::ClipboardImage().isNull());
        }
    }
    // Zoomed in so that 30 pixels are under 3 km.
    o->RangeZoom = false;
    o->ui.Timer1->SetEnabled(false);
    // The copy's redraw ran while dragging and kept the view at another step: reset it.
    o->MAGSTEP = 10;
    o->MAGUNIT = 1.0f;
    ASSERT_TRUE(o->DrawMap());
    Down(300, 300);
    Move(330, 330);
    ASSERT_LT(o->RangeWidthKm, 3.0f);
    EXPECT_EQ(o->tools.ToolAs<RangeTool>()->Side, 30);
    Up(330, 330);
    EXPECT_EQ(o->ui.Label15->Caption(), "指定エラー");
    EXPECT_TRUE(o->ui.Timer1->Enabled());
    o->ui.Timer1->SetEnabled(false);
}

class Readout : public MouseMap {};

TEST_F(Readout, DegreesMinutesSecondsAndMapCoordinates) {
    EXPECT_EQ(TOpen::FormatDms("緯度 ", 35.5f), "緯度  35.3000");
    EXPECT_EQ(TOpen::FormatDms("", 35.1f), " 35.0559") << "a float just under 35.1";
    EXPECT_EQ(TOpen::FormatDms("経度 ", 139.75f), "経度 139.4500");

    Move(300, 300);
    EXPECT_EQ(o->ui.Label13->Caption(), "緯度  34.0000");
    EXPECT_EQ(o->ui.Label14->Caption(), "経度 137.0000");
    o->Button11Click(o->ui.Button11);
    EXPECT_TRUE(o->ui.CBZahyo->Checked());
    Move(300, 300);
    EXPECT_EQ(o->ui.Label13->Caption(), "Y座標 150000");
    EXPECT_EQ(o->ui.Label14->Caption(), "X座標 150000");
    o->Button11Click(o->ui.Button11);
    EXPECT_EQ(o->ui.Label15->Caption(), "   0.00 km");
}

TEST_F(Readout, ReadingEndingsAreSetApart) {
    EXPECT_EQ(SplitReadingSuffix("よこはまし"), "よこはま - し");
    EXPECT_EQ(SplitReadingSuffix("なかく"), "なか - く");
    EXPECT_EQ(SplitReadingSuffix("はこねまち"), "はこね - まち");
    EXPECT_EQ(SplitReadingSuffix("おおいそちょう"), "おおいそ - ちょう");
    EXPECT_EQ(SplitReadingSuffix("きよかわむら"), "きよかわ - むら");
    EXPECT_EQ(SplitReadingSuffix("なかそん"), "なか - そん");
    EXPECT_EQ(SplitReadingSuffix("さがみはら"), "さがみはら");
}

TEST_F(Readout, TheNameUnderThePointerAndItsReading) {
    auto [x, y] = At(200, 200);
    o->doc.TownCount = 1;
    o->doc.TownName[0] = "一宮町";
    o->doc.TownX[0] = x, o->doc.TownY[0] = y, o->doc.TownDup[0] = 's';
    o->doc.YomiRecords = {{x + 500, y, "一宮町", "いちのみやまち"}};
    o->doc.YomiCount = 1;
    o->ui.CBYomi->SetEnabled(true);
    o->ui.CBYomi->SetChecked(true);

    Move(203, 198);
    EXPECT_EQ(Yomi->Label1->Caption(), "一宮町");
    EXPECT_EQ(Yomi->Label2->Caption(), "いちのみや - まち");
    EXPECT_EQ(Yomi->Label4->Caption(), "");
    // Straight onto a name without a reading: none of the last name's stays beside it.
    auto [x2, y2] = At(230, 200);
    o->doc.TownCount = 2;
    o->doc.TownName[1] = "二宮町";
    o->doc.TownX[1] = x2, o->doc.TownY[1] = y2, o->doc.TownDup[1] = 's';
    Move(230, 200);
    EXPECT_EQ(Yomi->Label1->Caption(), "二宮町");
    EXPECT_EQ(Yomi->Label2->Caption(), "読みがながありません");
    EXPECT_TRUE(Yomi->Label7->Visible());
    o->doc.TownCount = 1;
    Move(215, 200);   // 15 pixels off
    EXPECT_EQ(Yomi->Label1->Caption(), "該当なし");

    // Listed as a duplicate nearby: read out from the duplicate list, if its twin is shown.
    o->doc.ExtraCount = 1;
    o->doc.ExtraTownName[0] = "一宮町";
    o->doc.ExtraX[0] = x + 5, o->doc.ExtraY[0] = y - 5;
    o->ui.CBNTownBorder->SetChecked(false);
    Move(200, 200);
    EXPECT_EQ(Yomi->Label1->Caption(), "該当なし") << "the twin names are left out without old borders";
    o->ui.CBNTownBorder->SetChecked(true);
    Move(200, 200);
    EXPECT_EQ(Yomi->Label1->Caption(), "一宮町");
    EXPECT_EQ(Yomi->Label4->Caption(), "重複");

    o->doc.ExtraX[0] = x + 1999, o->doc.ExtraY[0] = y - 1999;
    EXPECT_TRUE(o->IsListedDuplicateName(0));
    o->doc.ExtraX[0] = x + 2000;
    EXPECT_FALSE(o->IsListedDuplicateName(0));
    o->doc.ExtraX[0] = x;
    o->doc.ExtraTownName[0] = "二宮町";
    EXPECT_FALSE(o->IsListedDuplicateName(0));
}

TEST_F(Readout, ADistanceDragLeavesTheImageAsItWas) {
    const QImage before = Snapshot();
    Down(100, 100);
    EXPECT_EQ(o->ui.Label15->Caption(), "   0.00 km");
    Move(150, 120);
    Move(260, 240);
    EXPECT_NE(Snapshot(), before);
    const float km = o->RangeWidthKm;
    // The button comes up away from the last move.
    Up(270, 250);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(o->DistanceMode, 0);
    EXPECT_EQ(o->ui.Label15->Caption(), gui::Format("%7.2f km", km));
    // 160 by 140 pixels at about 0.92 km each.
    EXPECT_GT(km, 170);
    EXPECT_LT(km, 220);
}
