// The line editor: the edited line in its point grid, its file, and the
// line files loaded for display.
#include "lines/Ulineadd.h"
#include "gui/FormParts.h"
#include "components/Mystr.h"
#include "engine/Convert.h"
#include "engine/Coords.h"
#include "engine/MainControls.h"
#include "engine/MapDocument.h"
#include "engine/ToolSlot.h"
#include "engine/Redraw.h"
#include "engine/MainForm.h"
#include "lines/LineTools.h"
#include "gui/Files.h"
#include "gui/TextFile.h"
#include "labels/Uletter.h"
#include "labels/Upagesdlg.h"
#include "lines/Ulineset.h"
#include "navigation/Usettei.h"
#include <QSignalBlocker>
#include <algorithm>

TLineAdd* LineAdd = nullptr;

using namespace gui;

namespace {

const TColor kDefaultColors[LINE_COLOR_MAX] = {255,    0xFF0000, 0xFFFF00, 0,    0x808080,
                                               0x8000, 0x808000, 0x80,     0xFFFF, 0xFF00FF};

// The edited line's file: header and rows, read whole before anything changes.
struct EditFile {
    LineFileHeader head;
    std::vector<std::array<int32_t, 2>> pts;
};

// "" when read, else the message to show.
std::string ReadEditFile(const std::string& path, EditFile& f) {
    gui::TextReader in;
    if (!in.Open(path)) return gui::Format("地図線ファイル %s を開くことができません", path.c_str());
    std::string line;
    if (!in.ReadLine(line) || !ParseLineHeader(line, f.head))
        return gui::Format("地図線ファイル %s の見出し行が正しくありません", path.c_str());
    std::vector<std::string> fields;
    const size_t want = size_t(std::max(0, f.head.Points));
    for (int lineNo = 2; f.pts.size() < want && in.ReadLine(line); lineNo++) {
        int n = TMyStr::SplitCsv(line, fields);
        int pairs = n <= 3 ? 1 : std::min(5, n / 2);
        for (int k = 0; k < pairs && f.pts.size() < want; k++) {
            int32_t x, y;
            if (2 * k + 1 >= n || !CellInt(fields[2 * k], x) || !CellInt(fields[2 * k + 1], y) || !InMapRange(x, y))
                return gui::Format("地図線ファイル %s の %d 行目の座標値が正しくありません", path.c_str(), lineNo);
            f.pts.push_back({x, y});
        }
    }
    return "";
}

} // namespace

// Every value within what the editor's controls can give: a width of 100000
// would paint the whole map.
bool ParseLineHeader(std::string_view line, LineFileHeader& h) {
    static thread_local std::vector<std::string> f;
    if (TMyStr::SplitFields(line, f) < 9 || f[0] != "K") return false;
    LineFileHeader r;
    r.Points = LenientInt(f[2]);
    r.Color = LenientInt(f[3]);
    r.LineType = LenientInt(f[4]);
    r.Size = LenientInt(f[5]);
    r.Arrow = LenientInt(f[6]);
    r.Asize = LenientInt(f[7]);
    r.Step = LenientInt(f[8]);
    auto in = [](int32_t v, int32_t lo, int32_t hi) { return v >= lo && v <= hi; };
    if (!in(r.Points, 0, INT32_MAX) || !in(r.LineType, 0, 4) || !in(r.Size, LINE_SIZE_MIN, LINE_SIZE_MAX) ||
        !in(r.Arrow, 0, 2) || !in(r.Asize, ARROW_SIZE_MIN, ARROW_SIZE_MAX) || !in(r.Step, 0, ARROW_STEP_MAX))
        return false;
    h = r;
    return true;
}

std::string LineFileFault(const std::string& path) {
    gui::TextReader in;
    if (!in.Open(path)) return gui::Format("地図線ファイル %s を読み込むことができません", path.c_str());
    std::string line;
    LineFileHeader h;
    if (!in.ReadLine(line) || !ParseLineHeader(line, h))
        return gui::Format("地図線ファイル %s の見出し行が正しくありません", path.c_str());
    return "";
}

