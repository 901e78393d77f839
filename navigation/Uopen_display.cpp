// The main window's layer switches with their twins in the display settings,
// and the small menu items of the main window.
#include "engine/FormEvents.h"
#include "engine/Settings.h"
#include "engine/Uken.h"
#include "engine/Uopen.h"
#include "gui/Dialogs.h"
#include "gui/Files.h"
#include "labels/Uletter.h"
#include "labels/Upagesdlg.h"
#include "labels/Uprefset.h"
#include "names/Uyomi.h"
#include "navigation/Usclist.h"
#include "navigation/Usettei.h"

namespace {

const char* const kBrowserFailed = "インターネットエクスプローラの起動に失敗しました　　　　";

std::string Km(float km) { return gui::Format("%.1f km", km); }

// "%3d゜%02d´": whole degrees and whole minutes, both truncated.
std::string DegreesMinutes(float v) {
    int deg = TruncToInt(v);
    int min = TruncToInt((v - deg) * 60);
    return gui::Format("%3d゜%02d´", deg, min);
}

// The display settings' ticks for the redraw, read once.
void ReadSettei(DrawSettings& s) {
    const TSettei* t = Settei;
    s.WhiteBackground = t->WhiteBackground();
    s.Mesh = t->CBMesh->Checked();
    s.Islands = t->CBIslands->Checked();
    s.Mountains = t->CBMountain->Checked();
    s.MeshNames = t->CBMeshName->Checked();
    s.MeshNames2 = t->CBMeshName2->Checked();
    s.KenName = t->CBKenName->Checked();
    s.KenOffice = t->CBKenOffice->Checked();
    s.Office = t->CBOffice->Checked();
    s.SameColour = t->CBColor->Checked();
    s.Coast = t->CBCoast->Checked();
    s.PrefDot = t->CBPrefDot->Checked();
    s.Ku = t->CBKu->Checked();
    s.KuDot = t->CBKuDot->Checked();
    s.TownsInBackColour = t->TownsInBackColour();
    s.TownDot = t->CBTownDot->Checked();
    s.OldTownsInTownColour = t->OldTownsInTownColour();
    s.NTownDot = t->CBNTownDot->Checked();
    s.LakeDot = t->CBLakeDot->Checked();
    s.WhiteNameBoxes = t->CBWhite->Checked();
    s.FixedSize = t->CBFixedSize->Checked();
    s.DoubleNames = t->CBDoubleName->Checked();
    s.KuNames = t->CBKuName->Checked();
    s.CityNames = t->CBCityName->Checked();
    s.FunDot = t->CBFunDot->Checked();
    s.Frame = t->CBWaku->Checked();
    s.OfficeNames = t->CBOfficeName->Checked();
    s.Hokkaido = t->CBHokkaido->Checked();
    s.MtYomi = t->CBMtYomi->Checked();
    s.MtHeight = t->CBMtHeight->Checked();
    s.TownLineWidth = t->TownLineWidth();
    s.NameSize = t->UpDown4->Position();
    s.FrameWidth = t->UpDown5->Position();
}

// The projection read-out window's figures of the view just computed.
void ShowProjection(const TOpen& o) {
    TSCList* l = SCList;
    const TOpen::ViewReadout& r = o.Readout;
    l->Label11->SetCaption(std::to_string(o.ImageSize));
    l->Label35->SetCaption(std::to_string(o.UpDown1->Position()));
    l->Label13->SetCaption(gui::Format("%.4f", o.MAGUNIT));
    l->Label46->SetCaption(std::to_string(o.BaseSpan));
    l->ShowCentre(r.centreX, r.centreY);
    l->ShowCorners(o.MinX, o.MinY, o.MaxX, o.MaxY);
    l->ShowMagnification(o.MAGSTEP * o.MAGUNIT);
    l->Label32->SetCaption(gui::Format("%.4f", o.ScaleX));
    l->Label33->SetCaption(gui::Format("%.4f", o.ScaleY));
    l->Label34->SetCaption(gui::Format("%.4f", o.Aspect));
    l->Label38->SetCaption(std::to_string(o.UDHor->Position()));
    l->Label39->SetCaption(std::to_string(o.UDVer->Position()));
    l->Label36->SetCaption(Km(r.middleKm));
    l->Label40->SetCaption(DegreesMinutes(LonOf(r.centreX)));
    l->Label14->SetCaption(DegreesMinutes(LatOf(r.centreY)));
    l->Label31->SetCaption(Km(r.topKm));
    l->Label12->SetCaption(Km(r.bottomKm));
    l->Label37->SetCaption(Km(o.ViewHeightKm));
}

} // namespace

