#include "engine/Uabout.h"
#include "engine/Uhowto.h"
#include "engine/Uken.h"
#include "gui/Testing.h"
#include "labels/Uletter.h"
#include "labels/Upagesdlg.h"
#include "lines/Ulineadd.h"
#include "navigation/Usclist.h"
#include "navigation/Usettei.h"
#include "paint/Ubrush.h"
#include "paint/Uhanrei.h"
#include "tests/engine/HandMap.h"
#include <QApplication>
#include <QMouseEvent>
#include <filesystem>
#include <fstream>

class Toggles : public HandMap {
protected:
    int redraws = 0;
    void Mark() { redraws = o->RedrawCount; }
    int Redraws() const { return o->RedrawCount - redraws; }
};

TEST_F(Toggles, LonLatGridBoxEnablesItsHiddenPartsAndTheSettingsTwins) {
    o->CBFun->SetChecked(false);
    o->CBLonLat->SetChecked(true);
    EXPECT_TRUE(o->LonLatShown);
    EXPECT_TRUE(o->CBFun->Checked() && o->CBFun->Enabled());
    EXPECT_TRUE(o->CBDo->Checked() && o->CBDo->Enabled());
    EXPECT_TRUE(o->CB1do->Enabled());
    EXPECT_TRUE(Settei->CheckBox6->Checked());
    EXPECT_TRUE(Settei->CheckBox7->Checked()) << "mirrored by the 10-minute box";
    EXPECT_TRUE(Settei->CheckBox9->Enabled());

    o->CBLonLat->SetChecked(false);
    EXPECT_FALSE(o->LonLatShown);
    EXPECT_FALSE(o->CBFun->Enabled());
    EXPECT_FALSE(o->CB1do->Enabled());
    EXPECT_TRUE(o->CBFun->Checked()) << "ticks are kept";
    EXPECT_TRUE(o->CBDo->Checked());
    EXPECT_FALSE(Settei->CheckBox6->Checked());
    EXPECT_FALSE(Settei->CheckBox8->Enabled());

    o->CBLonLat->SetChecked(true);
    o->CBDo->SetChecked(false);
    EXPECT_FALSE(Settei->CheckBox8->Checked());
    EXPECT_FALSE(Settei->CheckBox9->Enabled());
    EXPECT_FALSE(o->CB1do->Enabled());
    o->CB1do->SetChecked(true);
    EXPECT_TRUE(Settei->CheckBox9->Checked());
}

TEST_F(Toggles, OldBordersRedrawOnceAndBringTheOldNames) {
    Mark();
    o->CBNTownBorder->SetChecked(true);
    EXPECT_EQ(Redraws(), 1);
    EXPECT_TRUE(o->DataReady);
    EXPECT_TRUE(o->CBOldTown->Checked());
    EXPECT_TRUE(Settei->CheckBox11->Checked());
    EXPECT_TRUE(Settei->CheckBox12->Checked());
    EXPECT_TRUE(o->N15->Enabled());
    Mark();
    o->CBNTownBorder->SetChecked(false);
    EXPECT_EQ(Redraws(), 1);
    EXPECT_FALSE(o->CBOldTown->Checked());
    EXPECT_FALSE(o->N15->Enabled());

    // The old names box ticks the borders, whose handler ticks it again (no change).
    Mark();
    o->CBOldTown->SetChecked(true);
    EXPECT_TRUE(o->CBNTownBorder->Checked());
    EXPECT_EQ(Redraws(), 2);

    // With no map loaded the box must not make the redraw think there is one.
    o->CBOldTown->SetChecked(false);
    o->DataReady = false;
    o->CBNTownBorder->SetChecked(true);
    EXPECT_FALSE(o->DataReady);
}

TEST_F(Toggles, PrefectureBordersOffTakeTheMunicipalityBordersAndNamesAlong) {
    o->CBTownName->SetChecked(true);
    o->CBPrefBorder->SetChecked(false);
    EXPECT_FALSE(Settei->CheckBox3->Checked());
    EXPECT_FALSE(o->CBTownBorder->Checked());
    EXPECT_FALSE(o->CBTownBorder->Enabled());
    EXPECT_FALSE(o->CBTownName->Checked());
    EXPECT_FALSE(Settei->CheckBox4->Checked());
    o->CBPrefBorder->SetChecked(true);
    EXPECT_TRUE(o->CBTownBorder->Enabled());
    EXPECT_FALSE(o->CBTownBorder->Checked());
}

