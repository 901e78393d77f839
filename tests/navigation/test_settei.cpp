#include "engine/Settings.h"
#include "navigation/MainFormNavigation.h"
#include "labels/Uletter.h"
#include "labels/Uprefset.h"
#include "lines/Ulineset.h"
#include "navigation/Ukeisoku.h"
#include "navigation/Usettei.h"
#include "tests/navigation/ViewFixture.h"

class SetteiTest : public ViewTest {
protected:
    static TColor Swatch(TImage* i) { return i->Canvas()->Pixels(5, 5); }
};

TEST_F(SetteiTest, ApplyCopiesTheTicksAndRedrawsOnceOnlyWithAMap) {
    ASSERT_TRUE(o->ui.CBPrefBorder->Checked() && o->ui.CBTownBorder->Checked());
    Settei->CheckBox3->SetChecked(false);
    // The window's own boxes follow at once, the main window only on "決　定".
    EXPECT_FALSE(Settei->CheckBox4->Checked() || Settei->CheckBox4->Enabled());
    EXPECT_FALSE(Settei->CheckBox11->Checked() || Settei->CheckBox11->Enabled());
    EXPECT_TRUE(o->ui.CBPrefBorder->Checked());
    Settei->CheckBox10->SetChecked(true);
    Settei->CheckBox6->SetChecked(true);
    EXPECT_TRUE(Settei->CheckBox7->Checked() && Settei->CheckBox8->Checked() && Settei->CheckBox9->Enabled());
    Settei->CheckBox13->SetChecked(true);
    Settei->RadioGroup1->SetItemIndex(1);
    o->ui.Label35->Show();

    Mark();
    Settei->Button8->Click();
    EXPECT_EQ(Redraws(), 1);
    EXPECT_TRUE(o->gate.DataReady);
    EXPECT_FALSE(o->ui.CBPrefBorder->Checked());
    EXPECT_FALSE(o->ui.CBTownBorder->Checked());
    EXPECT_TRUE(o->ui.CBScale->Checked());
    EXPECT_TRUE(o->ui.CBLonLat->Checked() && o->ui.CBFun->Checked() && o->ui.CBDo->Checked());
    EXPECT_TRUE(o->ui.MAG2->Checked() && !o->ui.MAG1->Checked());
    EXPECT_EQ(o->style.BackColor, TColor(0xFFFFFF));
    EXPECT_FALSE(o->ui.Label35->Visible());

    // "県 指 定" only opens the area window: the map is still there to draw.
    o->Button5Click(o);
    ASSERT_TRUE(o->gate.MapShown);
    Mark();
    Settei->Button8Click(Settei);
    EXPECT_TRUE(o->gate.DataReady);
    EXPECT_EQ(Redraws(), 1);
}

TEST_F(SetteiTest, DefaultsGiveTheNormalOrTheSoftSetWithoutARedraw) {
    Settei->CBColor->SetChecked(true);
    ASSERT_TRUE(o->style.SameColor);
    o->style.TownWidth = 3;
    Settei->UpDown4->SetPosition(20);
    Settei->CheckBox2->SetChecked(false);
    Settei->CBSoft->SetChecked(true);
    Mark();
    Settei->Button6->Click();
    EXPECT_EQ(Redraws(), 0);
    EXPECT_EQ(o->style.CoastColor, TColor(0xFFA6A6));
    EXPECT_EQ(o->style.NTownColor, TColor(0xFFFF80));
    EXPECT_EQ(o->style.DoColor, TColor(0x868686));
    EXPECT_EQ(o->style.BackColor, TColor(0xFFFFE6));
    EXPECT_EQ(o->style.ChosenBackColor, TColor(0xFFFFE6));
    EXPECT_EQ(Swatch(Settei->Image1), TColor(0xFFA6A6)) << "the swatches are filled again";
    EXPECT_EQ(Swatch(Settei->Image5), TColor(0xFFFFE6));
    EXPECT_FALSE(o->style.SameColor);
    EXPECT_FALSE(Settei->CBColor->Checked());
    EXPECT_EQ(o->style.TownWidth, 1);
    EXPECT_EQ(Settei->UpDown4->Position(), 8);
    EXPECT_EQ(Settei->UpDown5->Position(), 2);
    EXPECT_EQ(o->style.NameFontSize, 8);
    EXPECT_TRUE(Settei->CheckBox2->Checked() && o->ui.ken_name->Checked());

    o->style.NTownColor = o->style.IslandsColor = 0;
    Settei->CBSoft->SetChecked(false);
    Settei->Button6Click(Settei);
    EXPECT_EQ(o->style.CoastColor, TColor(0xFF0000));
    EXPECT_EQ(o->style.TownColor, TColor(0x28C830));
    EXPECT_EQ(o->style.NTownColor, o->style.DefNTownColor);
    EXPECT_EQ(o->style.IslandsColor, o->style.DefIslandsColor);
    EXPECT_EQ(o->style.TownFontColor, TColor(0));
    EXPECT_EQ(Swatch(Settei->Image10), o->style.DefNTownColor);
}

