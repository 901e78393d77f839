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
    l->Label35->SetCaption(std::to_string(UiOf(o).UpDown1->Position()));
    l->Label13->SetCaption(gui::Format("%.4f", o.MAGUNIT));
    l->Label46->SetCaption(std::to_string(o.BaseSpan));
    l->ShowCentre(r.centreX, r.centreY);
    l->ShowCorners(o.MinX, o.MinY, o.MaxX, o.MaxY);
    l->ShowMagnification(o.MAGSTEP * o.MAGUNIT);
    l->Label32->SetCaption(gui::Format("%.4f", o.ScaleX));
    l->Label33->SetCaption(gui::Format("%.4f", o.ScaleY));
    l->Label34->SetCaption(gui::Format("%.4f", o.Aspect));
    l->Label38->SetCaption(std::to_string(UiOf(o).UDHor->Position()));
    l->Label39->SetCaption(std::to_string(UiOf(o).UDVer->Position()));
    l->Label36->SetCaption(Km(r.middleKm));
    l->Label40->SetCaption(DegreesMinutes(LonOf(r.centreX)));
    l->Label14->SetCaption(DegreesMinutes(LatOf(r.centreY)));
    l->Label31->SetCaption(Km(r.topKm));
    l->Label12->SetCaption(Km(r.bottomKm));
    l->Label37->SetCaption(Km(o.ViewHeightKm));
}

} // namespace

void WireDisplayHandlers(TOpen& o) {
    UiOf(o).Button7->OnClick = [&o](TObject* s) { Button7Click(o, s); };
    UiOf(o).N1->OnClick = [&o](TObject* s) { N1Click(o, s); };
    auto hook = [&o](TCheckBox* box, void (*handler)(TOpen&, TObject*)) {
        box->OnClick = [&o, handler](TObject* s) { handler(o, s); };
    };
    hook(UiOf(o).CBTownBorder, &CBTownBorderClick);
    hook(UiOf(o).CBTownName, &CBTownNameClick);
    hook(UiOf(o).CBLonLat, &CBLonLatClick);
    hook(UiOf(o).CBFun, &CBFunClick);
    hook(UiOf(o).CBDo, &CBDoClick);
    hook(UiOf(o).CB1do, &CB1doClick);
    hook(UiOf(o).CBCenter, &CBCenterClick);
    hook(UiOf(o).CBScale, &CBScaleClick);
    hook(UiOf(o).CBPrefBorder, &CBPrefBorderClick);
    hook(UiOf(o).CBNTownBorder, &CBNTownBorderClick);
    hook(UiOf(o).CBOldTown, &CBOldTownClick);
    hook(UiOf(o).CBMainDoubleName, &CBMainDoubleNameClick);
    hook(UiOf(o).CBLake, &CBLakeClick);
    hook(UiOf(o).CBKu, &CBKuClick);
    hook(UiOf(o).CBKenName1, &CBKenName1Click);
    hook(UiOf(o).CBInfo, &CBInfoClick);

    auto menu = [&o](TMenuItem* item, void (*handler)(TOpen&, TObject*)) {
        item->OnClick = [&o, handler](TObject* s) { handler(o, s); };
    };
    menu(UiOf(o).kokudo, &kokudoClick);
    menu(UiOf(o).ken_name, &ken_nameClick);
    menu(UiOf(o).Wait, &WaitClick);
    menu(UiOf(o).Hokkaido, &HokkaidoClick);
    menu(UiOf(o).Keido, &KeidoClick);
    menu(UiOf(o).N24, &N24Click);
    menu(UiOf(o).N28, &N28Click);
    menu(UiOf(o).readmehtm1, &readmehtm1Click);
    menu(UiOf(o).HomePage1, &HomePage1Click);
    menu(UiOf(o).Sokuchi, &SokuchiClick);

    // The thumbnail and the help picture open the about box and the usage notes.
    UiOf(o).Image4->OnClick = [&o](TObject* s) { o.About1Click(s); };
    UiOf(o).Image2->OnClick = [&o](TObject* s) { o.Tutorial1Click(s); };
    UiOf(o).TkBtn1->OnClick = [&o](TObject* s) { TkBtn1Click(o, s); };
    // F1 in any window opens the manual at that window's section.
    Application->OnHelp = [&o](const std::string& section) { OpenManual(o, section); };
    // No page or address set: nothing to offer.
    UiOf(o).HomePage1->SetVisible(settings::Configured(settings::HomePageUrl));
    UiOf(o).TkBtn1->SetVisible(settings::Configured(settings::AuthorMail));
    OnBackgroundClick(&o, [&o] { FormClick(o, &o); });

    HooksOf(o).SettingsReaders.push_back(ReadSettei);
    HooksOf(o).ReadoutHooks.push_back([&o] { ShowProjection(o); });
    HooksOf(o).AfterRedrawHooks.push_back([&o](const DrawSettings& s) {
        Settei->Button13->SetEnabled(UiOf(o).CBTownName->Checked());
        // The area caption can be switched only on a one-area map.
        if (s.MapWrite && s.PrefCaption && o.ImageSize >= 300) Settei->CheckBox2->SetEnabled(DocOf(o).SELECT == 1);
    });
}

