#include "lines/Urail.h"
#include "engine/MainControls.h"
#include "engine/MainForm.h"
#include "lines/MainFormLines.h"
#include "lines/Ulineadd.h"
#include <algorithm>

TRail* Rail = nullptr;

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
    // The file paths of the last railway and station files.
    Label4->SetPathEllipsis(true);
    Label5->SetPathEllipsis(true);
    StringGrid1 = new TStringGrid(c, 3, 1);
    StringGrid1->FixedRows = 0;
    StringGrid1->FixedCols = 0;
    StringGrid1->SetBounds(8, 132, 392, 300);
    StringGrid1->SetColWidth(0, 48);
    StringGrid1->SetColWidth(1, 240);
    SetClientSize(408, 440);
}

void TRail::FormCreate(TObject*) { Label9->SetCaption(""); }

// "描く" or "描かない" while the railway map is on, nothing while it is off.
void TRail::ShowLines() {
    const bool railShown = MainUi().CBRailLine->Checked();
    const std::vector<LineRow>& rows = LineAdd->LineRows;
    const int n = int(std::count_if(rows.begin(), rows.end(), [](const LineRow& row) { return row.Rail; }));
    StringGrid1->SetRowCount(std::max(1, n));
    if (n == 0)
        for (int c = 0; c < 3; c++) StringGrid1->SetCells(c, 0, "");
    const LineRow* drawn = nullptr;
    for (int r = 0; r < n; r++) {
        const LineFileRecord* f = LineAdd->RecordOf(rows[r].Path);
        const bool marked = f && !f->Mark.empty();
        if (railShown && marked) drawn = &rows[r];
        StringGrid1->SetCells(0, r, std::to_string(r));
        StringGrid1->SetCells(1, r, TLineAdd::FileDisplayName(rows[r].Path));
        StringGrid1->SetCells(2, r, !railShown ? "" : marked ? "描く" : "描かない");
    }
    Label11->SetCaption(std::to_string(n));
    if (drawn && RailControlsOf(*Open).RailInfo->Checked())
        Label8->SetCaption(std::to_string(drawn->Index) + "番 " + TLineAdd::FileDisplayName(drawn->Path));
}
