// The display settings window: line colours and widths, name size, layer switches.
// Its controls are state that the redraw reads directly.
#pragma once
#include "gui/Forms.h"

class TSettei : public TForm {
public:
    TSettei();

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
    TCheckBox* CheckBox13;
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
};

extern TSettei* Settei;
