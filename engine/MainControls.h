// The main form's controls: what its tool windows read and tick, apart from
// the form, so that a window which needs only them does not depend on it.
#pragma once
#include "components/Mystr.h"
#include "components/Tkbtn.h"
#include "gui/Dialogs.h"
#include "gui/Forms.h"

class TOpen;
class TPrintDialog;

// Built by the main form's constructor (engine/Uopen_layout.cpp); the form owns them.
struct MainControls {
    TMyStr* MyStr1;
    TMainMenu* MainMenu1;
    TScrollBox* ScrollBox1;
    TImage* Image1;            // the map
    TImage* Image2;            // opens the usage notes
    TImage* Image4;            // 64x64 thumbnail, opens the about box
    TPanel* Panel1;
    TTkBtn* TkBtn1;            // start screen: mail to the author
    TTkBtn* TkBtn2;            // "範囲指定"
    TButton *Button1, *Button2, *Button3, *Button4, *Button5, *Button6, *Button7, *Button8, *Button9,
        *Button10, *Button12, *Button13, *Button14;
    TButton *BtnCenter, *BtnPaint, *BtnLetter, *BtnMark, *BtnMulti;
    TCheckBox *CBTownBorder, *CBTownName, *CBPrefBorder, *CBNTownBorder, *CBLonLat, *CBFun, *CBDo, *CB1do,
        *CBCenter, *CBScale, *CBOldTown, *CBMainDoubleName, *CBLake, *CBKu, *CBKenName1, *CBInfo,
        *CBTownPaint, *CBMenseki, *CBLabel, *CBExp, *CBYomi, *CBRailLine, *CBEki, *CBCopy, *CBTimer,
        *CBNokori, *CBChiri, *CBZahyo;
    TLabel *Label6, *Label13, *Label14, *Label15, *Label17, *Label19, *Label20, *Label21, *Label23, *Label28,
        *Label31, *Label33, *Label34, *Label35, *Label36, *Label37, *Label38;
    TUpDown *UpDown1, *UDHor, *UDVer;
    TRadioGroup* RadioGroup1;  // "画像ｻｲｽﾞ"
    TRadioGroup* RadioGroup2;  // "画像形式"
    TComboBox* ComboBox1;      // search history
    TEdit* EdName;             // name to search
    TTimer *Timer1, *Timer2;
    TSaveDialog* SaveDialog1;
    // Menus.
    TMenuItem *File1, *Exit1, *SaveImage1, *PNG1, *JPEG1, *BITMAP1, *Print1, *PrintPreview1;
    TButton* BtnPrint;   // "印刷…" in the image group
    TMenuItem *Edit1, *MAG1, *MAG2, *MAG3, *MAG4, *MAG5, *N101, *N051, *N021, *N011, *N202, *N102, *N052;
    TMenuItem *Window1, *Open1, *N1, *N28, *menuPaint, *MakeLabel, *N15, *N9, *N17, *N18;
    TMenuItem* menuInsets = nullptr;   // "挿入図..."
    TMenuItem *Option1, *kokudo, *ken_name, *Wait, *Hokkaido, *Keido, *N24, *Sokuchi, *NJikan, *NKanji;
    TMenuItem *Help1, *About1, *Tutorial1, *readmehtm1, *HomePage1;
    // Keyboard doubles of buttons: "ﾌｧｲﾙ読込", "ﾌｧｲﾙ保存", undo of a paint or symbol step, "画像コピー".
    TMenuItem *FileOpen1, *FileSave1, *Undo1, *CopyImage1;
    // Added by the feature folders as they wire their handlers.
    TButton* Button11 = nullptr;             // "経緯度": longitude/latitude or map coordinates
    TButton* BtnLine;                // "地 図 線": the line editor
    TMenuItem *N16, *NCircle;        // line editor, distance circles
    TSaveDialog* SaveDialog3 = nullptr;   // project files
    TOpenDialog* OpenDialog1 = nullptr;
    TLabel* DUMMY = nullptr;              // hidden: the number of placed symbols after a restore
    TPrintDialog* PrintDialog1 = nullptr;   // also holds the title and credit options
};

// The main form's controls.
MainControls& MainUi();
// The controls of the main form o.
MainControls& UiOf(TOpen& o);
const MainControls& UiOf(const TOpen& o);