TLineAdd::TLineAdd() : TForm("地図線の編集・表示") {
    SetFormStyle(fsStayOnTop);
    SetPosition(poScreenCenter);
    QWidget* c = Client();

    TGroupBox* edit = new TGroupBox(c, "編集");
    edit->SetBounds(8, 8, 300, 482);
    Button2 = Btn(edit, "新規作成", 8, 20, 90, "新規に地図線データ作成");
    Button1 = Btn(edit, "ﾌｧｲﾙ読込", 102, 20, 90, "地図線データを読み込んで編集");
    Button6 = Btn(edit, "ﾌｧｲﾙ保存", 196, 20, 90, "編集データの保存");
    Label10 = Lbl(edit, "", 8, 50, 280);
    Label7 = Lbl(edit, "", 8, 70, 280);
    StringGrid1 = new TStringGrid(edit, 3, 1);
    StringGrid1->FixedRows = 0;
    StringGrid1->FixedCols = 1;
    StringGrid1->SetBounds(8, 92, 180, 200);
    StringGrid1->SetRowSelect(true);
    Lbl(edit, "点数", 196, 92, 40);
    Label2 = Lbl(edit, "0", 240, 92, 50);
    UpDown1 = Spin(edit, Edit1, 196, 114, 0, 0, 0);
    Button7 = Btn(edit, "挿　入", 196, 142, 64, "選択した点の次に新しい点を作る");
    CheckBox7 = Check(edit, "", 264, 145, 20, false, "チェックして挿入で点を追加する");
    Button3 = Btn(edit, "削　除", 196, 172, 64, "選択した点の削除");
    Button11 = Btn(edit, "移　動", 196, 202, 64, "選択した点の移動");
    Button10 = Btn(edit, "終わり", 196, 232, 64, "地図点追加終了");
    CBLoop = Check(edit, "", 264, 235, 20, false, "閉じた曲線");
    Lbl(edit, "閉", 284, 235, 14);
    Button13 = Btn(edit, "切断", 196, 262, 64, "地図線データ切断点挿入");

    int y = 300;
    Lbl(edit, "色", 8, y + 4, 20);
    Image1 = Swatch(edit, 30, y, 24);
    Button12 = Btn(edit, "...", 58, y, 28, "色設定");
    Lbl(edit, "太さ", 94, y + 4, 30);
    UpDown2 = Spin(edit, Edit2, 124, y, 1, 20, 1);
    CBArrow = Check(edit, "矢印", 190, y + 2, 50);
    CheckBox1 = Check(edit, "▲", 242, y + 2, 40);
    y += 30;
    RadioGroup1 = new TRadioGroup(edit, "線種");
    RadioGroup1->SetItems({"実線", "破線", "点線", "一点鎖線", "二点鎖線"});
    RadioGroup1->SetColumns(2);
    RadioGroup1->SetItemIndex(0);
    RadioGroup1->SetHint("実線以外は太さ1のときのみ選択可");
    RadioGroup1->SetBounds(8, y, 180, 80);
    Lbl(edit, "矢印長", 194, y, 50);
    UpDown3 = Spin(edit, Edit3, 194, y + 18, 5, 50, 12);
    Lbl(edit, "間隔", 194, y + 44, 50);
    UpDown4 = Spin(edit, Edit4, 194, y + 60, 0, 200, 0);
    y += 88;
    Button9 = Btn(edit, "移動", 8, y, 50, "地図線を平行移動する");
    Lbl(edit, "x", 62, y + 4, 10);
    UpDown6 = Spin(edit, Edit6, 72, y, -100, 100, 0);
    Lbl(edit, "y", 134, y + 4, 10);
    UpDown7 = Spin(edit, Edit7, 144, y, -100, 100, 0);
    Label19 = Lbl(edit, "0", 210, y, 40);
    Label20 = Lbl(edit, "0", 252, y, 40);
    y += 32;
    CheckBox3 = Check(edit, "", 8, y + 3, 20);
    CheckBox3->SetHint("編集データの表示");
    BtnEdit = Btn(edit, "表　示", 30, y, 80, "編集中の地図線表示");
    Button5 = Btn(edit, "編集終了", 116, y, 80, "編集作業を終了する");

    TGroupBox* shown = new TGroupBox(c, "地図線読込");
    shown->SetBounds(316, 8, 200, 300);
    BtnFile = Btn(shown, "地図線読込", 8, 20, 100, "複数ファイル選択可");
    CBFileAdd = Check(shown, "追加", 116, 23, 70, false, "地図線データを追加する");
    Label18 = Lbl(shown, "ファイル　なし", 8, 52, 180);
    CheckBox2 = Check(shown, "表示", 8, 76, 80, false, "地図線の表示・非表示");
    Button4 = Btn(shown, "ク リ ア", 96, 74, 90, "呼出ファイルを破棄");
    CheckBox4 = Check(shown, "塗り分け境界線", 8, 106, 180, false, "地図線をペイント境界線として使用する");
    Button15 = Btn(shown, "属性変更", 8, 134, 100, "地図線の属性変更");
    // Hidden options: one size and one colour for every line.
    CheckBox5 = Check(shown, "線ｻｲｽﾞ", 8, 170, 80);
    UpDown5 = Spin(shown, Edit5, 90, 168, 1, 20, 1);
    CheckBox6 = Check(shown, "色", 8, 198, 50);
    Button8 = Btn(shown, "...", 60, 196, 28, "");
    Image2 = Swatch(shown, 92, 197, 24);
    Button14 = Btn(shown, "test", 8, 230, 60, "");
    for (QWidget* w : std::initializer_list<QWidget*>{CheckBox5, UpDown5, Edit5, CheckBox6, Button8, Image2, Button14})
        w->setVisible(false);

    OpenDialog1 = new TOpenDialog(this);
    OpenDialog1->Filter = "追加線ファイル(*.adl)|*.adl|すべて(*.*)|*.*";
    SaveDialog1 = new TSaveDialog(this);
    SaveDialog1->Filter = OpenDialog1->Filter;
    SaveDialog1->DefaultExt = "adl";
    SaveDialog1->OverwritePrompt = true;
    OpenDialog2 = new TOpenDialog(this);
    OpenDialog2->Filter = "地図線ファイル(*.adl)|*.adl|すべて(*.*)|*.*";
    OpenDialog2->MultiSelect = true;
    ColorDialog1 = new TColorDialog(this);
    SetClientSize(524, 498);

    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    Button2->OnClick = [this](TObject* s) { Button2Click(s); };
    Button3->OnClick = [this](TObject* s) { Button3Click(s); };
    Button4->OnClick = [this](TObject* s) { Button4Click(s); };
    Button5->OnClick = [this](TObject* s) { Button5Click(s); };
    Button6->OnClick = [this](TObject* s) { Button6Click(s); };
    Button7->OnClick = [this](TObject* s) { Button7Click(s); };
    Button8->OnClick = [this](TObject* s) { Button8Click(s); };
    Button9->OnClick = [this](TObject* s) { Button9Click(s); };
    Button10->OnClick = [this](TObject* s) { Button10Click(s); };
    Button11->OnClick = [this](TObject* s) { Button11Click(s); };
    Button12->OnClick = [this](TObject* s) { Button12Click(s); };
    Button13->OnClick = [this](TObject* s) { Button13Click(s); };
    Button14->OnClick = [this](TObject* s) { Button14Click(s); };
    Button15->OnClick = [this](TObject* s) { Button15Click(s); };
    BtnEdit->OnClick = [this](TObject* s) { BtnEditClick(s); };
    BtnFile->OnClick = [this](TObject* s) { BtnFileClick(s); };
    CheckBox1->OnClick = [this](TObject* s) { CheckBox1Click(s); };
    CheckBox2->OnClick = [this](TObject* s) { CheckBox2Click(s); };
    CheckBox3->OnClick = [this](TObject* s) { CheckBox3Click(s); };
    CheckBox4->OnClick = [this](TObject* s) { CheckBox4Click(s); };
    CheckBox5->OnClick = [this](TObject* s) { CheckBox5Click(s); };
    CheckBox6->OnClick = [this](TObject* s) { CheckBox6Click(s); };
    CBArrow->OnClick = [this](TObject* s) { CBArrowClick(s); };
    RadioGroup1->OnClick = [this](TObject* s) { RadioGroup1Click(s); };
    StringGrid1->OnClick = [this](TObject* s) { StringGrid1Click(s); };
    UpDown1->OnClick = [this](TObject* s, TUDBtnType b) { UpDown1Click(s, b); };
    UpDown2->OnClick = [this](TObject* s, TUDBtnType b) { UpDown2Click(s, b); };
    UpDown3->OnClick = [this](TObject* s, TUDBtnType b) { UpDown3Click(s, b); };
    UpDown4->OnClick = [this](TObject* s, TUDBtnType b) { UpDown4Click(s, b); };
}

