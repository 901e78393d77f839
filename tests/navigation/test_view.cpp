#include "labels/Uletter.h"
#include "navigation/MainFormNavigation.h"
#include "navigation/NavigationTools.h"
#include "paint/PaintTools.h"
#include "lines/Ulineadd.h"
#include "paint/Upaint.h"
#include "navigation/Usclist.h"
#include "navigation/Usettei.h"
#include "tests/navigation/ViewFixture.h"
#include <QApplication>
#include <QWheelEvent>

TEST_F(ViewTest, ZoomFactorDividesByTheSinglePrecisionUnitAndTruncates) {
    struct Case { int step; const char* shown; TMenuItem* MainControls::*item; int index; };
    const Case cases[] = {{9, "0.90", &MainControls::N011, 3}, {4, "0.80", &MainControls::N021, 2}, {2, "1.00", &MainControls::N051, 1}};
    for (const Case& c : cases) {
        o->MAGSTEP = 1;
        o->MAGUNIT = 1.0f;
        o->RangeZoom = true;
        o->ui.Button12->SetEnabled(true);
        (o->ui.*c.item)->Click();
        EXPECT_EQ(o->MAGSTEP, c.step) << c.shown;
        EXPECT_EQ(o->ui.Label6->Caption(), c.shown);
        EXPECT_EQ(o->ui.UpDown1->Position(), c.step);
        EXPECT_EQ(Settei->RadioGroup3->ItemIndex(), c.index);
        EXPECT_TRUE((o->ui.*c.item)->Checked());
        EXPECT_EQ(int(o->ui.N101->Checked()) + o->ui.N051->Checked() + o->ui.N021->Checked() + o->ui.N011->Checked(), 1);
        EXPECT_FALSE(o->RangeZoom);
        EXPECT_FALSE(o->ui.Button12->Enabled());
        EXPECT_TRUE(o->ui.UpDown1->Enabled());
    }
    // Back to x1.0 from step 1 under x0.1: 0.1 truncates to 0, which becomes 1.
    N011Click(*o, o);
    o->MAGSTEP = 1;
    N101Click(*o, o);
    EXPECT_EQ(o->MAGSTEP, 1);
    EXPECT_EQ(o->ui.Label6->Caption(), "1.00");
    // The settings group runs the menu.
    Settei->RadioGroup3->SetItemIndex(2);
    EXPECT_FLOAT_EQ(o->MAGUNIT, 0.2f);
    EXPECT_TRUE(o->ui.N021->Checked());
}

TEST_F(ViewTest, ZoomFactorBeforeAnyMapLeavesPressesOff) {
    o->gate.DataReady = false;
    o->gate.MapShown = false;
    N051Click(*o, o);
    EXPECT_FALSE(o->gate.MapShown);
}

TEST_F(ViewTest, ReductionRebuildsBothSizeGroupsKeepingTheChoice) {
    o->ui.RadioGroup1->SetItemIndex(1);
    Settei->RadioGroup2->SetItemIndex(1);
    MAG3Click(*o, o);
    EXPECT_EQ(o->SSIZE, 3);
    EXPECT_EQ(o->ImageSize, 400) << "the size group's second item, 1200 reduced by 3";
    for (TRadioGroup* g : {o->ui.RadioGroup1, Settei->RadioGroup2}) {
        EXPECT_EQ(g->Item(0), "200");
        EXPECT_EQ(g->Item(1), "400");
        EXPECT_EQ(g->Item(2), "600");
    }
    EXPECT_EQ(o->ui.RadioGroup1->ItemIndex(), 1);
    EXPECT_EQ(Settei->RadioGroup1->ItemIndex(), 2);
    EXPECT_TRUE(o->ui.MAG3->Checked());
    EXPECT_FALSE(o->ui.MAG1->Checked());

    // From the settings window the groups follow at once, the menu only on "決　定".
    Settei->RadioGroup1->SetItemIndex(3);
    EXPECT_EQ(o->SSIZE, 4);
    EXPECT_EQ(Settei->RadioGroup2->Item(2), "450");
    EXPECT_EQ(o->ui.RadioGroup1->Item(0), "150");
    EXPECT_TRUE(o->ui.MAG3->Checked());
    Settei->Button8Click(Settei);
    EXPECT_TRUE(o->ui.MAG4->Checked());
    EXPECT_FALSE(o->ui.MAG3->Checked());
    EXPECT_EQ(o->ImageSize, 300);
}

