// The display settings window: line colours and widths, name size, layer switches.
// Its controls are state that the redraw reads directly.
#pragma once
#include "gui/Dialogs.h"
#include "gui/Forms.h"

class TSettei : public TForm {
public:
    TSettei();
    // Also run again by "標準" and by the project loader, to show the main form's values.
    void FormCreate(TObject* Sender) override;

    // Frame.
    TCheckBox* CBWaku;
    TButton* Button11; TImage* Image8;
    TUpDown* UpDown5; TEdit* Edit5;
    // Coast.
    TCheckBox* CBCoast;
    TCheckBox* CBColor;
    TButton* Button2; TImage* Image1;
    TUpDown* UpDown1; TEdit* Edit1;
    // Prefecture borders.
    TCheckBox* CheckBox3;
    TButton* Button3; TImage* Image2;
    TCheckBox* CBPrefDot;
    TUpDown* UpDown2; TEdit* Edit2;
    TCheckBox* CBHokkaido;
    // Municipality borders.
    TCheckBox* CheckBox4;
    TButton* Button4; TImage* Image3;
    TCheckBox* CBTownDot;
    TUpDown* UpDown3; TEdit* Edit3;
    TCheckBox* CheckBox15;
    TCheckBox* CheckBox1;
    int TownLineWidth() const { return UpDown3->Position(); }
    bool OldTownsInTownColour() const { return CheckBox15->Checked(); }   // "旧市町村界も同色"
    bool TownsInBackColour() const { return CheckBox1->Checked(); }       // "背景色と同色"
    // Old municipality borders, lakes, wards.
    TCheckBox* CheckBox11;
    TButton* Button16; TImage* Image10;
    TCheckBox* CBNTownDot;
    TCheckBox* CheckBox14;
    TCheckBox* CBLakeDot;
    TCheckBox* CBKu;
    TButton* Button12; TImage* Image9;
    TCheckBox* CBKuDot;
    // Names.
    TCheckBox* CBCityName;
    TCheckBox* CBKuName;
    TCheckBox* CheckBox5;
    TCheckBox* CBDoubleName;
    TCheckBox* CheckBox16;
    TButton* Button5; TImage* Image4;
    TUpDown* UpDown4; TEdit* Edit4;
    TCheckBox* CBFixedSize;
    TCheckBox* CBWhite;
    TCheckBox* CheckBox12;
    // Background.
    TButton* Button7; TImage* Image5;
    TCheckBox* CheckBox13;   // "背景色白"
    bool WhiteBackground() const { return CheckBox13->Checked(); }
    void SetWhiteBackground(bool on) { CheckBox13->SetChecked(on); }
    // Islands, mountains, mesh.
    TCheckBox* CBIslands;
    TButton* Button17; TImage* Image11;
    TCheckBox* CBMountain;
    TButton* Button18; TImage* Image12;
    TCheckBox *CBMtHeight, *CBMtYomi;
    TCheckBox *CBMesh, *CBMeshName, *CBMeshName2;
    // Grid and scale.
    TCheckBox* CheckBox6;
    TButton* Button9; TImage* Image6;
    TCheckBox* CheckBox7;
    TButton* Button10; TImage* Image7;
    TCheckBox* CBFunDot;
    TCheckBox* CheckBox8;
    TCheckBox* CheckBox9;
    TCheckBox* CheckBox10;
    // Prefecture names, offices, railways.
    TCheckBox* CheckBox2;
    TCheckBox *CBKenName, *CBKenOffice;
    TCheckBox *CBOffice, *CBOfficeName;
    TCheckBox *CBRail, *CBStation, *CBMainEki;
    TCheckBox* CBRailExp;
    TCheckBox* CBWatch;
    TCheckBox* CBSoft;
    // View menus mirrored.
    TRadioGroup *RadioGroup1, *RadioGroup2, *RadioGroup3, *RadioGroup4;
    TLabel* Label24;
    TButton *Button6, *Button14, *Button13, *Button15, *Button19, *Button20, *Button1, *Button8;
    // Several colour buttons share a dialog, which opens on the colour it last returned.
    TColorDialog *ColorDialog1, *ColorDialog2, *ColorDialog3, *ColorDialog4, *ColorDialog5, *ColorDialog6,
        *ColorDialog7;

    // Colour buttons: the dialog's choice goes into the main form at once.
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button5Click(TObject* Sender);
    void Button7Click(TObject* Sender);
    void Button9Click(TObject* Sender);
    void Button10Click(TObject* Sender);
    void Button11Click(TObject* Sender);
    void Button12Click(TObject* Sender);
    void Button16Click(TObject* Sender);
    void Button17Click(TObject* Sender);
    void Button18Click(TObject* Sender);
    // Widths and name size.
    void UpDown1Click(TObject* Sender, TUDBtnType Button);
    void UpDown2Click(TObject* Sender, TUDBtnType Button);
    void UpDown3Click(TObject* Sender, TUDBtnType Button);
    void UpDown4Click(TObject* Sender, TUDBtnType Button);
    // Boxes that only govern others of this window.
    void CheckBox3Click(TObject* Sender);
    void CheckBox4Click(TObject* Sender);
    void CheckBox11Click(TObject* Sender);
    void CBKuClick(TObject* Sender);
    void CheckBox5Click(TObject* Sender);
    void CheckBox6Click(TObject* Sender);
    void CheckBox8Click(TObject* Sender);
    void CBMountainClick(TObject* Sender);
    void CBIslandsClick(TObject* Sender);
    // Switches that act at once.
    void CBColorClick(TObject* Sender);
    void CheckBox2Click(TObject* Sender);
    void CheckBox9Click(TObject* Sender);
    void CheckBox14Click(TObject* Sender);
    void CheckBox16Click(TObject* Sender);
    void CBDoubleNameClick(TObject* Sender);
    void CBKenNameClick(TObject* Sender);
    void CBKenOfficeClick(TObject* Sender);
    void CheckBox13Click(TObject* Sender);
    void CBHokkaidoClick(TObject* Sender);
    void CBRailClick(TObject* Sender);
    void CBStationClick(TObject* Sender);
    void CBRailExpClick(TObject* Sender);
    void CBMainEkiClick(TObject* Sender);
    void RadioGroup1Click(TObject* Sender);
    void RadioGroup2Click(TObject* Sender);
    void RadioGroup3Click(TObject* Sender);
    void RadioGroup4Click(TObject* Sender);
    // Buttons.
    void Button8Click(TObject* Sender);    // "決　定"
    void Button6Click(TObject* Sender);    // "標準"
    void Label24Click(TObject* Sender);    // the web map's top page
    void Button1Click(TObject* Sender);    // "閉じる"
    void Button15Click(TObject* Sender);   // "文字特性"
    void Button19Click(TObject* Sender);   // "山島検索"
    void Button13Click(TObject* Sender);   // "市町名位置編集" / "島名位置編集"
    void Button20Click(TObject* Sender);   // "市町村名"
    void Button14Click(TObject* Sender);   // "距離円"

private:
    void WireHandlers();
    void PickColor(TColorDialog* dialog, TColor& member, TImage* swatch);
};

extern TSettei* Settei;