void TOpen::WireDisplayHandlers() {
    Button7->OnClick = [this](TObject* s) { Button7Click(s); };
    N1->OnClick = [this](TObject* s) { N1Click(s); };
    auto hook = [this](TCheckBox* box, void (TOpen::*handler)(TObject*)) {
        box->OnClick = [this, handler](TObject* s) { (this->*handler)(s); };
    };
    hook(CBTownBorder, &TOpen::CBTownBorderClick);
    hook(CBTownName, &TOpen::CBTownNameClick);
    hook(CBLonLat, &TOpen::CBLonLatClick);
    hook(CBFun, &TOpen::CBFunClick);
    hook(CBDo, &TOpen::CBDoClick);
    hook(CB1do, &TOpen::CB1doClick);
    hook(CBCenter, &TOpen::CBCenterClick);
    hook(CBScale, &TOpen::CBScaleClick);
    hook(CBPrefBorder, &TOpen::CBPrefBorderClick);
    hook(CBNTownBorder, &TOpen::CBNTownBorderClick);
    hook(CBOldTown, &TOpen::CBOldTownClick);
    hook(CBMainDoubleName, &TOpen::CBMainDoubleNameClick);
    hook(CBLake, &TOpen::CBLakeClick);
    hook(CBKu, &TOpen::CBKuClick);
    hook(CBKenName1, &TOpen::CBKenName1Click);
    hook(CBInfo, &TOpen::CBInfoClick);

    auto menu = [this](TMenuItem* item, void (TOpen::*handler)(TObject*)) {
        item->OnClick = [this, handler](TObject* s) { (this->*handler)(s); };
    };
    menu(kokudo, &TOpen::kokudoClick);
    menu(ken_name, &TOpen::ken_nameClick);
    menu(Wait, &TOpen::WaitClick);
    menu(Hokkaido, &TOpen::HokkaidoClick);
    menu(Keido, &TOpen::KeidoClick);
    menu(N24, &TOpen::N24Click);
    menu(N28, &TOpen::N28Click);
    menu(readmehtm1, &TOpen::readmehtm1Click);
    menu(HomePage1, &TOpen::HomePage1Click);
    menu(Sokuchi, &TOpen::SokuchiClick);

    // The thumbnail and the help picture open the about box and the usage notes.
    Image4->OnClick = [this](TObject* s) { About1Click(s); };
    Image2->OnClick = [this](TObject* s) { Tutorial1Click(s); };
    TkBtn1->OnClick = [this](TObject* s) { TkBtn1Click(s); };
    // F1 in any window opens the manual at that window's section.
    Application->OnHelp = [this](const std::string& section) { OpenManual(section); };
    // No page or address set: nothing to offer.
    HomePage1->SetVisible(settings::Configured(settings::HomePageUrl));
    TkBtn1->SetVisible(settings::Configured(settings::AuthorMail));
    OnBackgroundClick(this, [this] { FormClick(this); });

    SettingsReaders.push_back(ReadSettei);
    ReadoutHooks.push_back([this] { ShowProjection(*this); });
    AfterRedrawHooks.push_back([this](const DrawSettings& s) {
        Settei->Button13->SetEnabled(CBTownName->Checked());
        // The area caption can be switched only on a one-area map.
        if (s.MapWrite && s.PrefCaption && ImageSize >= 300) Settei->CheckBox2->SetEnabled(SELECT == 1);
    });
}

void TOpen::CBLonLatClick(TObject* Sender) {
    if (CBLonLat->Checked()) {
        CBFun->SetEnabled(true);
        CBDo->SetEnabled(true);
        CBFun->SetChecked(true);
        CBDo->SetChecked(true);
        CB1do->SetEnabled(true);
        Settei->CheckBox6->SetChecked(true);
        Settei->CheckBox7->SetEnabled(true);
        Settei->CheckBox8->SetEnabled(true);
        Settei->CheckBox9->SetEnabled(true);
        LonLatShown = true;
    } else {
        CBFun->SetEnabled(false);
        CBDo->SetEnabled(false);
        CB1do->SetEnabled(false);
        Settei->CheckBox6->SetChecked(false);
        Settei->CheckBox7->SetEnabled(false);
        Settei->CheckBox8->SetEnabled(false);
        Settei->CheckBox9->SetEnabled(false);
        LonLatShown = false;
    }
    DrawMap();
}