TEST_F(ViewTest, PanArrowsMoveTheCentreByTheMoveFactorAndStopAtTheEnds) {
    const int32_t cx = o->CX, cy = o->CY;
    o->ui.UDHor->UserClick(btNext);
    const int32_t right = cx - o->CX;
    EXPECT_GT(right, 0) << "the right arrow lowers CX";
    o->ui.UDHor->UserClick(btPrev);
    EXPECT_NEAR(o->CX, cx, 1);
    o->ui.UDVer->UserClick(btNext);
    EXPECT_LT(o->CY, cy);

    N202Click(*o, o);
    EXPECT_EQ(Settei->RadioGroup4->ItemIndex(), 0);
    EXPECT_TRUE(o->ui.N202->Checked() && !o->ui.N102->Checked());
    const int32_t before = o->CX;
    o->ui.UDHor->UserClick(btNext);
    EXPECT_NEAR(before - o->CX, 2 * right, 1);
    Settei->RadioGroup4->SetItemIndex(2);   // the settings group runs the menu
    EXPECT_FLOAT_EQ(o->MoveFactor, 0.5f);
    EXPECT_TRUE(o->ui.N052->Checked());

    while (o->ui.UDHor->Position() < 1000) o->ui.UDHor->UserClick(btNext);
    const int32_t atEnd = o->CX;
    Mark();
    o->ui.UDHor->UserClick(btNext);
    EXPECT_EQ(o->CX, atEnd);
    EXPECT_EQ(Redraws(), 0);

    o->ui.UpDown1->UserClick(btNext);
    EXPECT_EQ(o->MAGSTEP, 2);
    EXPECT_EQ(o->ui.Label6->Caption(), "2.00");
    EXPECT_EQ(Redraws(), 1);
}

TEST_F(ViewTest, WheelPansWithShiftOrCtrlAndZoomsOtherwise) {
    int32_t cx = o->CX, cy = o->CY;
    EXPECT_TRUE(Wheel(120, true));
    EXPECT_LT(o->CY, cy);
    EXPECT_EQ(o->CX, cx);
    EXPECT_EQ(o->ui.UDVer->Position(), 500) << "wheel pans leave the arrows' positions";
    cy = o->CY;
    EXPECT_TRUE(Wheel(120, false, true));
    EXPECT_GT(o->CX, cx);
    cx = o->CX;
    EXPECT_TRUE(Wheel(-120, true, true));   // both keys: vertical
    EXPECT_GT(o->CY, cy);
    EXPECT_EQ(o->CX, cx);

    o->ui.UpDown1->SetPosition(5);
    o->MAGSTEP = 5;
    EXPECT_TRUE(Wheel(120));
    EXPECT_EQ(o->MAGSTEP, 4);
    EXPECT_TRUE(Wheel(-120));
    EXPECT_TRUE(Wheel(-120));
    EXPECT_EQ(o->MAGSTEP, 6);
    EXPECT_EQ(o->ui.Label6->Caption(), "6.00");

    // A range zoom keeps its magnification but still redraws.
    o->RangeZoom = true;
    o->MAGSTEP = 10;
    Mark();
    EXPECT_TRUE(Wheel(120));
    EXPECT_EQ(o->MAGSTEP, 10);
    EXPECT_EQ(Redraws(), 1);
    o->RangeZoom = false;

    // Painting disables the arrows but keeps the wheel.
    o->ui.BtnPaint->Click();
    ASSERT_TRUE((o->tools.ToolAs<PaintTool>() != nullptr));
    ASSERT_FALSE(o->ui.UDHor->Enabled());
    EXPECT_TRUE(Wheel(-120));
    EXPECT_EQ(o->MAGSTEP, 7);
    MapPaint->Button19->Click();

    // While an area or a route is measured, or without a map, the wheel is not ours.
    auto refused = [&](const char* what) {
        const int32_t step = o->MAGSTEP;
        EXPECT_FALSE(Wheel(-120)) << what;
        EXPECT_EQ(o->MAGSTEP, step) << what;
    };
    o->ui.Button14->Click();
    refused("area");
    o->ui.Button14->Click();
    o->ui.BtnMulti->Click();
    refused("route by clicks");
    o->ui.CBTimer->SetChecked(true);
    o->Image1MouseDown(o->ui.Image1, mbLeft, {}, 100, 100);
    ASSERT_TRUE(o->ui.Timer2->Enabled());
    refused("timed route");
    Image1DblClick(*o, o->ui.Image1);
    EXPECT_TRUE(Wheel(-120));
    o->gate.MapShown = false;
    refused("no map");
}