void CBLonLatClick(TOpen& o, TObject* Sender) {
    if (UiOf(o).CBLonLat->Checked()) {
        UiOf(o).CBFun->SetEnabled(true);
        UiOf(o).CBDo->SetEnabled(true);
        UiOf(o).CBFun->SetChecked(true);
        UiOf(o).CBDo->SetChecked(true);
        UiOf(o).CB1do->SetEnabled(true);
        Settei->CheckBox6->SetChecked(true);
        Settei->CheckBox7->SetEnabled(true);
        Settei->CheckBox8->SetEnabled(true);
        Settei->CheckBox9->SetEnabled(true);
        o.LonLatShown = true;
    } else {
        UiOf(o).CBFun->SetEnabled(false);
        UiOf(o).CBDo->SetEnabled(false);
        UiOf(o).CB1do->SetEnabled(false);
        Settei->CheckBox6->SetChecked(false);
        Settei->CheckBox7->SetEnabled(false);
        Settei->CheckBox8->SetEnabled(false);
        Settei->CheckBox9->SetEnabled(false);
        o.LonLatShown = false;
    }
    RedrawMap(o);
}

void CBFunClick(TOpen& o, TObject* Sender) {
    Settei->CheckBox7->SetChecked(UiOf(o).CBFun->Checked());
    RedrawMap(o);
}

void CBDoClick(TOpen& o, TObject* Sender) {
    if (UiOf(o).CBDo->Checked()) {
        Settei->CheckBox8->SetChecked(true);
        UiOf(o).CB1do->SetEnabled(true);
    } else {
        Settei->CheckBox8->SetChecked(false);
        Settei->CheckBox9->SetEnabled(false);
        UiOf(o).CB1do->SetEnabled(false);
    }
    RedrawMap(o);
}

void CB1doClick(TOpen& o, TObject* Sender) {
    Settei->CheckBox9->SetChecked(UiOf(o).CB1do->Checked());
    RedrawMap(o);
}

// Ticking puts the cross on the map as it stands; unticking needs the map drawn anew.
void CBCenterClick(TOpen& o, TObject* Sender) {
    if (UiOf(o).CBCenter->Checked()) {
        if (o.MapDrawable()) o.DrawCentreCross();
    } else {
        RedrawMap(o);
    }
}

void CBScaleClick(TOpen& o, TObject* Sender) {
    if (UiOf(o).CBScale->Checked()) {
        Settei->CheckBox10->SetChecked(true);
        if (o.MapDrawable()) {
            o.DrawScaleBar(o.CY);
            o.ScaleShown = true;
        }
    } else {
        Settei->CheckBox10->SetChecked(false);
        RedrawMap(o);
    }
}

void CBPrefBorderClick(TOpen& o, TObject* Sender) {
    RedrawOnce once;   // the town borders go off with it
    if (UiOf(o).CBPrefBorder->Checked()) {
        Settei->CheckBox3->SetChecked(true);
        UiOf(o).CBTownBorder->SetEnabled(true);
    } else {
        Settei->CheckBox3->SetChecked(false);
        UiOf(o).CBTownBorder->SetEnabled(false);
        UiOf(o).CBTownBorder->SetChecked(false);
    }
    RedrawMap(o);
}

// The boxes ticked on the way would each redraw: hold the redraw until the end.
void CBNTownBorderClick(TOpen& o, TObject* Sender) {
    {
        RedrawOff off;
        const bool on = UiOf(o).CBNTownBorder->Checked();
        Settei->CheckBox11->SetChecked(on);
        UiOf(o).CBOldTown->SetChecked(on);
        UiOf(o).N15->SetEnabled(on);
        o.RunMapChangingHooks();
    }
    RedrawMap(o);
    o.RunMapChangeHooks();
}

void CBOldTownClick(TOpen& o, TObject* Sender) {
    const bool on = UiOf(o).CBOldTown->Checked();
    Settei->CheckBox12->SetChecked(on);
    UiOf(o).CBNTownBorder->SetChecked(on);
    RedrawMap(o);
}

void CBMainDoubleNameClick(TOpen& o, TObject* Sender) {
    if (UiOf(o).CBMainDoubleName->Checked()) {
        Settei->CBDoubleName->SetChecked(true);
        UiOf(o).CBYomi->SetChecked(false);
        UiOf(o).CBYomi->SetEnabled(false);
    } else {
        Settei->CBDoubleName->SetChecked(false);
        UiOf(o).CBYomi->SetEnabled(true);
    }
    RedrawMap(o);
}

void CBLakeClick(TOpen& o, TObject* Sender) {
    Settei->CheckBox14->SetChecked(UiOf(o).CBLake->Checked());
    RedrawMap(o);
}

void CBKuClick(TOpen& o, TObject* Sender) { RedrawMap(o); }

void CBKenName1Click(TOpen& o, TObject* Sender) {
    Settei->CBKenName->SetChecked(UiOf(o).CBKenName1->Checked());
    RedrawMap(o);
}