TEST_F(SetteiTest, WidthsGovernTheDottedBoxesAndTheNameSizeFollowsTheImage) {
    Settei->CBTownDot->SetChecked(false);
    Settei->CBNTownDot->SetChecked(true);
    Settei->UpDown3->UserClick(btNext);
    EXPECT_EQ(o->style.TownWidth, 2);
    for (TCheckBox* dot : {Settei->CBTownDot, Settei->CBNTownDot, Settei->CBLakeDot, Settei->CBKuDot})
        EXPECT_FALSE(dot->Enabled());
    Settei->UpDown3->UserClick(btPrev);
    for (TCheckBox* dot : {Settei->CBTownDot, Settei->CBNTownDot, Settei->CBLakeDot, Settei->CBKuDot})
        EXPECT_TRUE(dot->Enabled());
    EXPECT_FALSE(Settei->CBTownDot->Checked()) << "enabled again without a tick";
    EXPECT_TRUE(Settei->CBNTownDot->Checked());
    Settei->UpDown2->UserClick(btNext);
    EXPECT_EQ(o->style.PrefWidth, 2);
    EXPECT_FALSE(Settei->CBPrefDot->Enabled());
    Settei->UpDown1->UserClick(btNext);
    EXPECT_EQ(o->style.CoastWidth, 2);
    // A typed width counts as the arrows do; one the window does not allow is refused.
    testsupport::TypeInto(Settei->Edit3, "3");
    EXPECT_EQ(o->style.TownWidth, 3);
    testsupport::TypeInto(Settei->Edit1, "4");
    EXPECT_EQ(o->style.CoastWidth, 2);
    EXPECT_EQ(Settei->Edit1->Text(), "2");
    testsupport::TypeInto(Settei->Edit3, "1");
    EXPECT_TRUE(Settei->CBTownDot->Enabled());

    o->COPYSCALE = 2;
    o->DrawMap();
    ASSERT_EQ(o->ImageSize, 1200);
    Settei->UpDown4->SetPosition(11);
    Settei->UpDown4->UserClick(btNext);
    EXPECT_EQ(o->style.NameFontBase, 12);
    EXPECT_EQ(o->style.NameFontSize, 24);
    o->COPYSCALE = 1;
    MAG2Click(*o, o);
    ASSERT_EQ(o->ImageSize, 300);
    Settei->UpDown4->UserClick(btPrev);
    Settei->UpDown4->UserClick(btNext);
    EXPECT_EQ(o->style.NameFontSize, 6);
}

TEST_F(SetteiTest, ColourButtonsWriteTheMainFormAndShareTheirDialogs) {
    gui::testing::QueueColor(TColor(0x00AA00));
    Mark();
    Settei->Button4->Click();
    EXPECT_EQ(o->style.TownColor, TColor(0x00AA00));
    EXPECT_EQ(Swatch(Settei->Image3), TColor(0x00AA00));
    EXPECT_EQ(Redraws(), 0);
    EXPECT_EQ(Settei->ColorDialog3->Color, TColor(0x00AA00)) << "the next button of the dialog opens on it";
    gui::testing::QueueColor(std::nullopt);
    Settei->Button12->Click();
    EXPECT_NE(o->style.KuColor, TColor(0x00AA00)) << "a cancelled dialog changes nothing";

    // A chosen background unticks white and is what unticking white gives back.
    Settei->CheckBox13->SetChecked(true);
    EXPECT_EQ(o->style.BackColor, TColor(0xFFFFFF));
    gui::testing::QueueColor(TColor(0x405060));
    Settei->Button7->Click();
    EXPECT_FALSE(Settei->CheckBox13->Checked());
    EXPECT_EQ(o->style.BackColor, TColor(0x405060));
    EXPECT_EQ(o->ui.Image1->Canvas()->Pixels(1, 1), TColor(0x405060)) << "unticking white redrew";
    Settei->CheckBox13->SetChecked(true);
    Settei->CheckBox13->SetChecked(false);
    EXPECT_EQ(o->style.BackColor, TColor(0x405060));

    Settei->FormCreate(Settei);
    EXPECT_EQ(Swatch(Settei->Image5), TColor(0x405060));
    o->style.SameColor = true;
    Settei->FormCreate(Settei);
    EXPECT_TRUE(Settei->CBColor->Checked());
}