void TOpen::CBFunClick(TObject* Sender) {
    Settei->CheckBox7->SetChecked(CBFun->Checked());
    DrawMap();
}

void TOpen::CBDoClick(TObject* Sender) {
    if (CBDo->Checked()) {
        Settei->CheckBox8->SetChecked(true);
        CB1do->SetEnabled(true);
    } else {
        Settei->CheckBox8->SetChecked(false);
        Settei->CheckBox9->SetEnabled(false);
        CB1do->SetEnabled(false);
    }
    DrawMap();
}

void TOpen::CB1doClick(TObject* Sender) {
    Settei->CheckBox9->SetChecked(CB1do->Checked());
    DrawMap();
}

// Ticking puts the cross on the map as it stands; unticking needs the map drawn anew.
void TOpen::CBCenterClick(TObject* Sender) {
    if (CBCenter->Checked()) {
        if (MapDrawable()) DrawCentreCross();
    } else {
        DrawMap();
    }
}

void TOpen::CBScaleClick(TObject* Sender) {
    if (CBScale->Checked()) {
        Settei->CheckBox10->SetChecked(true);
        if (MapDrawable()) {
            DrawScaleBar(CY);
            ScaleShown = true;
        }
    } else {
        Settei->CheckBox10->SetChecked(false);
        DrawMap();
    }
}

void TOpen::CBPrefBorderClick(TObject* Sender) {
    RedrawOnce once;   // the town borders go off with it
    if (CBPrefBorder->Checked()) {
        Settei->CheckBox3->SetChecked(true);
        CBTownBorder->SetEnabled(true);
    } else {
        Settei->CheckBox3->SetChecked(false);
        CBTownBorder->SetEnabled(false);
        CBTownBorder->SetChecked(false);
    }
    DrawMap();
}

// The boxes ticked on the way would each redraw: hold the redraw until the end.
void TOpen::CBNTownBorderClick(TObject* Sender) {
    {
        RedrawOff off;
        const bool on = CBNTownBorder->Checked();
        Settei->CheckBox11->SetChecked(on);
        CBOldTown->SetChecked(on);
        N15->SetEnabled(on);
        RunMapChangingHooks();
    }
    DrawMap();
    RunMapChangeHooks();
}

void TOpen::CBOldTownClick(TObject* Sender) {
    const bool on = CBOldTown->Checked();
    Settei->CheckBox12->SetChecked(on);
    CBNTownBorder->SetChecked(on);
    DrawMap();
}

void TOpen::CBMainDoubleNameClick(TObject* Sender) {
    if (CBMainDoubleName->Checked()) {
        Settei->CBDoubleName->SetChecked(true);
        CBYomi->SetChecked(false);
        CBYomi->SetEnabled(false);
    } else {
        Settei->CBDoubleName->SetChecked(false);
        CBYomi->SetEnabled(true);
    }
    DrawMap();
}

void TOpen::CBLakeClick(TObject* Sender) {
    Settei->CheckBox14->SetChecked(CBLake->Checked());
    DrawMap();
}

void TOpen::CBKuClick(TObject* Sender) { DrawMap(); }

void TOpen::CBKenName1Click(TObject* Sender) {
    Settei->CBKenName->SetChecked(CBKenName1->Checked());
    DrawMap();
}

void TOpen::CBInfoClick(TObject* Sender) {
    if (CBInfo->Checked())
        SCList->Show();
    else
        SCList->Close();
    DrawMap();
}

void TOpen::kokudoClick(TObject* Sender) {
    kokudo->SetChecked(!kokudo->Checked());
    if (kokudo->Checked() && ImageSize >= 200) {
        if (MapDrawable()) DrawApprovalNotice();
    } else {
        DrawMap();
    }
}

