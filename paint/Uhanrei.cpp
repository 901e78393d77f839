#include "paint/Uhanrei.h"
#include "components/Mystr.h"
#include "components/Tkbtn.h"
#include "engine/Convert.h"
#include "engine/MainControls.h"
#include "engine/MapStyle.h"
#include "engine/ToolSlot.h"
#include "engine/Redraw.h"
#include "engine/MainForm.h"
#include "paint/MainFormPaint.h"
#include "gui/Files.h"
#include "gui/TextFile.h"
#include "paint/PaintTools.h"
#include "paint/SlotPicture.h"
#include "paint/Upaint.h"
#include <optional>
#include <vector>

THanrei* Hanrei = nullptr;

namespace {

const char* const kNumberError = "凡例の数値の指定が正しくありません";

TUpDown* UpDownWithEdit(QWidget* parent, TEdit*& edit, const std::string& caption, int x, int y, int min, int max,
                        int pos, int step = 1) {
    auto* l = new TLabel(parent, caption);
    l->SetBounds(x, y + 2, 76, 18);
    edit = new TEdit(parent, std::to_string(pos));
    edit->SetBounds(x + 78, y, 40, 22);
    auto* u = new TUpDown(parent);
    u->SetBounds(x + 120, y, 20, 22);
    u->Min = min;
    u->Max = max;
    u->Increment = step;
    u->SetPosition(pos);
    u->SetAssociate(edit);
    return u;
}

TImage* ColourSwatch(QWidget* parent, int x, int y) {
    auto* i = new TImage(parent);
    i->SetBounds(x, y, 20, 20);
    i->SetImageSize(20, 20);
    return i;
}

void FillSwatch(TImage* image, TColor colour) { PaintSwatch(image->Canvas(), colour, 0); }

} // namespace

std::string CutCp932(const std::string& text, size_t max) {
    size_t bytes = 0, i = 0;
    while (i < text.size()) {
        const unsigned char c = text[i];
        const size_t len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        const size_t n = std::min(len, text.size() - i);
        const size_t w = gui::Cp932Length(std::string_view(text).substr(i, n));
        if (bytes + w > max) break;
        bytes += w;
        i += n;
    }
    return text.substr(0, i);
}

