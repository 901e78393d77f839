// The main window's layer switches with their twins in the display settings,
// and the small menu items of the main window.
#include "engine/FormEvents.h"
#include "engine/Settings.h"
#include "engine/Uken.h"
#include "engine/Uopen.h"
#include "navigation/MainFormNavigation.h"
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
    l->Label35->SetCaption(std::to_string(o.ui.UpDown1->Position()));
    l->Label13->SetCaption(gui::Format("%.4f", o.MAGUNIT));
    l->Label46->SetCaption(std::to_string(o.BaseSpan));
    l->ShowCentre(r.centreX, r.centreY);
    l->ShowCorners(o.MinX, o.MinY, o.MaxX, o.MaxY);
    l->ShowMagnification(o.MAGSTEP * o.MAGUNIT);
    l->Label32->SetCaption(gui::Format("%.4f", o.ScaleX));
    l->Label33->SetCaption(gui::Format("%.4f", o.ScaleY));
    l->Label34->SetCaption(gui::Format("%.4f", o.Aspect));
    l->Label38->SetCaption(std::to_string(o.ui.UDHor->Position()));
    l->Label39->SetCaption(std::to_string(o.ui.UDVer->Position()));
    l->Label36->SetCaption(Km(r.middleKm));
    l->Label40->SetCaption(DegreesMinutes(LonOf(r.centreX)));
    l->Label14->SetCaption(DegreesMinutes(LatOf(r.centreY)));
    l->Label31->SetCaption(Km(r.topKm));
    l->Label12->SetCaption(Km(r.bottomKm));
    l->Label37->SetCaption(Km(o.ViewHeightKm));
}

} // namespace

void WireDisplayHandlers(TOpen& o) {
    o.ui.Button7->OnClick = [&o](TObject* s) { Button7Click(o, s); };
    o.ui.N1->OnClick = [&o](TObject* s) { N1Click(o, s); };
    auto hook = [&o](TCheckBox* box, void (*handler)(TOpen&, TObject*)) {
        box->OnClick = [&o, handler](TObject* s) { handler(o, s); };
    };
    hook(o.ui.CBTownBorder, &CBTownBorderClick);
    hook(o.ui.CBTownName, &CBTownNameClick);
    hook(o.ui.CBLonLat, &CBLonLatClick);
    hook(o.ui.CBFun, &CBFunClick);
    hook(o.ui.CBDo, &CBDoClick);
    hook(o.ui.CB1do, &CB1doClick);
    hook(o.ui.CBCenter, &CBCenterClick);
    hook(o.ui.CBScale, &CBScaleClick);
    hook(o.ui.CBPrefBorder, &CBPrefBorderClick);
    hook(o.ui.CBNTownBorder, &CBNTownBorderClick);
    hook(o.ui.CBOldTown, &CBOldTownClick);
    hook(o.ui.CBMainDoubleName, &CBMainDoubleNameClick);
    hook(o.ui.CBLake, &CBLakeClick);
    hook(o.ui.CBKu, &CBKuClick);
    hook(o.ui.CBKenName1, &CBKenName1Click);
    hook(o.ui.CBInfo, &CBInfoClick);

    auto menu = [&o](TMenuItem* item, void (*handler)(TOpen&, TObject*)) {
        item->OnClick = [&o, handler](TObject* s) { handler(o, s); };
    };
    menu(o.ui.kokudo, &kokudoClick);
    menu(o.ui.ken_name, &ken_nameClick);
    menu(o.ui.Wait, &WaitClick);
    menu(o.ui.Hokkaido, &HokkaidoClick);
    menu(o.ui.Keido, &KeidoClick);
    menu(o.ui.N24, &N24Click);
    menu(o.ui.N28, &N28Click);
    menu(o.ui.readmehtm1, &readmehtm1Click);
    menu(o.ui.HomePage1, &HomePage1Click);
    menu(o.ui.Sokuchi, &SokuchiClick);

    // The thumbnail and the help picture open the about box and the usage notes.
    o.ui.Image4->OnClick = [&o](TObject* s) { o.About1Click(s); };
    o.ui.Image2->OnClick = [&o](TObject* s) { o.Tutorial1Click(s); };
    o.ui.TkBtn1->OnClick = [&o](TObject* s) { TkBtn1Click(o, s); };
    // F1 in any window opens the manual at that window's section.
    Application->OnHelp = [&o](const std::string& section) { OpenManual(o, section); };
    // No page or address set: nothing to offer.
    o.ui.HomePage1->SetVisible(settings::Configured(settings::HomePageUrl));
    o.ui.TkBtn1->SetVisible(settings::Configured(settings::AuthorMail));
    OnBackgroundClick(&o, [&o] { FormClick(o, &o); });

    o.SettingsReaders.push_back(ReadSettei);
    o.ReadoutHooks.push_back([&o] { ShowProjection(o); });
    o.AfterRedrawHooks.push_back([&o](const DrawSettings& s) {
        Settei->Button13->SetEnabled(o.ui.CBTownName->Checked());
        // The area caption can be switched only on a one-area map.
        if (s.MapWrite && s.PrefCaption && o.ImageSize >= 300) Settei->CheckBox2->SetEnabled(o.doc.SELECT == 1);
    });
}