TEST_F(ViewTest, AWheelTurnOverTheMapBoxZoomsInsteadOfScrolling) {
    MAG1Click(*o, o);
    o->ui.RadioGroup1->SetItemIndex(2);   // a large image, so the box could scroll
    o->COPYSCALE = 3;
    o->DrawMap();
    o->ui.UpDown1->SetPosition(3);
    o->MAGSTEP = 3;
    QWidget* vp = o->ui.ScrollBox1->viewport();
    const int scrolled = o->ui.ScrollBox1->VertPosition();
    QWheelEvent e(QPointF(50, 50), vp->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, 120), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(vp, &e);
    EXPECT_EQ(o->MAGSTEP, 2);
    EXPECT_EQ(o->ui.ScrollBox1->VertPosition(), scrolled);
}

TEST_F(ViewTest, HistoryPushesBacksAndDropsItsOldestWhenFull) {
    EXPECT_FALSE(o->ui.Button12->Enabled());
    // Back on an empty history changes nothing.
    const int32_t cx = o->CX;
    Mark();
    Button12Click(*o, o);
    EXPECT_EQ(o->CX, cx);
    EXPECT_EQ(Redraws(), 0);
    EXPECT_EQ(SCList->ViewHistoryCount, 0);

    o->MAGSTEP = 3;
    o->MAGUNIT = 0.5f;
    PushViewHistory(*o);
    EXPECT_EQ(SCList->ViewHistoryCount, 1);
    o->CX += 1000;
    o->MAGSTEP = 7;
    o->ui.Button12->SetEnabled(true);
    Mark();
    Button12Click(*o, o);
    EXPECT_EQ(o->CX, cx);
    EXPECT_EQ(o->MAGSTEP, 3);
    EXPECT_FLOAT_EQ(o->MAGUNIT, 0.5f);
    EXPECT_EQ(Redraws(), 1);
    EXPECT_EQ(SCList->ViewHistoryCount, 0);
    EXPECT_FALSE(o->ui.Button12->Enabled());
    EXPECT_EQ(o->ui.Label6->Caption(), "1.50");
    EXPECT_EQ(SCList->Label48->Caption(), "1.5000");

    for (int i = 0; i < 101; i++) SCList->PushView(i, i, i, i, i, i, i, 1.0f);
    EXPECT_EQ(SCList->ViewHistoryCount, 100);
    EXPECT_EQ(SCList->ViewHistory.MAGSTEP[0], 1) << "the oldest went";
    EXPECT_EQ(SCList->ViewHistory.CX[99], 100);
    o->ui.Button12->SetEnabled(true);
    Button12Click(*o, o);
    EXPECT_EQ(o->MAGSTEP, 100);
    EXPECT_EQ(o->CX, 100);
    EXPECT_TRUE(o->ui.Button12->Enabled());
}

