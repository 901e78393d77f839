// Paint records, their replay, paint mode and the paint window.
#include "paint/PaintTools.h"
#include "paint/MainFormPaint.h"
#include "components/Tkbtn.h"
#include "gui/Testing.h"
#include "navigation/Usettei.h"
#include "paint/Ubrush.h"
#include "paint/Uhanrei.h"
#include "paint/Upaint.h"
#include "tests/engine/HandMap.h"
#include <functional>

using gui::testing::Messages;

// Two municipalities side by side: (100,100)-(200,200) and (200,100)-(300,200).
class Paint : public HandMap {
protected:
    void SetUp() override {
        HandMap::SetUp();
        o->ui.CBTownBorder->SetChecked(true);
        SetStore(o->doc.TownLine, {{{100, 100}, {200, 100}, {200, 200}, {100, 200}, {100, 100}},
                               {{200, 100}, {300, 100}, {300, 200}, {200, 200}}});
        ASSERT_TRUE(o->DrawMap());
    }
    void Press(int slot, int x, int y) {
        MapPaint->TkBtnClick(slot);
        PaintAt(*o, x, y);
    }
    // The boxes a painting saves, all enabled, some ticked by the user; their ticks.
    std::vector<bool> UserTicks(const std::vector<TCheckBox*>& boxes, std::initializer_list<TCheckBox*> ticked) {
        for (TCheckBox* b : boxes) b->SetEnabled(true);
        for (TCheckBox* b : ticked) b->SetChecked(true);
        std::vector<bool> ticks;
        for (TCheckBox* b : boxes) ticks.push_back(b->Checked());
        return ticks;
    }
};

TEST_F(Paint, APressFillsItsRegionAndIsReplayedInOrder) {
    Press(2, 150, 150);
    EXPECT_EQ(Px(150, 150), o->style.PaintColor[2]);
    EXPECT_EQ(Px(250, 150), o->style.BackColor) << "the neighbour stays";
    EXPECT_EQ(Px(100, 150), o->style.TownColor) << "the border stays";
    ASSERT_EQ(o->paint.paint_rep, 1);
    EXPECT_TRUE(MapPaint->BtnRepaint->Enabled());
    EXPECT_EQ(MapPaint->LblPaint->Caption(), "1");

    // The map press in paint mode comes here.
    o->gate.MapShown = true;
    MapPaint->TkBtnClick(4);
    o->Image1MouseDown(o, mbLeft, TShiftState(), 250, 150);
    EXPECT_EQ(Px(250, 150), o->style.PaintColor[4]);
    EXPECT_EQ(o->paint.paint_rep, 2);

    // A later fill over the same region wins, also in the replay.
    Press(5, 160, 160);
    Press(3, 250, 150);
    EXPECT_EQ(Px(150, 150), o->style.PaintColor[5]);
    o->paint.PaintDisplay = true;
    ASSERT_TRUE(o->DrawMap());
    EXPECT_EQ(Px(150, 150), o->style.PaintColor[5]);
    EXPECT_EQ(Px(250, 150), o->style.PaintColor[3]);

    // The replay follows the map to another view.
    o->MAGSTEP = 2;
    ASSERT_TRUE(o->DrawMap());
    int sx, sy;
    o->MapToScreen(o->paint.PaintRecords[3].x, o->paint.PaintRecords[3].y, sx, sy);
    EXPECT_EQ(Px(sx, sy), o->style.PaintColor[3]);

    // Paint display off, after the end (a painting under way always shows): the redraw leaves the map bare.
    MapPaint->Button19->Click();
    MapPaint->CBPaintDisplay->SetChecked(false);
    EXPECT_EQ(Px(sx, sy), o->style.BackColor);
}

