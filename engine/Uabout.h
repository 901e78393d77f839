// The about window: version, the program file's date, home page and mail addresses.
#pragma once
#include "gui/Forms.h"

class TAbout : public TForm {
public:
    TLabel* Label4;    // home page: opened by forms/ wiring
    TAbout();
    void FormCreate(TObject* Sender) override;

    TPanel* Panel1;
    TImage* Image1;    // the program's picture
    TLabel* Label1;    // program name
    TLabel* Label2;    // version
    TLabel* Label3;    // date of the program file
    TLabel* Label5;    // mail to the author
    TLabel* Label6;    // mail to user support
    TButton* Button1;  // "閉じる": the close that a click on the background also does
    TCursor KeptCursor = crDefault;

    void CloseClick(TObject* Sender);
    void Label4Hover(bool inside);
};

// The program's picture: a small blank map in a square of the given side.
void DrawProgramPicture(TCanvas* c, int side);

extern TAbout* About;
