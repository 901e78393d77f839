// One map tool at a time: arming one ends the other, and Esc, a window's close
// box and a new area choice end the armed one, each leaving the controls usable.
#include "engine/Uken.h"
#include "navigation/AreaCount.h"
#include "labels/Uletter.h"
#include "lines/Ukyori.h"
#include "names/Unamedel.h"
#include "names/Utoshi.h"
#include "navigation/Usclist.h"
#include "navigation/NavigationTools.h"
#include "paint/PaintTools.h"
#include "paint/Upaint.h"
#include "output/Updfpage.h"
#include "paint/Ustatmap.h"
#include "tests/navigation/MouseMap.h"
#include "tests/support/RealAreas.h"
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace {

// A left click in the middle of the control, as the user gives it.
void Press(QWidget* w) {
    const QPointF p(w->width() / 2, w->height() / 2);
    for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent e(t, p, w->mapToGlobal(p), Qt::LeftButton,
                      t == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &e);
    }
}

// Esc pressed while w has the focus.
void Esc(QWidget* w) {
    QKeyEvent e(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

} // namespace

class Tools : public MouseMap {};

TEST_F(Tools, PaintingEndsAnArmedRangeAndEscEndsPainting) {
    Press(o->ui.TkBtn2);
    ASSERT_TRUE(o->tools.ToolAs<RangeTool>());
    Press(o->ui.BtnPaint);
    EXPECT_FALSE(o->tools.ToolAs<RangeTool>()) << "painting took the map over";
    Press(MapPaint->SlotButton(0));
    Down(300, 300);
    EXPECT_EQ(o->paint.paint_rep, 1) << "the press painted instead of starting a range";
    EXPECT_TRUE(Messages().empty());

    Esc(o->ui.Image1);
    EXPECT_FALSE(o->tools.ToolAs<PaintTool>());
    EXPECT_EQ(o->tools.ActiveTool(), nullptr);
    EXPECT_TRUE(o->ui.BtnPaint->isEnabled() && o->ui.Button5->isEnabled() && o->ui.TkBtn2->isEnabled());
    EXPECT_TRUE(MapPaint->Button9->isEnabled()) << "the paint window can be closed again";
}

TEST_F(Tools, ARouteEndsByEscWithItsLengthOrStartsAfreshByItsButton) {
    Press(o->ui.BtnMulti);
    Down(100, 100);
    Down(300, 100);
    Down(300, 300);
    EXPECT_TRUE(o->ui.BtnMulti->isEnabled()) << "a running route can be left";
    Press(o->ui.BtnMulti);
    EXPECT_TRUE(o->tools.ToolAs<RouteTool>());
    EXPECT_EQ(o->RoutePointCount, 0) << "the button drops the route under way";

    Down(100, 100);
    Down(300, 100);
    Esc(o->ui.Image1);
    EXPECT_FALSE(o->tools.ToolAs<RouteTool>());
    EXPECT_TRUE(o->RouteDone);
    EXPECT_NE(o->ui.Label15->Caption(), TOpen::DistanceText(0)) << "the length stays on view";
    for (QWidget* w : std::initializer_list<QWidget*>{o->ui.Button5, o->ui.BtnLetter, o->ui.Button9, o->ui.BtnMulti, o->ui.Button14})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();

    // The area mode and the centre cross end the same way.
    Press(o->ui.Button14);
    ASSERT_TRUE(o->tools.ToolAs<AreaTool>());
    Esc(o->ui.Image1);
    EXPECT_FALSE(o->tools.ToolAs<AreaTool>());
    EXPECT_EQ(o->ui.Button14->Caption(), "面積");
    EXPECT_TRUE(o->ui.Button5->isEnabled());
    Press(o->ui.BtnCenter);
    Move(200, 200);
    Esc(o->ui.Image1);
    EXPECT_FALSE(o->tools.ToolAs<CentreTool>());
    EXPECT_TRUE(o->ui.BtnCenter->isEnabled());
    const QImage plain = Snapshot();
    o->DrawMap();
    EXPECT_EQ(Snapshot(), plain) << "no cross left on the map";
}

TEST_F(Tools, ACloseBoxTakesTheWindowsOwnCloseAndEndsWhatItArmed) {
    // The paint window closed while painting ends painting, also while the
    // one-press web map waits in front of it.
    Press(o->ui.BtnPaint);
    ASSERT_TRUE(o->tools.ToolAs<PaintTool>());
    o->ui.CBChiri->SetChecked(true);
    ASSERT_TRUE(o->tools.ToolAs<PaintTool>());
    MapPaint->close();
    EXPECT_FALSE(o->ui.CBChiri->Checked());
    EXPECT_FALSE(MapPaint->Visible());
    EXPECT_FALSE(o->tools.ToolAs<PaintTool>());
    EXPECT_TRUE(o->ui.BtnPaint->isEnabled() && o->ui.TkBtn2->isEnabled());

    NameDel->Show();
    Press(NameDel->Button2);
    ASSERT_TRUE(NameDel->NameDeleteArmed());
    NameDel->close();
    EXPECT_FALSE(NameDel->NameDeleteArmed());

    Kyori->Show();
    Press(Kyori->Button1);
    ASSERT_TRUE(Kyori->CentreArmed());
    Esc(Kyori->Button1);
    EXPECT_FALSE(Kyori->Visible());
    EXPECT_FALSE(Kyori->CentreArmed());

    // No close button: closing still disarms.
    Letter->Show();
    Press(Letter->Button2);
    ASSERT_TRUE(Letter->PlacingNewLabel());
    Letter->close();
    EXPECT_FALSE(Letter->PlacingNewLabel());
    Down(300, 300);
    EXPECT_EQ(Letter->LabelCount, 0) << "the press placed no label";
}

TEST_F(Tools, ACloseBoxAsksWhatCloseAsksAndAPickedRowDoesNotOutliveIt) {
    o->doc.CityCount = 1;
    o->doc.CityName = {"川崎市"};
    o->doc.CityX = {150000}, o->doc.CityY = {150000}, o->doc.CityPref = {13}, o->doc.CityFlag = {0};
    Toshi->FormCreate(Toshi);
    Toshi->Show();
    Toshi->StringGrid1->SetRow(1);
    Toshi->StringGrid1Click(Toshi->StringGrid1);
    ASSERT_TRUE(Toshi->PositionArmed());
    Toshi->close();
    EXPECT_FALSE(Toshi->PositionArmed()) << "the next map press would have moved the city";

    Toshi->Show();
    Toshi->StringGrid1Click(Toshi->StringGrid1);
    Down(200, 200);
    ASSERT_TRUE(Toshi->CityModified);
    gui::testing::QueueAnswer(IDCANCEL);
    Toshi->close();
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].text.find("保存せずに閉じてもよろしいですか"), std::string::npos);
    EXPECT_TRUE(Toshi->Visible()) << "キャンセル keeps the window";
}

