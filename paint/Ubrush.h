// The pattern chooser of a paint slot.
#pragma once
#include "gui/Forms.h"

class TPBrush : public TForm {
public:
    TPBrush();

    TLabel* Label2;   // slot number
    TImage *Image1, *Image2, *Image3, *Image4, *Image5, *Image6, *Image7;
    TRadioButton *RadioButton1, *RadioButton2, *RadioButton3, *RadioButton4, *RadioButton5, *RadioButton6,
        *RadioButton7;
    TButton* Button1;   // "閉じる"

    TImage* Sample(int k) const;
    TRadioButton* Choice(int k) const;
    void PaintSamples();
    // Choice k applies also when its button is ticked already.
    void RadioButtonClick(int k);
    void ImageClick(int k);
};

extern TPBrush* PBrush;
