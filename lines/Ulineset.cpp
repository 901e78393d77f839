#include "lines/Ulineset.h"
#include "gui/FormParts.h"
#include "engine/Convert.h"
#include "engine/MainControls.h"
#include "engine/Redraw.h"
#include "gui/TextFile.h"
#include "lines/Ulineadd.h"
#include "lines/Urail.h"

TLineSet* LineSet = nullptr;

using namespace gui;

TLineSet::TLineSet() : TForm("鉄道路線/地図線設定") {
    SetFormStyle(fsStayOnTop);
    QWidget* c = Client();
    TGroupBox* colours = new TGroupBox(c, "地図線色番号対応");
    colours->SetBounds(8, 8, 250, 170);
    const char* numbers[10] = {"１", "２", "３", "４", "５", "６", "７", "８", "９", "10"};
    for (int k = 0; k < 10; k++) {
        const int x = 8 + (k / 5) * 120, y = 20 + (k % 5) * 29;
        auto* l = new TLabel(colours, numbers[k]);
        l->SetBounds(x, y + 4, 20, 18);
        Images[k] = Swatch(colours, x + 24, y, 22);
        Buttons[k] = Btn(colours, "...", x + 50, y, 28);
        Buttons[k]->OnClick = [this, k](TObject*) { ColourButtonClick(k + 1); };
    }
    Button12 = Btn(c, "変　更", 8, 186, 80, "属性変更を実行する");
    Button13 = Btn(c, "戻　す", 92, 186, 80, "属性を元に戻す");
    Button17 = Btn(c, "再表示", 176, 186, 80, "サイズ、色を変更したとき");

    RadioGroup1 = new TRadioGroup(c, "路線色");
    RadioGroup1->SetItems({"規定", "すべて", "JR除く"});
    RadioGroup1->SetItemIndex(0);
    RadioGroup1->SetHint("路線の表示色を選択");
    RadioGroup1->SetBounds(266, 8, 100, 96);
    Image11 = Swatch(c, 372, 20, 22);
    Button14 = Btn(c, "...", 398, 18, 28, "路線色に対する色設定");
    auto* sizeLabel = new TLabel(c, "路線サイズ");
    sizeLabel->SetBounds(372, 52, 80, 18);
    UpDown1 = Spin(c, Edit1, 372, 72, 1, 20, 3);

    RadioGroup2 = new TRadioGroup(c, "表示路線種別");
    RadioGroup2->SetItems({"全線", "JRのみ", "JR除く"});
    RadioGroup2->SetItemIndex(0);
    RadioGroup2->SetBounds(266, 108, 100, 96);
    RadioGroup2->SetHint("表示する路線の種別を選択");

    auto* hint = new TLabel(c, "線名選択ﾀﾞﾌﾞﾙｸﾘｯｸ→表示/非表示");
    hint->SetBounds(8, 220, 250, 18);
    Label15 = new TLabel(c, "線数 0");
    Label15->SetBounds(266, 220, 120, 18);
    StringGrid1 = new TStringGrid(c, 4, 1);
    StringGrid1->FixedRows = 0;
    StringGrid1->FixedCols = 1;
    StringGrid1->SetBounds(8, 240, 430, 260);
    StringGrid1->SetColWidth(0, 220);
    StringGrid1->SetHint("変更または再表示ボタンで実行/右クリックで線表示");
    StringGrid1->SetEditable(true);
    PopupMenu1 = new TPopupMenu();
    N1 = new TMenuItem("選択した鉄道路線を指定色で表示する");
    N2 = new TMenuItem("元の色に戻す");
    PopupMenu1->Add(N1);
    PopupMenu1->Add(N2);
    // A right press selects the row under it, then opens the menu.
    StringGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(StringGrid1, &QWidget::customContextMenuRequested, [this](const QPoint& p) {
        const QModelIndex ix = StringGrid1->indexAt(p);
        if (ix.isValid()) StringGrid1->SetRow(ix.row());
        const QPoint g = StringGrid1->viewport()->mapToGlobal(p);
        PopupMenu1->Popup(g.x(), g.y());
    });

    TGroupBox* pick = new TGroupBox(c, "地図線選択");
    pick->SetBounds(8, 508, 340, 56);
    RadioGroup3 = new TRadioGroup(pick, "");
    RadioGroup3->SetItems({"すべて", "鉄道路線"});
    RadioGroup3->SetColumns(2);
    RadioGroup3->SetItemIndex(0);
    RadioGroup3->SetBounds(8, 16, 160, 34);
    Button15 = Btn(pick, "表　示", 176, 20, 76);
    Button16 = Btn(pick, "非表示", 256, 20, 76);
    Button11 = Btn(c, "閉じる", 358, 526, 80);
    ColorDialog1 = new TColorDialog(this);
    SetClientSize(456, 572);

    Button11->OnClick = [this](TObject* s) { Button11Click(s); };
    Button12->OnClick = [this](TObject* s) { Button12Click(s); };
    Button13->OnClick = [this](TObject* s) { Button13Click(s); };
    Button14->OnClick = [this](TObject* s) { Button14Click(s); };
    Button15->OnClick = [this](TObject* s) { Button15Click(s); };
    Button16->OnClick = [this](TObject* s) { Button16Click(s); };
    Button17->OnClick = [this](TObject* s) { Button17Click(s); };
    RadioGroup1->OnClick = [this](TObject* s) { RadioGroup1Click(s); };
    RadioGroup2->OnClick = [this](TObject* s) { RadioGroup2Click(s); };
    UpDown1->OnClick = [this](TObject* s, TUDBtnType b) { UpDown1Click(s, b); };
    StringGrid1->OnDblClick = [this](TObject* s) { StringGrid1DblClick(s); };
    StringGrid1->OnSetEditText = [this](TObject* s, int col, int row, const std::string& v) {
        StringGrid1SetEditText(s, col, row, v);
    };
    N1->OnClick = [this](TObject* s) { N1Click(s); };
    N2->OnClick = [this](TObject* s) { Button13Click(s); };
}

