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
#include "tests/engine/AreaFiles.h"
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
    o->ui.CBFun->SetChecked(false);
    o->ui.CBLonLat->SetChecked(true);
    EXPECT_TRUE(o->LonLatShown);
    EXPECT_TRUE(o->ui.CBFun->Checked() && o->ui.CBFun->Enabled());
    EXPECT_TRUE(o->ui.CBDo->Checked() && o->ui.CBDo->Enabled());
    EXPECT_TRUE(o->ui.CB1do->Enabled());
    EXPECT_TRUE(Settei->CheckBox6->Checked());
    EXPECT_TRUE(Settei->CheckBox7->Checked()) << "mirrored by the 10-minute box";
    EXPECT_TRUE(Settei->CheckBox9->Enabled());

    o->ui.CBLonLat->SetChecked(false);
    EXPECT_FALSE(o->LonLatShown);
    EXPECT_FALSE(o->ui.CBFun->Enabled());
    EXPECT_FALSE(o->ui.CB1do->Enabled());
    EXPECT_TRUE(o->ui.CBFun->Checked()) << "ticks are kept";
    EXPECT_TRUE(o->ui.CBDo->Checked());
    EXPECT_FALSE(Settei->CheckBox6->Checked());
    EXPECT_FALSE(Settei->CheckBox8->Enabled());

    o->ui.CBLonLat->SetChecked(true);
    o->ui.CBDo->SetChecked(false);
    EXPECT_FALSE(Settei->CheckBox8->Checked());
    EXPECT_FALSE(Settei->CheckBox9->Enabled());
    EXPECT_FALSE(o->ui.CB1do->Enabled());
    o->ui.CB1do->SetChecked(true);
    EXPECT_TRUE(Settei->CheckBox9->Checked());
}

TEST_F(Toggles, OldBordersRedrawOnceAndBringTheOldNames) {
    Mark();
    o->ui.CBNTownBorder->SetChecked(true);
    EXPECT_EQ(Redraws(), 1);
    EXPECT_TRUE(o->gate.DataReady);
    EXPECT_TRUE(o->ui.CBOldTown->Checked());
    EXPECT_TRUE(Settei->CheckBox11->Checked());
    EXPECT_TRUE(Settei->CheckBox12->Checked());
    EXPECT_TRUE(o->ui.N15->Enabled());
    Mark();
    o->ui.CBNTownBorder->SetChecked(false);
    EXPECT_EQ(Redraws(), 1);
    EXPECT_FALSE(o->ui.CBOldTown->Checked());
    EXPECT_FALSE(o->ui.N15->Enabled());

    // The old names box ticks the borders, whose handler ticks it again (no change).
    Mark();
    o->ui.CBOldTown->SetChecked(true);
    EXPECT_TRUE(o->ui.CBNTownBorder->Checked());
    EXPECT_EQ(Redraws(), 2);

    // With no map loaded the box must not make the redraw think there is one.
    o->ui.CBOldTown->SetChecked(false);
    o->gate.DataReady = false;
    o->ui.CBNTownBorder->SetChecked(true);
    EXPECT_FALSE(o->gate.DataReady);
}

TEST_F(Toggles, PrefectureBordersOffTakeTheMunicipalityBordersAndNamesAlong) {
    o->ui.CBTownName->SetChecked(true);
    o->ui.CBPrefBorder->SetChecked(false);
    EXPECT_FALSE(Settei->CheckBox3->Checked());
    EXPECT_FALSE(o->ui.CBTownBorder->Checked());
    EXPECT_FALSE(o->ui.CBTownBorder->Enabled());
    EXPECT_FALSE(o->ui.CBTownName->Checked());
    EXPECT_FALSE(Settei->CheckBox4->Checked());
    o->ui.CBPrefBorder->SetChecked(true);
    EXPECT_TRUE(o->ui.CBTownBorder->Enabled());
    EXPECT_FALSE(o->ui.CBTownBorder->Checked());
}

