// Map files and views that the data never hold but a damaged or hand-made
// file may: far coordinates, empty extents, empty fields.
#include "engine/Coords.h"
#include "engine/Uopen.h"
#include "navigation/MainFormNavigation.h"
#include "gui/Testing.h"
#include "navigation/Usettei.h"
#include "engine/Uprocess.h"
#include "navigation/Usclist.h"
#include "tests/engine/AreaFiles.h"
#include "tests/engine/HandMap.h"
#include "tests/support/FormsFixture.h"
#include <gtest/gtest.h>
#include <climits>
#include <chrono>
#include <cmath>
#include <thread>

namespace {

using areafiles::WriteMap;
using areafiles::WriteOffice;

class MapHardening : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        gui::testing::Messages().clear();
    }
    // Area 1 from the given texts, loaded with its standard view and drawn.
    void Show(const std::string& map, const std::string& office = "") {
        WriteMap(programDir, 1, map);
        WriteOffice(programDir, 1, office);
        Open->doc.SELECT = 1;
        Open->doc.SelectCode[0] = 1;
        Open->Button3Click(Open);
        Open->gate.DataReady = true;
        Open->WgsDisplay = false;
        ASSERT_TRUE(Open->DrawMap());
    }
};

TEST_F(MapHardening, FarCoordinatesKeepTheViewAndThePixelsInRange) {
    Settei->CBFixedSize->SetChecked(false);
    Settei->CBOffice->SetChecked(true);
    Open->ui.CBPrefBorder->SetChecked(true);
    Show("C,1,2\n2000000000,100000,2100000000,100000\n", gui::Format("◎,2050000000,100000,far,%d\n", INT_MAX));

    // The centre lies between the points, not where a 32-bit sum wraps to.
    EXPECT_GT(Open->CX, 2000000000);
    EXPECT_LT(Open->CX, 2100000000);
    EXPECT_GT(Open->StdExtent, 100000000);
    EXPECT_TRUE(std::isfinite(Open->scale) && Open->scale > 0);

    // A point on the other side of the zero line is far left of the image.
    int sx, sy;
    Open->MapToScreen(-2000000000, 100000, sx, sy);
    EXPECT_LT(sx, -1000);
    EXPECT_GE(sx, -(1 << 28));

    // Both ends of a far polyline at once: the span passes 32 bits.
    Show("C,1,2\n-2000000000,0,2000000000,100\n");
    EXPECT_EQ(Open->DataWidth, INT_MAX);
    EXPECT_NEAR(Open->CX, 0, 1);
    EXPECT_TRUE(std::isfinite(Open->scale) && Open->scale > 0);

    // A restored view of a far centre and a tiny scale keeps its box in range.
    Open->gate.ProjectLoading = true;
    Open->CX = 2100000000;
    Open->scale = 1e-7f;
    Open->Button3Click(Open);
    Open->gate.ProjectLoading = false;
    EXPECT_EQ(Open->MaxX, INT_MAX);
    EXPECT_LT(Open->MinX, 0);
}

TEST_F(MapHardening, ARangeDraggedOnAFarViewCentresInsideIt) {
    Show("C,1,2\n2100000000,100000,2100100000,250000\n");
    Open->gate.MapShown = true;
    TkBtn2Click(*Open, Open);
    Open->ui.CBCopy->SetChecked(false);
    Open->Image1MouseDown(Open->ui.Image1, mbLeft, {}, 150, 150);
    Open->Image1MouseMove(Open->ui.Image1, {}, 450, 450);
    Open->Image1MouseUp(Open->ui.Image1, mbLeft, {}, 450, 450);
    ASSERT_TRUE(Open->RangeZoom);
    ASSERT_FALSE(Open->ui.Timer1->Enabled());
    // The new centre lies between the points, not where a 32-bit sum wraps to.
    EXPECT_GT(Open->CX, 2100000000);
    EXPECT_LT(Open->CX, 2100100000);
}

TEST_F(MapHardening, AMapOfOnePointOrOfNamesOnlyGetsAFiniteView) {
    Show("C,1,1\n150000,150000\n");
    // About a kilometre round the point: a degree of longitude is some 92 km there.
    EXPECT_GT(Open->StdExtent, 80);
    EXPECT_LT(Open->StdExtent, 140);
    EXPECT_TRUE(std::isfinite(Open->scale));
    int sx, sy;
    Open->MapToScreen(150000, 150000, sx, sy);
    EXPECT_EQ(sx, 300);
    EXPECT_EQ(sy, 300);
    EXPECT_GT(Open->ViewWidthKm, 0.5);
    EXPECT_LT(Open->ViewWidthKm, 2.0);

    Show("A,150000,150000,町\n");
    EXPECT_GT(Open->StdExtent, 0);
    EXPECT_TRUE(std::isfinite(Open->scale) && Open->scale > 0);
}