THanrei::THanrei() : TForm("　地図凡例編集") {
    SetFormStyle(fsStayOnTop);
    SetPosition(poScreenCenter);
    QWidget* c = Client();

    UpDown1 = UpDownWithEdit(c, Edit10, "凡例数", 8, 8, 1, 8, 3);
    UpDown1->OnClick = [this](TObject*, TUDBtnType) {
        UpdateRows();
        Button3Click(this);
    };
    TImage** images[8] = {&Image1, &Image2, &Image3, &Image4, &Image5, &Image6, &Image7, &Image8};
    TEdit** edits[8] = {&Edit1, &Edit2, &Edit3, &Edit4, &Edit5, &Edit6, &Edit7, &Edit8};
    const char* const texts[8] = {"　説　明　１", "　説　明　２", "　説　明　３", "　説　明　４",
                                  "　説　明　５", "　説　明　６", "　説　明　７", "　説　明　８"};
    for (int i = 0; i < 8; ++i) {
        const int y = 40 + i * 26;
        RowLabel[i] = new TLabel(c, std::to_string(i + 1));
        RowLabel[i]->SetBounds(8, y + 2, 16, 18);
        auto* img = new TImage(c);
        img->SetBounds(28, y, 40, 20);
        img->SetImageSize(40, 20);
        img->OnClick = [this, i](TObject*) { ImageClick(i); };
        img->setAccessibleName(QString::fromStdString("凡例色" + std::to_string(i + 1)));
        *images[i] = img;
        *edits[i] = new TEdit(c, texts[i]);
        (*edits[i])->setAccessibleName(QString::fromStdString("説明" + std::to_string(i + 1)));
        (*edits[i])->SetBounds(74, y, 200, 22);
    }
    CBMenuTitle = new TCheckBox(c, "タイトル");
    CBMenuTitle->SetBounds(8, 252, 80, 20);
    CBMenuTitle->SetChecked(true);
    CBMenuTitle->OnClick = [this](TObject* s) { CBMenuTitleClick(s); };
    Edit9 = new TEdit(c, "　タ　イ　ト　ル");
    Edit9->setAccessibleName("タイトル");
    Edit9->SetBounds(90, 250, 184, 22);

    const int X = 290;
    auto show = [this](TObject*, TUDBtnType) { Button3Click(this); };
    UpDown5 = UpDownWithEdit(c, Edit11, "色記号 ｗ", X, 8, 20, 100, 40);
    UpDown6 = UpDownWithEdit(c, Edit12, "色記号 ｈ", X, 34, 10, 50, 15);
    UpDown3 = UpDownWithEdit(c, Edit13, "位置 ｘ", X, 60, 0, 600, 50, 10);
    UpDown4 = UpDownWithEdit(c, Edit14, "位置 ｙ", X, 86, 0, 600, 50, 10);
    UpDown7 = UpDownWithEdit(c, Edit15, "間隔 ｄ", X, 112, 0, 20, 3);
    UpDown2 = UpDownWithEdit(c, Edit16, "文字サイズ", X, 138, 6, 40, 10);
    for (TUpDown* u : {UpDown2, UpDown3, UpDown4, UpDown5, UpDown6, UpDown7}) u->OnClick = show;

    TButton** colourButtons[3] = {&Button5, &Button6, &Button7};
    TImage** colourImages[3] = {&Image9, &Image10, &Image11};
    const char* const colourCaptions[3] = {"文字色", "枠内色", "枠色"};
    for (int k = 0; k < 3; ++k) {
        const int y = 166 + k * 26;
        auto* l = new TLabel(c, colourCaptions[k]);
        l->SetBounds(X, y + 2, 60, 18);
        *colourButtons[k] = new TButton(c, "...");
        (*colourButtons[k])->SetBounds(X + 78, y, 28, 22);
        TButton* b = *colourButtons[k];
        b->OnClick = [this, b](TObject*) { ColourButtonClick(b); };
        *colourImages[k] = ColourSwatch(c, X + 110, y + 1);
    }
    CBExpWaku = new TCheckBox(c, "囲み枠");
    CBExpWaku->SetBounds(X, 246, 70, 20);
    CBExpWaku->SetChecked(true);
    CBExpWaku->OnClick = [this](TObject* s) { CBExpWakuClick(s); };
    CBBold = new TCheckBox(c, "太枠");
    CBBold->SetBounds(X + 72, 246, 60, 20);
    CBBold->SetChecked(true);
    CBExpDisplay = new TCheckBox(c, "凡例(削除不可)");
    CBExpDisplay->SetBounds(X, 268, 140, 20);
    CBExpDisplay->SetVisible(false);
    CBMapWrite = new TCheckBox(c, "地図");
    CBMapWrite->SetBounds(X + 72, 266, 60, 18);
    CBMapWrite->SetChecked(true);
    for (TCheckBox* b : {CBBold, CBExpDisplay, CBMapWrite}) b->OnClick = [this](TObject*) { Button3Click(this); };

    Button3 = new TButton(c, "表示");
    Button3->SetBounds(8, 284, 70, 26);
    Button3->OnClick = [this](TObject* s) { Button3Click(s); };
    Button1 = new TButton(c, "読　込");
    Button1->SetBounds(82, 284, 70, 26);
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    Button2 = new TButton(c, "保　存");
    Button2->SetBounds(156, 284, 70, 26);
    Button2->OnClick = [this](TObject* s) { Button2Click(s); };
    Button8 = new TButton(c, "パターンコピー");
    Button8->SetBounds(230, 284, 110, 26);
    Button8->SetHint("ペイントパターンへコピー");
    Button8->OnClick = [this](TObject* s) { Button8Click(s); };
    Button4 = new TButton(c, "閉じる");
    Button4->SetBounds(344, 284, 80, 26);
    Button4->OnClick = [this](TObject*) { Close(); };
    Label22 = new TLabel(c, "");
    Label22->SetBounds(8, 316, 420, 18);
    Label20 = new TLabel(c, "凡例をドラッグして位置を変更できます");
    Label20->SetBounds(8, 336, 420, 18);

    SaveDialog1 = new TSaveDialog(this);
    SaveDialog1->DefaultExt = "exp";
    SaveDialog1->Filter = "凡例ファイル (*.exp)|*.exp|すべて (*,*)|*.*";
    SaveDialog1->OverwritePrompt = true;
    OpenDialog1 = new TOpenDialog(this);
    OpenDialog1->Filter = "凡例ファイル (*.exp)|*.exp|すべて (*.*)|*.*";
    ColorDialog1 = new TColorDialog(this);
    SetClientSize(440, 360);
}

