#include "names/Usearch.h"
#include "components/Mystr.h"
#include "engine/Uken.h"
#include "engine/MainControls.h"
#include "engine/MapDocument.h"
#include "engine/MapStyle.h"
#include "engine/Redraw.h"
#include "gui/TextFile.h"
#include "navigation/Usettei.h"

TSearch* Search = nullptr;

TSearch::TSearch() : TForm("山名・島名検索") {
    SetFormStyle(fsStayOnTop);
    Edit1 = new TEdit(this, "山名（名前/読み）・島名");
    Edit1->SetBounds(8, 8, 220, 24);
    Edit1->SetHint("山名（読み）/島名");
    CBSame = new TCheckBox(this, "完全一致");
    CBSame->SetBounds(236, 10, 90, 20);
    Button1 = new TButton(this, "検索");
    Button1->SetBounds(330, 8, 70, 26);
    Button1->SetDefault(true);
    const char* heads[4] = {"都道府県名", "山名・島名", "高さ", "読みがな"};
    const int widths[4] = {79, 141, 47, 203};
    int x = 8;
    for (int c = 0; c < 4; ++c) {
        auto* h = new TLabel(this, heads[c]);
        h->SetBounds(x + 2, 40, widths[c], 18);
        x += widths[c];
    }
    StringGrid1 = new TStringGrid(this, 4, 0);
    StringGrid1->FixedRows = 0;
    StringGrid1->FixedCols = 0;
    StringGrid1->SetBounds(8, 60, 494, 300);
    for (int c = 0; c < 4; ++c) StringGrid1->SetColWidth(c, widths[c]);
    StringGrid1->SetRowSelect(true);
    Label3 = new TLabel(this, "");
    Label3->SetBounds(8, 368, 250, 18);
    auto* cap = new TLabel(this, "文字色");
    cap->SetBounds(270, 368, 50, 18);
    Image1 = new TImage(this);
    Image1->SetBounds(324, 366, 22, 22);
    Image1->SetImageSize(22, 22);
    Button3 = new TButton(this, "...");
    Button3->SetBounds(350, 364, 30, 26);
    Button2 = new TButton(this, "閉じる");
    Button2->SetBounds(412, 364, 90, 26);
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    Button2->OnClick = [this](TObject* s) { Button2Click(s); };
    Button3->OnClick = [this](TObject* s) { Button3Click(s); };
    StringGrid1->OnClick = [this](TObject* s) { StringGrid1Click(s); };
    SetClientSize(510, 398);
}

void TSearch::FillSample() {
    TCanvas* c = Image1->Canvas();
    c->Brush->Style = bsSolid;
    c->Brush->Color = MainStyle().SelectColor;
    c->FillRect(Rect(0, 0, c->Width(), c->Height()));
}

void TSearch::FormCreate(TObject* Sender) {
    FillSample();
    SearchHighlight = false;
    Label3->SetCaption("");
}

void TSearch::Button1Click(TObject* Sender) {
    const std::string t = Edit1->Text();
    const bool same = CBSame->Checked();
    auto match = [&](const std::string& s) { return same ? s == t : s.find(t) != std::string::npos; };
    int n = 0;
    StringGrid1->SetRowCount(0);
    auto addRow = [&](const std::string& area, const std::string& name, const std::string& height,
                      const std::string& reading) {
        StringGrid1->SetRowCount(n + 1);
        StringGrid1->SetCells(0, n, area);
        StringGrid1->SetCells(1, n, name);
        StringGrid1->SetCells(2, n, height);
        StringGrid1->SetCells(3, n, reading);
        n++;
    };
    std::vector<std::string> f;
    std::string reading, line;
    for (int code = 1; code <= 52; ++code) {
        const std::string& area = MainDoc().AreaName[code];
        gui::TextReader in;
        if (!in.Open(gui::Format("%s/Mapdata/Mountain/%02d%s山.txt", MainDoc().AppDir.c_str(), code, area.c_str()))) continue;
        for (int i = 0; i < 4 && in.ReadLine(line); ++i) {}
        while (in.ReadLine(reading) && !reading.empty()) {
            if (!in.ReadLine(line)) break;
            TMyStr::SplitFields(line, f);
            const std::string name = f.size() > 0 ? f[0] : std::string();
            const std::string height = f.size() > 2 ? f[2] : std::string();
            if (match(reading)) addRow(area, name, height, reading);
            if (match(name)) addRow(area, name, height, reading);
            if (!in.ReadLine(line)) break;
        }
    }
    for (int code = 1; code <= 52; ++code) {
        const std::string& area = MainDoc().AreaName[code];
        gui::TextReader in;
        if (!in.Open(gui::Format("%s/Mapdata/Islands/%02d%s島.lbl", MainDoc().AppDir.c_str(), code, area.c_str()))) continue;
        while (in.ReadLine(line)) {
            if (TMyStr::SplitCsv(line, f) < 4) continue;
            if (match(f[3])) addRow(area, f[3], "", "");
        }
    }
    if (n == 0) {
        Label3->SetCaption("該当するものはありません");
        StringGrid1->SetRowCount(1);
        for (int c = 0; c < 4; ++c) StringGrid1->SetCells(c, 0, "");
    } else {
        Label3->SetCaption(std::to_string(n) + " 個みつかりました");
    }
}

void TSearch::StringGrid1Click(TObject* Sender) {
    const int r = StringGrid1->Row();
    if (r < 0 || r >= StringGrid1->RowCount()) return;
    const std::string area = StringGrid1->Cells(0, r), name = StringGrid1->Cells(1, r);
    int code = 0;
    for (int c = 1; c <= 52 && !code; ++c)
        if (!area.empty() && MainDoc().AreaName[c] == area) code = c;
    // An empty row or an unknown area leaves the map alone.
    if (!code || name.empty()) return;
    // Asked before anything changes, so that a cancel leaves the map and the area window as they were.
    if (!Ken->AgreeToAreas({code})) return;
    SearchFoundName = name;
    Ken->Button3Click(this);
    Ken->AreaBox(code)->SetChecked(true);
    const bool island = StringGrid1->Cells(2, r).empty();
    Settei->CBIslands->SetChecked(island);
    Settei->CBMountain->SetChecked(!island);
    SearchHighlight = true;
    // The standard range first, through the view control's own button.
    if (MainGate().MapShown) MainUi().Button6->Click();
    Ken->Button1Click(this);
}

void TSearch::Button3Click(TObject* Sender) {
    TColorDialog dlg(this);
    dlg.Color = MainStyle().SelectColor;
    if (!dlg.Execute()) return;
    MainStyle().SelectColor = dlg.Color;
    FillSample();
}

void TSearch::Button2Click(TObject* Sender) {
    SearchHighlight = false;
    Close();
}
