#include "names/Ucorrect.h"
#include "engine/Convert.h"
#include "engine/MapDocument.h"
#include "engine/ToolSlot.h"
#include "engine/MainForm.h"
#include "gui/TextFile.h"
#include "names/MainFormNames.h"
#include "names/NameTools.h"
#include "names/Uextra.h"
#include "names/NameFiles.h"
#include <vector>

TCorrect* Correct = nullptr;

TCorrect::TCorrect() : TForm("市区町村名位置修正") {
    SetFormStyle(fsStayOnTop);
    Label2 = new TLabel(this, "");
    Label2->SetBounds(8, 8, 360, 18);
    Label4 = new TLabel(this, "");
    Label4->SetBounds(8, 28, 360, 18);
    StringGrid1 = new TStringGrid(this, 5, 0);
    StringGrid1->FixedRows = 0;
    StringGrid1->FixedCols = 0;
    StringGrid1->SetBounds(8, 52, 360, 200);
    StringGrid1->SetHint("右クリックで削除できます");
    StringGrid1->SetRowSelect(true);
    PopupMenu1 = new TPopupMenu();
    N1 = new TMenuItem("この位置修正データを削除する");
    PopupMenu1->Add(N1);
    AttachPopupMenu(StringGrid1, PopupMenu1);
    int y = 260;
    Label14 = new TLabel(this, "←");
    Label14->SetBounds(8, y + 4, 20, 18);
    Button1 = new TButton(this, "市町名選択");
    Button1->SetBounds(30, y, 100, 26);
    Label15 = new TLabel(this, "→");
    Label15->SetBounds(134, y + 4, 20, 18);
    Button2 = new TButton(this, "新座標指定");
    Button2->SetBounds(156, y, 100, 26);
    Label16 = new TLabel(this, "クリック");
    Label16->SetBounds(262, y + 4, 110, 18);
    y += 32;
    Button4 = new TButton(this, "キャンセル");
    Button4->SetBounds(8, y, 84, 26);
    Button3 = new TButton(this, "ファイル修正");
    Button3->SetBounds(96, y, 90, 26);
    Button6 = new TButton(this, "新規編集");
    Button6->SetBounds(190, y, 84, 26);
    Button5 = new TButton(this, "閉じる");
    Button5->SetBounds(278, y, 84, 26);
    Label13 = new TLabel(this, "0");
    Label13->SetBounds(8, y + 32, 60, 18);
    Label17 = new TLabel(this, "重複地名の削除");
    Label17->SetBounds(80, y + 32, 160, 18);
    Label17->SetVisible(false);

    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    Button2->OnClick = [this](TObject* s) { Button2Click(s); };
    Button3->OnClick = [this](TObject* s) { Button3Click(s); };
    Button4->OnClick = [this](TObject* s) { Button4Click(s); };
    Button5->OnClick = [this](TObject* s) { Button5Click(s); };
    Button6->OnClick = [this](TObject* s) { Button6Click(s); };
    N1->OnClick = [this](TObject* s) { N1Click(s); };
    SetClientSize(376, y + 56);
}

void TCorrect::Button1Click(TObject* Sender) {
    MainTools().ArmTool<NameCorrectTool>(*Open).Pick = true;
    Button2->SetEnabled(false);
    Button3->SetEnabled(false);
    Label14->Hide();
    Label16->SetCaption("市町村名クリック");
    Button4->SetEnabled(true);
}

void TCorrect::Button2Click(TObject* Sender) {
    Label15->Hide();
    Label16->SetCaption("表示位置クリック");
    MainTools().ArmTool<NameCorrectTool>(*Open).Place = true;
}

bool TCorrect::HasCompletedRow() const {
    for (int r = 0; r < EditRowOf(*Open).EditIndex && r < StringGrid1->RowCount(); ++r)
        if (!StringGrid1->Cells(3, r).empty() && !StringGrid1->Cells(4, r).empty()) return true;
    return false;
}

void TCorrect::UpdateFileButton() { Button3->SetEnabled(MainDoc().SELECT == 1 && HasCompletedRow()); }

void TCorrect::EndPick() {
    // A name no longer picked must not move with the next press.
    // The tool's end comes back here once it is no longer armed.
    if (MainTools().ToolAs<NameCorrectTool>()) return MainTools().EndActiveTool();
    PickedRow = -1;
    Button1->SetEnabled(true);
    Button2->SetEnabled(false);
    Button4->SetEnabled(false);
    Label14->Show();
    Label15->Hide();
}