TEST_F(Paint, APressOnABorderOrWithoutASlotOrPastTheLimitFillsNothing) {
    Press(1, 100, 150);
    EXPECT_EQ(Px(100, 150), o->style.TownColor);
    EXPECT_EQ(Px(150, 150), o->style.BackColor);
    EXPECT_EQ(o->paint.paint_rep, 1) << "the record is kept, it just fills nothing";

    PaintOf(*o).PaintSlot = -1;
    PaintAt(*o, 150, 150);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text, "ペイントカラーもしくはペイントパターンが選択されておりません");
    EXPECT_EQ(Messages()[0].caption, "ペイントエラー");
    EXPECT_EQ(o->paint.paint_rep, 1);
    EXPECT_EQ(Px(150, 150), o->style.BackColor);

    o->paint.paint_rep = PaintStore::PAINT_MAX;
    const auto last = o->paint.PaintRecords[PaintStore::PAINT_MAX - 1];
    Press(0, 150, 150);
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[1].text, gui::Format("ペイントの回数が上限（%d回）に達しました", PaintStore::PAINT_MAX));
    EXPECT_EQ(Messages()[1].caption, "ペイントエラー");
    EXPECT_EQ(o->paint.paint_rep, PaintStore::PAINT_MAX);
    EXPECT_EQ(o->paint.PaintRecords[PaintStore::PAINT_MAX - 1].x, last.x);
    EXPECT_EQ(Px(150, 150), o->style.BackColor);
    EXPECT_FALSE(AddPaintRecord(*o, 0, 0, 0, 0));

    // Records off the image replay as nothing.
    o->paint.paint_rep = 0;
    AddPaintRecord(*o, -10000000, -10000000, clRed, 0);
    o->paint.PaintDisplay = true;
    ASSERT_TRUE(o->DrawMap());
    EXPECT_EQ(Px(150, 150), o->style.BackColor);
}

TEST_F(Paint, HatchedAndUnknownPatternsAndTheHourglass) {
    o->style.PaintPattern[4] = 6;
    o->style.PaintPattern[6] = 200;   // kept, drawn solid
    Press(4, 150, 150);
    Press(6, 250, 150);
    int coloured = Count(o->style.PaintColor[4], 101, 101, 199, 199), bare = Count(o->style.BackColor, 101, 101, 199, 199);
    EXPECT_GT(coloured, 1000);
    EXPECT_GT(bare, 5000) << "a cross hatch leaves its gaps";
    EXPECT_EQ(Count(o->style.PaintColor[6], 201, 101, 299, 199), 98 * 98);
    EXPECT_EQ(o->paint.PaintRecords[1].pattern, 200);
    EXPECT_EQ(Screen()->Cursor(), crDefault);
}

TEST_F(Paint, NewPaintModeSavesTheTicksAndTheEndPutsThemBack) {
    auto boxes = SavedCheckBoxes(*o);
    ASSERT_EQ(boxes.size(), 15u);
    const auto before = UserTicks(boxes, {o->ui.CBTownName, o->ui.CBScale, o->ui.CBFun, o->ui.CBCenter});

    BtnPaintClick(*o, o);
    EXPECT_TRUE(Messages().empty()) << "no records, no question";
    EXPECT_TRUE((o->tools.ToolAs<PaintTool>() != nullptr));
    EXPECT_FALSE(o->paint.PaintDisplay);
    EXPECT_FALSE(o->ui.CBScale->Checked());
    EXPECT_FALSE(o->ui.CBCenter->Checked());
    EXPECT_FALSE(o->ui.CBTownBorder->Enabled());
    EXPECT_TRUE(MapPaint->Visible());
    EXPECT_FALSE(Hanrei->Button3->Enabled());
    EXPECT_EQ(Px(150, 150), 0xFFFFFF) << "white background while painting";

    MapPaint->Button19Click(MapPaint);
    EXPECT_FALSE((o->tools.ToolAs<PaintTool>() != nullptr));
    EXPECT_TRUE(o->paint.PaintDisplay);
    EXPECT_FALSE(MapPaint->Button3->Enabled()) << "nothing to save";
    for (size_t i = 0; i < boxes.size(); ++i) EXPECT_EQ(boxes[i]->Checked(), before[i]) << i;

    // With records the question comes; Cancel keeps them.
    Press(0, 150, 150);
    MapPaint->BtnPaintAdd->SetEnabled(false);
    gui::testing::QueueAnswer(IDCANCEL);
    BtnPaintClick(*o, o);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].caption, "ペイント作業の開始");
    EXPECT_EQ(o->paint.paint_rep, 1);
    EXPECT_TRUE(MapPaint->BtnPaintAdd->Enabled());
    EXPECT_TRUE(o->paint.PaintDisplay);
}

