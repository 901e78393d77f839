#include "names/Upostable.h"
#include "engine/ToolSlot.h"
#include "engine/Redraw.h"
#include "engine/MainForm.h"
#include "engine/MapTool.h"
#include "names/NameTools.h"

TPositionTable::TPositionTable(const Texts& t) : TForm(t.caption), texts(t) {
    SetFormStyle(fsStayOnTop);
    const int cols = int(t.heads.size()), width = 80 * cols;
    StringGrid1 = new TStringGrid(this, cols, 1);
    StringGrid1->SetBounds(8, 8, width, 300);
    StringGrid1->SetRowSelect(true);
    for (int c = 0; c < cols; ++c) {
        StringGrid1->SetCells(c, 0, t.heads[c]);
        // The columns share the grid, less room for its scroll bar.
        StringGrid1->SetColWidth(c, (width - 24) / cols);
    }
    Prompt = new TLabel(this, t.prompt);
    Prompt->SetBounds(8, 314, 300, 18);
    Button3 = new TButton(this, "キャンセル");
    Button3->SetBounds(8, 338, 90, 26);
    Button1 = new TButton(this, "ファイル保存");
    Button1->SetBounds(104, 338, 100, 26);
    Button1->SetEnabled(false);
    Button2 = new TButton(this, "閉じる");
    Button2->SetBounds(210, 338, 90, 26);
    StringGrid1->OnClick = [this](TObject* s) { StringGrid1Click(s); };
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    Button2->OnClick = [this](TObject* s) { Button2Click(s); };
    Button3->OnClick = [this](TObject* s) { Button3Click(s); };
    SetClientSize(width + 16, 372);
}

void TPositionTable::FormCreate(TObject* Sender) {
    Fill();
    Modified = false;
}

PositionTool* TPositionTable::MyTool() const {
    PositionTool* t = MainTools().ToolAs<PositionTool>();
    return t && t->table == this ? t : nullptr;
}

bool TPositionTable::PositionArmed() const { return MyTool() != nullptr; }

TForm* PositionTool::Owner() const { return table; }

bool PositionTool::Press(const MapEvent& e) {
    int32_t x, y;
    e.view.ToData(e.X, e.Y, x, y);
    table->TakeAt(x, y);
    return false;
}

void PositionTool::End() {
    if (!Finished) table->Button3Click(table);
}

void TPositionTable::ClearMarks() {
    for (int r = 1; r < StringGrid1->RowCount(); ++r) StringGrid1->SetCells(0, r, "");
}

void TPositionTable::StringGrid1Click(TObject* Sender) {
    ClearMarks();
    const int r = StringGrid1->Row();
    if (r < 1 || r >= StringGrid1->RowCount()) {
        // No entry chosen: the marks are gone, and so is the armed move.
        if (MyTool()) MainTools().FinishTool<PositionTool>();
        Prompt->SetCaption(texts.prompt);
        return;
    }
    if (!MyTool()) MainTools().SetTool(std::make_unique<PositionTool>(*Open, this));
    Row = r;
    StringGrid1->SetCells(0, r, texts.mark);
    Prompt->SetCaption("地図上に表示位置をクリックしてください");
}

void TPositionTable::Button3Click(TObject* Sender) {
    // The tool's end comes back here once it is no longer armed.
    if (MyTool()) return MainTools().EndActiveTool();
    ClearMarks();
    Prompt->SetCaption(texts.prompt);
}

void TPositionTable::Button1Click(TObject* Sender) {
    if (!Save()) return;
    Modified = false;
    Button1->SetEnabled(false);
}

void TPositionTable::Button2Click(TObject* Sender) {
    if (Modified && Application->MessageBox(texts.closeQuestion, texts.closeCaption, MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    if (MyTool()) MainTools().FinishTool<PositionTool>();
    Close();
}

void TPositionTable::TakePosition(std::vector<int32_t>& xs, std::vector<int32_t>& ys, int count, int32_t x, int32_t y) {
    const int i = Row - 1;
    if (i >= 0 && i < std::min<int>(count, int(xs.size()))) {
        xs[i] = x;
        ys[i] = y;
        StringGrid1->SetCells(texts.xColumn, Row, std::to_string(x));
        StringGrid1->SetCells(texts.xColumn + 1, Row, std::to_string(y));
        Modified = true;
        Button1->SetEnabled(true);
    }
    if (MyTool()) MainTools().FinishTool<PositionTool>();
    RedrawMap();
    ClearMarks();
    Prompt->SetCaption(texts.prompt);
}