void THanrei::FormCreate(TObject*) {
    for (int i = 0; i < 8; ++i) LegendColors[i] = MainStyle().DefPaintColor[i];
    LegendTextColor = 0x000000;
    LegendFillColor = 0xFFFFFF;
    LegendFrameColor = 0x000000;
    FillSwatch(Image9, LegendTextColor);
    FillSwatch(Image10, LegendFillColor);
    FillSwatch(Image11, LegendFrameColor);
    Label22->SetCaption("");
    UpdateRows();
    LegendOn = false;
}

void THanrei::FormShow(TObject*) { LegendOn = true; }

TImage* THanrei::RowImage(int i) const {
    TImage* const r[8] = {Image1, Image2, Image3, Image4, Image5, Image6, Image7, Image8};
    return r[i];
}

TEdit* THanrei::RowEdit(int i) const {
    TEdit* const r[8] = {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8};
    return r[i];
}

// Every redraw gathers the record, so a box that holds no number must not stop it.
bool THanrei::GatherLegend() {
    bool ok = true;
    LegendCount = UpDown1->Position();
    auto take = [&ok](TEdit* e, TUpDown* u, int32_t& field) {
        if (auto v = TryStrToInt(e->Text())) {
            field = *v;
            return;
        }
        ok = false;
        u->SetPosition(field);
        e->SetText(std::to_string(field));
    };
    take(Edit11, UpDown5, LegendW);
    take(Edit12, UpDown6, LegendH);
    take(Edit15, UpDown7, LegendGap);
    take(Edit13, UpDown3, LegendX);
    take(Edit14, UpDown4, LegendY);
    LegendTextSize = UpDown2->Position();
    for (int i = 0; i < 8; ++i) LegendTexts[i] = CutCp932(RowEdit(i)->Text(), TEXT_MAX);
    LegendTitle = CutCp932(Edit9->Text(), TEXT_MAX);
    return ok;
}

void THanrei::UpdateRows() {
    const int count = UpDown1->Position();
    for (int i = 0; i < 8; ++i) {
        const bool on = i < count;
        if (on) PaintSwatch(RowImage(i)->Canvas(), LegendColors[i], LegendPatterns[i]);
        else PaintSwatch(RowImage(i)->Canvas(), clWhite, 0);
        RowImage(i)->SetEnabled(on);
        RowEdit(i)->SetEnabled(on);
        RowLabel[i]->SetEnabled(on);
    }
}

void THanrei::Button3Click(TObject*) {
    if (!GatherLegend()) MessageBox(kNumberError, "凡例エラー", MB_OK | MB_ICONEXCLAMATION);
    RedrawMap();
    LegendOn = true;
}

void THanrei::ColourButtonClick(TButton* which) {
    TColor* field = which == Button5 ? &LegendTextColor : which == Button6 ? &LegendFillColor : &LegendFrameColor;
    TImage* swatch = which == Button5 ? Image9 : which == Button6 ? Image10 : Image11;
    ColorDialog1->Color = *field;
    if (!ColorDialog1->Execute()) return;
    *field = ColorDialog1->Color;
    FillSwatch(swatch, *field);
    Button3Click(this);
}

void THanrei::EnableByBoxes() {
    CBBold->SetEnabled(CBExpWaku->Checked());
    Edit9->SetEnabled(CBMenuTitle->Checked());
}

void THanrei::CBExpWakuClick(TObject*) {
    EnableByBoxes();
    Button3Click(this);
}

