// Main-form wiring of the output folder.
#include "engine/Uopen.h"
#include "gui/PrintDialog.h"

void TOpen::WireOutputHandlers() {
    ui.RadioGroup1->OnClick = [this](TObject* s) { RadioGroup1Click(s); };
    ui.Button4->OnClick = [this](TObject* s) { Button4Click(s); };
    ui.Button8->OnClick = [this](TObject* s) { Button8Click(s); };
    ui.PNG1->OnClick = [this](TObject* s) { PNG1Click(s); };
    ui.JPEG1->OnClick = [this](TObject* s) { JPEG1Click(s); };
    ui.BITMAP1->OnClick = [this](TObject* s) { BITMAP1Click(s); };
    ui.Print1->OnClick = [this](TObject* s) { Print1Click(s); };
    ui.PrintPreview1->OnClick = [this](TObject* s) { PrintPreview1Click(s); };
    ui.BtnPrint->OnClick = [this](TObject* s) { Print1Click(s); };
    ui.PrintDialog1 = new TPrintDialog(this);
    ui.SaveDialog1->OverwritePrompt = true;
    ui.SaveDialog1->DefaultExt.clear();

    // The project file.
    ui.Button1->SetCaption("ﾌｧｲﾙ保存");
    ui.Button1->SetHint("編集作業を保存する");
    ui.Button1->SetEnabled(false);
    ui.Button10->SetCaption("ﾌｧｲﾙ読込");
    ui.Button10->SetHint("編集作業を復元する");
    ui.Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    ui.Button10->OnClick = [this](TObject* s) { Button10Click(s); };
    ui.SaveDialog3 = new TSaveDialog(this);
    ui.SaveDialog3->DefaultExt = "rvx";
    ui.SaveDialog3->Filter = "Rovanaファイル(*.rvx)|*.rvx|すべて(*.*)|*.*";
    ui.SaveDialog3->OverwritePrompt = true;
    ui.OpenDialog1 = new TOpenDialog(this);
    ui.OpenDialog1->Filter = ui.SaveDialog3->Filter;
    ui.DUMMY = new TLabel(ui.Panel1, "DUMMY");
    ui.DUMMY->SetVisible(false);
}
