#include "paint/SlotPicture.h"
#include "components/Tkbtn.h"

void ShowSlotPicture(TTkBtn* button, TColor colour, uint8_t pattern) {
    TBitmap bmp(26, 26);
    PaintSwatch(bmp.Canvas(), colour, pattern);
    button->Set_Picture(static_cast<const TBitmap*>(nullptr));
    button->Set_Picture(&bmp);
}

void PaintSwatch(TCanvas* cv, TColor colour, uint8_t pattern) {
    cv->Pen->Color = clBlack;
    cv->Pen->Style = psSolid;
    cv->Pen->Width = 1;
    cv->Brush->Color = clWhite;
    cv->Brush->Style = bsSolid;
    cv->Rectangle(0, 0, cv->Width(), cv->Height());
    cv->Brush->Color = colour;
    cv->Brush->Style = PatternBrush(pattern);
    cv->Rectangle(0, 0, cv->Width(), cv->Height());
}