void TLineAdd::FormCreate(TObject*) {
    std::copy(std::begin(kDefaultColors), std::end(kDefaultColors), ColorTable);
    std::copy(std::begin(kDefaultColors), std::end(kDefaultColors), DefaultColorTable);
    CheckBox2->SetChecked(true);
    CheckBox2->SetEnabled(false);
    CheckBox3->SetChecked(true);
    CheckBox1->SetEnabled(false);
    UpDown3->SetEnabled(false);
    UpDown4->SetEnabled(false);
    FillSwatch(Image1, LineColor);
    FillSwatch(Image2, UnifiedLineColor);
    DisableEditControls();
    Button10->SetEnabled(false);
    Button13->SetEnabled(false);
    CBLoop->SetEnabled(false);
    Button4->SetEnabled(false);

    // The station-file count of the label window belongs to the railway load.
    Letter->Label25 = Lbl(Letter, "0", 8, 556, 60);
}

// ---- Operations offered to other windows ----

void TLineAdd::SetEditControls(bool on) {
    for (QWidget* w : std::initializer_list<QWidget*>{Button1, Button2, Button3, Button5, Button6, Button7, BtnFile,
                                                      Button10, Button11, Button12, BtnEdit, Edit1, UpDown1, UpDown2,
                                                      UpDown3, UpDown4, RadioGroup1, CBArrow, CheckBox1, CheckBox3,
                                                      CheckBox7, Button9, UpDown6, UpDown7})
        w->setEnabled(on);
}

void TLineAdd::EnableEditControls() { SetEditControls(true); }

void TLineAdd::DisableEditControls() { SetEditControls(false); }

void TLineAdd::EnablePointControls() {
    for (QWidget* w : std::initializer_list<QWidget*>{Button3, Button7, Button11, UpDown1, Edit1, StringGrid1, BtnEdit})
        w->setEnabled(true);
}

