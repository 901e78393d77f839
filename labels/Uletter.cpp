// The label window: its controls, the label files and the prefecture tables.
#include "gui/FormParts.h"
#include "labels/Uletter.h"
#include "labels/LabelTools.h"
#include "engine/Coords.h"
#include "components/Mystr.h"
#include "engine/Convert.h"
#include "engine/MainControls.h"
#include "engine/MapDocument.h"
#include "engine/MapStyle.h"
#include "engine/ToolSlot.h"
#include "engine/Redraw.h"
#include "engine/MainForm.h"
#include "lines/MainFormLines.h"
#include "gui/Files.h"
#include "gui/TextFile.h"
#include "labels/Uinlabel.h"
#include "lines/Urail.h"

TLetter* Letter = nullptr;

using gui::Btn;
using gui::Check;
using gui::Lbl;

namespace {

TEdit* Edt(TForm* f, const std::string& text, int x, int y, int w, const std::string& hint = "") {
    auto* e = new TEdit(f, text);
    e->SetBounds(x, y, w, 22);
    if (!hint.empty()) e->SetHint(hint);
    return e;
}

void ReportUnreadable(const std::string& path) {
    MessageBox(gui::Format("ラベルデータファイル %s を読み込むことができません", path.c_str()), "ファイルオープンエラー",
               MB_OK | MB_ICONEXCLAMATION);
}

// True (each said) when none of the files can be read: the table then stays as it was.
bool NoneReadable(const std::vector<std::string>& paths) {
    for (const auto& p : paths)
        if (gui::FileExists(gui::NativePath(p))) return false;
    for (const auto& p : paths) ReportUnreadable(p);
    return true;
}

TMenuItem* PopItem(TPopupMenu* p, const std::string& caption) {
    auto* m = new TMenuItem(caption);
    p->Add(m);
    return m;
}

} // namespace