TEST_F(Toggles, MirroredBoxes) {
    o->CBLake->SetChecked(true);
    EXPECT_TRUE(Settei->CheckBox14->Checked());
    o->CBKenName1->SetChecked(true);
    EXPECT_TRUE(Settei->CBKenName->Checked());
    o->CBMainDoubleName->SetChecked(false);
    EXPECT_FALSE(Settei->CBDoubleName->Checked());
    EXPECT_TRUE(o->CBYomi->Enabled());
    o->CBYomi->SetChecked(true);
    o->CBMainDoubleName->SetChecked(true);
    EXPECT_TRUE(Settei->CBDoubleName->Checked());
    EXPECT_FALSE(o->CBYomi->Checked());
    EXPECT_FALSE(o->CBYomi->Enabled());
    Mark();
    o->CBKu->SetChecked(false);
    EXPECT_EQ(Redraws(), 1);
}

TEST_F(Toggles, CentreCrossAndScaleBarAreDrawnWithoutARedraw) {
    Mark();
    o->CBCenter->SetChecked(true);
    EXPECT_EQ(Redraws(), 0);
    EXPECT_EQ(Px(280, 300), clRed);
    EXPECT_EQ(Px(319, 300), clRed);
    EXPECT_EQ(Px(320, 300), o->BackColor) << "end pixels are left out";
    EXPECT_EQ(Px(300, 320), o->BackColor);
    o->CBCenter->SetChecked(false);
    EXPECT_EQ(Redraws(), 1);
    EXPECT_EQ(Px(280, 300), o->BackColor);

    Mark();
    o->CBScale->SetChecked(true);
    EXPECT_EQ(Redraws(), 0);
    EXPECT_TRUE(o->ScaleShown);
    EXPECT_TRUE(Settei->CheckBox10->Checked());
    o->CBScale->SetChecked(false);
    EXPECT_EQ(Redraws(), 1);
    EXPECT_FALSE(o->ScaleShown);
    EXPECT_FALSE(Settei->CheckBox10->Checked());
}

TEST_F(Toggles, NothingIsDrawnOnTheStartScreen) {
    o->DataReady = false;
    TCanvas* c = o->Image1->Canvas();
    c->Brush->Color = clWhite;
    c->FillRect(Rect(0, 0, 600, 600));
    o->CBCenter->SetChecked(true);
    o->CBScale->SetChecked(true);
    o->kokudo->SetChecked(false);
    o->kokudo->Click();
    EXPECT_EQ(Count(clWhite, 0, 0, 600, 600), 600 * 600);
}

TEST_F(Toggles, NoticeAndCaptionMenuItems) {
    o->kokudo->SetChecked(false);
    ASSERT_TRUE(o->DrawMap());
    Mark();
    o->kokudo->Click();
    EXPECT_TRUE(o->kokudo->Checked());
    EXPECT_EQ(Redraws(), 0);
    EXPECT_GT(Count(clBlack, 5, 5, 200, 20), 0);
    o->kokudo->Click();
    EXPECT_EQ(Redraws(), 1);
    EXPECT_EQ(Count(clBlack, 5, 5, 200, 20), 0);

    // Too small an image for the notice: ticking redraws instead.
    o->SSIZE = 4;
    ASSERT_TRUE(o->DrawMap());
    Mark();
    o->kokudo->Click();
    EXPECT_EQ(Redraws(), 1);

    o->ken_name->Click();
    EXPECT_FALSE(o->ken_name->Checked());
    EXPECT_FALSE(Settei->CheckBox2->Checked());
    o->ken_name->Click();
    EXPECT_TRUE(Settei->CheckBox2->Checked());
}

TEST_F(Toggles, PlainMenuTicks) {
    for (TMenuItem* m : {o->Wait, o->Keido, o->N24}) {
        bool was = m->Checked();
        m->Click();
        EXPECT_NE(m->Checked(), was) << m->Caption();
    }
    o->Hokkaido->Click();
    EXPECT_FALSE(o->Hokkaido->Checked());
    EXPECT_FALSE(o->WLinesAsBorder);
    EXPECT_FALSE(Settei->CBHokkaido->Checked());
}

