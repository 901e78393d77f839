// Main-form wiring of view control.
#include "engine/Uken.h"
#include "engine/Uopen.h"
#include "navigation/MainFormNavigation.h"
#include "navigation/Usettei.h"

void WireViewHandlers(TOpen& o) {
    o.ui.UDHor->OnClick = [&o](TObject* s, TUDBtnType b) { UDHorClick(o, s, b); };
    o.ui.UDVer->OnClick = [&o](TObject* s, TUDBtnType b) { UDVerClick(o, s, b); };
    o.ui.UpDown1->OnClick = [&o](TObject* s, TUDBtnType b) { UpDown1Click(o, s, b); };
    o.SetOnMouseWheel([&o](TObject* s, TShiftState shift, int delta, TPoint pos, bool& handled) {
        FormMouseWheel(o, s, shift, delta, pos, handled);
    });

    auto menu = [&o](TMenuItem* item, void (*handler)(TOpen&, TObject*)) {
        item->OnClick = [&o, handler](TObject* s) { handler(o, s); };
    };
    menu(o.ui.N101, &N101Click);
    menu(o.ui.N051, &N051Click);
    menu(o.ui.N021, &N021Click);
    menu(o.ui.N011, &N011Click);
    menu(o.ui.N202, &N202Click);
    menu(o.ui.N102, &N102Click);
    menu(o.ui.N052, &N052Click);
    menu(o.ui.MAG1, &MAG1Click);
    menu(o.ui.MAG2, &MAG2Click);
    menu(o.ui.MAG3, &MAG3Click);
    menu(o.ui.MAG4, &MAG4Click);
    menu(o.ui.MAG5, &MAG5Click);

    o.ui.Button6->OnClick = [&o](TObject* s) { Button6Click(o, s); };
    o.ui.Button12->OnClick = [&o](TObject* s) { Button12Click(o, s); };
    o.ui.TkBtn2->OnClick = [&o](TObject* s) { TkBtn2Click(o, s); };
    o.ui.Timer1->OnTimer = [&o](TObject* s) { Timer1Timer(o, s); };
    o.ui.Image1->OnDblClick = [&o](TObject* s) { Image1DblClick(o, s); };

    // The display settings a new area choice starts from.
    o.AreaChange.On(AreaStep::Reset, [&o] {
        Settei->RadioGroup3->SetItemIndex(0);
        Settei->SetWhiteBackground(false);
        TCanvas* swatch = Settei->Image5->Canvas();
        swatch->Brush->Color = o.style.BackColor;
        swatch->Brush->Style = bsSolid;
        swatch->FillRect(Rect(0, 0, swatch->Width(), swatch->Height()));
    });
    o.AreaChange.On(AreaStep::Chosen, [&o] {
        Settei->CBKu->SetChecked(true);
        // Only 埼玉 alone shows its designated city's name.
        Settei->CBCityName->SetChecked(Ken->CheckBox20->Checked() && o.doc.SELECT == 1);
        Settei->CBKuName->SetChecked(true);
        if (Ken->CBOldBorder->Checked()) Settei->CBNTownDot->SetEnabled(true);
        Settei->CBNTownDot->SetChecked(false);
    });
    o.AreaChange.On(AreaStep::Drawn, [] { Settei->Button13->SetEnabled(true); });

    o.ui.Image1->SetTabStop(true);
    o.ui.Image1->OnKeyDown = [&o](TObject* s, int& key, TShiftState shift) { Image1KeyDown(o, s, key, shift); };
}
