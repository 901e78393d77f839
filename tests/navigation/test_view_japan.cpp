#include "engine/Uken.h"
#include "engine/Uopen.h"
#include "navigation/MainFormNavigation.h"
#include "gui/Testing.h"
#include "navigation/Usclist.h"
#include "navigation/Usettei.h"
#include "tests/support/FormsFixture.h"

class JapanView : public JapanFormsTest {};

// Kanagawa from the real data: a narrow range view falls back to the whole area.
TEST_F(JapanView, ANarrowRangeViewFallsBackToTheStandardRange) {
    Ken->AreaBox(13)->SetChecked(true);
    Ken->Button1Click(Ken);
    TOpen* o = Open;
    ASSERT_TRUE(o->gate.MapShown && o->gate.DataReady);
    const int32_t cx = o->CX, cy = o->CY;
    const std::string width = SCList->Label36->Caption();

    // A range view two kilometres wide.
    o->RangeZoom = true;
    o->MAGSTEP = 10;
    o->MAGUNIT = float(o->ViewWidthKm / 2.0 / 10);
    EXPECT_FALSE(o->DrawMap());
    EXPECT_EQ(o->ui.Label15->Caption(), "指定エラー");
    EXPECT_TRUE(o->ui.Timer1->Enabled());
    Timer1Timer(*o, o->ui.Timer1);
    EXPECT_FALSE(o->ui.Timer1->Enabled());
    EXPECT_FALSE(o->RangeZoom);
    EXPECT_EQ(o->CX, cx);
    EXPECT_EQ(o->CY, cy);
    EXPECT_EQ(SCList->Label36->Caption(), width);
    EXPECT_NE(o->ui.Label15->Caption(), "指定エラー") << "the refusal leaves the read-out with the standard range";
    EXPECT_EQ(o->ui.Label17->Caption(), "距離");

    // "決　定" on the real map: one redraw.
    const int applied = o->RedrawCount;
    Settei->Button8Click(Settei);
    EXPECT_EQ(o->RedrawCount - applied, 1);
}
