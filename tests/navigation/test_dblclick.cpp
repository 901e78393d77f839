#include "labels/Uletter.h"
#include "navigation/MainFormNavigation.h"
#include "labels/Upagesdlg.h"
#include "lines/Ulineadd.h"
#include "navigation/NavigationTools.h"
#include "paint/Upaint.h"
#include <functional>
#include "tests/navigation/MouseMap.h"
#include <QApplication>
#include <QMouseEvent>

class DoubleClick : public MouseMap {
protected:
    void DblClick() { Image1DblClick(*o, o->ui.Image1); }
};

TEST_F(DoubleClick, EndsARouteTakenByClicksWithItsClosingSide) {
    BtnMultiClick(*o, o);
    Down(100, 100);
    Down(400, 100);
    Down(400, 400);
    const float open = std::stof(o->ui.Label15->Caption());
    ASSERT_FALSE(o->ui.UDHor->Enabled());
    DblClick();
    EXPECT_FALSE(o->tools.ToolAs<RouteTool>());
    EXPECT_TRUE(o->RouteDone);
    EXPECT_EQ(o->DistanceMode, 0);
    EXPECT_GT(std::stof(o->ui.Label15->Caption()), open * 1.3f) << "the side back to the start counts";
    EXPECT_GT(std::stof(o->ui.Label31->Caption()), 0.0f);
    EXPECT_TRUE(o->ui.Label33->Visible());
    EXPECT_EQ(o->ui.Image1->Canvas()->Pen->Mode, pmCopy);
    EXPECT_EQ(PagesDlg->CursorId, 0);
    EXPECT_TRUE(o->ui.UDHor->Enabled() && o->ui.BtnMulti->Enabled());
    EXPECT_FALSE(o->tools.ToolAs<CentreTool>());
}

TEST_F(DoubleClick, EndsATimedRouteAndUnticksTheTimer) {
    o->ui.CBTimer->SetChecked(true);
    BtnMultiClick(*o, o);
    Down(100, 100);
    ASSERT_TRUE(o->ui.Timer2->Enabled());
    Timer2Timer(*o, o->ui.Timer2);
    for (int k = 1; k <= 3; ++k) {
        Move(100 + 60 * k, 100 + 40 * k);
        Timer2Timer(*o, o->ui.Timer2);
    }
    DblClick();
    EXPECT_FALSE(o->ui.Timer2->Enabled());
    EXPECT_FALSE(o->ui.CBTimer->Checked());
    EXPECT_FALSE(o->tools.ToolAs<RouteTool>());
    EXPECT_TRUE(o->RouteDone);
    EXPECT_TRUE(o->ui.Label33->Visible());
    EXPECT_NE(o->ui.Label15->Caption(), "   0.00 km");
    EXPECT_TRUE(o->ui.UDHor->Enabled());
}

TEST_F(DoubleClick, ArmsTheCentreUnlessAToolHoldsTheMap) {
    const std::vector<std::function<void()>> holders = {
        [] { PagesDlg->SelectSymbol(100); },
        [this] { Button14Click(*o, o); },
        [] { MapPaint->TkBtnClick(0); },
    };
    for (const auto& arm : holders) {
        arm();
        MapTool* held = o->tools.ActiveTool();
        ASSERT_NE(held, nullptr);
        DblClick();
        EXPECT_EQ(o->tools.ActiveTool(), held);
        o->tools.EndActiveTool();
    }
    LineAdd->EditLineShown = true;
    DblClick();
    EXPECT_FALSE(o->tools.ToolAs<CentreTool>());
    LineAdd->EditLineShown = false;
    o->gate.MapShown = false;
    DblClick();
    EXPECT_FALSE(o->tools.ToolAs<CentreTool>());
    o->gate.MapShown = true;
    // Any other tool gives way to the centre.
    Letter->Button2Click(Letter);
    DblClick();
    EXPECT_TRUE(o->tools.ToolAs<CentreTool>());
    EXPECT_FALSE(Letter->PlacingNewLabel());
}

// The image reports the double-click before its press, so the press it belongs
// to already finds the centre armed: the double-clicked point becomes the centre.
TEST_F(DoubleClick, ADoubleClickOnTheImageCentresThere) {
    int32_t x, y;
    o->ScreenToMap(420, 180, x, y);
    QMouseEvent press(QEvent::MouseButtonDblClick, QPointF(420, 180), o->ui.Image1->mapToGlobal(QPointF(420, 180)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(o->ui.Image1, &press);
    EXPECT_FALSE(o->tools.ToolAs<CentreTool>());
    int sx, sy;
    o->MapToScreen(x, y, sx, sy);
    EXPECT_NEAR(sx, 300, 1);
    EXPECT_NEAR(sy, 300, 1);
}
