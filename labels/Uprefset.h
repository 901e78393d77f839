// Colour, size and position of the prefecture names and capitals.
#pragma once
#include "gui/Dialogs.h"
#include "gui/Forms.h"
#include <cstdint>

class TPrefSet : public TForm {
public:
    TPrefSet();
    void FormCreate(TObject* Sender) override;
    void FormShow(TObject* Sender) override;

    TImage *Image1, *Image2;           // colour swatches of names and capitals
    TButton *Button1, *Button2, *Button3, *Button4, *Button5, *Button6, *Button7;
    TEdit *Edit1, *Edit2;
    TUpDown *UpDown1, *UpDown2;
    TCheckBox *CheckBox1, *CheckBox2, *CheckBox3, *CheckBox4;
    TLabel* Label6;     // what a map click does next
    TColorDialog* ColorDialog1;
    int32_t PrefNameIndex = 0;

    void FillSwatches();
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button5Click(TObject* Sender);
    void Button6Click(TObject* Sender);
    void Button7Click(TObject* Sender);
    void CheckBox3Click(TObject* Sender);
    void CheckBox4Click(TObject* Sender);
};

extern TPrefSet* PrefSet;