void TCorrect::Button4Click(TObject* Sender) {
    // The picked row still waiting for its position goes.
    if (PickedRow >= 0 && EditRowOf(*Open).EditIndex > 0) EditRowOf(*Open).EditIndex--;
    EndPick();
    Label16->SetCaption("市町村名クリック");
    Label13->SetCaption(std::to_string(EditRowOf(*Open).EditIndex));
    StringGrid1->SetRowCount(EditRowOf(*Open).EditIndex);
    UpdateFileButton();
}

void TCorrect::N1Click(TObject* Sender) {
    const int r = StringGrid1->Row();
    if (r < 0 || r >= EditRowOf(*Open).EditIndex || r >= StringGrid1->RowCount()) return;
    if (Application->MessageBox(gui::Format("%s の位置修正データを削除しますか？　　　", StringGrid1->Cells(2, r).c_str()),
                                "位置修正データ削除", MB_OKCANCEL | MB_ICONQUESTION) == IDCANCEL)
        return;
    const int rows = StringGrid1->RowCount();
    for (int i = r; i + 1 < rows; ++i)
        for (int c = 0; c < 5; ++c) StringGrid1->SetCells(c, i, StringGrid1->Cells(c, i + 1));
    for (int c = 0; c < 5; ++c) StringGrid1->SetCells(c, rows - 1, "");
    StringGrid1->SetRowCount(rows - 1);
    EditRowOf(*Open).EditIndex--;
    if (r == PickedRow) {
        EndPick();
        Label16->SetCaption("クリック");
    } else if (r < PickedRow) {
        PickedRow--;
    }
    Label13->SetCaption(std::to_string(EditRowOf(*Open).EditIndex));
    UpdateFileButton();
}

void TCorrect::Button6Click(TObject* Sender) {
    if (Button3->Enabled() &&
        Application->MessageBox("市町村名の表示位置を修正しましたが，地図ファイルに保存していません．新規に編集を開始しますか？　　　",
                                "市町村名表示位置編集", MB_OKCANCEL | MB_ICONQUESTION) == IDCANCEL)
        return;
    BtnCorrectClick(*Open, this);
}

void TCorrect::Button5Click(TObject* Sender) {
    if (Button3->Enabled() &&
        Application->MessageBox("市町村名の表示位置を修正しましたが，地図ファイルに保存していません．閉じてもよろしいですか？　　　",
                                "地図ファイルの書き換え", MB_OKCANCEL | MB_ICONQUESTION) == IDCANCEL)
        return;
    MainTools().FinishTool<NameCorrectTool>();
    Close();
    Extra->Button2Click(this);
}

bool TCorrect::RewriteCorrections(const std::string& path) {
    std::vector<std::string> lines;
    if (!names::ReadRawLines(path, lines)) return false;
    std::vector<std::string> f;
    for (int r = 0; r < EditRowOf(*Open).EditIndex && r < StringGrid1->RowCount(); ++r) {
        const std::string nx = StringGrid1->Cells(3, r), ny = StringGrid1->Cells(4, r);
        if (nx.empty() || ny.empty()) continue;
        const int32_t x = LenientInt(StringGrid1->Cells(0, r)), y = LenientInt(StringGrid1->Cells(1, r));
        const std::string name = gui::Utf8ToCp932(StringGrid1->Cells(2, r));
        for (std::string& line : lines) {
            if (!names::IsNameRecord(line, x, y, name, f)) continue;
            // Fields after the fourth are kept.
            std::string out = f[0] + "," + nx + "," + ny + "," + f[3];
            for (size_t k = 4; k < f.size(); ++k) out += "," + f[k];
            line = out;
            break;
        }
    }
    return names::WriteRawLines(path, lines);
}

void TCorrect::Button3Click(TObject* Sender) {
    if (Application->MessageBox("修正した市町村の位置を地図ファイルに書き出しますか？　　　", "地図ファイルの書き換え",
                                MB_OKCANCEL | MB_ICONQUESTION) == IDCANCEL)
        return;
    if (MainDoc().SELECT != 1) return;
    const std::string path = MapFilePath(*Open, MainDoc().SelectCode[0]);
    if (!RewriteCorrections(path)) {
        names::ReportWriteFailure(path, "地図ファイルの書き換え");
        return;
    }
    Button3->SetEnabled(false);
    Application->MessageBox(gui::Format("%s の地図ファイルを修正しました　　　　", path.c_str()), "地図ファイルの書き換え",
                            MB_OK | MB_ICONEXCLAMATION);
    Button6Click(this);
}

bool TCorrect::Picking() const {
    const auto* t = MainTools().ToolAs<NameCorrectTool>();
    return t && t->Pick;
}

bool TCorrect::Placing() const {
    const auto* t = MainTools().ToolAs<NameCorrectTool>();
    return t && t->Place;
}