TLetter::TLetter() : TForm("　地図ラベル編集  ラベルテーブル") {
    SetFormStyle(fsStayOnTop);
    SetPosition(poScreenCenter);
    SetClientSize(620, 578);
    LabelTable.resize(LABEL_MAX);
    PrefNameTable.resize(PREF_RECORD_MAX);
    PrefSeatTable.resize(PREF_RECORD_MAX);

    LabelAll = Lbl(this, "全てのラベル", 8, 4, 120);
    const char* heads[10] = {"ﾏｰｸ", "経度座標", "緯度座標", "ラ　ベ　ル", "ｻｲｽﾞ", "表示", "JR", "主", "鉄", "番号"};
    const int widths[10] = {21, 61, 62, 133, 23, 26, 20, 21, 26, 27};
    int hx = 8;
    for (int c = 0; c < 10; ++c) {
        Lbl(this, heads[c], hx, 22, widths[c]);
        hx += widths[c] + 1;
    }
    StringGrid1 = new TCellGrid(this, 10, 301);
    StringGrid1->SetEditable(true);
    StringGrid1->SetSource(
        [this](int c, int r) { return r < LabelCount ? LabelCell(LabelTable[r], c) : std::string(); },
        [this](int c, int r, const std::string& s) { return r < LabelCount && TakeCell(r, c, s); });
    StringGrid1->SetBounds(8, 40, 460, 380);
    StringGrid1->SetRowHeights(18);
    for (int c = 0; c < 10; ++c) StringGrid1->SetColWidth(c, widths[c]);
    // The captions above are abbreviations; a screen reader says what each column holds.
    StringGrid1->SetColumnNames({"マーク", "経度座標", "緯度座標", "ラベル", "文字サイズ", "表示", "JR駅", "主要駅",
                                 "鉄道駅", "駅名ファイル番号"});
    Lbl(this, "ﾗﾍﾞﾙ選択右ｸﾘｯｸ→移動/削除/色変更/中心", 8, 424, 300);
    Lbl(this, "ﾗﾍﾞﾙﾀﾞﾌﾞﾙｸﾘｯｸ→表示/非表示", 8, 442, 300);

    Lbl(this, "読込済みﾗﾍﾞﾙﾌｧｲﾙ", 8, 462, 200);
    StringGrid2 = new TStringGrid(this, 2, 20);
    StringGrid2->FixedRows = 0;
    StringGrid2->FixedCols = 0;
    StringGrid2->SetBounds(8, 480, 460, 72);
    StringGrid2->SetColWidth(0, 440);
    StringGrid2->SetRowHeights(18);

    const int R = 476;
    Label8 = Lbl(this, "位置指定ボタンをクリック", R, 4, 144);
    RadioGroup1 = new TRadioGroup(this, "位置指定法");
    RadioGroup1->SetItems({"マウス", "経度/緯度", "ＸＹ座標"});
    RadioGroup1->SetItemIndex(0);
    RadioGroup1->SetBounds(R, 24, 136, 76);
    Edit2 = Edt(this, "", R, 104, 66, "経度例 134.1305");
    Edit3 = Edt(this, "", R + 70, 104, 66, "緯度例 35.0802");
    Button2 = Btn(this, "位置指定", R, 130, 66, "ﾗﾍﾞﾙ表示位置をｸﾘｯｸ");
    Button8 = Btn(this, "クリア", R + 70, 130, 66);
    Button3 = Btn(this, "保 存", R, 158, 66);
    Button7 = Btn(this, "読　込", R + 70, 158, 66);
    CBFileAdd = Check(this, "追加読込", R, 184, 80, false);
    Button14 = Btn(this, "再読込", R + 70, 204, 66, "下のファイルを再読込");
    Button10 = Btn(this, "コード順", R, 232, 66, "ラベル文字順に並べ替え");
    Button17 = Btn(this, "ﾌｧｲﾙ順", R + 70, 232, 66);
    Button15 = Btn(this, "表示ﾗﾍﾞﾙ", R, 260, 66, "表示されたﾗﾍﾞﾙのみ");
    Button16 = Btn(this, "非表示", R + 70, 260, 66);
    Lbl(this, "文字色", R, 290, 40);
    Image1 = new TImage(this);
    Image1->SetBounds(R + 42, 288, 20, 20);
    Image1->SetImageSize(20, 20);
    Button6 = Btn(this, "...", R + 66, 286, 24);
    Button11 = Btn(this, "変更", R + 94, 286, 42);
    Lbl(this, "サイズ", R, 316, 40);
    Edit1 = Edt(this, "8", R + 42, 314, 30);
    UpDown1 = new TUpDown(this);
    UpDown1->SetBounds(R + 72, 314, 16, 22);
    UpDown1->Min = 6;
    UpDown1->Max = 50;
    UpDown1->SetAssociate(Edit1);
    UpDown1->SetPosition(8);
    Button12 = Btn(this, "変更", R + 94, 312, 42);
    Edit4 = Edt(this, "　検索名", R, 342, 84);
    Edit4->setAccessibleName("検索名");
    Button13 = Btn(this, "検　索", R + 88, 340, 48);
    EnterPresses(Edit4, Button13);
    Edit5 = Edt(this, "0", R, 370, 50, "指定のﾌｧｲﾙ番号へジャンプ");
    UpDown2 = new TUpDown(this);
    UpDown2->SetBounds(R + 50, 370, 16, 22);
    UpDown2->Min = 0;
    UpDown2->Max = 100000;
    UpDown2->SetAssociate(Edit5);
    UpDown2->SetHint("指定のﾌｧｲﾙ番号へジャンプ");
    Label16 = Lbl(this, "0", R + 74, 372, 60);
    RadioGroup2 = new TRadioGroup(this, "文字ｻｲｽﾞ");
    RadioGroup2->SetItems({"×0.8", "×0.9", "×1.0", "×1.2", "×1.5", "×2.0"});
    RadioGroup2->SetColumns(2);
    RadioGroup2->SetItemIndex(2);
    RadioGroup2->SetBounds(R, 396, 136, 72);
    CBFontSizeFixed = Check(this, "文字ｻｲｽﾞ固定", R, 470, 136, true);
    CBWhiteBack = Check(this, "白", R, 490, 40, false, "ラベル背景色を白に");
    CBMark = Check(this, "マーク", R + 40, 490, 60, false);
    CBLabel = Check(this, "ラベル", R, 510, 64, true);
    CBShow = Check(this, "表示", R + 70, 510, 60, true);
    // Run by other code only.
    Button4 = Btn(this, "表　示", R, 534, 60);
    Button9 = Btn(this, "非表示", R + 64, 534, 60);
    Button4->SetVisible(false);
    Button9->SetVisible(false);

    PopupMenu1 = new TPopupMenu();
    N1 = PopItem(PopupMenu1, "このラベルを移動します");
    RemoveLabel = PopItem(PopupMenu1, "このラベルを削除します　　　");
    N2 = PopItem(PopupMenu1, "このラベルの文字色を変更します");
    LabelSearch = PopItem(PopupMenu1, "このラベルを市区町村名として検索します");
    k1 = PopItem(PopupMenu1, "このラベルを中心に表示します");
    StringGrid1->PopupMenu = PopupMenu1;

    OpenDialog1 = new TOpenDialog(this);
    OpenDialog1->Filter = "ラベルファイル (*.lbl)|*.lbl|全て (*.*)|*.*";
    OpenDialog1->MultiSelect = true;
    SaveDialog1 = new TSaveDialog(this);
    SaveDialog1->DefaultExt = "lbl";
    SaveDialog1->Filter = "ラベルファイル (*.lbl)|*.lbl|すべて (*.*)|*.*";
    SaveDialog1->OverwritePrompt = true;
    ColorDialog1 = new TColorDialog(this);

    Button3->OnClick = [this](TObject* s) { Button3Click(s); };
    Button7->OnClick = [this](TObject* s) { Button7Click(s); };
    Button14->OnClick = [this](TObject* s) { Button14Click(s); };
    Button4->OnClick = [this](TObject* s) { Button4Click(s); };
    Button9->OnClick = [this](TObject* s) { Button9Click(s); };
    CBShow->OnClick = [this](TObject* s) { CBShowClick(s); };
    CBWhiteBack->OnClick = [this](TObject* s) { Button4Click(s); };
    auto redraw = [](TObject*) { RedrawMap(); };
    RadioGroup2->OnClick = redraw;
    CBFontSizeFixed->OnClick = redraw;
    CBMark->OnClick = redraw;
    CBLabel->OnClick = redraw;
    Button2->OnClick = [this](TObject* s) { Button2Click(s); };
    Button6->OnClick = [this](TObject* s) { Button6Click(s); };
    Button8->OnClick = [this](TObject* s) { Button8Click(s); };
    Button10->OnClick = [this](TObject* s) { Button10Click(s); };
    LabelAll->OnDblClick = [this](TObject* s) { Button10Click(s); };
    Button11->OnClick = [this](TObject* s) { Button11Click(s); };
    Button12->OnClick = [this](TObject* s) { Button12Click(s); };
    Button13->OnClick = [this](TObject* s) { Button13Click(s); };
    Button15->OnClick = [this](TObject* s) { Button15Click(s); };
    Button16->OnClick = [this](TObject* s) { Button16Click(s); };
    Button17->OnClick = [this](TObject* s) { Button17Click(s); };
    UpDown2->OnClick = [this](TObject* s, TUDBtnType b) { UpDown2Click(s, b); };
    N1->OnClick = [this](TObject* s) { N1Click(s); };
    N2->OnClick = [this](TObject* s) { N2Click(s); };
    RemoveLabel->OnClick = [this](TObject* s) { RemoveLabelClick(s); };
    LabelSearch->OnClick = [this](TObject* s) { LabelSearchClick(s); };
    k1->OnClick = [this](TObject* s) { k1Click(s); };
    StringGrid1->OnClick = [this](TObject* s) { StringGrid1Click(s); };
    StringGrid1->OnDblClick = [this](TObject* s) { StringGrid1DblClick(s); };
    StringGrid1->OnExit = [this](TObject*) { Label8->SetCaption("位置指定ボタンをクリック"); };
}

