#include "paint/Ustatmap.h"
#include "gui/FormParts.h"
#include "gui/TextFile.h"
#include "paint/Upaint.h"
#include <QImage>
#include <algorithm>
#include <cmath>
#include <sstream>

TStatMap* StatMap = nullptr;

TStatMap* StatMapWindow() {
    if (!StatMap) Application->CreateForm(StatMap);
    return StatMap;
}

namespace {

const char* const kCaption = "統計地図";
const char* const kNone = "（なし）";
constexpr int kGridRows = 20;

template <class W>
W* Named(W* w, const char* name) {
    w->setAccessibleName(QString::fromUtf8(name));
    return w;
}


// The points that would flood the sea at this view and size: the region of the
// map around them reaches the image's edge and holds points of more than one
// municipality (an island too small to show here). The image is the map as the
// replay finds it, before the names; a point on a line fills nothing and is
// kept for other views.
std::vector<std::vector<char>> SeaPoints(const StatUnits& u, const QImage& bare) {
    TOpen& o = *Open;
    std::vector<std::vector<char>> sea(u.units.size());
    const int w = bare.width(), h = bare.height();
    if (w == 0 || bare.depth() != 32) return sea;
    const QRgb* bits = reinterpret_cast<const QRgb*>(bare.constBits());
    const size_t stride = size_t(bare.bytesPerLine()) / 4;
    const QRgb back = qRgb(o.BackColor & 0xFF, (o.BackColor >> 8) & 0xFF, (o.BackColor >> 16) & 0xFF) & 0xFFFFFF;
    const auto open = [&](int x, int y) { return (bits[size_t(y) * stride + size_t(x)] & 0xFFFFFF) == back; };
    std::vector<int> label(size_t(w) * size_t(h), -1);
    struct Region { bool edge = false; int unit = -1; };   // unit -2: several
    std::vector<Region> regions;
    std::vector<std::vector<int>> at(u.units.size());
    std::vector<std::pair<int, int>> stack;
    for (size_t i = 0; i < u.units.size(); ++i) {
        for (const StatUnit::Point& p : u.units[i].points) {
            int sx, sy;
            o.MapToScreen(p.x, p.y, sx, sy);
            if (sx < 0 || sy < 0 || sx >= w || sy >= h || !open(sx, sy)) {
                at[i].push_back(-1);
                continue;
            }
            if (label[size_t(sy) * size_t(w) + size_t(sx)] < 0) {   // a region not met yet: label it whole, a run of a row at a time
                const int id = int(regions.size());
                Region g;
                stack.assign(1, {sx, sy});
                while (!stack.empty()) {
                    auto [x, y] = stack.back();
                    stack.pop_back();
                    int* row = &label[size_t(y) * size_t(w)];
                    if (row[x] >= 0) continue;
                    int l = x, r = x;
                    while (l > 0 && row[l - 1] < 0 && open(l - 1, y)) --l;
                    while (r < w - 1 && row[r + 1] < 0 && open(r + 1, y)) ++r;
                    if (l == 0 || r == w - 1 || y == 0 || y == h - 1) g.edge = true;
                    for (int k = l; k <= r; ++k) row[k] = id;
                    for (int ny : {y - 1, y + 1}) {
                        if (ny < 0 || ny >= h) continue;
                        const int* next = &label[size_t(ny) * size_t(w)];
                        for (int k = l; k <= r; ++k)
                            if (next[k] < 0 && open(k, ny) && (k == l || next[k - 1] >= 0 || !open(k - 1, ny)))
                                stack.push_back({k, ny});
                    }
                }
                regions.push_back(g);
            }
            const int r = label[size_t(sy) * size_t(w) + size_t(sx)];
            Region& g = regions[size_t(r)];
            g.unit = g.unit == -1 || g.unit == int(i) ? int(i) : -2;
            at[i].push_back(r);
        }
    }
    for (size_t i = 0; i < u.units.size(); ++i)
        for (int r : at[i]) sea[i].push_back(r >= 0 && regions[size_t(r)].edge && regions[size_t(r)].unit == -2);
    return sea;
}

// A number box with its up-down, named for screen readers.
TUpDown* NumberBox(QWidget* c, const char* name, int x, int y, int min, int max, int pos, TEdit*& edit) {
    TUpDown* ud = gui::Spin(c, edit, x, y, min, max, pos);
    Named(edit, name);
    Named(ud, (std::string(name) + "の増減").c_str());
    return ud;
}

} // namespace