void TLineSet::FormCreate(TObject*) {
    UserColors = 0;
    RailColor = 255;
    gui::FillSwatch(Image11, RailColor);
}

void TLineSet::FillSwatch(int number, TColor c) {
    if (number >= 1 && number <= 10) gui::FillSwatch(Images[number - 1], c);
}

void TLineSet::ShowLines() {
    Label15->SetCaption("線数 " + std::to_string(LineAdd->RailFileCount));
    const std::vector<LineRow>& rows = LineAdd->LineRows;
    StringGrid1->SetRowCount(std::max<int>(1, int(rows.size())));
    if (rows.empty())
        for (int c = 0; c < 4; c++) StringGrid1->SetCells(c, 0, "");
    for (int r = 0; r < int(rows.size()); r++) {
        const LineFileRecord* f = LineAdd->RecordOf(rows[r].Path);
        if (!f) continue;
        StringGrid1->SetCells(0, r, TLineAdd::FileDisplayName(rows[r].Path));
        StringGrid1->SetCells(1, r, f->Size);
        StringGrid1->SetCells(2, r, f->Colour);
        StringGrid1->SetCells(3, r, f->Mark);
    }
}

void TLineSet::ColourButtonClick(int number) {
    ColorDialog1->Color = LineAdd->ColorTable[number - 1];
    if (!ColorDialog1->Execute()) return;
    LineAdd->ColorTable[number - 1] = ColorDialog1->Color;
    FillSwatch(number, ColorDialog1->Color);
    Button12Click(Buttons[number - 1]);
}

void TLineSet::Button11Click(TObject*) { Close(); }

void TLineSet::Button12Click(TObject*) {
    UserColors = 1;
    RedrawMap();
}

void TLineSet::Button13Click(TObject*) {
    RedrawOnce once;
    UserColors = 0;
    RadioGroup1->SetItemIndex(0);
    RedrawMap();
}

void TLineSet::Button14Click(TObject*) {
    ColorDialog1->Color = RailColor;
    if (!ColorDialog1->Execute()) return;
    RailColor = ColorDialog1->Color;
    gui::FillSwatch(Image11, RailColor);
    RedrawMap();
}