void TLetter::FormCreate(TObject* Sender) {
    LabelPlaced = false;
    CenterLabelMark = false;
    AllLabelsShown = true;
    // The list of loaded files stays: it goes with the labels, which a view change keeps.
    FillSwatch();
    LoadPrefTables();
    Edit2->SetText("");
    Edit3->SetText("");
}

void TLetter::FillSwatch() {
    TCanvas* c = Image1->Canvas();
    c->Brush->Style = bsSolid;
    c->Brush->Color = Open ? MainStyle().LabelColor : 0x800000;
    c->FillRect(Rect(0, 0, c->Width(), c->Height()));
}

void TLetter::ShowCount() { Label16->SetCaption(std::to_string(LabelCount)); }

void TLetter::ShowTable() {
    StringGrid1->SetRowCount(std::max(LabelCount, 1));
    StringGrid1->Refresh();
    if (InLabel) InLabel->StringGrid1->Refresh();
}

std::string TLetter::LabelCell(const LabelRecord& r, int col) {
    const char* dot = "●";
    switch (col) {
    case 0: return r.mark;
    case 1: return std::to_string(r.x);
    case 2: return std::to_string(r.y);
    case 3: return r.text;
    case 4: return std::to_string(r.size);
    case 5: return r.shown ? dot : "";
    case 6: return r.jr ? dot : "";
    case 7: return r.main ? dot : "";
    case 8: return r.railway ? dot : "";
    case 9: return r.numbered ? std::to_string(r.fileNo) : "";
    default: return "";
    }
}