void CBLonLatClick(TOpen& o, TObject* Sender) {
    if (o.ui.CBLonLat->Checked()) {
        o.ui.CBFun->SetEnabled(true);
        o.ui.CBDo->SetEnabled(true);
        o.ui.CBFun->SetChecked(true);
        o.ui.CBDo->SetChecked(true);
        o.ui.CB1do->SetEnabled(true);
        Settei->CheckBox6->SetChecked(true);
        Settei->CheckBox7->SetEnabled(true);
        Settei->CheckBox8->SetEnabled(true);
        Settei->CheckBox9->SetEnabled(true);
        o.LonLatShown = true;
    } else {
        o.ui.CBFun->SetEnabled(false);
        o.ui.CBDo->SetEnabled(false);
        o.ui.CB1do->SetEnabled(false);
        Settei->CheckBox6->SetChecked(false);
        Settei->CheckBox7->SetEnabled(false);
        Settei->CheckBox8->SetEnabled(false);
        Settei->CheckBox9->SetEnabled(false);
        o.LonLatShown = false;
    }
    o.DrawMap();
}

void CBFunClick(TOpen& o, TObject* Sender) {
    Settei->CheckBox7->SetChecked(o.ui.CBFun->Checked());
    o.DrawMap();
}

void CBDoClick(TOpen& o, TObject* Sender) {
    if (o.ui.CBDo->Checked()) {
        Settei->CheckBox8->SetChecked(true);
        o.ui.CB1do->SetEnabled(true);
    } else {
        Settei->CheckBox8->SetChecked(false);
        Settei->CheckBox9->SetEnabled(false);
        o.ui.CB1do->SetEnabled(false);
    }
    o.DrawMap();
}

void CB1doClick(TOpen& o, TObject* Sender) {
    Settei->CheckBox9->SetChecked(o.ui.CB1do->Checked());
    o.DrawMap();
}

// Ticking puts the cross on the map as it stands; unticking needs the map drawn anew.
void CBCenterClick(TOpen& o, TObject* Sender) {
    if (o.ui.CBCenter->Checked()) {
        if (o.MapDrawable()) o.DrawCentreCross();
    } else {
        o.DrawMap();
    }
}

void CBScaleClick(TOpen& o, TObject* Sender) {
    if (o.ui.CBScale->Checked()) {
        Settei->CheckBox10->SetChecked(true);
        if (o.MapDrawable()) {
            o.DrawScaleBar(o.CY);
            o.ScaleShown = true;
        }
    } else {
        Settei->CheckBox10->SetChecked(false);
        o.DrawMap();
    }
}