TEST_F(MapHardening, OfficeLinesWithMissingFieldsGiveEmptyFields) {
    Show("C,1,2\n150000,150000,151000,151000\n", "◎\n◎,150500\n");
    ASSERT_EQ(Open->doc.OfficeCount, 2);
    EXPECT_STREQ(Open->doc.OfficeRecords[0].mark, "◎");
    EXPECT_STREQ(Open->doc.OfficeRecords[0].name, "");
    EXPECT_EQ(Open->doc.OfficeRecords[1].x, 150500);
    EXPECT_EQ(Open->doc.OfficeRecords[1].y, 0);
    EXPECT_STREQ(Open->doc.OfficeRecords[1].name, "");
    EXPECT_EQ(Open->doc.OfficeRecords[1].size, 0);
}

TEST_F(MapHardening, APolylineWithoutPointsHidesNothingAfterIt) {
    Open->ui.CBPrefBorder->SetChecked(true);
    Show("C,1,2\n150000,150000,151000,151000\n"
         "P,1,0\nP,1,-3\n"
         "P,1,2\n150000,151000,151000,150000\n");
    EXPECT_EQ(Open->doc.PrefLine.Words[0], 2);
    EXPECT_EQ(Open->doc.PrefLine.Fill, 5);
    // The border drawn after the empty ones crosses the middle of the image.
    EXPECT_EQ(Open->ui.Image1->Canvas()->Pixels(300, 300), Open->style.PrefColor);
}

TEST_F(MapHardening, GridsOfABogusExtentDrawOnlyWhatCanBeToldApart) {
    // One far point: the view spans some 60,000 degrees of latitude.
    Show("C,1,2\n0,0,999999999,999999999\n");
    Open->ui.CBLonLat->SetChecked(true);
    Open->ui.Keido->SetChecked(false);
    TCanvas* cv = Open->ui.Image1->Canvas();
    const auto keep = cv->OnChange;
    int calls = 0;
    cv->OnChange = [&] {
        ++calls;
        if (keep) keep();
    };
    for (bool mesh : {false, true}) {
        Settei->CBMesh->SetChecked(mesh);
        calls = 0;
        ASSERT_TRUE(Open->DrawMap());
        // Every line and label of every degree would be some 900,000 calls.
        EXPECT_LT(calls, 20000) << mesh;
        // The grid covers the image; the boxes of the labels, one on the
        // other, make a band of background at the left edge.
        EXPECT_NE(cv->Pixels(300, 200), Open->style.BackColor);
        EXPECT_EQ(cv->Pixels(20, 300), Open->style.BackColor);
    }
    cv->OnChange = keep;
}

using RedrawHardening = HandMap;

TEST_F(RedrawHardening, ARefusedRangeHasItsReadOutsAndNoEventRunsInTheRedraw) {
    ASSERT_TRUE(o->DrawMap());
    const std::string height = SCList->Label37->Caption(), width = SCList->Label36->Caption();
    o->RangeZoom = true;
    o->MAGSTEP = 200;   // about 2.8 km across
    EXPECT_FALSE(o->DrawMap());
    o->ui.Timer1->SetEnabled(false);
    EXPECT_LT(o->ViewHeightKm, 4.0f);
    EXPECT_NE(SCList->Label37->Caption(), height);
    EXPECT_NE(SCList->Label36->Caption(), width);
    EXPECT_EQ(SCList->Label36->Caption(), o->ui.Label28->Caption());
    EXPECT_EQ(SCList->Label31->Caption(), SCList->Label12->Caption());

    // The wait window of a big map is painted, but a due timer waits for the loop.
    o->RangeZoom = false;
    o->MAGSTEP = 1;
    o->doc.SELECT = 31;
    o->ui.Wait->SetChecked(true);
    int ticks = 0;
    o->ui.Timer2->OnTimer = [&](TObject*) { ++ticks; };
    o->ui.Timer2->SetInterval(1);
    o->ui.Timer2->SetEnabled(true);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(o->DrawMap());
    o->ui.Timer2->SetEnabled(false);
    EXPECT_EQ(ticks, 0);
    EXPECT_FALSE(Process->Visible());
}

} // namespace