TStatMap::TStatMap() : TForm("　統計地図") {
    SetFormStyle(fsStayOnTop);
    QWidget* c = Client();
    BtnOpen = Named(new TButton(c, "表を開く..."), "表を開く");
    BtnOpen->SetBounds(8, 8, 100, 26);
    LblFile = new TLabel(c, "");
    LblFile->SetBounds(116, 12, 620, 18);
    Grid1 = Named(new TStringGrid(c, 6, kGridRows + 1), "表の先頭");
    Grid1->SetBounds(8, 40, 740, 170);
    Grid1->FixedCols = 1;
    Grid1->FixedRows = 1;
    Grid1->SetCells(0, 0, "行");
    for (int col = 1; col < Grid1->ColCount(); ++col) Grid1->SetCells(col, 0, "列" + std::to_string(col));

    gui::Lbl(c, "見出し行", 8, 221, 70);
    UDHeading = NumberBox(c, "見出し行", 80, 218, 1, kGridRows, 1, EdHeading);
    UDHeading->OnClick = [this](TObject*, TUDBtnType) {
        Spec = ProposeStatColumns(Table, UDHeading->Position() - 1);
        fillColumnBoxes();
        ColumnsChanged();
    };
    RGKey = Named(new TRadioGroup(c, "結合"), "結合");
    RGKey->SetBounds(150, 212, 150, 40);
    RGKey->SetColumns(2);
    RGKey->SetItems({"コード", "名称"});
    RGKey->SetItemIndex(0);
    RGKey->OnClick = [this](TObject*) { ColumnsChanged(); };

    const char* boxNames[4] = {"コードの列", "名称の列", "都道府県の列", "値の列"};
    TComboBox** boxes[4] = {&CBCode, &CBName, &CBPref, &CBValue};
    for (int k = 0; k < 4; ++k) {
        const int x = 8 + k * 185;
        gui::Lbl(c, boxNames[k], x, 259, 85);
        auto* b = Named(new TComboBox(c, false), boxNames[k]);
        b->SetBounds(x + 85, 256, 95, 24);
        b->OnChange = [this](TObject*) { ColumnsChanged(); };
        *boxes[k] = b;
    }
    gui::Lbl(c, "単位", 8, 289, 40);
    EdUnit = Named(new TEdit(c, ""), "単位");
    EdUnit->SetBounds(50, 286, 80, 24);

    RGMethod = Named(new TRadioGroup(c, "分類方法"), "分類方法");
    RGMethod->SetBounds(8, 316, 250, 92);
    RGMethod->SetColumns(2);
    RGMethod->SetItems({"等間隔", "分位数", "自然分類", "標準偏差", "手動"});
    RGMethod->SetItemIndex(2);
    RGMethod->OnClick = [this](TObject*) { ClassesChanged(); };
    gui::Lbl(c, "階級数", 8, 417, 50);
    UDCount = NumberBox(c, "階級数", 60, 414, 2, 7, 5, EdCount);
    UDCount->OnClick = [this](TObject*, TUDBtnType) { ClassesChanged(); };
    gui::Lbl(c, "区切り", 120, 417, 45);
    EdManual = Named(new TEdit(c, ""), "手動の区切り");
    EdManual->SetBounds(165, 414, 93, 24);
    EdManual->SetHint("手動：区切りの値をコンマで区切って入力");
    EdManual->OnChange = [this](TObject*) {
        if (RGMethod->ItemIndex() == 4) ClassesChanged();
    };

    ImgHist = Named(new TImage(c), "度数分布");
    ImgHist->SetBounds(268, 290, 300, 150);
    ImgHist->SetImageSize(300, 150);

    gui::Lbl(c, "配色", 580, 289, 40);
    CBScheme = Named(new TComboBox(c, false), "配色");
    CBScheme->SetBounds(620, 286, 128, 24);
    for (const StatScheme& s : StatSchemes()) CBScheme->Items()->Add(s.name);
    CBScheme->SetItemIndex(0);
    CBReverse = Named(new TCheckBox(c, "逆順"), "逆順");
    CBReverse->SetBounds(580, 314, 80, 22);
    RGStyle = Named(new TRadioGroup(c, "塗り方"), "塗り方");
    RGStyle->SetBounds(580, 338, 168, 72);
    RGStyle->SetItems({"色", "模様（白黒）", "色と模様"});
    RGStyle->SetItemIndex(0);
    CBNoDataHatch = Named(new TCheckBox(c, "データなしを斜線"), "データなしを斜線");
    CBNoDataHatch->SetBounds(580, 414, 168, 22);
    CBNoDataHatch->SetChecked(true);

    gui::Lbl(c, "小数桁数", 8, 449, 60);
    UDDecimals = NumberBox(c, "小数桁数", 70, 446, 0, 4, 0, EdDecimals);
    UDDecimals->OnClick = [this](TObject*, TUDBtnType) { ClassesChanged(); };
    CBThousands = Named(new TCheckBox(c, "桁区切り"), "桁区切り");
    CBThousands->SetBounds(130, 446, 90, 22);
    CBThousands->SetChecked(true);
    CBOpenEnds = Named(new TCheckBox(c, "両端を「未満」「以上」で表す"), "両端を未満以上で表す");
    CBOpenEnds->SetBounds(230, 446, 230, 22);

    LblJoin = new TLabel(c, "");
    LblJoin->SetBounds(8, 478, 400, 18);
    LBReport = Named(new TListBox(c), "結合できなかった行");
    LBReport->SetBounds(8, 498, 560, 110);

    BtnApply = Named(new TButton(c, "適用"), "適用");
    BtnApply->SetBounds(580, 478, 80, 28);
    BtnApply->OnClick = [this](TObject*) { Apply(); };
    BtnUndo = Named(new TButton(c, "元に戻す"), "元に戻す");
    BtnUndo->SetBounds(668, 478, 80, 28);
    BtnUndo->SetEnabled(false);
    BtnUndo->OnClick = [this](TObject*) { Undo(); };
    BtnReport = Named(new TButton(c, "報告を保存"), "報告を保存");
    BtnReport->SetBounds(580, 514, 168, 28);
    BtnReport->SetEnabled(false);
    BtnReport->OnClick = [this](TObject*) {
        if (SaveDialog1->Execute()) SaveReport(SaveDialog1->FileName);
    };
    BtnClose = Named(new TButton(c, "閉じる"), "閉じる");
    BtnClose->SetBounds(668, 580, 80, 28);
    BtnClose->OnClick = [this](TObject*) { Close(); };

    OpenDialog1 = new TOpenDialog(this);
    OpenDialog1->Filter = "統計表 (*.csv;*.txt;*.tsv)|*.csv;*.txt;*.tsv|すべて (*.*)|*.*";
    BtnOpen->OnClick = [this](TObject*) {
        if (OpenDialog1->Execute()) OpenTable(OpenDialog1->FileName);
    };
    SaveDialog1 = new TSaveDialog(this);
    SaveDialog1->Filter = "CSV ファイル (*.csv)|*.csv|すべて (*.*)|*.*";
    SaveDialog1->DefaultExt = "csv";
    SaveDialog1->OverwritePrompt = true;
    for (TCheckBox* b : {CBThousands, CBOpenEnds}) b->OnClick = [this](TObject*) { ClassesChanged(); };
    SetClientSize(756, 616);
}