TEST_F(Paint, RestoringBeforeAnySaveChangesNothing) {
    o->ui.CBPrefBorder->SetChecked(true);
    o->ui.CBTownBorder->SetChecked(true);
    RestoreCheckStates(*o);
    EXPECT_TRUE(o->ui.CBPrefBorder->Checked());
    EXPECT_TRUE(o->ui.CBTownBorder->Checked());
}

TEST_F(Paint, UndoAfterContinuingKeepsTheButtonOnce) {
    BtnPaintClick(*o, o);
    Press(1, 150, 150);
    Press(2, 250, 150);
    MapPaint->Button19Click(MapPaint);
    MapPaint->BtnPaintAddClick(MapPaint);
    EXPECT_TRUE(MapPaint->JustContinued);
    EXPECT_EQ(PaintOf(*o).PaintSlot, -1);
    EXPECT_EQ(Px(150, 150), o->style.PaintColor[1]) << "the kept records are replayed";

    MapPaint->BtnRepaintClick(MapPaint);
    EXPECT_EQ(o->paint.paint_rep, 1);
    EXPECT_FALSE(MapPaint->JustContinued);
    EXPECT_TRUE(MapPaint->BtnRepaint->Enabled());
    EXPECT_EQ(Px(250, 150), 0xFFFFFF);
    EXPECT_EQ(Px(150, 150), o->style.PaintColor[1]);
    EXPECT_EQ(MapPaint->LblPaint->Caption(), "1");

    MapPaint->BtnRepaintClick(MapPaint);
    EXPECT_EQ(o->paint.paint_rep, 0);
    EXPECT_FALSE(MapPaint->BtnRepaint->Enabled());
    MapPaint->BtnRepaintClick(MapPaint);
    EXPECT_EQ(o->paint.paint_rep, 0) << "undo with no records does nothing";

    // The first undo after continuing with one record leaves undo enabled.
    Press(1, 150, 150);
    MapPaint->Button19Click(MapPaint);
    MapPaint->BtnPaintAddClick(MapPaint);
    MapPaint->BtnRepaintClick(MapPaint);
    EXPECT_EQ(o->paint.paint_rep, 0);
    EXPECT_TRUE(MapPaint->BtnRepaint->Enabled());
}

TEST_F(Paint, PaletteHatchPresetsAndReclick) {
    // A hatch chosen for slot 3 is the last choice: a new colour for slot 6 takes it too.
    MapPaint->PatternButtonClick(2);
    EXPECT_TRUE(PBrush->Visible());
    EXPECT_EQ(PBrush->Label2->Caption(), "3");
    EXPECT_EQ(PBrush->Image1->Canvas()->Pixels(10, 10), o->style.PaintColor[2]);
    PBrush->ImageClick(1);
    EXPECT_EQ(o->style.PaintPattern[2], 6);
    EXPECT_TRUE(PBrush->RadioButton2->Checked());
    EXPECT_TRUE(MapPaint->TkBtn3->Picture()->HasGraphic());
    gui::testing::QueueColor(0x123456);
    MapPaint->ColorButtonClick(5);
    EXPECT_EQ(o->style.PaintColor[5], 0x123456);
    EXPECT_EQ(o->style.PaintPattern[5], 6);
    TBitmap* pic = MapPaint->TkBtn6->Picture()->Bitmap();
    ASSERT_EQ(pic->Width(), 26);
    EXPECT_EQ(pic->Canvas()->Pixels(0, 0), clBlack);
    EXPECT_GT(pic->Image().pixelColor(8, 5).red() + pic->Image().pixelColor(8, 8).red(), 0);

    // Choosing the ticked choice again still applies it to the slot being edited.
    MapPaint->PatternButtonClick(0);
    PBrush->RadioButton2->click();
    EXPECT_EQ(o->style.PaintPattern[0], 6);

    MapPaint->RadioGroup1->SetItemIndex(3);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(o->style.PaintPattern[i], 0) << i;
        EXPECT_FALSE(MapPaint->SlotButton(i)->Picture()->HasGraphic()) << i;
    }
    EXPECT_EQ(o->style.PaintColor[0], 0xE8FFDF);
    EXPECT_EQ(o->style.PaintColor[7], 0x1B6000);
    o->style.PaintPattern[1] = 7;
    MapPaint->Button10Click(MapPaint);
    EXPECT_EQ(MapPaint->RadioGroup1->ItemIndex(), 0);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(o->style.PaintColor[i], o->style.DefPaintColor[i]) << i;
        EXPECT_EQ(o->style.PaintPattern[i], 0) << i;
    }
}