bool TLetter::TakeCell(int i, int col, const std::string& s) {
    if (i < 0 || i >= LabelCount) return false;
    LabelRecord& r = LabelTable[i];
    int32_t v = 0;
    const bool number = col == 1 || col == 2 || col == 4 || (col == 9 && !s.empty());
    if (number) {
        const bool ok = CellInt(s, v) && (col == 1 ? InMapRange(v, r.y) : col == 2 ? InMapRange(r.x, v) : true);
        if (!ok) {
            // The message takes the focus from the cell editor, which hands its text in once more.
            if (!Refusing) {
                Refusing = true;
                MessageBox(gui::Format("ラベル %d 行目の数値 '%s' が正しくありません", i + 1, s.c_str()),
                           "ラベルデータエラー", MB_OK | MB_ICONEXCLAMATION);
                Refusing = false;
            }
            ShowTable();
            return false;
        }
    }
    if ((col == 0 || col == 3) && LabelTextTooLong(s)) {
        if (!Refusing) {
            Refusing = true;
            MessageBox(gui::Format("ラベル %d 行目の文字列は %d バイトまでです", i + 1, LABEL_TEXT_BYTES),
                       "ラベルデータエラー", MB_OK | MB_ICONEXCLAMATION);
            Refusing = false;
        }
        ShowTable();
        return false;
    }
    switch (col) {
    case 0: r.mark = WithoutCommas(VisibleText(s)); break;
    case 1: r.x = v; break;
    case 2: r.y = v; break;
    case 3: r.text = VisibleText(s); break;
    case 4: r.size = v; break;
    case 5: r.shown = !s.empty(); break;
    case 6: r.jr = !s.empty(); break;
    case 7: r.main = !s.empty(); break;
    case 8: r.railway = !s.empty(); break;
    case 9: r.fileNo = v, r.numbered = !s.empty(); break;
    default: return false;
    }
    ShowTable();
    return true;
}

void TLetter::ShowLabelFiles() {
    LabelFileCount = int32_t(LabelFiles.size());
    StringGrid2->SetRowCount(std::max(1, LabelFileCount));
    if (LabelFileCount == 0) StringGrid2->SetCells(1, 0, "");
    for (int i = 0; i < StringGrid2->RowCount(); ++i) StringGrid2->SetCells(0, i, i < LabelFileCount ? LabelFiles[i] : "");
}

void TLetter::ClearLabels() {
    LabelCount = 0;
    ShowTable();
    ShowCount();
    LabelFiles.clear();
    ShowLabelFiles();
}

bool TLetter::ReportFull() {
    if (!FullReported)
        MessageBox(gui::Format("ラベルは %d 個までです．これ以上追加できません", LABEL_MAX), "ラベルデータエラー",
                   MB_OK | MB_ICONEXCLAMATION);
    FullReported = true;
    return false;
}

bool TLetter::AppendRow(const LabelRecord& r) {
    if (LabelCount >= LABEL_MAX) return ReportFull();
    LabelRecord& to = LabelTable[LabelCount];
    to = r;
    if (!to.id) to.id = ++LastLabelId;
    LabelCount++;
    // Rows are made in chunks, one grid resize per chunk; ShowTable trims the grid at the end.
    if (StringGrid1->RowCount() < LabelCount)
        StringGrid1->SetRowCount(std::min(LABEL_MAX, std::max(LabelCount, StringGrid1->RowCount() * 2)));
    return true;
}

int TLetter::RowOfLabel(uint32_t id, int hint) const {
    if (hint >= 0 && hint < LabelCount && LabelTable[hint].id == id) return hint;
    for (int i = 0; i < LabelCount; ++i)
        if (LabelTable[i].id == id) return i;
    return -1;
}