TEST_F(SetteiTest, SwitchesActAtOnceOnTheMainWindow) {
    Settei->CheckBox2->SetChecked(false);
    EXPECT_FALSE(o->ui.ken_name->Checked());
    o->ui.CBLonLat->SetChecked(true);
    Settei->CheckBox9->SetChecked(true);
    EXPECT_TRUE(o->ui.CB1do->Checked());
    Settei->CBKu->SetChecked(false);
    EXPECT_FALSE(Settei->CBKuName->Checked() || Settei->CBKuDot->Enabled());
    Settei->CBRailExp->SetChecked(true);
    EXPECT_TRUE(LineSet->Visible());
    Settei->CBRailExp->SetChecked(false);
    EXPECT_FALSE(LineSet->Visible());
    // Prefecture names and stations reach the windows that draw them.
    Settei->CBKenName->SetChecked(true);
    EXPECT_TRUE(PrefSet->CheckBox3->Checked() && o->ui.CBKenName1->Checked());
    Settei->CBKenOffice->SetChecked(true);
    EXPECT_TRUE(PrefSet->CheckBox4->Checked());
    Settei->CBStation->SetChecked(true);
    EXPECT_TRUE(Letter->CBMark->Checked() && Letter->CBShow->Checked() && o->ui.CBEki->Checked());
    Settei->CBStation->SetChecked(false);
    EXPECT_FALSE(Letter->CBShow->Checked() || o->ui.CBEki->Checked());
    Letter->CBShow->SetChecked(true);
    Settei->CBRail->SetChecked(true);
    Settei->CBRail->SetChecked(false);
    EXPECT_FALSE(Letter->CBShow->Checked() || o->ui.CBRailLine->Checked());

    // The sub-prefecture borders reload the map and draw it once, at once;
    // the map stays drawable afterwards.
    Mark();
    Settei->CBHokkaido->Click();
    EXPECT_FALSE(o->doc.WLinesAsBorder);
    EXPECT_FALSE(o->ui.Hokkaido->Checked());
    EXPECT_TRUE(o->gate.DataReady);
    EXPECT_EQ(Redraws(), 1);
    Wheel(-120);
    EXPECT_EQ(Redraws(), 2);
    EXPECT_EQ(o->ui.Label6->Caption(), "2.00");

    Settei->Show();
    o->SetteiShown = true;
    Settei->Button1->Click();
    EXPECT_FALSE(Settei->Visible());
    EXPECT_FALSE(o->SetteiShown);
}

TEST_F(SetteiTest, TheWebMapLinkOpensTheTopPageOrSaysWhy) {
    Settei->Label24->OnClick(Settei->Label24);
    ASSERT_EQ(gui::testing::ShellOpens().size(), 1u);
    EXPECT_EQ(gui::testing::ShellOpens()[0], settings::WebMapTopUrl);
    EXPECT_TRUE(gui::testing::Messages().empty());
    EXPECT_FALSE(Keisoku->Visible());
    gui::testing::ShellOpenResult() = 2;
    Settei->Label24Click(Settei);
    ASSERT_EQ(gui::testing::Messages().size(), 1u);
    EXPECT_EQ(gui::testing::Messages()[0].caption, "ウオッ地図呼び出しエラー");
    EXPECT_EQ(gui::testing::Messages()[0].flags, MB_ICONEXCLAMATION);
    EXPECT_FALSE(Keisoku->Visible());
}