// Opened from the main window. A line in hand keeps its controls as they are,
// so that it can still be ended, saved or left; without one the editor starts afresh.
void TLineAdd::OpenEditor() {
    if (PointCount() == 0 && PointMode() == 0) {
        DisableEditControls();
        for (QWidget* w : std::initializer_list<QWidget*>{Button1, Button2, BtnFile}) w->setEnabled(true);
    }
    Show();
}

int TLineAdd::ColourNumber(int count, TColor colour, int& number) {
    for (int i = 0; i < count && i < LINE_COLOR_MAX; i++)
        if (ColorTable[i] == colour) {
            number = i + 1;
            return count;
        }
    if (count >= LINE_COLOR_MAX) {
        number = LINE_COLOR_MAX;
        return count;
    }
    ColorTable[count] = colour;
    LineSet->FillSwatch(count + 1, colour);
    number = count + 1;
    return count + 1;
}

std::string TLineAdd::FileDisplayName(const std::string& path) {
    // Only the text of the path: this runs for every line file on every redraw.
    std::string name = path.substr(path.find_last_of("/\\") + 1);
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

void TLineAdd::ShowRow(int row) {
    const LinePoint& p = Points[size_t(row)];
    StringGrid1->SetCells(0, row, std::to_string(row));
    StringGrid1->SetCells(1, row, p.Empty ? "" : std::to_string(p.X));
    StringGrid1->SetCells(2, row, p.Empty ? "" : std::to_string(p.Y));
}

void TLineAdd::ShowPoints() {
    StringGrid1->SetRowCount(std::max<int>(1, int(Points.size())));
    if (Points.empty())
        for (int c = 0; c < 3; c++) StringGrid1->SetCells(c, 0, "");
    for (size_t i = 0; i < Points.size(); i++) ShowRow(int(i));
    Label2->SetCaption(std::to_string(PointCount()));
}

int TLineAdd::PointCount() const {
    return int(std::count_if(Points.begin(), Points.end(), [](const LinePoint& p) { return !p.Empty; }));
}

void TLineAdd::DropOpenRow() {
    std::erase_if(Points, [](const LinePoint& p) { return p.Empty; });
    ShowPoints();
}

void TLineAdd::SetPoints(const std::vector<std::array<int32_t, 2>>& pts) {
    Points.clear();
    for (const auto& p : pts) Points.push_back({p[0], p[1]});
    ShowPoints();
}

void TLineAdd::SetPoint(int row, LinePoint p) {
    if (row < 0) return;
    if (size_t(row) >= Points.size()) {
        Points.resize(size_t(row) + 1, LinePoint{0, 0, true});
        Points[size_t(row)] = p;
        ShowPoints();
        return;
    }
    Points[size_t(row)] = p;
    ShowRow(row);
    Label2->SetCaption(std::to_string(PointCount()));
}

bool TLineAdd::RowPixel(int i, int& X, int& Y) const { return RowPixel(DrawnMapView(), i, X, Y); }

bool TLineAdd::RowPixel(const MapView& view, int i, int& X, int& Y) const {
    if (i < 0 || size_t(i) >= Points.size() || Points[size_t(i)].Empty) return false;
    view.ToScreen(Points[size_t(i)].X, Points[size_t(i)].Y, X, Y);
    return true;
}

void TLineAdd::MarkSelectedPoint() {
    int X, Y;
    int r = StringGrid1->Row();
    if (r < 0 || r >= PointCount() || !RowPixel(r, X, Y)) return;
    TCanvas* cv = MainUi().Image1->Canvas();
    cv->Pen->Color = 0xFF0000;
    cv->Pen->Width = 1;
    cv->Pen->Style = psSolid;
    cv->Ellipse(X - 2, Y - 2, X + 2, Y + 2);
}

void TLineAdd::SelectRow(int r) {
    if (PointCount() <= 0) return;
    r = std::clamp(r, 0, PointCount() - 1);
    StringGrid1->SetRow(r);
    UpDown1->Max = PointCount() - 1;
    UpDown1->SetPosition(r);
    DrawEditLine();
    MarkSelectedPoint();
}

// ---- The edited line ----

void TLineAdd::Button2Click(TObject*) {
    if (PointCount() >= 2 && !LineSaved &&
        MessageBox("編集された線データが保存されていませんが，新規にデータを作成しますか？　　　　", "線データ新規作成",
                   MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    // Any other tool ends first; the line's points are placed from the press after this redraw.
    if (!MainTools().ToolAs<LinePointTool>()) MainTools().EndActiveTool();
    EditFileName.clear();
    SetPoints({});   // the old line leaves the map with this redraw
    RedrawMap();
    Label10->SetCaption("新規作成");
    Label7->SetCaption("0 番目の点を指定してください");
    ArmPoint(LinePointTool::Append);
    EditLineShown = true;
    DisableEditControls();
    Button10->SetEnabled(true);
    Button13->SetEnabled(true);
    CBLoop->SetEnabled(true);
    CheckBox3->SetChecked(true);
}

// The press awaited is called off: adding ends as "終わり" ends it, an insert
// gives back the row it opened, a move leaves the point where it was.
void TLineAdd::EndPointMode(int kind) {
    if (kind == LinePointTool::Append) {
        Button10Click(Button10);
        return;
    }
    if (kind == LinePointTool::Insert) {
        DropOpenRow();
        Label7->SetCaption("挿入を中止しました");
    } else {
        Label7->SetCaption("移動を中止しました");
    }
    EnablePointControls();
    RedrawMap();
}

void TLineAdd::Button10Click(TObject*) {
    MainTools().FinishTool<LinePointTool>();
    LineSaved = 0;
    DropOpenRow();   // an append ended before its press
    if (PointCount() >= 2) {
        EnableEditControls();
        if (CBLoop->Checked()) {
            SetPoint(PointCount(), Points[0]);
            DrawEditLine();
        }
        Label7->SetCaption("編集できます");
        Label10->SetCaption("編集データ未保存");
        UpDown1->Max = PointCount() - 1;
        UpDown1->SetPosition(PointCount() - 1);
        Button10->SetEnabled(false);
        Button13->SetEnabled(false);
        CheckBox7->SetEnabled(true);
    } else {
        Button1->SetEnabled(true);
        Button2->SetEnabled(true);
        BtnFile->SetEnabled(true);
        RedrawMap();
        Label7->SetCaption("編集するデータがありません");
        Button10->SetEnabled(false);
    }
}

void TLineAdd::Button7Click(TObject*) {
    int r = StringGrid1->Row();
    const bool append = CheckBox7->Checked();
    if (append || r < 0 || r >= PointCount()) {
        r = PointCount() - 1;
        ArmPoint(append ? LinePointTool::Append : LinePointTool::Insert);
        if (append) Button13->SetEnabled(true);
    } else {
        ArmPoint(LinePointTool::Insert);
    }
    Label7->SetCaption(std::to_string(r + 1) + " 番目の点を指定してください");
    // Rows after r move down one; their numbers follow.
    std::erase_if(Points, [](const LinePoint& p) { return p.Empty; });
    Points.insert(Points.begin() + (r + 1), LinePoint{0, 0, true});
    ShowPoints();
    SelectedPoint = r + 1;
    DisableEditControls();
    if (append) {
        CheckBox7->SetChecked(false);
        Button10->SetEnabled(true);
        CBLoop->SetEnabled(true);
    }
    LineSaved = 0;
}

void TLineAdd::Button3Click(TObject*) {
    if (PointCount() <= 0) return;
    int r = std::clamp(StringGrid1->Row(), 0, PointCount() - 1);
    Label7->SetCaption(std::to_string(r) + " 番目の点を削除しました");
    Points.erase(Points.begin() + r);
    ShowPoints();
    RedrawMap();
    if (PointCount() > 0) SelectRow(r < PointCount() ? r : r - 1);
    LineSaved = 0;
}

void TLineAdd::Button11Click(TObject*) {
    if (PointCount() <= 0) return;
    SelectedPoint = std::clamp(StringGrid1->Row(), 0, PointCount() - 1);
    Label7->SetCaption(std::to_string(SelectedPoint) + " 番目の点の移動先を指定してください");
    ArmPoint(LinePointTool::MovePoint);
    DisableEditControls();
    LineSaved = 0;
}

void TLineAdd::Button13Click(TObject*) {
    if (PointMode() == LinePointTool::Insert) {
        SetPoint(SelectedPoint, {0, 0});
    } else {
        const int n = PointCount();
        SetPoint(n, {0, 0});
        StringGrid1->SetRow(n);
        SelectedPoint++;
    }
    RedrawMap();
}

void TLineAdd::Button9Click(TObject*) {
    const int dx = UpDown6->Position(), dy = UpDown7->Position();
    if (dx == 0 && dy == 0) {
        MessageBox("xおよびy方向移動量が設定されていませんので，移動できません　　　", "座標値移動",
                   MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (MessageBox(gui::Format("すべての座標値をx方向に%d，y方向に%d移動しますか？　　　", dx, dy), "座標値移動",
                   MB_OKCANCEL) != IDOK)
        return;
    // Kept within the map's range, so the file saved reads back.
    auto shifted = [](int32_t v, int d) {
        return int32_t(std::clamp<int64_t>(int64_t(v) + d, -MAP_COORD_LIMIT, MAP_COORD_LIMIT));
    };
    for (LinePoint& p : Points) {
        if (p.Empty || (p.X == 0 && p.Y == 0)) continue;   // a break stays a break
        p.X = shifted(p.X, dx);
        p.Y = shifted(p.Y, dy);
    }
    ShowPoints();
    StringGrid1->SetRow(std::max(0, PointCount() - 1));
    RedrawMap();
    DrawEditLine();
    UpDown6->SetPosition(0);
    UpDown7->SetPosition(0);
    Label19->SetCaption(std::to_string(LenientInt(Label19->Caption()) + dx));
    Label20->SetCaption(std::to_string(LenientInt(Label20->Caption()) + dy));
    LineSaved = 0;
}

void TLineAdd::StringGrid1Click(TObject*) { SelectRow(StringGrid1->Row()); }

void TLineAdd::UpDown1Click(TObject*, TUDBtnType) { SelectRow(UpDown1->Position()); }

void TLineAdd::Button12Click(TObject*) {
    ColorDialog1->Color = LineColor;
    if (!ColorDialog1->Execute()) return;
    LineColor = ColorDialog1->Color;
    FillSwatch(Image1, LineColor);
    DrawEditLine();
    LineSaved = 0;
}

void TLineAdd::RadioGroup1Click(TObject*) {
    EditPenStyle = uint8_t(std::max(0, RadioGroup1->ItemIndex()));
    EditLineShown = true;
    LineSaved = 0;
}

// The width alone leaves the line saved: it changes the look, not the points.
void TLineAdd::UpDown2Click(TObject*, TUDBtnType) {
    EditLineWidth = UpDown2->Position();
    EditLineShown = true;
}

void TLineAdd::UpDown3Click(TObject*, TUDBtnType) {
    EditArrowSize = UpDown3->Position();
    EditLineShown = true;
    LineSaved = 0;
}

void TLineAdd::UpDown4Click(TObject*, TUDBtnType) {
    EditLineShown = true;
    LineSaved = 0;
}

void TLineAdd::CheckBox1Click(TObject*) {
    EditTriangle = CheckBox1->Checked();
    EditLineShown = true;
    LineSaved = 0;
}

void TLineAdd::CBArrowClick(TObject*) {
    EditArrow = CBArrow->Checked();
    for (QWidget* w : std::initializer_list<QWidget*>{CheckBox1, UpDown3, UpDown4}) w->setEnabled(EditArrow);
    EditLineShown = true;
    LineSaved = 0;
}

void TLineAdd::BtnEditClick(TObject*) {
    if (!CheckBox3->Checked()) {
        MessageBox("編集データが非表示になっています．左のチェックボックスにチェックを入れてください", "編集データ非表示",
                   MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    EditLineShown = !EditLineShown;
    if (PointCount() == 0) return;
    // Each row is drawn in its own datum, so the map keeps the datum the user chose.
    if (!EditLineShown) {
        BtnEdit->SetCaption("編　集");
        BtnEdit->SetHint("地図線の編集");
        DisableEditControls();
        Label7->SetCaption("表示しました");
        for (QWidget* w : std::initializer_list<QWidget*>{BtnEdit, BtnFile, Button1}) w->setEnabled(true);
        RedrawMap();
        DrawEditLine();
        Label19->SetCaption("0");
        Label20->SetCaption("0");
    } else {
        BtnEdit->SetCaption("表　示");
        BtnEdit->SetHint("編集中の地図線表示");
        EnableEditControls();
        Button10->SetEnabled(false);
        Label7->SetCaption("編集できます");
        RedrawMap();
        SelectRow(StringGrid1->Row());
    }
}

void TLineAdd::CheckBox3Click(TObject*) {
    RedrawMap();
    for (QWidget* w : std::initializer_list<QWidget*>{Button2, Button3, Button7, Button11, BtnEdit}) w->setEnabled(false);
    if (CheckBox3->Checked()) {
        DrawEditLine();
        for (QWidget* w : std::initializer_list<QWidget*>{Button2, Button3, Button7, Button11, BtnEdit})
            w->setEnabled(true);
    }
}

void TLineAdd::Button5Click(TObject*) {
    if (PointCount() >= 2 && !LineSaved &&
        MessageBox("編集中の線データが保存されていませんが，編集作業を終了しますか？　　　　", "線データ編集作業の終了",
                   MB_OKCANCEL) != IDOK)
        return;
    MainTools().FinishTool<LinePointTool>();
    SetPoints({});
    DisableEditControls();
    for (QWidget* w : std::initializer_list<QWidget*>{Button1, Button2, BtnFile}) w->setEnabled(true);
    Label10->SetCaption("編集終了");
    RedrawMap();
    UpDown1->SetPosition(0);
    UpDown6->SetPosition(0);
    UpDown7->SetPosition(0);
    EditLineShown = false;
}

// Every cell is checked before the file is touched, and the file is written
// beside the old one and renamed over it, so a refused save loses nothing.
void TLineAdd::Button6Click(TObject*) {
    const int arrow = !CBArrow->Checked() ? 0 : CheckBox1->Checked() ? 2 : 1;
    if (!SaveDialog1->Execute()) return;
    const std::string path = SaveDialog1->FileName;
    std::vector<std::array<int32_t, 2>> pts(Points.size());
    for (int i = 0; i < int(Points.size()); i++) {
        // The row of an insert still waiting for its press holds no point.
        if (Points[size_t(i)].Empty) {
            MessageBox(gui::Format("%d 番目の点の座標値が正しくありません", i), "ファイル保存エラー",
                       MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        pts[i] = {Points[size_t(i)].X, Points[size_t(i)].Y};
    }
    const int type = std::max(0, RadioGroup1->ItemIndex());
    bool ok = gui::AtomicRewrite(path, [&](gui::TextWriter& w) {
        w.Printf("K,%5d,%5d,%d,%d,%d,%d,%d,%d//K/1/Points/Color/LineType/Size/Arrow/Asize/Step\n", 1, PointCount(),
                 int(LineColor), type, UpDown2->Position(), arrow, UpDown3->Position(), UpDown4->Position());
        for (const auto& p : pts) w.Printf("%7d,%7d\n", p[0], p[1]);
        return !w.Failed();
    });
    if (!ok) {
        MessageBox(gui::Format("ファイル %s に書き込めません", path.c_str()), "ファイル保存エラー",
                   MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    EditFileName = path;
    LineSaved = 1;
    Label10->SetCaption(gui::ExtractFileName(path));
}

// The file is read whole before anything of the edited line changes, and the
// path is taken only when the load goes on.
void TLineAdd::Button1Click(TObject*) {
    if (PointCount() >= 2 && !LineSaved &&
        MessageBox("現在編集中のデータが保存されていませんが，新規にデータを編集しますか？　　　　", "線データ新規編集",
                   MB_OKCANCEL) != IDOK)
        return;
    if (!OpenDialog1->Execute()) return;
    const std::string path = OpenDialog1->FileName;
    EditFile f;
    std::string error = ReadEditFile(path, f);
    if (!error.empty()) {
        MessageBox(error, "ファイルオープンエラー", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const auto inUse = LineFiles.begin() + UserFileCount();
    auto loaded = std::find(LineFiles.begin(), inUse, path);
    if (loaded != inUse) {
        if (MessageBox("指定されたファイルはすでに地図線読込で使用されており，編集できません　　　　\n"
                       "この地図線を読込表示から削除して編集しますか？　　　　　",
                       "地図線読込ファイルと同じ", MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK)
            return;
        std::vector<std::string> kept(LineFiles.begin(), loaded);
        kept.insert(kept.end(), loaded + 1, inUse);
        SetUserFiles(std::move(kept));
        Label18->SetCaption(std::to_string(LineFileCount) + " 個読み込み");
    }
    MainTools().FinishTool<LinePointTool>();
    EditFileName = path;
    const std::string name = gui::ExtractFileName(path);
    Label10->SetCaption(name);
    SaveDialog1->FileName = name;
    Label7->SetCaption("編集できます");

    LineColor = TColor(f.head.Color);
    MainUi().Image1->Canvas()->Pen->Color = LineColor;
    MainUi().Image1->Canvas()->Brush->Color = LineColor;
    FillSwatch(Image1, LineColor);
    SetPoints(f.pts);
    UpDown2->SetPosition(f.head.Size);
    UpDown3->SetPosition(f.head.Asize);
    UpDown4->SetPosition(f.head.Step);
    RadioGroup1->SetItemIndex(std::clamp<int>(f.head.LineType, 0, 4));
    EditPenStyle = uint8_t(RadioGroup1->ItemIndex());
    EditLineWidth = UpDown2->Position();
    EditArrowSize = UpDown3->Position();
    CBArrow->SetChecked(f.head.Arrow != 0);
    CheckBox1->SetChecked(f.head.Arrow == 2);
    EditArrow = f.head.Arrow != 0;
    EditTriangle = f.head.Arrow == 2;
    EditLineShown = true;
    {
        QSignalBlocker quiet(CheckBox3);   // the map is drawn once, below
        CheckBox3->SetChecked(true);
    }
    EnableEditControls();
    CBArrowClick(CBArrow);
    SelectRow(0);
    LineSaved = 1;
    BtnEditClick(BtnEdit);   // shows the line in its own style with the map's one redraw
    BtnFile->SetEnabled(true);
    CBLoop->SetEnabled(false);
}

// ---- Line files shown on the map ----

void TLineAdd::BtnFileClick(TObject*) {
    if (!OpenDialog2->Execute()) return;
    const std::vector<std::string> chosen = OpenDialog2->Files;
    const int first = CBFileAdd->Checked() ? UserFileCount() : 0;
    if (PointCount() != 0 && std::find(chosen.begin(), chosen.end(), EditFileName) != chosen.end()) {
        MessageBox("指定されたファイルの一つはすでに編集のためにオープンされていますので，読み込めません　　　　\n"
                   "「編集」－「編集終了」ボタンをクリックしてください",
                   "編集ファイルの読込", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (first + chosen.size() > size_t(LINE_FILE_MAX)) {
        MessageBox(gui::Format("地図線ファイルは %d 個まで読み込めます", LINE_FILE_MAX), "地図線ファイル",
                   MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    // A file that cannot be drawn is named and not counted.
    std::vector<std::string> usable;
    for (const std::string& p : chosen) {
        const std::string fault = LineFileFault(p);
        if (fault.empty()) usable.push_back(p);
        else MessageBox(fault, "ファイル読み込みエラー", MB_OK | MB_ICONEXCLAMATION);
    }
    if (usable.empty()) return;
    std::vector<std::string> files(LineFiles.begin(), LineFiles.begin() + first);
    files.insert(files.end(), usable.begin(), usable.end());
    SetUserFiles(std::move(files));
    AttrTableDirty = 1;
    // "表示" is ticked before the one redraw that shows the files.
    CheckBox2->SetEnabled(true);
    SetCheckedQuietly(CheckBox2, true);
    RedrawMap();
    DisableEditControls();
    for (QWidget* w : std::initializer_list<QWidget*>{Button1, Button2, BtnFile}) w->setEnabled(true);
    if (PointCount() > 0) {
        BtnEdit->SetEnabled(true);
        DrawEditLine();
    }
    Label18->SetCaption(std::to_string(LineFileCount) + " 個読み込み");
    Button4->SetEnabled(true);
}

void TLineAdd::RestoreProjectLines(int32_t paintLine, const std::vector<std::string>& paths) {
    PaintLine = paintLine;
    if (paintLine == 1) CheckBox4->SetChecked(true);
    // A missing or damaged file is named and left out.
    std::vector<std::string> found;
    for (const std::string& f : paths) {
        if (!gui::FileExists(gui::NativePath(f))) {
            MessageBox(f, "指定されたファイルがありません", MB_OK | MB_ICONEXCLAMATION);
        } else if (const std::string fault = LineFileFault(f); !fault.empty()) {
            MessageBox(fault, "ファイル読み込みエラー", MB_OK | MB_ICONEXCLAMATION);
        } else {
            found.push_back(f);
        }
    }
    // Each drawn with its own attributes as its file gives them, whatever was shown before.
    SetUserFiles(found);
    LineSet->UserColors = 0;
    AttrTableDirty = 1;
    WriteMainLog(gui::Format("追加地図線数：%d\n", LineFileCount));
    for (const std::string& f : found) WriteMainLog(gui::Format("  ファイル名：%s\n", f.c_str()));
}

void TLineAdd::ShowRestoredFiles() {
    if (LineFileCount > 0) {
        Label18->SetCaption(std::to_string(LineFileCount) + " 個読み込み");
        Button4->SetEnabled(true);
        CheckBox2->SetEnabled(true);
    } else {
        Label18->SetCaption("読込なし");
    }
    if (!CheckBox2->Checked()) CheckBox2->SetChecked(true);
}

void TLineAdd::Button4Click(TObject*) {
    if (MessageBox("読み込んでいる地図線データをすべてクリアしますか？　　　", "地図線データ", MB_OKCANCEL) != IDOK) return;
    SetUserFiles({});
    Label18->SetCaption("ファイル　なし");
    CheckBox2->SetEnabled(false);
    RedrawMap();
    if (PointCount() > 0) {
        BtnEdit->SetEnabled(true);
        DrawEditLine();
    }
}

void TLineAdd::CheckBox2Click(TObject*) {
    RedrawMap();
    if (PointCount() > 0) DrawEditLine();
}

void TLineAdd::CheckBox4Click(TObject*) { PaintLine = CheckBox4->Checked(); }

void TLineAdd::CheckBox5Click(TObject*) { UpDown5->SetEnabled(CheckBox5->Checked()); }

void TLineAdd::CheckBox6Click(TObject*) { Button8->SetEnabled(CheckBox6->Checked()); }

void TLineAdd::Button8Click(TObject*) {
    if (!ColorDialog1->Execute()) return;
    UnifiedLineColor = ColorDialog1->Color;
    FillSwatch(Image2, UnifiedLineColor);
    RedrawMap();
}

void TLineAdd::Button14Click(TObject*) {
    SetUserFiles({MainDoc().AppDir + "/addline/tadotsu1.txt"});
    RedrawMap();
    TCanvas* cv = MainUi().Image1->Canvas();
    cv->Pen->Width = 1;
    cv->Pen->Style = psDot;
    cv->MoveTo(0, 0);
    cv->LineTo(600, 600);
    cv->Pen->Style = TPenStyle(EditPenStyle);
    cv->MoveTo(0, 600);
    cv->LineTo(600, 0);
}

void TLineAdd::Button15Click(TObject*) { LineSet->Show(); }

int TLineAdd::PointMode() const {
    const auto* t = MainTools().ToolAs<LinePointTool>();
    return t ? t->kind : 0;
}

// The kind armed before goes on as this one, without being called off.
void TLineAdd::ArmPoint(int kind) { MainTools().ArmTool<LinePointTool>(*Open, LinePointTool::Append).kind = LinePointTool::Kind(kind); }