int TStatMap::EditionYear() {
    TMenuItem* items[5] = {Open->N20021, Open->N20031, Open->N20051, Open->N20081, Open->N20091};
    const int years[5] = {2002, 2003, 2005, 2008, 2009};
    for (int i = 0; i < 5; ++i)
        if (items[i] && items[i]->Checked()) return years[i];
    return 0;
}

std::vector<int> TStatMap::SelectedAreas() {
    std::vector<int> a;
    for (int i = 0; i < Open->SELECT && i < 100; ++i)
        if (Open->SelectCode[i] >= 1 && Open->SelectCode[i] <= 52) a.push_back(Open->SelectCode[i]);
    return a;
}

bool TStatMap::OpenTable(const std::string& path) {
    StatTable t;
    std::string error;
    if (!ReadStatTable(path, t, error)) {
        MessageBox(path + "\n" + error, kCaption, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    Table = std::move(t);
    TablePath = path;
    LblFile->SetCaption(path);
    const int cols = int(std::min<size_t>(Table.Width(), StatTable::COL_MAX));
    Grid1->SetColCount(cols + 1);
    Grid1->SetRowCount(kGridRows + 1);
    for (int col = 0; col < cols; ++col) Grid1->SetCells(col + 1, 0, "列" + std::to_string(col + 1));
    for (int r = 0; r < kGridRows; ++r) {
        Grid1->SetCells(0, r + 1, r < int(Table.rows.size()) ? std::to_string(Table.lines[r]) : "");
        for (int col = 0; col < cols; ++col) Grid1->SetCells(col + 1, r + 1, Table.Cell(r, col));
    }
    UDHeading->SetPosition(1);
    Spec = ProposeStatColumns(Table, 0);
    fillColumnBoxes();
    // The key's own handler joins; without a change of key, join here.
    const int key = Spec.codeCol >= 0 || Spec.nameCol < 0 ? 0 : 1;
    if (RGKey->ItemIndex() != key) RGKey->SetItemIndex(key);
    else ColumnsChanged();
    return true;
}

void TStatMap::fillColumnBoxes() {
    const auto& head = Spec.headingRow < int(Table.rows.size()) ? Table.rows[Spec.headingRow] : std::vector<std::string>{};
    TComboBox* boxes[4] = {CBCode, CBName, CBPref, CBValue};
    const int chosen[4] = {Spec.codeCol, Spec.nameCol, Spec.prefCol, Spec.valueCol};
    for (int k = 0; k < 4; ++k) {
        boxes[k]->Items()->Clear();
        boxes[k]->Items()->Add(kNone);
        for (size_t col = 0; col < Table.Width(); ++col)
            boxes[k]->Items()->Add(gui::Format("%zu: ", col + 1) + (col < head.size() ? head[col] : ""));
        boxes[k]->SetItemIndex(chosen[k] + 1);
    }
}

bool TStatMap::loadUnits() {
    const std::vector<int> areas = SelectedAreas();
    const int year = EditionYear();
    if (areas == unitsAreas && year == unitsYear) return true;
    Units = LoadStatUnits(Open->AppDir, areas, year);
    unitsAreas = areas;
    unitsYear = year;
    return true;
}

void TStatMap::ColumnsChanged() {
    Spec.headingRow = UDHeading->Position() - 1;
    Spec.codeCol = RGKey->ItemIndex() == 0 ? CBCode->ItemIndex() - 1 : -1;
    Spec.nameCol = CBName->ItemIndex() - 1;
    Spec.prefCol = CBPref->ItemIndex() - 1;
    Spec.valueCol = CBValue->ItemIndex() - 1;
    Join = StatJoin{};
    if (!Table.rows.empty() && Spec.valueCol >= 0 && (Spec.codeCol >= 0 || Spec.nameCol >= 0)) {
        loadUnits();
        Join = JoinStatTable(Table, Spec, Units);
    }
    showReport();
    ClassesChanged();
}

void TStatMap::showReport() {
    LBReport->Items()->Clear();
    const int m = int(Join.rows.size());
    LblJoin->SetCaption(gui::Format("結合 %d / %d 行", Join.joined, m));
    if (Join.textColumn && m > 0)
        LBReport->Items()->Add(gui::Format("値の列（%s）に数値がありません", Join.valueHeading.c_str()));
    for (const std::string& line : StatReportLines(Table, Spec, Join)) LBReport->Items()->Add(line);
    if (!Units.missingAreas.empty())
        LBReport->Items()->Add(gui::Format("塗る点のファイルがない地域：%zu", Units.missingAreas.size()));
    BtnReport->SetEnabled(m > 0);
}

StatNumberFormat TStatMap::NumberFormat() const {
    return StatNumberFormat{UDDecimals->Position(), CBThousands->Checked()};
}

StatMethod TStatMap::Method() const {
    const StatMethod m[5] = {StatMethod::Equal, StatMethod::Quantile, StatMethod::Jenks, StatMethod::StdDev,
                             StatMethod::Manual};
    return m[std::clamp(RGMethod->ItemIndex(), 0, 4)];
}

int TStatMap::ClassCount() const { return std::clamp(UDCount->Position(), 2, 7); }

void TStatMap::ClassesChanged() {
    std::vector<double> manual;
    std::stringstream in(FoldWidth(EdManual->Text()));
    for (std::string part; std::getline(in, part, ',');) {
        bool noValue = false;
        if (const auto v = ParseStatNumber(part, noValue)) manual.push_back(*v);
    }
    Breaks = StatBreaks(Join.values, Method(), ClassCount(), manual, NumberFormat());
    drawHistogram();
}

void TStatMap::drawHistogram() {
    TCanvas* cv = ImgHist->Canvas();
    const int w = cv->Width(), h = cv->Height();
    cv->Brush->Style = bsSolid;
    cv->Brush->Color = clWhite;
    cv->Pen->Color = clBlack;
    cv->Rectangle(0, 0, w, h);
    if (Join.values.empty()) return;
    const auto [lo, hi] = std::minmax_element(Join.values.begin(), Join.values.end());
    const double min = *lo, span = std::max(*hi - *lo, 1e-12);
    constexpr int kBins = 50;
    std::vector<int> bins(kBins, 0);
    for (double v : Join.values) bins[std::min(kBins - 1, int((v - min) / span * kBins))]++;
    const int top = *std::max_element(bins.begin(), bins.end());
    const double bw = double(w - 4) / kBins;
    cv->Brush->Color = 0x808080;
    for (int b = 0; b < kBins; ++b) {
        if (!bins[b]) continue;
        const int bar = std::max(1, int(double(bins[b]) / top * (h - 6)));
        cv->FillRect(TRect{2 + int(b * bw), h - 2 - bar, 2 + int((b + 1) * bw), h - 2});
    }
    cv->Pen->Color = clRed;
    for (double b : Breaks) {
        const int x = 2 + int((b - min) / span * (w - 4));
        if (x < 0 || x >= w) continue;
        cv->MoveTo(x, 1);
        cv->LineTo(x, h - 1);
    }
}

bool TStatMap::Apply() {
    if (Join.values.empty()) {
        MessageBox("地図に結合できた値がありません", kCaption, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    loadUnits();
    if (Join.unitValue.size() != Units.units.size()) ColumnsChanged();
    TOpen& o = *Open;
    const int count = ClassCount();
    // The previous application goes, unless the records it made are no longer there.
    const bool replace = FillsInPlace();
    std::vector<TOpen::PaintRecord> kept(o.PaintRecords, o.PaintRecords + std::max(0, o.paint_rep));
    if (replace) kept.erase(kept.begin() + Last.first, kept.begin() + Last.first + Last.count);
    size_t needed = 0;
    for (const StatUnit& u : Units.units) needed += u.points.size();
    if (kept.size() + needed > size_t(TOpen::PAINT_MAX)) {
        MessageBox(gui::Format("ペイントの回数が上限（%d回）を超えるため適用できません", TOpen::PAINT_MAX), kCaption,
                   MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (!replace) {   // what the undo puts back
        Last.records.assign(o.PaintRecords, o.PaintRecords + std::max(0, o.paint_rep));
        std::copy(o.PaintColor, o.PaintColor + 8, Last.colours);
        std::copy(o.PaintPattern, o.PaintPattern + 8, Last.patterns);
        static_cast<LegendBlock&>(Last.legend) = Hanrei->FileBlock();
        Last.legend.frameBox = Hanrei->CBExpWaku->Checked();
        Last.legend.bold = Hanrei->CBBold->Checked();
        Last.legend.titleBox = Hanrei->CBMenuTitle->Checked();
        Last.legendOn = Hanrei->LegendOn && Hanrei->CBExpDisplay->Checked();
    }

    std::vector<StatSlot> fills = StatClassSlots(CBScheme->ItemIndex(), count, CBReverse->Checked(),
                                                 StatStyle(std::clamp(RGStyle->ItemIndex(), 0, 2)));
    fills.push_back(CBNoDataHatch->Checked() ? kNoDataSlot : StatSlot{0xFFFFFF, 0});
    Last.first = int(kept.size());
    std::copy(kept.begin(), kept.end(), o.PaintRecords);
    o.paint_rep = int(kept.size());
    // The fills go in as the redraw is about to replay, so that the map they are
    // checked against is the one they are drawn on: one redraw.
    const auto fillUnits = [this, &o, &fills, count](const QImage* bare) {
        std::vector<std::vector<char>> sea;
        if (bare) sea = SeaPoints(Units, *bare);
        for (size_t i = 0; i < Units.units.size(); ++i) {
            const double v = Join.unitValue[i];
            const StatSlot& s = fills[std::isnan(v) ? size_t(count) : size_t(StatClassOf(v, Breaks))];
            const auto& points = Units.units[i].points;
            for (size_t k = 0; k < points.size(); ++k)
                if (sea.empty() || !sea[i][k]) o.AddPaintRecord(points[k].x, points[k].y, s.colour, s.pattern);
        }
        Last.count = o.paint_rep - Last.first;
        Last.fills.assign(o.PaintRecords + Last.first, o.PaintRecords + o.paint_rep);
    };
    Last.count = 0;
    Last.fills.clear();

    // One redraw at the end: the boxes below would each redraw.
    const bool ready = o.DataReady;
    o.DataReady = false;
    for (int k = 0; k <= count; ++k) {
        o.PaintColor[k] = fills[size_t(k)].colour;
        o.PaintPattern[k] = fills[size_t(k)].pattern;
        MapPaint->ShowSlot(k);
    }
    ProjectLegend g;
    static_cast<LegendBlock&>(g) = Hanrei->FileBlock();
    g.numbers[0] = count + 1;
    g.title = CutCp932(Join.valueHeading + (EdUnit->Text().empty() ? "" : "（" + EdUnit->Text() + "）"),
                       THanrei::TEXT_MAX);
    const double min = *std::min_element(Join.values.begin(), Join.values.end());
    const double max = *std::max_element(Join.values.begin(), Join.values.end());
    const auto labels = StatClassLabels(Breaks, min, max, NumberFormat(), CBOpenEnds->Checked());
    for (int k = 0; k <= count; ++k) {
        g.rowColours[k] = fills[size_t(k)].colour;
        g.rowPatterns[k] = fills[size_t(k)].pattern;
        g.rowTexts[k] = k < count ? labels[size_t(k)] : "データなし";
    }
    g.frameBox = Hanrei->CBExpWaku->Checked();
    g.bold = Hanrei->CBBold->Checked();
    g.titleBox = true;
    Hanrei->RestoreLegend(g);
    o.PaintDisplay = true;
    MapPaint->CBPaintDisplay->SetChecked(true);
    o.DataReady = ready;

    Last.on = true;
    OfferPending = false;
    Last.areas = SelectedAreas();
    Last.year = EditionYear();
    Last.oldBorders = o.CBNTownBorder->Checked();
    BtnUndo->SetEnabled(true);
    bool filled = false;
    o.BeforePaintReplay = [&](const QImage& bare) {
        fillUnits(&bare);
        filled = true;
    };
    o.DrawMap();
    o.BeforePaintReplay = nullptr;
    if (!filled) fillUnits(nullptr);   // no map drawn: every point, judged by the next redraw's replay
    MapPaint->ShowCount();
    MapPaint->Button3->SetEnabled(o.paint_rep > 0);
    return true;
}

bool TStatMap::Undo() {
    if (!Last.on) return false;
    TOpen& o = *Open;
    const bool ours = FillsInPlace();
    Last.on = false;
    BtnUndo->SetEnabled(false);
    // A paint file or a project read since holds the user's work now: nothing to take back.
    if (!ours) return false;
    const size_t n = std::min(Last.records.size(), size_t(TOpen::PAINT_MAX));
    std::copy(Last.records.begin(), Last.records.begin() + long(n), o.PaintRecords);
    o.paint_rep = int(n);
    const bool ready = o.DataReady;
    o.DataReady = false;
    restoreLook();
    o.DataReady = ready;
    o.DrawMap();
    return true;
}

bool TStatMap::UndoIfLast() {
    return Last.on && Open->paint_rep == Last.first + Last.count && Undo();
}

bool TStatMap::SaveReport(const std::string& path) {
    const auto lines = StatReportLines(Table, Spec, Join);
    const bool ok = gui::AtomicRewrite(path, [&](gui::TextWriter& w) {
        for (const std::string& l : lines) w.WriteLine(l);
        return !w.Failed();
    });
    if (!ok)
        MessageBox(gui::Format("報告ファイル %s を保存できませんでした", path.c_str()), kCaption,
                   MB_OK | MB_ICONEXCLAMATION);
    return ok;
}

void TStatMap::restoreLook() {
    TOpen& o = *Open;
    for (int k = 0; k < 8; ++k) {
        o.PaintColor[k] = Last.colours[k];
        o.PaintPattern[k] = Last.patterns[k];
        MapPaint->ShowSlot(k);
    }
    Hanrei->RestoreLegend(Last.legend);
    Hanrei->LegendOn = Last.legendOn;
    if (!Last.legendOn) SetCheckedQuietly(Hanrei->CBExpDisplay, false);
    MapPaint->ShowCount();
}

bool TStatMap::MadeForThisMap() const {
    return SelectedAreas() == Last.areas && EditionYear() == Last.year &&
           Open->CBNTownBorder->Checked() == Last.oldBorders;
}

bool TStatMap::FillsInPlace() const {
    const TOpen& o = *Open;
    return Last.on && Last.count == int(Last.fills.size()) && Last.first >= 0 &&
           Last.first + Last.count <= o.paint_rep &&
           std::equal(Last.fills.begin(), Last.fills.end(), o.PaintRecords + Last.first);
}

// Before the new map's one redraw, so that it shows none of the old fills.
void TStatMap::MapChanging() {
    if (Last.on && !MadeForThisMap()) LeaveMap();
}

void TStatMap::LeaveMap() {
    if (!Last.on) return;
    TOpen& o = *Open;
    const bool ours = FillsInPlace();
    Last.on = false;
    BtnUndo->SetEnabled(false);
    // Replaced since by a paint file or a project: their records and palette stay.
    if (!ours) return;
    // The fills were made for the map before; whatever else was painted stays.
    std::copy(o.PaintRecords + Last.first + Last.count, o.PaintRecords + o.paint_rep, o.PaintRecords + Last.first);
    o.paint_rep -= Last.count;
    // Palette and legend as before, so that a new application's undo goes back to them.
    const bool ready = o.DataReady;
    o.DataReady = false;
    restoreLook();
    o.DataReady = ready;
    OfferPending = !Join.values.empty();
}

void TStatMap::MapChanged() {
    if (!OfferPending) return;
    OfferPending = false;
    if (MessageBox("地図が変わりました。\n統計地図を新しい地図に塗り直しますか？", kCaption,
                   MB_OKCANCEL | MB_ICONQUESTION) == IDOK) {
        ColumnsChanged();
        Apply();
    }
}