TEST_F(ViewTest, TimerStepsBackDuringADragElseGoesToTheStandardRange) {
    const int32_t cx = o->CX;
    PushViewHistory(*o);
    PushViewHistory(*o);
    o->CX += 5000;
    o->RangeDrag = true;
    o->ui.Timer1->SetEnabled(true);
    Timer1Timer(*o, o->ui.Timer1);
    EXPECT_EQ(SCList->ViewHistoryCount, 1);
    EXPECT_FALSE(o->ui.Timer1->Enabled());
    EXPECT_EQ(o->CX, cx);

    o->RangeDrag = false;
    TkBtn2Click(*o, o);
    o->RangeZoom = true;
    o->MAGSTEP = 10;
    o->MAGUNIT = 0.37f;
    o->CX += 5000;
    o->ui.UDHor->SetPosition(900);
    o->ui.Button12->SetEnabled(true);
    o->ui.Timer1->SetEnabled(true);
    Timer1Timer(*o, o->ui.Timer1);
    EXPECT_FALSE(o->ui.Timer1->Enabled());
    EXPECT_EQ(o->CX, cx) << "the standard view's centre";
    EXPECT_EQ(o->MAGSTEP, 1);
    EXPECT_FLOAT_EQ(o->MAGUNIT, 1.0f);
    EXPECT_FALSE(o->RangeZoom || o->tools.ToolAs<RangeTool>());
    EXPECT_EQ(o->ui.UDHor->Position(), 500);
    EXPECT_FALSE(o->ui.Button12->Enabled());
    EXPECT_EQ(SCList->ViewHistoryCount, 1) << "the standard range keeps the history";
    EXPECT_TRUE(o->gate.MapShown);
    EXPECT_TRUE(o->ui.CBPrefBorder->Checked() && o->ui.CBTownBorder->Checked());
    EXPECT_EQ(SCList->Label48->Caption(), "1.0000");
    EXPECT_EQ(SCList->Label35->Caption(), "1");
}

TEST_F(ViewTest, ArmingTheRangeClearsTheZoomAndTheTimedRoute) {
    o->RangeZoom = true;
    o->ui.CBTimer->SetChecked(true);
    Mark();
    o->ui.TkBtn2->Click();
    EXPECT_TRUE(o->tools.ToolAs<RangeTool>());
    EXPECT_FALSE(o->RangeZoom || o->RangeDrag);
    EXPECT_FALSE(o->ui.CBTimer->Checked());
    EXPECT_EQ(o->ui.Label17->Caption(), "辺長");
    EXPECT_EQ(o->ui.Label15->Caption(), "   0.00 km");
    EXPECT_EQ(o->ui.TkBtn2->Color(), TColor(0x00FFFF));
    EXPECT_EQ(Redraws(), 0);
}

TEST_F(ViewTest, ARedrawPutsThePenBackToCopyFirst) {
    o->ui.UpDown1->SetPosition(2);
    o->MAGSTEP = 2;
    o->DrawMap();
    const QImage drawn = o->ui.Image1->Picture()->Bitmap()->Image().copy();
    o->ui.Image1->Canvas()->Pen->Mode = pmXor;   // as the centre cross leaves it
    EXPECT_TRUE(Wheel(120));
    EXPECT_TRUE(Wheel(-120));
    EXPECT_EQ(o->ui.Image1->Canvas()->Pen->Mode, pmCopy);
    EXPECT_TRUE(o->ui.Image1->Picture()->Bitmap()->Image() == drawn);
}

TEST_F(ViewTest, ReadOutShowsTheStandardViewAndARangeZoom) {
    EXPECT_EQ(SCList->Label48->Caption(), "1.0000");
    EXPECT_EQ(SCList->Label35->Caption(), "1");
    // The redraw that ends a range drag scales from the square.
    o->RangeDrag = true;
    o->MinX = o->CX - 2000;
    o->MaxX = o->CX + 2000;
    ASSERT_TRUE(o->DrawMap());
    o->RangeDrag = false;
    EXPECT_EQ(SCList->Label35->Caption(), "10");
    EXPECT_NEAR(std::stof(SCList->Label13->Caption()) * 10, std::stof(SCList->Label48->Caption()), 1e-3);
}

// "標準範囲" draws the map once, labels or not, with "駅名" of the settings
// ticked (the label box's own handler then draws it) or not.
TEST_F(ViewTest, TheStandardRangeDrawsTheMapOnce) {
    areafiles::WriteText(programDir / "a.lbl", "○,251000,171000,甲,9,255\n");
    gui::testing::QueueFileName((programDir / "a.lbl").string());
    Letter->Button7->Click();
    ASSERT_EQ(Letter->LabelCount, 1);
    for (bool stations : {false, true}) {
        Settei->CBStation->SetChecked(stations);
        Wheel(-120);
        Mark();
        o->ui.Button6->Click();
        EXPECT_EQ(Redraws(), 1) << (stations ? "駅名" : "no 駅名");
        EXPECT_EQ(o->ui.CBLabel->Checked(), stations);
    }
}