TEST_F(Toggles, MirroredBoxes) {
    o->ui.CBLake->SetChecked(true);
    EXPECT_TRUE(Settei->CheckBox14->Checked());
    o->ui.CBKenName1->SetChecked(true);
    EXPECT_TRUE(Settei->CBKenName->Checked());
    o->ui.CBMainDoubleName->SetChecked(false);
    EXPECT_FALSE(Settei->CBDoubleName->Checked());
    EXPECT_TRUE(o->ui.CBYomi->Enabled());
    o->ui.CBYomi->SetChecked(true);
    o->ui.CBMainDoubleName->SetChecked(true);
    EXPECT_TRUE(Settei->CBDoubleName->Checked());
    EXPECT_FALSE(o->ui.CBYomi->Checked());
    EXPECT_FALSE(o->ui.CBYomi->Enabled());
    Mark();
    o->ui.CBKu->SetChecked(false);
    EXPECT_EQ(Redraws(), 1);
}

TEST_F(Toggles, CentreCrossAndScaleBarAreDrawnWithoutARedraw) {
    Mark();
    o->ui.CBCenter->SetChecked(true);
    EXPECT_EQ(Redraws(), 0);
    EXPECT_EQ(Px(280, 300), clRed);
    EXPECT_EQ(Px(319, 300), clRed);
    EXPECT_EQ(Px(320, 300), o->style.BackColor) << "end pixels are left out";
    EXPECT_EQ(Px(300, 320), o->style.BackColor);
    o->ui.CBCenter->SetChecked(false);
    EXPECT_EQ(Redraws(), 1);
    EXPECT_EQ(Px(280, 300), o->style.BackColor);

    Mark();
    o->ui.CBScale->SetChecked(true);
    EXPECT_EQ(Redraws(), 0);
    EXPECT_TRUE(o->ScaleShown);
    EXPECT_TRUE(Settei->CheckBox10->Checked());
    o->ui.CBScale->SetChecked(false);
    EXPECT_EQ(Redraws(), 1);
    EXPECT_FALSE(o->ScaleShown);
    EXPECT_FALSE(Settei->CheckBox10->Checked());
}

TEST_F(Toggles, NothingIsDrawnOnTheStartScreen) {
    o->gate.DataReady = false;
    TCanvas* c = o->ui.Image1->Canvas();
    c->Brush->Color = clWhite;
    c->FillRect(Rect(0, 0, 600, 600));
    o->ui.CBCenter->SetChecked(true);
    o->ui.CBScale->SetChecked(true);
    o->ui.kokudo->SetChecked(false);
    o->ui.kokudo->Click();
    EXPECT_EQ(Count(clWhite, 0, 0, 600, 600), 600 * 600);
}

TEST_F(Toggles, NoticeAndCaptionMenuItems) {
    o->ui.kokudo->SetChecked(false);
    ASSERT_TRUE(o->DrawMap());
    Mark();
    o->ui.kokudo->Click();
    EXPECT_TRUE(o->ui.kokudo->Checked());
    EXPECT_EQ(Redraws(), 0);
    EXPECT_GT(Count(clBlack, 5, 5, 200, 20), 0);
    ASSERT_TRUE(o->DrawMap());
    EXPECT_GT(Count(clBlack, 5, 5, 200, 20), 0) << "the redraw keeps the notice";
    Mark();
    o->ui.kokudo->Click();
    EXPECT_EQ(Redraws(), 1);
    EXPECT_EQ(Count(clBlack, 5, 5, 200, 20), 0);

    // Too small an image (150 pixels) for the notice: ticking redraws instead, without it.
    o->SSIZE = 4;
    ASSERT_TRUE(o->DrawMap());
    Mark();
    o->ui.kokudo->Click();
    EXPECT_EQ(Redraws(), 1);
    EXPECT_EQ(Count(clBlack, 0, 0, 150, 20), 0);

    o->ui.ken_name->Click();
    EXPECT_FALSE(o->ui.ken_name->Checked());
    EXPECT_FALSE(Settei->CheckBox2->Checked());
    o->ui.ken_name->Click();
    EXPECT_TRUE(Settei->CheckBox2->Checked());
}

TEST_F(Toggles, PlainMenuTicks) {
    for (TMenuItem* m : {o->ui.Wait, o->ui.Keido, o->ui.N24}) {
        bool was = m->Checked();
        m->Click();
        EXPECT_NE(m->Checked(), was) << m->Caption();
    }
    o->ui.Hokkaido->Click();
    EXPECT_FALSE(o->ui.Hokkaido->Checked());
    EXPECT_FALSE(o->doc.WLinesAsBorder);
    EXPECT_FALSE(Settei->CBHokkaido->Checked());
}

