// Size, colour number and visibility of every shown line.
#pragma once
#include "gui/Dialogs.h"
#include "gui/Forms.h"
#include <cstdint>
#include <string>

class TLineSet : public TForm {
public:
    TLineSet();
    void FormCreate(TObject* Sender) override;

    TButton* Buttons[10];       // Button1 ... Button10: colour of each colour number
    TImage* Images[10];         // Image1 ... Image10: their swatches
    TButton *Button11, *Button12, *Button13, *Button14, *Button15, *Button16, *Button17;
    TImage* Image11;            // RailColor
    TRadioGroup* RadioGroup1;   // "路線色": 0 as the files, 1 all RailColor, 2 JR as the files, others RailColor
    TRadioGroup* RadioGroup2;   // "表示路線種別": 0 all, 1 JR only, 2 without JR
    int RailColourRule() const { return RadioGroup1->ItemIndex(); }
    int RailKindFilter() const { return RadioGroup2->ItemIndex(); }
    TRadioGroup* RadioGroup3;   // rows of "表　示"/"非表示": 0 all, 1 railways
    TUpDown* UpDown1;           // "路線サイズ"
    TEdit* Edit1;
    TStringGrid* StringGrid1;   // line name, size, colour number, shown mark
    TLabel* Label15;
    TPopupMenu* PopupMenu1;
    TMenuItem *N1, *N2;
    TColorDialog* ColorDialog1;

    // 1: the user's sizes and colour numbers stay in force; 0: they come from the files.
    uint8_t UserColors = 0;
    TColor RailColor = 255;

    void FillSwatch(int number, TColor c);   // number 1 to 10
    // The table shows the line rows of TLineAdd, each with its file's record.
    void ShowLines();

    void ColourButtonClick(int number);      // Button1Click ... Button10Click
    void Button11Click(TObject* Sender);
    void Button12Click(TObject* Sender);
    void Button13Click(TObject* Sender);
    void Button14Click(TObject* Sender);
    void Button15Click(TObject* Sender);
    void Button16Click(TObject* Sender);
    void Button17Click(TObject* Sender);
    void RadioGroup1Click(TObject* Sender);
    void RadioGroup2Click(TObject* Sender);
    void UpDown1Click(TObject* Sender, TUDBtnType Button);
    void StringGrid1DblClick(TObject* Sender);
    void StringGrid1SetEditText(TObject* Sender, int col, int row, const std::string& value);
    void N1Click(TObject* Sender);

private:
    void MarkRows(bool show);
};

extern TLineSet* LineSet;