bool TLetter::AddNewLabel(int32_t x, int32_t y) {
    FullReported = false;
    LabelRecord r;
    r.mark = "○";
    r.x = x, r.y = y;
    r.text = "ラベル記入";
    r.size = UpDown1->Position();
    r.shown = true;
    r.color = MainStyle().LabelColor;
    if (!AppendRow(r)) return false;
    ShowTable();
    StringGrid1->SetRow(LabelCount - 1);
    StringGrid1->SetCol(3);
    Label8->SetCaption("ラベルを記入");
    return true;
}

std::string VisibleText(std::string s) {
    // An undecodable byte is kept as U+F700 + the byte (EF 9C..9F xx in UTF-8);
    // written back beside a character that changed, a lead byte would pair
    // with that character's first byte.
    size_t out = 0;
    for (size_t i = 0; i < s.size();) {
        const auto b = [&](size_t k) { return (unsigned char)s[k]; };
        if (b(i) == 0xEF && i + 2 < s.size() && b(i + 1) >= 0x9C && b(i + 1) <= 0x9F && (b(i + 2) & 0xC0) == 0x80) {
            s[out++] = '?';
            i += 3;
        } else {
            s[out++] = s[i++];
        }
    }
    s.resize(out);
    return s;
}

bool LabelTextTooLong(const std::string& s) {
    const size_t max = LABEL_TEXT_BYTES;
    // UTF-8 is never shorter than its CP932 bytes: most texts need no count.
    return s.size() > max && gui::Cp932Length(s) > max;
}

std::string CutLabelText(const std::string& s) {
    if (!LabelTextTooLong(s)) return s;
    return gui::Cp932ToUtf8(gui::CutCp932Bytes(gui::Utf8ToCp932(s), size_t(LABEL_TEXT_BYTES)));
}

bool LabelOfFields(const std::vector<std::string>& f, bool strict, TColor noColour, LabelRecord& r, bool* cut) {
    const size_t n = f.size();
    if (n < (strict ? 6u : 5u)) return false;
    // A comma in a text written as it stands leaves the text in several fields.
    const size_t sizeAt = n >= 6 ? n - 2 : 4;
    std::string text = f[3];
    for (size_t k = 4; k < sizeAt; ++k) text += "," + f[k];
    // A text past what the label window takes would slow every redraw: the
    // project refuses its line, a label file has it cut.
    const bool tooLong = LabelTextTooLong(text) || LabelTextTooLong(f[0]);
    if (tooLong && strict) return false;
    if (cut) *cut = tooLong;
    int32_t v[4] = {0, 0, 0, int32_t(noColour)};
    const std::string* numbers[4] = {&f[1], &f[2], &f[sizeAt], n >= 6 ? &f[n - 1] : nullptr};
    for (int k = 0; k < 4; ++k) {
        if (!numbers[k]) continue;
        if (!strict) {
            v[k] = LenientInt(*numbers[k]);
        } else if (!CellInt(*numbers[k], v[k])) {
            return false;
        }
    }
    r = LabelRecord();
    r.mark = VisibleText(CutLabelText(f[0]));
    r.x = v[0], r.y = v[1];
    r.text = VisibleText(CutLabelText(text));
    r.size = v[2];
    r.color = TColor(v[3]);
    return true;
}

