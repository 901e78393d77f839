// The main window's other tools are switched off while painting.
#include "engine/Uopen.h"

void TOpen::DisableMapControls() {
    TkBtn2->SetEnabled(false);
    TkBtn2->Font.Color = clGray;
    TkBtn2->Invalidate();
    for (QWidget* w : std::initializer_list<QWidget*>{
             Button5, Button6, Button7, Button9, Button12, Button13, Button14, BtnCenter, BtnLetter, BtnPaint, BtnMark,
             BtnMulti, CBPrefBorder, CBTownBorder, CBNTownBorder, CBTownName, CBLabel, CBScale, CBLonLat, CBLake,
             Panel1, UDHor, UDVer, UpDown1})
        w->setEnabled(false);
}
