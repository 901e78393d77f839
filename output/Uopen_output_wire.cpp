// Main-form wiring of the output folder.
#include "engine/Uopen.h"
#include "gui/PrintDialog.h"

void TOpen::WireOutputHandlers() {
    RadioGroup1->OnClick = [this](TObject* s) { RadioGroup1Click(s); };
    Button4->OnClick = [this](TObject* s) { Button4Click(s); };
    Button8->OnClick = [this](TObject* s) { Button8Click(s); };
    PNG1->OnClick = [this](TObject* s) { PNG1Click(s); };
    JPEG1->OnClick = [this](TObject* s) { JPEG1Click(s); };
    BITMAP1->OnClick = [this](TObject* s) { BITMAP1Click(s); };
    Print1->OnClick = [this](TObject* s) { Print1Click(s); };
    PrintPreview1->OnClick = [this](TObject* s) { PrintPreview1Click(s); };
    BtnPrint->OnClick = [this](TObject* s) { Print1Click(s); };
    PrintDialog1 = new TPrintDialog(this);
    SaveDialog1->OverwritePrompt = true;
    SaveDialog1->DefaultExt.clear();

    // The project file.
    Button1->SetCaption("ﾌｧｲﾙ保存");
    Button1->SetHint("編集作業を保存する");
    Button1->SetEnabled(false);
    Button10->SetCaption("ﾌｧｲﾙ読込");
    Button10->SetHint("編集作業を復元する");
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    Button10->OnClick = [this](TObject* s) { Button10Click(s); };
    SaveDialog3 = new TSaveDialog(this);
    SaveDialog3->DefaultExt = "rvx";
    SaveDialog3->Filter = "Rovanaファイル(*.rvx)|*.rvx|すべて(*.*)|*.*";
    SaveDialog3->OverwritePrompt = true;
    OpenDialog1 = new TOpenDialog(this);
    OpenDialog1->Filter = SaveDialog3->Filter;
    DUMMY = new TLabel(Panel1, "DUMMY");
    DUMMY->SetVisible(false);
}