void CBInfoClick(TOpen& o, TObject* Sender) {
    if (UiOf(o).CBInfo->Checked())
        SCList->Show();
    else
        SCList->Close();
    RedrawMap(o);
}

void kokudoClick(TOpen& o, TObject* Sender) {
    UiOf(o).kokudo->SetChecked(!UiOf(o).kokudo->Checked());
    if (UiOf(o).kokudo->Checked() && o.ImageSize >= 200) {
        if (o.MapDrawable()) o.DrawApprovalNotice();
    } else {
        RedrawMap(o);
    }
}

void ken_nameClick(TOpen& o, TObject* Sender) {
    UiOf(o).ken_name->SetChecked(!UiOf(o).ken_name->Checked());
    if (UiOf(o).ken_name->Checked()) {
        Settei->CheckBox2->SetChecked(true);
        if (o.MapDrawable()) {
            Settei->CheckBox2->SetEnabled(DocOf(o).SELECT == 1);
            o.DrawPrefCaption();
        }
    } else {
        Settei->CheckBox2->SetChecked(false);
        RedrawMap(o);
    }
}

void WaitClick(TOpen& o, TObject* Sender) { UiOf(o).Wait->SetChecked(!UiOf(o).Wait->Checked()); }

// Takes effect at the next load.
void HokkaidoClick(TOpen& o, TObject* Sender) {
    UiOf(o).Hokkaido->SetChecked(!UiOf(o).Hokkaido->Checked());
    DocOf(o).WLinesAsBorder = UiOf(o).Hokkaido->Checked();
    Settei->CBHokkaido->SetChecked(UiOf(o).Hokkaido->Checked());
}

void KeidoClick(TOpen& o, TObject* Sender) { UiOf(o).Keido->SetChecked(!UiOf(o).Keido->Checked()); }

void N24Click(TOpen& o, TObject* Sender) { UiOf(o).N24->SetChecked(!UiOf(o).N24->Checked()); }

void N28Click(TOpen& o, TObject* Sender) { PrefSet->Show(); }

void readmehtm1Click(TOpen& o, TObject* Sender) { OpenManual(o, ""); }

// The manual shipped in the program folder, at a window's section. A missing
// file is told as such, not as a browser that failed.
void OpenManual(TOpen& o, const std::string& section) {
    const std::string page = DocOf(o).AppDir + "/Help/readme.htm";
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
    UiOf(o).Sokuchi->SetChecked(!UiOf(o).Sokuchi->Checked());
    if (UiOf(o).Sokuchi->Checked()) {
        UiOf(o).Label38->SetCaption("WGS");
        UiOf(o).Label38->SetHint("世界測地系");
        Ken->Label6->SetCaption("世界測地系");
    } else {
        UiOf(o).Label38->SetCaption("Tokyo");
        UiOf(o).Label38->SetHint("旧日本測地系");
        Ken->Label6->SetCaption("旧日本測地系");
    }
}

void TkBtn1Click(TOpen& o, TObject* Sender) { ShellOpen(settings::AuthorMail); }

// A click beside the map puts the tool windows away.
void FormClick(TOpen& o, TObject* Sender) {
    for (auto& close : HooksOf(o).ToolWindowClosers) close();
}

void CBTownBorderClick(TOpen& o, TObject* Sender) {
    if (UiOf(o).CBTownBorder->Checked()) {
        Settei->CheckBox4->SetChecked(true);
        UiOf(o).CBNTownBorder->SetEnabled(true);
        UiOf(o).CBLake->SetEnabled(true);
        UiOf(o).CBTownName->SetEnabled(true);
    } else {
        Settei->CheckBox4->SetChecked(false);
        UiOf(o).CBTownName->SetChecked(false);
        UiOf(o).CBTownName->SetEnabled(false);
        UiOf(o).CBNTownBorder->SetEnabled(false);
        UiOf(o).CBLake->SetEnabled(false);
    }
    RedrawMap(o);
}

void CBTownNameClick(TOpen& o, TObject* Sender) {
    if (UiOf(o).CBTownName->Checked()) {
        Settei->CheckBox5->SetChecked(true);
        Settei->CheckBox16->SetEnabled(true);
        UiOf(o).CBOldTown->SetEnabled(true);
        UiOf(o).CBMainDoubleName->SetEnabled(true);
        UiOf(o).CBYomi->SetEnabled(true);
        if (UiOf(o).CBYomi->Checked()) Yomi->Show();
    } else {
        Settei->CheckBox5->SetChecked(false);
        Settei->CheckBox16->SetEnabled(false);
        UiOf(o).CBMainDoubleName->SetEnabled(false);
        UiOf(o).CBOldTown->SetEnabled(false);
        Yomi->Close();
        UiOf(o).CBYomi->SetChecked(false);
        UiOf(o).CBYomi->SetEnabled(false);
    }
    RedrawMap(o);
}

void N1Click(TOpen& o, TObject* Sender) { Settei->Show(); }

void Button7Click(TOpen& o, TObject* Sender) {
    o.SetteiShown = true;
    Settei->Show();
}
