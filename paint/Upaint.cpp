#include "paint/Upaint.h"

TMapPaint* MapPaint = nullptr;

TMapPaint::TMapPaint() : TForm("　ペイント　（塗り分け）") {
    CBPaintDisplay = new TCheckBox(this, "表示");
    CBPaintDisplay->SetBounds(8, 8, 80, 20);
    CBPaintDisplay->SetChecked(true);
    LblPaint = new TLabel(this, "0");
    LblPaint->SetBounds(96, 8, 60, 18);
    CBAllPaint = new TCheckBox(this, "");
    CBAllPaint->SetBounds(8, 32, 120, 20);
    ComboBox1 = new TComboBox(this, true);
    ComboBox1->SetBounds(8, 56, 140, 24);
    ComboBox1->SetText("市区町村名");
}