bool TLetter::ParseLabelFile(const std::string& path, std::vector<LabelRecord>& rows) {
    rows.clear();
    gui::TextReader in;
    if (!in.Open(path)) {
        // Not the end of the program: the file is skipped.
        ReportUnreadable(path);
        return false;
    }
    const bool jr = path.find("JR") != std::string::npos;
    const bool main = path.find("主要") != std::string::npos;
    const bool railway = path.find("鉄道路線") != std::string::npos;
    if (railway && !MainUi().CBEki->Checked()) return true;
    std::vector<std::string> f;
    std::string line;
    LabelRecord r;
    int cutAt = 0;
    for (int lineNo = 1; in.ReadLine(line); ++lineNo) {
        f.resize(size_t(TMyStr::SplitCsv(line, f)));
        bool cut = false;
        if (!LabelOfFields(f, false, MainStyle().LabelColor, r, &cut)) continue;
        if (cut && !cutAt) cutAt = lineNo;
        // A position no map has is a broken file: none of it is taken.
        if (!InMapRange(r.x, r.y)) {
            rows.clear();
            MessageBox(gui::Format("ラベルデータファイル %s の %d 行目の座標値が正しくありません", path.c_str(), lineNo),
                       "ラベルデータエラー", MB_OK | MB_ICONEXCLAMATION);
            return false;
        }
        r.jr = jr, r.main = main, r.railway = railway;
        r.fileNo = RailOf(*Open).RailLabelCount;
        r.numbered = true;
        rows.push_back(std::move(r));
    }
    // Said once for the file, at its first such line.
    if (cutAt)
        MessageBox(gui::Format("ラベルデータファイル %s の %d 行目のラベルが長すぎるため，%d バイトまでで切りました",
                               path.c_str(), cutAt, LABEL_TEXT_BYTES),
                   "ラベルデータの確認", MB_OK | MB_ICONEXCLAMATION);
    return true;
}

void TLetter::AppendLabels(const std::vector<LabelRecord>& rows) {
    const bool info = RailControlsOf(*Open).RailInfo && RailControlsOf(*Open).RailInfo->Checked() && Rail && Rail->Label7;
    for (const LabelRecord& r : rows) {
        if (!AppendRow(r)) break;
        if (info) Rail->Label7->SetCaption("行数　" + std::to_string(LabelCount));
    }
    ShowTable();
}

bool TLetter::ReadLabelFile(const std::string& path) {
    std::vector<LabelRecord> rows;
    if (!ParseLabelFile(path, rows)) return false;
    AppendLabels(rows);
    return true;
}