void CBPrefBorderClick(TOpen& o, TObject* Sender) {
    RedrawOnce once;   // the town borders go off with it
    if (o.ui.CBPrefBorder->Checked()) {
        Settei->CheckBox3->SetChecked(true);
        o.ui.CBTownBorder->SetEnabled(true);
    } else {
        Settei->CheckBox3->SetChecked(false);
        o.ui.CBTownBorder->SetEnabled(false);
        o.ui.CBTownBorder->SetChecked(false);
    }
    o.DrawMap();
}

// The boxes ticked on the way would each redraw: hold the redraw until the end.
void CBNTownBorderClick(TOpen& o, TObject* Sender) {
    {
        RedrawOff off;
        const bool on = o.ui.CBNTownBorder->Checked();
        Settei->CheckBox11->SetChecked(on);
        o.ui.CBOldTown->SetChecked(on);
        o.ui.N15->SetEnabled(on);
        o.RunMapChangingHooks();
    }
    o.DrawMap();
    o.RunMapChangeHooks();
}

void CBOldTownClick(TOpen& o, TObject* Sender) {
    const bool on = o.ui.CBOldTown->Checked();
    Settei->CheckBox12->SetChecked(on);
    o.ui.CBNTownBorder->SetChecked(on);
    o.DrawMap();
}

void CBMainDoubleNameClick(TOpen& o, TObject* Sender) {
    if (o.ui.CBMainDoubleName->Checked()) {
        Settei->CBDoubleName->SetChecked(true);
        o.ui.CBYomi->SetChecked(false);
        o.ui.CBYomi->SetEnabled(false);
    } else {
        Settei->CBDoubleName->SetChecked(false);
        o.ui.CBYomi->SetEnabled(true);
    }
    o.DrawMap();
}

void CBLakeClick(TOpen& o, TObject* Sender) {
    Settei->CheckBox14->SetChecked(o.ui.CBLake->Checked());
    o.DrawMap();
}

void CBKuClick(TOpen& o, TObject* Sender) { o.DrawMap(); }

void CBKenName1Click(TOpen& o, TObject* Sender) {
    Settei->CBKenName->SetChecked(o.ui.CBKenName1->Checked());
    o.DrawMap();
}

void CBInfoClick(TOpen& o, TObject* Sender) {
    if (o.ui.CBInfo->Checked())
        SCList->Show();
    else
        SCList->Close();
    o.DrawMap();
}

void kokudoClick(TOpen& o, TObject* Sender) {
    o.ui.kokudo->SetChecked(!o.ui.kokudo->Checked());
    if (o.ui.kokudo->Checked() && o.ImageSize >= 200) {
        if (o.MapDrawable()) o.DrawApprovalNotice();
    } else {
        o.DrawMap();
    }
}

void ken_nameClick(TOpen& o, TObject* Sender) {
    o.ui.ken_name->SetChecked(!o.ui.ken_name->Checked());
    if (o.ui.ken_name->Checked()) {
        Settei->CheckBox2->SetChecked(true);
        if (o.MapDrawable()) {
            Settei->CheckBox2->SetEnabled(o.doc.SELECT == 1);
            o.DrawPrefCaption();
        }
    } else {
        Settei->CheckBox2->SetChecked(false);
        o.DrawMap();
    }
}

void WaitClick(TOpen& o, TObject* Sender) { o.ui.Wait->SetChecked(!o.ui.Wait->Checked()); }

// Takes effect at the next load.
void HokkaidoClick(TOpen& o, TObject* Sender) {
    o.ui.Hokkaido->SetChecked(!o.ui.Hokkaido->Checked());
    o.doc.WLinesAsBorder = o.ui.Hokkaido->Checked();
    Settei->CBHokkaido->SetChecked(o.ui.Hokkaido->Checked());
}

void KeidoClick(TOpen& o, TObject* Sender) { o.ui.Keido->SetChecked(!o.ui.Keido->Checked()); }