void TLineSet::Button17Click(TObject* Sender) { Button12Click(Sender); }

void TLineSet::RadioGroup1Click(TObject*) { RedrawMap(); }

void TLineSet::RadioGroup2Click(TObject*) { RedrawMap(); }

void TLineSet::UpDown1Click(TObject*, TUDBtnType) {
    const std::string size = std::to_string(UpDown1->Position());
    for (const std::string& p : LineAdd->RailFiles)
        if (LineFileRecord* f = LineAdd->RecordOf(p)) f->Size = size;
    UserColors = 1;
    LineAdd->AttrTableDirty = 0;
    RedrawMap();
}

void TLineSet::StringGrid1DblClick(TObject*) {
    const int r = StringGrid1->Row();
    LineFileRecord* f = LineAdd->RecordOfRow(r);
    if (!f) return;
    f->Mark = f->Mark.empty() ? "●" : "";
    Rail->Label9->SetCaption("変更");
    UserColors = 1;
    RedrawMap();
    StringGrid1->SetRow(r);
}

// The user's value goes to the file the row shows, so it stays with that line.
void TLineSet::StringGrid1SetEditText(TObject*, int col, int row, const std::string& value) {
    UserColors = 1;
    LineFileRecord* f = LineAdd->RecordOfRow(row);
    if (!f) return;
    if (col == 1) f->Size = value;
    else if (col == 2) f->Colour = value;
    else if (col == 3) f->Mark = value;
}

void TLineSet::MarkRows(bool show) {
    const bool railOnly = RadioGroup3->ItemIndex() == 1;
    static const char* questions[2][2] = {
        {"全ての地図線/鉄道路線を非表示にしますがよろしいですか？    ", "鉄道路線のみを非表示にしますがよろしいですか？    "},
        {"全ての地図線/鉄道路線を表示しますがよろしいですか？    ", "鉄道路線のみを表示しますがよろしいですか？    "}};
    static const char* results[2][2] = {{"すべて非表示", "鉄道路線のみ非表示"}, {"すべて表示", "鉄道路線のみ表示"}};
    if (MessageBox(questions[show][railOnly], "ラベル/駅名表示の変更", MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return;
    const std::string on = "●";
    for (const std::string& p : LineAdd->RailFiles)
        if (LineFileRecord* f = LineAdd->RecordOf(p)) f->Mark = show ? on : "";
    // "鉄道路線のみ": user lines take the opposite of the railways.
    for (int j = 0; j < LineAdd->UserFileCount(); j++)
        if (LineFileRecord* f = LineAdd->RecordOf(LineAdd->LineFiles[j])) f->Mark = (show != railOnly) ? on : "";
    Rail->Label9->SetCaption(results[show][railOnly]);
    UserColors = 1;
    LineAdd->AttrTableDirty = 0;
    RedrawMap();
}

void TLineSet::Button15Click(TObject*) { MarkRows(true); }

void TLineSet::Button16Click(TObject*) { MarkRows(false); }

// The chosen line drawn over the image in the railway colour, until the next
// redraw: the first pair of each line of its file.
void TLineSet::N1Click(TObject*) {
    const int r = StringGrid1->Row();
    gui::TextReader in;
    if (r < 0 || r >= int(LineAdd->LineRows.size()) || !in.Open(LineAdd->LineRows[r].Path)) return;
    TCanvas* cv = MainUi().Image1->Canvas();
    cv->Pen->Color = RailColor;
    cv->Pen->Width = 3;
    cv->Pen->Style = psSolid;
    std::string line;
    in.ReadLine(line);
    bool first = true, lifted = false;
    while (in.ReadLine(line)) {
        const size_t comma = line.find(',');
        const int32_t x = LenientInt(line), y = comma == std::string::npos ? 0 : LenientInt(line.substr(comma + 1));
        if (x == 0 && y == 0) {
            lifted = true;
            continue;
        }
        int X, Y;
        DrawnMapView().ToScreen(x, y, X, Y);
        if (first || lifted) cv->MoveTo(X, Y);
        else cv->LineTo(X, Y);
        first = lifted = false;
    }
}