TEST_F(Tools, AnAreaClickMeasuresTheSameWithNamesShown) {
    // Two squares side by side; a name sits on the border between them.
    SetStore(o->doc.TownLine, {{{100, 100}, {300, 100}, {300, 300}, {100, 300}, {100, 100}},
                           {{300, 100}, {500, 100}, {500, 300}, {300, 300}}});
    auto [x, y] = At(300, 200);
    o->doc.TownCount = 1;
    o->doc.TownX = {x}, o->doc.TownY = {y}, o->doc.TownName = {"清川村"}, o->doc.TownDup = {'s'};
    auto measure = [&](bool names) {
        o->ui.CBTownName->SetChecked(names);
        Press(o->ui.Button14);
        Down(150, 150);
        const float km2 = AreaCountOf(*o).AreaKm2;
        Press(o->ui.Button14);
        return km2;
    };
    const float hidden = measure(false);
    EXPECT_FLOAT_EQ(measure(true), hidden);
    EXPECT_TRUE(o->ui.CBTownName->Checked()) << "the names come back with the end of the mode";
}

class ToolsJapan : public JapanFormsTest {};

TEST_F(ToolsJapan, ANewAreaChoiceEndsMeasuringAndTheWayBack) {
    EXPECT_FALSE(Open->ui.BtnCenter->isEnabled()) << "no map to centre yet";
    testsupport::ChooseAreas({13});
    ASSERT_TRUE(Open->gate.MapShown);
    // A range zoom gives a way back.
    Press(Open->ui.TkBtn2);
    Open->Image1MouseDown(Open->ui.Image1, mbLeft, {}, 200, 200);
    Open->Image1MouseMove(Open->ui.Image1, {}, 400, 400);
    Open->Image1MouseUp(Open->ui.Image1, mbLeft, {}, 400, 400);
    ASSERT_TRUE(Open->ui.Button12->isEnabled());
    Press(Open->ui.Button14);
    ASSERT_TRUE(Open->tools.ToolAs<AreaTool>());

    Open->Button5Click(Open);
    testsupport::ChooseAreas({12});
    EXPECT_FALSE(Open->tools.ToolAs<AreaTool>());
    EXPECT_FALSE(Open->ui.Button12->isEnabled()) << "戻す would show the old area over the new data";
    EXPECT_EQ(SCList->ViewHistoryCount, 0);
    for (QWidget* w : std::initializer_list<QWidget*>{Open->ui.Button5, Open->ui.BtnLetter, Open->ui.Button9, Open->ui.Button14})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
}

TEST_F(Tools, EscClosesEveryToolWindowThroughItsOwnClose) {
    StatMapWindow();   // windows made on first use
    PdfPageWindow();
    for (TForm* f : Application->Forms()) {
        if (f == o) continue;
        f->Show();
        ASSERT_TRUE(f->Visible()) << f->Caption();
        Esc(f->Client());
        EXPECT_FALSE(f->Visible()) << f->Caption() << " stays after Esc";
    }
    // The close button's question comes with it, and its answer holds.
    MapPaint->Show();
    gui::testing::QueueAnswer(IDCANCEL);
    Messages().clear();
    Esc(MapPaint->Button9);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].caption, "ペイントウインドウの終了");
    EXPECT_TRUE(MapPaint->Visible());
    // Over the main window Esc ends the mode, never the program.
    Esc(o->ui.Image1);
    EXPECT_FALSE(gui::testing::Terminated());
}