void THanrei::CBMenuTitleClick(TObject*) {
    EnableByBoxes();
    if (!MainUi().CBExp->Checked()) MainUi().CBExp->SetChecked(true);
    else CBExpClick(*Open, MainUi().CBExp);
    Button3Click(this);
}

// A swatch takes the paint slot in use; the map follows at the next "表示".
void THanrei::ImageClick(int row) {
    const int slot = PaintOf(*Open).PaintSlot;
    if (!MainTools().ToolAs<PaintTool>() || slot < 0 || slot > 7) return;
    LegendColors[row] = MainStyle().PaintColor[slot];
    LegendPatterns[row] = MainStyle().PaintPattern[slot];
    PaintSwatch(RowImage(row)->Canvas(), LegendColors[row], LegendPatterns[row]);
}

void THanrei::Button8Click(TObject*) {
    const int n = std::clamp<int>(LegendCount, 0, 8);
    for (int i = 0; i < n; ++i) {
        MainStyle().PaintColor[i] = LegendColors[i];
        MainStyle().PaintPattern[i] = LegendPatterns[i];
        ShowSlotPicture(MapPaint->SlotButton(i), LegendColors[i], LegendPatterns[i]);
    }
}

void LegendBlock::Write(gui::TextWriter& w) const {
    for (int32_t v : numbers) w.Printf("%10d\n", v);
    for (TColor c : {text, frame, fill}) w.Printf("0x%08x\n", unsigned(c));
    w.Printf("%s\n", title.c_str());
    for (int i = 0; i < numbers[0] && i < 8; ++i)
        w.Printf("0x%08x,0x%08x,%s\n", unsigned(rowColours[i]), unsigned(rowPatterns[i]), rowTexts[i].c_str());
}

int LegendBlock::Parse(std::span<const std::string> lines) {
    // A NUL in a text would cut it at the next save.
    auto line = [&lines](size_t k) -> const std::string* {
        return k < lines.size() && lines[k].find('\0') == std::string::npos ? &lines[k] : nullptr;
    };
    std::vector<std::string> f;
    for (size_t k = 0; k < 7; ++k) {
        if (!line(k)) return int(k) + 1;
        TMyStr::SplitFields(*line(k), f);
        numbers[k] = f.empty() ? 0 : LenientInt(f[0]);
        if (numbers[k] < THanrei::NUMBER_MIN[k] || numbers[k] > THanrei::NUMBER_MAX[k]) return int(k) + 1;
    }
    TColor* colours[3] = {&text, &frame, &fill};
    for (size_t k = 7; k < 10; ++k) {
        auto v = line(k) && TMyStr::SplitFields(*line(k), f) > 0 ? TryStrToInt(f[0]) : std::nullopt;
        if (!v) return int(k) + 1;
        *colours[k - 7] = TColor(*v);
    }
    if (!line(10)) return 11;
    title = CutCp932(*line(10), THanrei::TEXT_MAX);
    for (int i = 0; i < numbers[0]; ++i) {
        const std::string* s = line(11 + i);
        if (!s || TMyStr::SplitCsv(*s, f) < 2) return 12 + i;
        auto colour = TryStrToInt(f[0]);
        auto pattern = TryStrToInt(f[1]);
        if (!colour || !pattern || *pattern < 0 || *pattern > 255) return 12 + i;
        rowColours[i] = TColor(*colour);
        rowPatterns[i] = uint8_t(*pattern);
        // A description is the rest of its line, commas and blanks included, as written.
        const size_t a = s->find(','), b = s->find(',', a + 1);
        rowTexts[i] = CutCp932(b == std::string::npos ? std::string() : s->substr(b + 1), THanrei::TEXT_MAX);
    }
    return 0;
}

LegendBlock THanrei::FileBlock() const {
    LegendBlock g;
    const TUpDown* const updowns[7] = {UpDown1, UpDown5, UpDown6, UpDown7, UpDown3, UpDown4, UpDown2};
    for (int k = 0; k < 7; ++k) g.numbers[k] = updowns[k]->Position();
    g.text = LegendTextColor;
    g.frame = LegendFrameColor;
    g.fill = LegendFillColor;
    g.title = CutCp932(Edit9->Text(), TEXT_MAX);
    for (int i = 0; i < 8; ++i) {
        g.rowColours[i] = LegendColors[i];
        g.rowPatterns[i] = LegendPatterns[i];
        g.rowTexts[i] = CutCp932(RowEdit(i)->Text(), TEXT_MAX);
    }
    return g;
}