TEST_F(Toggles, DatumMenuSwitchesOnlyTheCaptions) {
    o->Sokuchi->Click();
    EXPECT_EQ(o->Label38->Caption(), "Tokyo");
    EXPECT_EQ(o->Label38->Hint(), "旧日本測地系");
    EXPECT_EQ(Ken->Label6->Caption(), "旧日本測地系");
    o->Sokuchi->Click();
    EXPECT_EQ(o->Label38->Caption(), "WGS");
    EXPECT_EQ(o->Label38->Hint(), "世界測地系");
    EXPECT_EQ(Ken->Label6->Caption(), "世界測地系");
    EXPECT_FALSE(o->WgsDisplay) << "as the fixture left it";
}

TEST_F(Toggles, HelpPagesGoToTheBrowserAndAFailureIsShown) {
    // The manual as the program folder holds it.
    std::filesystem::create_directories(o->AppDir + "/Help");
    std::ofstream(o->AppDir + "/Help/readme.htm") << "<html></html>";
    o->readmehtm1->Click();
    ASSERT_EQ(gui::testing::ShellOpens().size(), 1u);
    EXPECT_EQ(gui::testing::ShellOpens()[0], o->AppDir + "/Help/readme.htm");
    EXPECT_TRUE(gui::testing::Messages().empty());
    gui::testing::ShellOpenResult() = 2;
    o->readmehtm1->Click();
    ASSERT_EQ(gui::testing::Messages().size(), 1u);
    EXPECT_EQ(gui::testing::Messages()[0].text, "インターネットエクスプローラの起動に失敗しました　　　　");
    EXPECT_EQ(gui::testing::Messages()[0].caption, "readme.htm呼び出しエラー");
    EXPECT_EQ(gui::testing::Messages()[0].flags, MB_ICONEXCLAMATION);
}

TEST_F(Toggles, ReadOutWindowFollowsItsBox) {
    o->CBInfo->SetChecked(true);
    EXPECT_TRUE(SCList->Visible());
    SCList->Button1->Click();
    EXPECT_FALSE(o->CBInfo->Checked());
    EXPECT_FALSE(SCList->Visible());
    o->CBInfo->SetChecked(true);
    SCList->Close();
    EXPECT_FALSE(o->CBInfo->Checked());
}

TEST_F(Toggles, AClickBesideTheMapPutsTheToolWindowsAway) {
    std::vector<TForm*> tools = {Hanrei, Letter, PBrush, LineAdd, PagesDlg};
    for (TForm* f : tools) f->Show();
    QWidget* client = o->Client();
    // On a control: nothing.
    QPoint onLabel = o->Label37->mapTo(client, QPoint(2, 2));
    QMouseEvent onControl(QEvent::MouseButtonRelease, onLabel, client->mapToGlobal(onLabel), Qt::LeftButton,
                          Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(client, &onControl);
    for (TForm* f : tools) EXPECT_TRUE(f->Visible());
    QPoint gap(o->ScrollBox1->x() - 4, 300);
    ASSERT_EQ(client->childAt(gap), nullptr);
    QMouseEvent beside(QEvent::MouseButtonRelease, gap, client->mapToGlobal(gap), Qt::LeftButton, Qt::NoButton,
                       Qt::NoModifier);
    QApplication::sendEvent(client, &beside);
    for (TForm* f : tools) EXPECT_FALSE(f->Visible());
}

TEST_F(Toggles, AboutBoxAndUsageNotes) {
    o->Image4->OnClick(o->Image4);
    EXPECT_TRUE(About->Visible());
    EXPECT_EQ(About->Label3->Caption(), o->ProgramDate);
    // No home page or address is set: no link to a place that is not there.
    for (TLabel* link : {About->Label4, About->Label5, About->Label6}) EXPECT_FALSE(link->isVisibleTo(About));
    EXPECT_FALSE(HowTo->Label1->isVisibleTo(HowTo));
    EXPECT_FALSE(o->HomePage1->Visible());
    EXPECT_FALSE(o->TkBtn1->isVisibleTo(o->Image1));
    About->Label4Hover(true);
    EXPECT_EQ(Screen()->Cursor(), crHandPoint);
    About->Label4Hover(false);
    EXPECT_EQ(Screen()->Cursor(), About->KeptCursor);
    About->Image1->OnClick(About->Image1);
    EXPECT_FALSE(About->Visible());

    o->Image2->OnClick(o->Image2);
    EXPECT_TRUE(HowTo->Visible());
    HowTo->Image3->OnClick(HowTo->Image3);
    EXPECT_TRUE(About->Visible());
    HowTo->Image2->OnClick(HowTo->Image2);
    EXPECT_FALSE(HowTo->Visible());
}
