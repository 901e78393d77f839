// Main-form wiring of view control.
#include "engine/Uken.h"
#include "engine/FeatureHooks.h"
#include "navigation/MainFormNavigation.h"
#include "navigation/Usettei.h"
#include "engine/MainControls.h"
#include "engine/MainForm.h"
#include "engine/MapDocument.h"
#include "engine/MapStyle.h"

void WireViewHandlers(TOpen& o) {
    UiOf(o).UDHor->OnClick = [&o](TObject* s, TUDBtnType b) { UDHorClick(o, s, b); };
    UiOf(o).UDVer->OnClick = [&o](TObject* s, TUDBtnType b) { UDVerClick(o, s, b); };
    UiOf(o).UpDown1->OnClick = [&o](TObject* s, TUDBtnType b) { UpDown1Click(o, s, b); };
    FormOf(o).SetOnMouseWheel([&o](TObject* s, TShiftState shift, int delta, TPoint pos, bool& handled) {
        FormMouseWheel(o, s, shift, delta, pos, handled);
    });

    auto menu = [&o](TMenuItem* item, void (*handler)(TOpen&, TObject*)) {
        item->OnClick = [&o, handler](TObject* s) { handler(o, s); };
    };
    menu(UiOf(o).N101, &N101Click);
    menu(UiOf(o).N051, &N051Click);
    menu(UiOf(o).N021, &N021Click);
    menu(UiOf(o).N011, &N011Click);
    menu(UiOf(o).N202, &N202Click);
    menu(UiOf(o).N102, &N102Click);
    menu(UiOf(o).N052, &N052Click);
    menu(UiOf(o).MAG1, &MAG1Click);
    menu(UiOf(o).MAG2, &MAG2Click);
    menu(UiOf(o).MAG3, &MAG3Click);
    menu(UiOf(o).MAG4, &MAG4Click);
    menu(UiOf(o).MAG5, &MAG5Click);

    UiOf(o).Button6->OnClick = [&o](TObject* s) { Button6Click(o, s); };
    UiOf(o).Button12->OnClick = [&o](TObject* s) { Button12Click(o, s); };
    UiOf(o).TkBtn2->OnClick = [&o](TObject* s) { TkBtn2Click(o, s); };
    UiOf(o).Timer1->OnTimer = [&o](TObject* s) { Timer1Timer(o, s); };
    UiOf(o).Image1->OnDblClick = [&o](TObject* s) { Image1DblClick(o, s); };

    // The display settings a new area choice starts from.
    HooksOf(o).AreaChange.On(AreaStep::Reset, [&o] {
        Settei->RadioGroup3->SetItemIndex(0);
        Settei->SetWhiteBackground(false);
        TCanvas* swatch = Settei->Image5->Canvas();
        swatch->Brush->Color = StyleOf(o).BackColor;
        swatch->Brush->Style = bsSolid;
        swatch->FillRect(Rect(0, 0, swatch->Width(), swatch->Height()));
    });
    HooksOf(o).AreaChange.On(AreaStep::Chosen, [&o] {
        Settei->CBKu->SetChecked(true);
        // Only 埼玉 alone shows its designated city's name.
        Settei->CBCityName->SetChecked(Ken->CheckBox20->Checked() && DocOf(o).SELECT == 1);
        Settei->CBKuName->SetChecked(true);
        if (Ken->CBOldBorder->Checked()) Settei->CBNTownDot->SetEnabled(true);
        Settei->CBNTownDot->SetChecked(false);
    });
    HooksOf(o).AreaChange.On(AreaStep::Drawn, [] { Settei->Button13->SetEnabled(true); });

    UiOf(o).Image1->SetTabStop(true);
    UiOf(o).Image1->OnKeyDown = [&o](TObject* s, int& key, TShiftState shift) { Image1KeyDown(o, s, key, shift); };
}
