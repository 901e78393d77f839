// Main-form wiring of view control.
#include "engine/Uopen.h"

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
    Image1->SetTabStop(true);
    Image1->OnKeyDown = [this](TObject* s, int& key, TShiftState shift) { Image1KeyDown(s, key, shift); };
}
