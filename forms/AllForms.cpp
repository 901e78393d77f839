#include "forms/AllForms.h"
#include "engine/Uabout.h"
#include "engine/Uhowto.h"
#include "engine/Uinset.h"
#include "engine/Uken.h"
#include "engine/Uopen.h"
#include "navigation/MainFormNavigation.h"
#include "lines/MainFormLines.h"
#include "labels/MainFormLabels.h"
#include "paint/MainFormPaint.h"
#include "names/MainFormNames.h"
#include "engine/Uprocess.h"
#include "gui/Forms.h"
#include "labels/Uinlabel.h"
#include "labels/Uischange.h"
#include "labels/Uletter.h"
#include "labels/Upagesdlg.h"
#include "labels/Uprefset.h"
#include "lines/Ukyori.h"
#include "lines/Ulineadd.h"
#include "lines/Ulineset.h"
#include "lines/Urail.h"
#include "names/Ucheck.h"
#include "names/Ucorrect.h"
#include "names/Uextra.h"
#include "names/Unamedel.h"
#include "names/Uoffice.h"
#include "names/Uofficecor.h"
#include "names/Usearch.h"
#include "names/Utoshi.h"
#include "names/Uyomi.h"
#include "names/Uyomilist.h"
#include "navigation/Ukeisoku.h"
#include "navigation/Usclist.h"
#include "navigation/Usettei.h"
#include "paint/Ubrush.h"
#include "paint/Ustatmap.h"
#include "paint/Uhanrei.h"
#include "paint/Upaint.h"
#include "output/Updfpage.h"
#include <QtGlobal>

// Outside any namespace, as Q_INIT_RESOURCE needs. The resources live in a
// static library, so nothing would pull them in without this call.
static void RegisterResources() { Q_INIT_RESOURCE(resources); }

void InitProgramResources() {
    static bool done = false;
    if (done) return;
    RegisterResources();
    done = true;
}

// Each feature folder's handlers, layers and steps, hooked up as the main form
// is made (before its start-up runs), so that engine/ calls none of them.
static void WireFeatures(TOpen& o) {
    WireDisplayHandlers(o);
    WireNavigationHandlers(o);
    WireViewHandlers(o);
    WireNamesHandlers(o);
    WirePaintHandlers(o);
    WireLabelsHandlers(o);
    WireLinesHandlers(o);
    o.WireOutputHandlers();
}

// The buttons of engine/'s own windows that open a feature's window.
static void WireEngineForms() {
    Ken->Button5->OnClick = [](TObject*) { ShowIslandSearch(*Open); };
    Ken->NameListShown = [] { ShowNameList(*Open); };
    HowTo->Button1->OnClick = [](TObject*) { OpenManual(*Open, "contents"); };
    About->Label4->OnClick = [](TObject* s) { HomePage1Click(*Open, s); };
}

void CreateAllForms(TApplication* app) {
    InitProgramResources();
    TOpen::FeatureWiring = WireFeatures;
    app->CreateForm(Open);
    app->CreateForm(Ken);
    app->CreateForm(Settei);
    app->CreateForm(About);
    app->CreateForm(HowTo);
    app->CreateForm(Process);
    app->CreateForm(DataCheck);
    app->CreateForm(MapPaint);
    app->CreateForm(Letter);
    app->CreateForm(Hanrei);
    app->CreateForm(PBrush);
    app->CreateForm(Correct);
    app->CreateForm(Toshi);
    app->CreateForm(Extra);
    app->CreateForm(Yomi);
    app->CreateForm(YomiList);
    app->CreateForm(LineAdd);
    app->CreateForm(NameDel);
    app->CreateForm(Kyori);
    app->CreateForm(PagesDlg);
    app->CreateForm(PrefSet);
    app->CreateForm(SCList);
    app->CreateForm(Keisoku);
    app->CreateForm(IsChange);
    app->CreateForm(Search);
    app->CreateForm(Office);
    app->CreateForm(OfficeCor);
    app->CreateForm(LineSet);
    app->CreateForm(InLabel);
    app->CreateForm(Rail);
    WireEngineForms();
}

void DestroyAllForms() {
    if (Application) Application->DestroyForms();
    Open = nullptr;
    Ken = nullptr;
    Settei = nullptr;
    About = nullptr;
    HowTo = nullptr;
    Process = nullptr;
    DataCheck = nullptr;
    MapPaint = nullptr;
    Letter = nullptr;
    Hanrei = nullptr;
    PBrush = nullptr;
    Correct = nullptr;
    Toshi = nullptr;
    Extra = nullptr;
    Yomi = nullptr;
    YomiList = nullptr;
    LineAdd = nullptr;
    NameDel = nullptr;
    Kyori = nullptr;
    PagesDlg = nullptr;
    PrefSet = nullptr;
    SCList = nullptr;
    Keisoku = nullptr;
    IsChange = nullptr;
    Search = nullptr;
    Office = nullptr;
    OfficeCor = nullptr;
    LineSet = nullptr;
    InLabel = nullptr;
    Rail = nullptr;
    StatMap = nullptr;
    PdfPage = nullptr;
    Inset = nullptr;
}