TEST_F(Toggles, DatumMenuSwitchesOnlyTheCaptions) {
    for (auto [caption, datum] : {std::pair<std::string, std::string>{"Tokyo", "旧日本測地系"}, {"WGS", "世界測地系"}}) {
        o->ui.Sokuchi->Click();
        EXPECT_EQ(o->ui.Label38->Caption(), caption);
        EXPECT_EQ(o->ui.Label38->Hint(), datum);
        EXPECT_EQ(Ken->Label6->Caption(), datum);
    }
    EXPECT_FALSE(o->WgsDisplay) << "as the fixture left it";
}

TEST_F(Toggles, HelpPagesGoToTheBrowserAndAFailureIsShown) {
    // The manual as the program folder holds it.
    std::filesystem::create_directories(o->doc.AppDir + "/Help");
    std::ofstream(o->doc.AppDir + "/Help/readme.htm") << "<html></html>";
    o->ui.readmehtm1->Click();
    ASSERT_EQ(gui::testing::ShellOpens().size(), 1u);
    EXPECT_EQ(gui::testing::ShellOpens()[0], o->doc.AppDir + "/Help/readme.htm");
    EXPECT_TRUE(gui::testing::Messages().empty());
    gui::testing::ShellOpenResult() = 2;
    o->ui.readmehtm1->Click();
    areafiles::ExpectOnlyMessage("インターネットエクスプローラの起動に失敗しました　　　　", "readme.htm呼び出しエラー",
                                 MB_ICONEXCLAMATION);
}

TEST_F(Toggles, ReadOutWindowFollowsItsBox) {
    o->ui.CBInfo->SetChecked(true);
    EXPECT_TRUE(SCList->Visible());
    SCList->Button1->Click();
    EXPECT_FALSE(o->ui.CBInfo->Checked());
    EXPECT_FALSE(SCList->Visible());
    o->ui.CBInfo->SetChecked(true);
    SCList->Close();
    EXPECT_FALSE(o->ui.CBInfo->Checked());
}

TEST_F(Toggles, AClickBesideTheMapPutsTheToolWindowsAway) {
    std::vector<TForm*> tools = {Hanrei, Letter, PBrush, LineAdd, PagesDlg};
    for (TForm* f : tools) f->Show();
    QWidget* client = o->Client();
    // On a control: nothing.
    QPoint onLabel = o->ui.Label37->mapTo(client, QPoint(2, 2));
    QMouseEvent onControl(QEvent::MouseButtonRelease, onLabel, client->mapToGlobal(onLabel), Qt::LeftButton,
                          Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(client, &onControl);
    for (TForm* f : tools) EXPECT_TRUE(f->Visible());
    QPoint gap(o->ui.ScrollBox1->x() - 4, 300);
    ASSERT_EQ(client->childAt(gap), nullptr);
    QMouseEvent beside(QEvent::MouseButtonRelease, gap, client->mapToGlobal(gap), Qt::LeftButton, Qt::NoButton,
                       Qt::NoModifier);
    QApplication::sendEvent(client, &beside);
    for (TForm* f : tools) EXPECT_FALSE(f->Visible());
}

TEST_F(Toggles, AboutBoxAndUsageNotes) {
    o->ui.Image4->OnClick(o->ui.Image4);
    EXPECT_TRUE(About->Visible());
    EXPECT_EQ(About->Label3->Caption(), o->ProgramDate);
    // No home page or address is set: no link to a place that is not there.
    for (TLabel* link : {About->Label4, About->Label5, About->Label6}) EXPECT_FALSE(link->isVisibleTo(About));
    EXPECT_FALSE(HowTo->Label1->isVisibleTo(HowTo));
    EXPECT_FALSE(o->ui.HomePage1->Visible());
    EXPECT_FALSE(o->ui.TkBtn1->isVisibleTo(o->ui.Image1));
    About->Label4Hover(true);
    EXPECT_EQ(Screen()->Cursor(), crHandPoint);
    About->Label4Hover(false);
    EXPECT_EQ(Screen()->Cursor(), About->KeptCursor);
    About->Image1->OnClick(About->Image1);
    EXPECT_FALSE(About->Visible());

    o->ui.Image2->OnClick(o->ui.Image2);
    EXPECT_TRUE(HowTo->Visible());
    HowTo->Image3->OnClick(HowTo->Image3);
    EXPECT_TRUE(About->Visible());
    HowTo->Image2->OnClick(HowTo->Image2);
    EXPECT_FALSE(HowTo->Visible());
}