void THanrei::ShowBlock(const LegendBlock& g) {
    int32_t* fields[7] = {&LegendCount, &LegendW, &LegendH, &LegendGap, &LegendX, &LegendY, &LegendTextSize};
    TUpDown* updowns[7] = {UpDown1, UpDown5, UpDown6, UpDown7, UpDown3, UpDown4, UpDown2};
    for (int k = 0; k < 7; ++k) {
        *fields[k] = g.numbers[k];
        updowns[k]->SetPosition(g.numbers[k]);
    }
    LegendTextColor = g.text;
    LegendFrameColor = g.frame;
    LegendFillColor = g.fill;
    FillSwatch(Image9, LegendTextColor);
    FillSwatch(Image11, LegendFrameColor);
    FillSwatch(Image10, LegendFillColor);
    Edit9->SetText(g.title);
    LegendTitle = g.title;
    for (int i = 0; i < LegendCount; ++i) {
        LegendColors[i] = g.rowColours[i];
        LegendPatterns[i] = g.rowPatterns[i];
        LegendTexts[i] = g.rowTexts[i];
    }
    UpdateRows();
    for (int i = 0; i < 8; ++i) RowEdit(i)->SetText(i < LegendCount ? LegendTexts[i] : std::string());
}

void THanrei::RestoreLegend(const ProjectLegend& g) {
    ShowBlock(g);
    // Each box's handler would draw the legend half-restored.
    SetCheckedQuietly(CBExpWaku, g.frameBox);
    SetCheckedQuietly(CBBold, g.bold);
    SetCheckedQuietly(CBMenuTitle, g.titleBox);
    SetCheckedQuietly(CBExpDisplay, true);
    EnableByBoxes();
    LegendOn = true;
}

void THanrei::Button2Click(TObject*) {
    if (!SaveDialog1->Execute()) return;
    const std::string path = SaveDialog1->FileName;
    // Nothing is written from boxes that hold no number.
    for (TEdit* box : {Edit11, Edit12, Edit15, Edit13, Edit14})
        if (!TryStrToInt(box->Text())) {
            MessageBox(kNumberError, "凡例エラー", MB_OK | MB_ICONEXCLAMATION);
            return;
        }
    LegendFileName = path;
    const LegendBlock g = FileBlock();
    std::copy(g.rowTexts, g.rowTexts + 8, LegendTexts);
    const bool ok = gui::AtomicRewrite(path, [&](gui::TextWriter& w) {
        g.Write(w);
        return !w.Failed();
    });
    if (!ok)
        MessageBox(gui::Format("凡例ファイル %s を保存できませんでした", path.c_str()), "ファイル書き込みエラー",
                   MB_OK | MB_ICONEXCLAMATION);
}

void THanrei::Button1Click(TObject*) {
    if (!OpenDialog1->Execute()) return;
    const std::string path = OpenDialog1->FileName;
    gui::TextReader r;
    if (!r.Open(path)) {
        MessageBox(gui::Format("凡例ファイル %s を読み込むことができません", path.c_str()), "ファイルオープンエラー",
                   MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    std::vector<std::string> lines;
    std::string line;
    while (lines.size() < 19 && r.ReadLine(line)) lines.push_back(line);
    r.Close();
    LegendBlock g;
    if (int bad = g.Parse(lines)) {
        MessageBox(gui::Format("凡例ファイル %s の %d 行目が正しくありません", path.c_str(), bad),
                   "ファイル読み込みエラー", MB_OK | MB_ICONEXCLAMATION);
        return;
    }

    LegendFileName = path;
    Label22->SetCaption(path);
    SaveDialog1->FileName = gui::ExtractFileName(path);
    ShowBlock(g);
    Button3Click(this);
    Button2->SetEnabled(true);
}
