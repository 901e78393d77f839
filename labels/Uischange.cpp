#include "labels/Uischange.h"
#include "gui/FormParts.h"
#include "engine/MainControls.h"
#include "engine/ToolSlot.h"
#include "engine/MainForm.h"
#include "labels/MainFormLabels.h"
#include "labels/LabelTools.h"
#include "navigation/Usettei.h"

TIsChange* IsChange = nullptr;

TIsChange::TIsChange() : TForm("　島名表示位置編集") {
    SetFormStyle(fsStayOnTop);
    SetClientSize(420, 300);
    auto lbl = [this](const std::string& c, int x, int y, int w = 80) { return gui::Lbl(this, c, x, y, w); };
    lbl("ファイル名", 8, 8);
    Label1 = lbl("", 80, 8, 330);
    lbl("県　名", 8, 28);
    Label4 = lbl("", 80, 28, 200);
    lbl("島　名", 8, 52);
    lbl("現座標", 110, 52);
    lbl("新座標", 250, 52);
    StringGrid1 = new TStringGrid(this, 5, 1);
    StringGrid1->FixedRows = 0;
    StringGrid1->FixedCols = 0;
    StringGrid1->SetBounds(8, 70, 404, 130);
    StringGrid1->SetColWidth(0, 100);
    Button1 = new TButton(this, "島名選択");
    Button1->SetBounds(8, 208, 90, 24);
    Label14 = lbl("→", 102, 212, 16);
    Label15 = lbl("←", 120, 212, 16);
    Button2 = new TButton(this, "新座標指定");
    Button2->SetBounds(140, 208, 90, 24);
    Button2->SetEnabled(false);
    Label16 = lbl("クリック", 240, 212, 160);
    lbl("修正数", 8, 240);
    Label13 = lbl("0", 60, 240);
    lbl("島名表示位置の変更は保存されます", 8, 262, 260);
    Button3 = new TButton(this, "キャンセル");
    Button3->SetBounds(240, 236, 80, 24);
    Button5 = new TButton(this, "閉じる");
    Button5->SetBounds(330, 236, 80, 24);
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    Button2->OnClick = [this](TObject* s) { Button2Click(s); };
    Button3->OnClick = [this](TObject* s) { Button3Click(s); };
    Button5->OnClick = [this](TObject* s) { Button5Click(s); };
}

void TIsChange::Button1Click(TObject* Sender) {
    MainTools().ArmTool<IslandTool>(*Open).Pick = true;
    Label15->Hide();
    Label16->SetCaption("島名をクリック");
}

void TIsChange::Button2Click(TObject* Sender) {
    Label14->Hide();
    Label16->SetCaption("表示位置をクリック");
    MainTools().ArmTool<IslandTool>(*Open).Place = true;
}

void TIsChange::Button3Click(TObject* Sender) {
    // Both steps are called off: a place armed before the cancel must not move the pick.
    // The tool's end comes back here once it is no longer armed.
    if (MainTools().ToolAs<IslandTool>()) return MainTools().EndActiveTool();
    IslandsOf(*Open).IslandIndex = -1;
    Button1->SetEnabled(true);
    Button2->SetEnabled(false);
    Label15->Show();
    Label14->Hide();
    Label16->SetCaption("クリック");
}

void TIsChange::Button5Click(TObject* Sender) {
    EndIslandEdit(*Open);
    Button1->SetEnabled(true);
    Button2->SetEnabled(false);
    Settei->Button13->SetEnabled(true);
    MainUi().Panel1->SetEnabled(true);
    Close();
}
