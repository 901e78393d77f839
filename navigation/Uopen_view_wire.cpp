// Main-form wiring of view control.
#include "engine/Uken.h"
#include "engine/Uopen.h"
#include "navigation/Usettei.h"

void TOpen::WireViewHandlers() {
    UDHor->OnClick = [this](TObject* s, TUDBtnType b) { UDHorClick(s, b); };
    UDVer->OnClick = [this](TObject* s, TUDBtnType b) { UDVerClick(s, b); };
    UpDown1->OnClick = [this](TObject* s, TUDBtnType b) { UpDown1Click(s, b); };
    SetOnMouseWheel([this](TObject* s, TShiftState shift, int delta, TPoint pos, bool& handled) {
        FormMouseWheel(s, shift, delta, pos, handled);
    });

    auto menu = [this](TMenuItem* item, void (TOpen::*handler)(TObject*)) {
        item->OnClick = [this, handler](TObject* s) { (this->*handler)(s); };
    };
    menu(N101, &TOpen::N101Click);
    menu(N051, &TOpen::N051Click);
    menu(N021, &TOpen::N021Click);
    menu(N011, &TOpen::N011Click);
    menu(N202, &TOpen::N202Click);
    menu(N102, &TOpen::N102Click);
    menu(N052, &TOpen::N052Click);
    menu(MAG1, &TOpen::MAG1Click);
    menu(MAG2, &TOpen::MAG2Click);
    menu(MAG3, &TOpen::MAG3Click);
    menu(MAG4, &TOpen::MAG4Click);
    menu(MAG5, &TOpen::MAG5Click);

    Button6->OnClick = [this](TObject* s) { Button6Click(s); };
    Button12->OnClick = [this](TObject* s) { Button12Click(s); };
    TkBtn2->OnClick = [this](TObject* s) { TkBtn2Click(s); };
    Timer1->OnTimer = [this](TObject* s) { Timer1Timer(s); };
    Image1->OnDblClick = [this](TObject* s) { Image1DblClick(s); };

    // The display settings a new area choice starts from.
    AreaChange.On(AreaStep::Reset, [this] {
        Settei->RadioGroup3->SetItemIndex(0);
        Settei->SetWhiteBackground(false);
        TCanvas* swatch = Settei->Image5->Canvas();
        swatch->Brush->Color = BackColor;
        swatch->Brush->Style = bsSolid;
        swatch->FillRect(Rect(0, 0, swatch->Width(), swatch->Height()));
    });
    AreaChange.On(AreaStep::Chosen, [this] {
        Settei->CBKu->SetChecked(true);
        // Only 埼玉 alone shows its designated city's name.
        Settei->CBCityName->SetChecked(Ken->CheckBox20->Checked() && SELECT == 1);
        Settei->CBKuName->SetChecked(true);
        if (Ken->CBOldBorder->Checked()) Settei->CBNTownDot->SetEnabled(true);
        Settei->CBNTownDot->SetChecked(false);
    });
    AreaChange.On(AreaStep::Drawn, [] { Settei->Button13->SetEnabled(true); });
}