void TLetter::Button3Click(TObject* Sender) {
    StopNewLabel();
    Label8->SetCaption("位置指定ボタンをクリック");
    if (!SaveDialog1->Execute()) return;
    LabelFileName = SaveDialog1->FileName;
    bool ok = gui::AtomicRewrite(LabelFileName, [&](gui::TextWriter& w) {
        for (int i = 0; i < LabelCount; ++i)
            if (LabelTable[i].shown && !w.Write(LabelLine(LabelTable[i]))) return false;
        return true;
    });
    if (!ok) {
        MessageBox(gui::Format("ラベルファイル %s を保存できませんでした", LabelFileName.c_str()), "ファイル保存エラー",
                   MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    Button4->SetEnabled(true);
    Button3->SetEnabled(false);
}

std::string WithoutCommas(std::string s) {
    if (s.find(',') == std::string::npos) return s;
    std::string out;
    out.reserve(s.size() + s.size() / 4);
    for (char c : s) {
        if (c == ',') out += "，";
        else out += c;
    }
    return out;
}

std::string LabelLine(const LabelRecord& r) {
    // A comma inside a text would split the field when read back.
    return gui::Format("%s,%d,%d,%s,%d,%d\n", WithoutCommas(r.mark).c_str(), r.x, r.y, WithoutCommas(r.text).c_str(),
                       r.size, int(r.color));
}

void TLetter::Button7Click(TObject* Sender) {
    if (!OpenDialog1->Execute()) return;
    FullReported = false;
    std::vector<std::string> chosen = OpenDialog1->Files;
    if (chosen.empty()) chosen.push_back(OpenDialog1->FileName);
    if (NoneReadable(chosen)) return;
    // Files past the list's room are neither listed nor read, and said so once.
    const size_t room = size_t(LABEL_FILE_MAX - (CBFileAdd->Checked() ? LabelFileCount : 0));
    if (chosen.size() > room) {
        MessageBox(gui::Format("ラベルファイルは %d 個までです．これ以上読み込めません", LABEL_FILE_MAX),
                   "ラベルデータエラー", MB_OK | MB_ICONEXCLAMATION);
        chosen.resize(room);
    }
    // Every file is read before the table changes: files with no label
    // between them leave the labels the user had.
    std::vector<std::vector<LabelRecord>> read(chosen.size());
    bool found = false;
    for (size_t i = 0; i < chosen.size(); ++i) {
        ParseLabelFile(chosen[i], read[i]);
        found = found || !read[i].empty();
    }
    if (!found) {
        MessageBox("ラベルデータはありませんでした　　　　　　", "ラベルデータエラー", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    RedrawOnce once;   // the label boxes ticked below each redraw
    if (!CBFileAdd->Checked()) {
        LabelCount = 0;
        LabelFiles.clear();
    }
    for (const auto& p : chosen) LabelFiles.push_back(p);
    ShowLabelFiles();
    for (const auto& rows : read) AppendLabels(rows);
    Button2->SetEnabled(true);
    Button4->SetEnabled(true);
    Button9->SetEnabled(true);
    Button8->SetEnabled(true);
    MainUi().CBLabel->SetChecked(true);
    CBMark->SetChecked(false);
    Button9Click(this);
    Button4Click(this);
    Button3->SetEnabled(true);
    ShowCount();
}

void TLetter::Button14Click(TObject* Sender) {
    // With nothing listed, or nothing of it left to read, the labels on view stay.
    if (LabelFileCount == 0 || NoneReadable(LabelFiles)) return;
    FullReported = false;
    LabelCount = 0;
    for (int i = 0; i < LabelFileCount; ++i) ReadLabelFile(LabelFiles[i]);
    ShowTable();
    ShowCount();
    Button8->SetEnabled(true);
}

void TLetter::Button4Click(TObject* Sender) {
    Label8->SetCaption("位置指定ボタンをクリック");
    StopNewLabel();
    Button9->SetEnabled(true);
    MainUi().CBLabel->SetChecked(true);
    if (LabelPlaced) RedrawMap();
}

void TLetter::Button9Click(TObject* Sender) {
    RedrawOnce once;
    MainUi().CBLabel->SetChecked(false);
    RedrawMap();
}

void TLetter::CBShowClick(TObject* Sender) {
    if (CBShow->Checked())
        Button4Click(Sender);
    else
        Button9Click(Sender);
}

// The prefecture names and capitals, by record index.
void TLetter::LoadPrefTables() {
    auto load = [&](const char* name, const char* missing, std::vector<LabelRecord>& table, int32_t& count,
                    int32_t size, TColor color) {
        gui::TextReader in;
        const std::string path = MainDoc().AppDir + "/Mapdata/" + name;
        if (!in.Open(path)) {
            count = 0;
            MessageBox(missing, "ファイルエラー", MB_OK | MB_ICONEXCLAMATION);
            return false;
        }
        std::vector<std::string> f;
        std::string line;
        std::vector<LabelRecord> read;
        for (int lineNo = 1; int(read.size()) < PREF_RECORD_MAX && in.ReadLine(line); ++lineNo) {
            int n = TMyStr::SplitCsv(line, f);
            f.resize(std::max(n, 4));
            LabelRecord r;
            r.mark = f[0];
            r.x = LenientInt(f[1]);
            r.y = LenientInt(f[2]);
            // A position no map has: the names stay as they were.
            if (!InMapRange(r.x, r.y)) {
                MessageBox(gui::Format("%s の %d 行目の座標値が正しくありません", gui::ResolvePath(path).c_str(), lineNo),
                           "ファイルエラー", MB_OK | MB_ICONEXCLAMATION);
                return true;
            }
            r.text = f[3];
            r.size = size;
            r.color = color;
            read.push_back(std::move(r));
        }
        count = int32_t(read.size());
        std::move(read.begin(), read.end(), table.begin());
        return true;
    };
    if (!load("prefname.lbl", "都道府県名ファイルprefname.lblが見つかりません", PrefNameTable, PrefNameCount,
              MainStyle().DefPrefSize, MainStyle().DefPrefColor))
        return;
    load("prefseat.lbl", "県庁所在地ファイルprefseat.lblが見つかりません", PrefSeatTable, PrefSeatCount,
         MainStyle().DefPrefSeatSize, MainStyle().DefPrefSeatColor);
}

bool CellInt(const std::string& s, int32_t& v) {
    const std::optional<int> r = TryStrToInt(s);
    if (r) v = *r;
    return r.has_value();
}

void TLetter::StopNewLabel() {
    if (auto* t = MainTools().ToolAs<LabelTool>()) {
        t->NewLabel = false;
        t->Settle();
    }
}

bool TLetter::PlacingNewLabel() const {
    const auto* t = MainTools().ToolAs<LabelTool>();
    return t && t->NewLabel;
}

bool TLetter::MovingLabel() const {
    const auto* t = MainTools().ToolAs<LabelTool>();
    return t && t->MoveLabel;
}