void TOpen::ken_nameClick(TObject* Sender) {
    ken_name->SetChecked(!ken_name->Checked());
    if (ken_name->Checked()) {
        Settei->CheckBox2->SetChecked(true);
        if (MapDrawable()) {
            Settei->CheckBox2->SetEnabled(SELECT == 1);
            DrawPrefCaption();
        }
    } else {
        Settei->CheckBox2->SetChecked(false);
        DrawMap();
    }
}

void TOpen::WaitClick(TObject* Sender) { Wait->SetChecked(!Wait->Checked()); }

// Takes effect at the next load.
void TOpen::HokkaidoClick(TObject* Sender) {
    Hokkaido->SetChecked(!Hokkaido->Checked());
    WLinesAsBorder = Hokkaido->Checked();
    Settei->CBHokkaido->SetChecked(Hokkaido->Checked());
}

void TOpen::KeidoClick(TObject* Sender) { Keido->SetChecked(!Keido->Checked()); }

void TOpen::N24Click(TObject* Sender) { N24->SetChecked(!N24->Checked()); }

void TOpen::N28Click(TObject* Sender) { PrefSet->Show(); }

void TOpen::readmehtm1Click(TObject* Sender) { OpenManual(""); }

// The manual shipped in the program folder, at a window's section. A missing
// file is told as such, not as a browser that failed.
void TOpen::OpenManual(const std::string& section) {
    const std::string page = AppDir + "/Help/readme.htm";
    if (!gui::FileExists(page)) {
        Application->MessageBox("マニュアル Help\\readme.htm がプログラムのフォルダにありません　　　",
                                "readme.htm呼び出しエラー", MB_ICONEXCLAMATION);
        return;
    }
    if (ShellOpen(section.empty() ? page : page + "#" + section) <= 32)
        Application->MessageBox(kBrowserFailed, "readme.htm呼び出しエラー", MB_ICONEXCLAMATION);
}

void TOpen::HomePage1Click(TObject* Sender) {
    if (ShellOpen(settings::HomePageUrl) <= 32)
        Application->MessageBox(kBrowserFailed, "ホームページ呼び出しエラー", MB_ICONEXCLAMATION);
}

// Only the captions change; the drawing keeps its datum.
void TOpen::SokuchiClick(TObject* Sender) {
    Sokuchi->SetChecked(!Sokuchi->Checked());
    if (Sokuchi->Checked()) {
        Label38->SetCaption("WGS");
        Label38->SetHint("世界測地系");
        Ken->Label6->SetCaption("世界測地系");
    } else {
        Label38->SetCaption("Tokyo");
        Label38->SetHint("旧日本測地系");
        Ken->Label6->SetCaption("旧日本測地系");
    }
}

void TOpen::TkBtn1Click(TObject* Sender) { ShellOpen(settings::AuthorMail); }

// A click beside the map puts the tool windows away.
void TOpen::FormClick(TObject* Sender) {
    for (auto& close : ToolWindowClosers) close();
}

void TOpen::CBTownBorderClick(TObject* Sender) {
    if (CBTownBorder->Checked()) {
        Settei->CheckBox4->SetChecked(true);
        CBNTownBorder->SetEnabled(true);
        CBLake->SetEnabled(true);
        CBTownName->SetEnabled(true);
    } else {
        Settei->CheckBox4->SetChecked(false);
        CBTownName->SetChecked(false);
        CBTownName->SetEnabled(false);
        CBNTownBorder->SetEnabled(false);
        CBLake->SetEnabled(false);
    }
    DrawMap();
}

void TOpen::CBTownNameClick(TObject* Sender) {
    if (CBTownName->Checked()) {
        Settei->CheckBox5->SetChecked(true);
        Settei->CheckBox16->SetEnabled(true);
        CBOldTown->SetEnabled(true);
        CBMainDoubleName->SetEnabled(true);
        CBYomi->SetEnabled(true);
        if (CBYomi->Checked()) Yomi->Show();
    } else {
        Settei->CheckBox5->SetChecked(false);
        Settei->CheckBox16->SetEnabled(false);
        CBMainDoubleName->SetEnabled(false);
        CBOldTown->SetEnabled(false);
        Yomi->Close();
        CBYomi->SetChecked(false);
        CBYomi->SetEnabled(false);
    }
    DrawMap();
}

void TOpen::N1Click(TObject* Sender) { Settei->Show(); }

void TOpen::Button7Click(TObject* Sender) {
    SetteiShown = true;
    Settei->Show();
}
