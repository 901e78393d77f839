#include "paint/Ubrush.h"
#include "engine/MapStyle.h"
#include "paint/SlotPicture.h"
#include "paint/Upaint.h"

TPBrush* PBrush = nullptr;

TPBrush::TPBrush() : TForm("　パターン") {
    SetFormStyle(fsStayOnTop);
    QWidget* c = Client();
    auto* title = new TLabel(c, "スロット");
    title->SetBounds(8, 8, 60, 18);
    Label2 = new TLabel(c, "1");
    Label2->SetBounds(70, 8, 30, 18);
    TImage** images[7] = {&Image1, &Image2, &Image3, &Image4, &Image5, &Image6, &Image7};
    TRadioButton** radios[7] = {&RadioButton1, &RadioButton2, &RadioButton3, &RadioButton4,
                                &RadioButton5, &RadioButton6, &RadioButton7};
    for (int k = 0; k < 7; ++k) {
        const int x = 8 + k * 44;
        auto* img = new TImage(c);
        img->SetBounds(x, 32, 36, 36);
        img->SetImageSize(36, 36);
        img->OnClick = [this, k](TObject*) { ImageClick(k); };
        *images[k] = img;
        auto* r = new TRadioButton(c, "");
        r->SetBounds(x + 10, 72, 20, 20);
        // A user's click, also on the button ticked already.
        QObject::connect(r, &QAbstractButton::clicked, [this, k] { RadioButtonClick(k); });
        // The picture and the button under it choose the same pattern.
        const QString name = QString::fromStdString("パターン" + std::to_string(TMapPaint::ChoiceCode[k]));
        img->setAccessibleName(name);
        r->setAccessibleName(name);
        *radios[k] = r;
        auto* code = new TLabel(c, std::to_string(TMapPaint::ChoiceCode[k]));
        code->SetBounds(x + 14, 94, 16, 18);
    }
    auto* note1 = new TLabel(c, "数値はパターン");
    note1->SetBounds(8, 116, 120, 18);
    auto* note2 = new TLabel(c, "コードを表す");
    note2->SetBounds(8, 134, 120, 18);
    Button1 = new TButton(c, "閉じる");
    Button1->SetBounds(230, 120, 80, 26);
    Button1->OnClick = [this](TObject*) { Close(); };
    RadioButton1->SetChecked(true);
    SetClientSize(318, 160);
}

TImage* TPBrush::Sample(int k) const {
    TImage* const s[7] = {Image1, Image2, Image3, Image4, Image5, Image6, Image7};
    return s[k];
}

TRadioButton* TPBrush::Choice(int k) const {
    TRadioButton* const r[7] = {RadioButton1, RadioButton2, RadioButton3, RadioButton4,
                                RadioButton5, RadioButton6, RadioButton7};
    return r[k];
}

void TPBrush::PaintSamples() {
    const int slot = MapPaint->EditSlot;
    Label2->SetCaption(std::to_string(slot + 1));
    for (int k = 0; k < 7; ++k) PaintSwatch(Sample(k)->Canvas(), MainStyle().PaintColor[slot], TMapPaint::ChoiceCode[k]);
}

void TPBrush::RadioButtonClick(int k) {
    const int slot = MapPaint->EditSlot;
    MainStyle().PaintPattern[slot] = TMapPaint::ChoiceCode[k];
    MapPaint->PatternChoice = k;
    MapPaint->RefreshPaintSlot();
    for (int i = 0; i < 7; ++i) Choice(i)->SetChecked(i == k);
}

void TPBrush::ImageClick(int k) { RadioButtonClick(k); }