void N24Click(TOpen& o, TObject* Sender) { o.ui.N24->SetChecked(!o.ui.N24->Checked()); }

void N28Click(TOpen& o, TObject* Sender) { PrefSet->Show(); }

void readmehtm1Click(TOpen& o, TObject* Sender) { OpenManual(o, ""); }

// The manual shipped in the program folder, at a window's section. A missing
// file is told as such, not as a browser that failed.
void OpenManual(TOpen& o, const std::string& section) {
    const std::string page = o.doc.AppDir + "/Help/readme.htm";
    if (!gui::FileExists(page)) {
        Application->MessageBox("マニュアル Help\\readme.htm がプログラムのフォルダにありません　　　",
                                "readme.htm呼び出しエラー", MB_ICONEXCLAMATION);
        return;
    }
    if (ShellOpen(section.empty() ? page : page + "#" + section) <= 32)
        Application->MessageBox(kBrowserFailed, "readme.htm呼び出しエラー", MB_ICONEXCLAMATION);
}

void HomePage1Click(TOpen& o, TObject* Sender) {
    if (ShellOpen(settings::HomePageUrl) <= 32)
        Application->MessageBox(kBrowserFailed, "ホームページ呼び出しエラー", MB_ICONEXCLAMATION);
}

// Only the captions change; the drawing keeps its datum.
void SokuchiClick(TOpen& o, TObject* Sender) {
    o.ui.Sokuchi->SetChecked(!o.ui.Sokuchi->Checked());
    if (o.ui.Sokuchi->Checked()) {
        o.ui.Label38->SetCaption("WGS");
        o.ui.Label38->SetHint("世界測地系");
        Ken->Label6->SetCaption("世界測地系");
    } else {
        o.ui.Label38->SetCaption("Tokyo");
        o.ui.Label38->SetHint("旧日本測地系");
        Ken->Label6->SetCaption("旧日本測地系");
    }
}

void TkBtn1Click(TOpen& o, TObject* Sender) { ShellOpen(settings::AuthorMail); }

// A click beside the map puts the tool windows away.
void FormClick(TOpen& o, TObject* Sender) {
    for (auto& close : o.ToolWindowClosers) close();
}

void CBTownBorderClick(TOpen& o, TObject* Sender) {
    if (o.ui.CBTownBorder->Checked()) {
        Settei->CheckBox4->SetChecked(true);
        o.ui.CBNTownBorder->SetEnabled(true);
        o.ui.CBLake->SetEnabled(true);
        o.ui.CBTownName->SetEnabled(true);
    } else {
        Settei->CheckBox4->SetChecked(false);
        o.ui.CBTownName->SetChecked(false);
        o.ui.CBTownName->SetEnabled(false);
        o.ui.CBNTownBorder->SetEnabled(false);
        o.ui.CBLake->SetEnabled(false);
    }
    o.DrawMap();
}

void CBTownNameClick(TOpen& o, TObject* Sender) {
    if (o.ui.CBTownName->Checked()) {
        Settei->CheckBox5->SetChecked(true);
        Settei->CheckBox16->SetEnabled(true);
        o.ui.CBOldTown->SetEnabled(true);
        o.ui.CBMainDoubleName->SetEnabled(true);
        o.ui.CBYomi->SetEnabled(true);
        if (o.ui.CBYomi->Checked()) Yomi->Show();
    } else {
        Settei->CheckBox5->SetChecked(false);
        Settei->CheckBox16->SetEnabled(false);
        o.ui.CBMainDoubleName->SetEnabled(false);
        o.ui.CBOldTown->SetEnabled(false);
        Yomi->Close();
        o.ui.CBYomi->SetChecked(false);
        o.ui.CBYomi->SetEnabled(false);
    }
    o.DrawMap();
}

void N1Click(TOpen& o, TObject* Sender) { Settei->Show(); }

void Button7Click(TOpen& o, TObject* Sender) {
    o.SetteiShown = true;
    Settei->Show();
}
