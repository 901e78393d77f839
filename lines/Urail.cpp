#include "lines/Urail.h"
#include <algorithm>

TRail* Rail = nullptr;

void GridShadow::Set(TStringGrid* g, int col, int row, const std::string& s) {
    const size_t i = size_t(row) * cols + col;
    if (row >= g->RowCount()) g->SetRowCount(row + 1);
    if (i >= cells.size()) cells.resize(i + 1);
    if (cells[i] == s && !s.empty()) return;
    cells[i] = s;
    g->SetCells(col, row, s);
}

void GridShadow::Edited(int col, int row, const std::string& s) {
    const size_t i = size_t(row) * cols + col;
    if (i >= cells.size()) cells.resize(i + 1);
    cells[i] = s;
}

void GridShadow::SetRowCount(TStringGrid* g, int n) {
    g->SetRowCount(std::max(1, n));
    if (cells.size() > size_t(n) * cols) cells.resize(size_t(n) * cols);
}

TRail::TRail() : TForm("鉄道路線情報") {
    SetFormStyle(fsStayOnTop);
    QWidget* c = Client();
    auto label = [c](int x, int y, int w) {
        auto* l = new TLabel(c, "");
        l->SetBounds(x, y, w, 18);
        return l;
    };
    Label12 = label(8, 8, 260);
    Label1 = label(8, 28, 130);
    Label5 = label(140, 28, 260);
    Label2 = label(8, 48, 130);
    Label4 = label(140, 48, 260);
    Label3 = label(8, 68, 130);
    Label6 = label(140, 68, 130);
    Label7 = label(270, 68, 130);
    Label8 = label(8, 88, 260);
    Label9 = label(8, 108, 130);
    Label11 = label(140, 108, 130);
    StringGrid1 = new TStringGrid(c, 3, 1);
    StringGrid1->FixedRows = 0;
    StringGrid1->FixedCols = 0;
    StringGrid1->SetBounds(8, 132, 392, 300);
    StringGrid1->SetColWidth(0, 48);
    StringGrid1->SetColWidth(1, 240);
    SetClientSize(408, 440);
}

void TRail::FormCreate(TObject*) { Label9->SetCaption(""); }

void TRail::SetRow(int r, const std::string& name, const std::string& state) {
    Shadow.Set(StringGrid1, 0, r, std::to_string(r));
    Shadow.Set(StringGrid1, 1, r, name);
    Shadow.Set(StringGrid1, 2, r, state);
}

void TRail::SetRowCount(int n) { Shadow.SetRowCount(StringGrid1, n); }