TEST_F(Paint, AidsApplyTheSettingsAndKeepThePaintInView) {
    o->gate.MapShown = true;
    BtnPaintClick(*o, o);
    Press(1, 150, 150);
    MapPaint->CBKuPaint->SetChecked(true);
    EXPECT_TRUE(Settei->CBKu->Checked());
    EXPECT_FALSE(Settei->CBKuDot->Checked());
    EXPECT_EQ(Px(150, 150), o->style.PaintColor[1]) << "replayed after the settings redraw";

    MapPaint->CBBackWhite->SetChecked(true);
    MapPaint->CBBackWhite->SetChecked(false);
    EXPECT_EQ(o->style.BackColor, o->style.ChosenBackColor);
    EXPECT_EQ(Px(250, 150), o->style.ChosenBackColor);
}

// Each redraw enables "ペイント" again: a second new painting must not take the
// painting's own ticks for the user's, and an end without a start changes no ticks.
TEST_F(Paint, ASecondNewPaintingKeepsTheUsersTicksForTheEnd) {
    auto boxes = SavedCheckBoxes(*o);
    const auto before = UserTicks(boxes, {o->ui.CBTownName, o->ui.CBScale, o->ui.CBCenter});

    o->ui.BtnPaint->Click();
    Press(0, 150, 150);
    ASSERT_TRUE(o->ui.menuPaint->Enabled());
    gui::testing::QueueAnswer(IDOK);
    o->ui.menuPaint->Click();
    EXPECT_EQ(o->paint.paint_rep, 0);
    Press(1, 250, 150);
    MapPaint->Button19->Click();
    for (size_t i = 0; i < boxes.size(); ++i) EXPECT_EQ(boxes[i]->Checked(), before[i]) << i;
    // Every tool the painting switched off answers again.
    for (QWidget* w : std::initializer_list<QWidget*>{o->ui.TkBtn2, o->ui.Button12, o->ui.Button13, o->ui.Button14, o->ui.BtnMark,
                                                      o->ui.BtnMulti, o->ui.BtnPaint, o->ui.BtnLine})
        EXPECT_TRUE(w->isEnabled()) << w->accessibleName().toStdString();
    EXPECT_TRUE(o->ui.ken_name->Checked());
    EXPECT_TRUE(o->ui.kokudo->Checked());

    // A paint file ends a painting that never began: the user's choices stay.
    o->ui.ken_name->SetChecked(false);
    o->ui.CBScale->SetChecked(false);
    MapPaint->Button19Click(MapPaint);
    EXPECT_FALSE(o->ui.ken_name->Checked());
    EXPECT_FALSE(o->ui.CBScale->Checked());
}

// The redraw of a new painting does not replay it: the window's own redraws must.
TEST_F(Paint, WhiteBackgroundAndLegendKeepTheFillsOfANewPainting) {
    o->ui.BtnPaint->Click();
    Press(1, 250, 150);
    ASSERT_EQ(Px(250, 150), o->style.PaintColor[1]);
    ASSERT_TRUE(MapPaint->Button4->Enabled());
    // Every redraw keeps them, whichever window asks for it.
    const std::pair<const char*, std::function<void()>> redraws[] = {
        {"white background on", [] { MapPaint->CBBackWhite->Click(); }},
        {"white background off", [] { MapPaint->CBBackWhite->Click(); }},
        {"the legend window", [] { MapPaint->Button4->Click(); }},
        {"a legend option", [] { Hanrei->CBBold->Click(); }},
        {"a layer box of the map", [this] { o->ui.CBScale->Click(); }}};
    for (const auto& [what, redraw] : redraws) {
        redraw();
        EXPECT_EQ(Px(250, 150), o->style.PaintColor[1]) << what;
    }
    EXPECT_TRUE(Hanrei->Visible());
    // Undone, the fill goes; the redraw of the end shows what is left.
    MapPaint->BtnRepaint->Click();
    EXPECT_EQ(Px(250, 150), o->style.BackColor);
}
