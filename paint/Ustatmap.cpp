#include "paint/Ustatmap.h"
#include "engine/Uopen.h"
#include "paint/MainFormPaint.h"
#include "gui/FormParts.h"
#include "gui/TextFile.h"
#include "paint/Upaint.h"
#include "paint/StatLayer.h"
#include "paint/StatSymbols.h"
#include "gui/Files.h"
#include <unordered_set>
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
// The faces a value label can take, and their names in the list.
const char* const kLabelFonts[4][2] = {
    {"IPAGothic", "ゴシック"}, {"IPAMincho", "明朝"}, {"IPAPGothic", "Pゴシック"}, {"IPAPMincho", "P明朝"}};
constexpr int kGridRows = 20;

template <class W>
W* Named(W* w, const char* name) {
    w->setAccessibleName(QString::fromUtf8(name));
    return w;
}


using Points = std::vector<StatUnit::Point>;

// The 4-connected regions of the open pixels of a picture, each labelled whole
// when first met, a run of a row at a time; whether a region reaches the edge.
struct Regions {
    struct Box { int x0, y0, x1, y1, x, y; };   // and the pixel it was met at
    int w = 0, h = 0;
    std::vector<char> open;
    std::vector<int> label;    // -1 where closed or not met yet
    std::vector<char> edge;    // per region
    std::vector<Box> box;
    std::vector<int> unit;     // per region: the one municipality with points in it; -1 none, -2 several
    Regions(int w_, int h_, std::vector<char> open_)
        : w(w_), h(h_), open(std::move(open_)), label(size_t(w_) * size_t(h_), -1) {}
    size_t At(int x, int y) const { return size_t(y) * size_t(w) + size_t(x); }
    // The region of a pixel; -1 outside and on the lines.
    int Of(int x, int y) {
        if (x < 0 || y < 0 || x >= w || y >= h || !open[At(x, y)]) return -1;
        if (label[At(x, y)] >= 0) return label[At(x, y)];
        const int id = int(edge.size());
        bool reaches = false;
        Box b{x, y, x, y, x, y};
        std::vector<std::pair<int, int>> stack{{x, y}};
        while (!stack.empty()) {
            auto [sx, sy] = stack.back();
            stack.pop_back();
            const char* open0 = &open[At(0, sy)];
            int* row = &label[At(0, sy)];
            if (row[sx] >= 0) continue;
            int l = sx, r = sx;
            while (l > 0 && open0[l - 1] && row[l - 1] < 0) --l;
            while (r < w - 1 && open0[r + 1] && row[r + 1] < 0) ++r;
            if (l == 0 || r == w - 1 || sy == 0 || sy == h - 1) reaches = true;
            b.x0 = std::min(b.x0, l), b.x1 = std::max(b.x1, r), b.y0 = std::min(b.y0, sy), b.y1 = std::max(b.y1, sy);
            std::fill(row + l, row + r + 1, id);
            for (int ny : {sy - 1, sy + 1}) {
                if (ny < 0 || ny >= h) continue;
                const char* openN = &open[At(0, ny)];
                const int* next = &label[At(0, ny)];
                for (int k = l; k <= r; ++k)
                    if (openN[k] && next[k] < 0 && (k == l || !openN[k - 1] || next[k - 1] >= 0)) stack.push_back({k, ny});
            }
        }
        edge.push_back(reaches);
        box.push_back(b);
        unit.push_back(-1);
        return id;
    }
    // The region of a municipality's point.
    int Claim(int x, int y, int u) {
        const int r = Of(x, y);
        if (r >= 0) unit[size_t(r)] = unit[size_t(r)] == -1 || unit[size_t(r)] == u ? u : -2;
        return r;
    }
};

// Which pixels of a picture are of the background colour.
std::vector<char> OpenPixels(const QImage& img, TColor back) {
    const QRgb b = qRgb(back & 0xFF, (back >> 8) & 0xFF, (back >> 16) & 0xFF) & 0xFFFFFF;
    const int w = img.width(), h = img.height();
    std::vector<char> open(size_t(w) * size_t(h));
    if (img.depth() != 32) return open;
    for (int y = 0; y < h; ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        char* out = &open[size_t(y) * size_t(w)];
        for (int x = 0; x < w; ++x) out[x] = (row[x] & 0xFFFFFF) == b;
    }
    return open;
}

// The points that would flood the sea at this view and size: the region of the
// map around them reaches the image's edge and holds points of more than one
// municipality (an island too small to show here). The image is the map as the
// replay finds it, before the names; a point on a line fills nothing and is
// kept for other views.
std::vector<std::vector<char>> SeaPoints(const std::vector<Points>& units, const QImage& bare) {
    TOpen& o = *Open;
    std::vector<std::vector<char>> sea(units.size());
    if (bare.width() == 0 || bare.depth() != 32) return sea;
    Regions g(bare.width(), bare.height(), OpenPixels(bare, StyleOf(o).BackColor));
    std::vector<std::vector<int>> at(units.size());
    for (size_t i = 0; i < units.size(); ++i)
        for (const StatUnit::Point& p : units[i]) {
            int sx, sy;
            o.MapToScreen(p.x, p.y, sx, sy);
            at[i].push_back(g.Claim(sx, sy, int(i)));
        }
    for (size_t i = 0; i < units.size(); ++i)
        for (int r : at[i]) sea[i].push_back(r >= 0 && g.edge[size_t(r)] && g.unit[size_t(r)] == -2);
    return sea;
}

// Under the old borders a municipality of today is cut into its old parts, and
// its own points reach only the parts that hold them. Each area is drawn at a
// fine view of its own, the old borders in a colour of their own under today's
// lines: a region without the old borders that holds the points of one
// municipality only is that municipality's, and every part of it with the old
// borders that holds none of its points gets one, as deep inside as the part
// allows, so that other views find it inside too.
std::vector<Points> OldPartPoints(const StatUnits& u) {
    TOpen& o = *Open;
    constexpr int kSize = 1600;    // pixels on the longer side of an area and its margin
    constexpr int kDepth = 2;      // a point lies farther than this from every line
    std::vector<Points> extra(u.units.size());
    DrawSettings s;
    s.Coast = s.PrefBorder = s.TownBorder = s.Ku = s.Lake = true;
    // A background and a colour of the old borders that no other line is drawn
    // in (the lake borders take the old borders' own colour).
    std::vector<TColor> colours;
    for (TColor c : {0xFFFFFFu, 0x000000u, 0x808080u, 0x00FF00u, 0xFF00FFu, 0x00FFFFu, 0x404040u})
        if (c != StyleOf(o).CoastColor && c != StyleOf(o).PrefColor && c != StyleOf(o).TownColor && c != StyleOf(o).KuColor && c != StyleOf(o).NTownColor)
            colours.push_back(c);
    const TColor back = colours[0], oldLine = colours[1];
    std::vector<int> areas;
    for (const StatUnit& unit : u.units) areas.push_back(unit.area);
    std::sort(areas.begin(), areas.end());
    areas.erase(std::unique(areas.begin(), areas.end()), areas.end());
    const float aspect = o.Aspect > 0 ? o.Aspect : 1.0f;
    for (int area : areas) {
        int64_t x0 = INT32_MAX, y0 = INT32_MAX, x1 = INT32_MIN, y1 = INT32_MIN;
        for (const StatUnit& unit : u.units)
            if (unit.area == area)
                for (const StatUnit::Point& p : unit.points)
                    x0 = std::min<int64_t>(x0, p.x), x1 = std::max<int64_t>(x1, p.x), y0 = std::min<int64_t>(y0, p.y),
                    y1 = std::max<int64_t>(y1, p.y);
        // The points lie inside their parts: a margin takes in the parts round them.
        const double side = std::max({double(x1 - x0), double(y1 - y0) * aspect, 2000.0}), margin = 0.2 * side;
        MapView view;
        view.size = kSize;
        view.scaleX = float(kSize / (side + 2 * margin));
        view.scaleY = view.scaleX * aspect;
        view.cx = int32_t(double(x0) - margin + kSize / 2 / view.scaleX);
        view.cy = int32_t(double(y1) + margin / aspect - kSize / 2 / view.scaleY);
        const int W = std::min(kSize, int((double(x1 - x0) + 2 * margin) * view.scaleX) + 2);
        const int H = std::min(kSize, int((double(y1 - y0) * aspect + 2 * margin) * view.scaleX) + 2);
        TBitmap bitmap(W, H);
        TCanvas& cv = *bitmap.Canvas();
        cv.Brush->Style = bsSolid;
        cv.Brush->Color = back;
        cv.FillRect(TRect{0, 0, W, H});
        cv.Brush->Style = bsClear;
        cv.Pen->Style = psSolid;
        cv.Pen->Color = oldLine;
        cv.Pen->Width = StyleOf(o).TownWidth;
        TOpen::DrawStore(cv, view, DocOf(o).NTownLine, false);
        TOpen::DrawStore(cv, view, DocOf(o).OTownLine, false);
        cv.Pen->Width = StyleOf(o).PrefWidth;
        TOpen::DrawStore(cv, view, DocOf(o).OldPrefLine, true);
        o.DrawPolylineLayers(cv, view, s);
        std::vector<char> openNow = OpenPixels(bitmap.Image(), oldLine);
        Regions old(W, H, OpenPixels(bitmap.Image(), back));
        for (size_t k = 0; k < openNow.size(); ++k) openNow[k] |= old.open[k];
        Regions now(W, H, std::move(openNow));

        // Today's regions to their municipality.
        for (int i = 0; i < int(u.units.size()); ++i)
            for (const StatUnit::Point& p : u.units[size_t(i)].points) {
                int sx, sy;
                view.ToScreen(p.x, p.y, sx, sy);
                now.Claim(sx, sy, i);
            }
        // The old parts of this area's municipalities (the sea is left alone).
        const auto ours = [&](int t) {
            return t >= 0 && !now.edge[size_t(t)] && now.unit[size_t(t)] >= 0 &&
                   u.units[size_t(now.unit[size_t(t)])].area == area;
        };
        for (int t = 0; t < int(now.edge.size()); ++t) {
            if (!ours(t)) continue;
            const Regions::Box& b = now.box[size_t(t)];
            for (int y = b.y0; y <= b.y1; ++y)
                for (int x = b.x0; x <= b.x1; ++x)
                    if (now.label[now.At(x, y)] == t) old.Of(x, y);
        }
        // Those that hold a point of their municipality already, away from the
        // old borders (one close to them falls on a line at other views).
        std::vector<char> held(old.edge.size(), 0);
        for (int i = 0; i < int(u.units.size()); ++i)
            for (const StatUnit::Point& p : u.units[size_t(i)].points) {
                int sx, sy;
                view.ToScreen(p.x, p.y, sx, sy);
                const int t = now.Of(sx, sy), r = ours(t) ? old.label[old.At(sx, sy)] : -1;
                if (r < 0 || now.unit[size_t(t)] != i) continue;
                bool clear = true;
                for (int dy = -kDepth; dy <= kDepth; ++dy)
                    for (int dx = -kDepth; dx <= kDepth; ++dx) {
                        const int x = sx + dx, y = sy + dy;
                        clear = clear && x >= 0 && y >= 0 && x < W && y < H && old.open[old.At(x, y)];
                    }
                held[size_t(r)] |= clear;
            }
        // The old parts to fill and the box round them.
        std::vector<int> target(old.edge.size(), -1);
        int bx0 = W, by0 = H, bx1 = -1, by1 = -1;
        for (size_t r = 0; r < held.size(); ++r) {
            if (held[r] || old.edge[r]) continue;
            const Regions::Box& b = old.box[r];
            const int t = now.Of(b.x, b.y);   // a pixel of the part, open without the old borders too
            if (!ours(t)) continue;
            target[r] = now.unit[size_t(t)];
            bx0 = std::min(bx0, b.x0), by0 = std::min(by0, b.y0), bx1 = std::max(bx1, b.x1), by1 = std::max(by1, b.y1);
        }
        if (bx1 < 0) continue;
        // How far each pixel of the box lies from the lines, in 8-neighbour steps.
        const int bw = bx1 - bx0 + 1, bh = by1 - by0 + 1;
        std::vector<int> depth(size_t(bw) * size_t(bh));
        for (int y = 0; y < bh; ++y)
            for (int x = 0; x < bw; ++x) depth[size_t(y) * bw + x] = old.open[old.At(x + bx0, y + by0)] ? W + H : 0;
        for (int pass = 0; pass < 2; ++pass) {
            const int step = pass ? -1 : 1;   // down and right, then up and left
            for (int y = pass ? bh - 1 : 0; y >= 0 && y < bh; y += step) {
                int* row = &depth[size_t(y) * bw];
                const int* prev = y - step >= 0 && y - step < bh ? &depth[size_t(y - step) * bw] : nullptr;
                for (int x = pass ? bw - 1 : 0; x >= 0 && x < bw; x += step) {
                    if (!row[x]) continue;
                    const int px = x - step, nx = x + step;
                    if (px < 0 || px >= bw || !prev) {
                        row[x] = 1;
                        continue;
                    }
                    int d = std::min({row[x], row[px] + 1, prev[x] + 1, prev[px] + 1});
                    if (nx >= 0 && nx < bw) d = std::min(d, prev[nx] + 1);
                    row[x] = d;
                }
            }
        }
        std::vector<int> best(old.edge.size(), kDepth);
        std::vector<std::pair<int, int>> deepest(old.edge.size(), {-1, -1});
        for (int y = 0; y < bh; ++y)
            for (int x = 0; x < bw; ++x) {
                const int r = old.label[old.At(x + bx0, y + by0)], d = depth[size_t(y) * bw + x];
                if (r >= 0 && target[size_t(r)] >= 0 && d > best[size_t(r)])
                    best[size_t(r)] = d, deepest[size_t(r)] = {x + bx0, y + by0};
            }
        for (size_t r = 0; r < target.size(); ++r) {
            if (target[r] < 0 || deepest[r].first < 0) continue;
            StatUnit::Point p;
            view.ToData(deepest[r].first, deepest[r].second, p.x, p.y);
            extra[size_t(target[r])].push_back(p);
        }
    }
    return extra;
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
    BtnReload = Named(new TButton(c, "再読込"), "再読込");
    BtnReload->SetBounds(112, 8, 70, 26);
    BtnReload->SetHint("同じファイルを読み直す（列の選択はそのまま）");
    BtnReload->SetEnabled(false);
    BtnReload->OnClick = [this](TObject*) { ReloadTable(); };
    LblFile = new TLabel(c, "");
    LblFile->SetBounds(190, 12, 558, 18);
    Grid1 = Named(new TStringGrid(c, 6, kGridRows + 1), "表の先頭");
    Grid1->SetBounds(8, 40, 740, 170);
    Grid1->FixedCols = 1;
    Grid1->FixedRows = 1;
    // Tab goes on to the next control; the arrows move within the grid.
    Grid1->setTabKeyNavigation(false);
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
    RGLevel = Named(new TRadioGroup(c, "塗る単位"), "塗る単位");
    RGLevel->SetBounds(310, 212, 250, 40);
    RGLevel->SetColumns(3);
    RGLevel->SetItems({"市区町村", "政令市", "都道府県"});
    RGLevel->SetItemIndex(0);
    RGLevel->SetHint("表の行が表す単位：政令市は区をまとめて一つ、都道府県は県内をすべて同じ値で塗る");
    RGLevel->OnClick = [this](TObject*) { ColumnsChanged(); };
    {   // A table of another date than the map's, carried onto the map's units.
        gui::Lbl(c, "表の日付", 570, 216, 60);
        CBTableYear = Named(new TComboBox(c, false), "表の日付");
        for (const char* y : {"自動", "2021年", "2009年", "2008年", "2005年", "2003年", "2002年"}) CBTableYear->Items()->Add(y);
        CBTableYear->SetItemIndex(0);
        CBTableYear->SetBounds(630, 212, 118, 24);
        CBTableYear->SetHint("表のコードがどの日の市区町村のものか（自動：よく結合できる日）。地図と違う日なら地図の市区町村に換算する");
        CBTableYear->OnChange = [this](TObject*) { ColumnsChanged(); };
        CBCarryRate = Named(new TCheckBox(c, "率・密度として換算"), "率・密度として換算");
        CBCarryRate->SetBounds(570, 238, 178, 18);
        CBCarryRate->SetHint("切ると数（人口など）として、前の市区町村の値を面積の割合で分けて足す。入れると面積で重みをつけた平均");
        CBCarryRate->OnClick = [this](TObject*) { ColumnsChanged(); };
        // The sheet of a workbook.
        LblFile->SetBounds(190, 12, 400, 18);
        CBSheet = Named(new TComboBox(c, false), "シート");
        CBSheet->SetBounds(600, 8, 148, 24);
        CBSheet->SetHint("ブックのどのシートを読むか");
        CBSheet->SetEnabled(false);
        CBSheet->OnChange = [this](TObject*) {
            if (CBSheet->ItemIndex() >= 0 && CBSheet->ItemIndex() != Sheet) OpenTable(TablePath, CBSheet->ItemIndex());
        };
    }

    const char* boxNames[4] = {"コードの列", "名称の列", "都道府県の列", "値の列"};
    TComboBox** boxes[4] = {&CBCode, &CBName, &CBPref, &CBValue};
    for (int k = 0; k < 4; ++k) {
        const int x = 8 + k * 185;
        TLabel* caption = gui::Lbl(c, boxNames[k], x, 259, 85);
        auto* b = Named(new TComboBox(c, false), boxNames[k]);
        // A list box is read out by its choice; its caption reaches the reader as its label.
        caption->setBuddy(b);
        b->SetBounds(x + 85, 256, 95, 24);
        b->OnChange = [this](TObject*) { ColumnsChanged(); };
        *boxes[k] = b;
    }
    gui::Lbl(c, "単位", 8, 289, 40);
    EdUnit = Named(new TEdit(c, ""), "単位");
    EdUnit->SetBounds(50, 286, 80, 24);
    gui::Lbl(c, "中央の値", 138, 289, 60);
    EdMidpoint = Named(new TEdit(c, ""), "中央の値");
    EdMidpoint->SetBounds(198, 286, 62, 24);
    EdMidpoint->SetHint("二極の配色が中間色になる値（空欄：値の範囲に均等）");
    EdMidpoint->OnChange = [this](TObject*) {
        if (!settingText) MidpointByHand = true;
    };

    RGMethod = Named(new TRadioGroup(c, "分類方法"), "分類方法");
    RGMethod->SetBounds(8, 316, 250, 92);
    RGMethod->SetColumns(2);
    RGMethod->SetItems({"等間隔", "分位数", "自然分類", "標準偏差", "手動"});
    RGMethod->SetItemIndex(2);
    RGMethod->OnClick = [this](TObject*) { ClassesChanged(); };
    gui::Lbl(c, "階級数", 8, 417, 50);
    UDCount = NumberBox(c, "階級数", 60, 414, 2, 7, 5, EdCount);
    // The count typed is taken (or refused) when the typing ends, before the
    // up-down's own handling of it, so that the count and its breaks change together.
    UDCount->SetAssociate(nullptr);
    QObject::connect(EdCount, &QLineEdit::editingFinished, EdCount, [this] {
        if (!committing && EdCount->Text() != std::to_string(Classes)) CommitClasses(true);
    });
    UDCount->SetAssociate(EdCount);
    // Enter on a count out of range is answered here; it does not go on to apply.
    EdCount->OnKeyPress = [this](TObject*, char& key) {
        if (key == '\r' && EdCount->Text() != std::to_string(Classes) && !CommitClasses(true)) key = 0;
    };
    UDCount->OnClick = [this](TObject*, TUDBtnType) { ClassesChanged(); };
    gui::Lbl(c, "区切り", 120, 417, 45);
    EdManual = Named(new TEdit(c, ""), "手動の区切り");
    EdManual->SetBounds(165, 414, 93, 24);
    EdManual->SetHint("手動：区切りの値（階級数より一つ少なく、小さい順に。例 5,000, 10,000）");
    EdManual->OnChange = [this](TObject*) {
        if (RGMethod->ItemIndex() == 4 && !settingText) ClassesChanged();
    };

    ImgHist = Named(new TImage(c), "度数分布");
    ImgHist->SetBounds(268, 290, 300, 130);
    ImgHist->SetImageSize(300, 130);
    LblClasses = new TLabel(c, "");
    LblClasses->SetBounds(268, 424, 300, 18);

    TLabel* schemeCaption = gui::Lbl(c, "配色", 580, 289, 40);
    CBScheme = Named(new TComboBox(c, false), "配色");
    schemeCaption->setBuddy(CBScheme);
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

    RGDivide = Named(new TRadioGroup(c, "値を割る"), "値を割る");
    RGDivide->SetBounds(8, 446, 300, 40);
    RGDivide->SetColumns(3);
    RGDivide->SetItems({"割らない", "列で割る", "面積で割る"});
    RGDivide->SetItemIndex(0);
    RGDivide->SetHint("率・密度：値をほかの列の値か、面積（km²）で割る");
    RGDivide->OnClick = [this](TObject*) { divideChanged(); };
    TLabel* divisorCaption = gui::Lbl(c, "割る列", 318, 457, 50);
    CBDivisor = Named(new TComboBox(c, false), "割る列");
    divisorCaption->setBuddy(CBDivisor);
    CBDivisor->SetBounds(368, 454, 200, 24);
    CBDivisor->OnChange = [this](TObject*) {
        if (RGDivide->ItemIndex() == 1) ColumnsChanged();
    };
    CBFixClasses = Named(new TCheckBox(c, "分類を固定"), "分類を固定");
    CBFixClasses->SetBounds(580, 454, 168, 22);
    CBFixClasses->SetHint("区切り・階級数・桁数・配色をそのままにして、次の列や表に使う");
    CBFixClasses->OnClick = [this](TObject*) {
        const bool fixed = CBFixClasses->Checked();
        for (QWidget* w : std::initializer_list<QWidget*>{RGMethod, EdCount, UDCount, EdManual, EdDecimals, UDDecimals,
                                                          CBScheme, CBReverse, RGStyle, EdMidpoint, CBOpenEnds, CBThousands})
            w->setEnabled(!fixed);
        if (!fixed) ClassesChanged();
    };

    gui::Lbl(c, "小数桁数", 8, 495, 60);
    UDDecimals = NumberBox(c, "小数桁数", 70, 492, 0, 4, 0, EdDecimals);
    UDDecimals->OnClick = [this](TObject*, TUDBtnType) {
        DecimalsByHand = true;
        ClassesChanged();
    };
    CBThousands = Named(new TCheckBox(c, "桁区切り"), "桁区切り");
    CBThousands->SetBounds(130, 492, 90, 22);
    CBThousands->SetChecked(true);
    CBOpenEnds = Named(new TCheckBox(c, "両端を「未満」「以上」で表す"), "両端を未満以上で表す");
    CBOpenEnds->SetBounds(230, 492, 230, 22);

    LblJoin = new TLabel(c, "");
    LblJoin->SetBounds(8, 524, 400, 18);
    LBReport = Named(new TListBox(c), "結合できなかった行");
    LBReport->SetBounds(8, 544, 560, 104);
    LBReport->OnClick = [this](TObject*) { candidateChosen(); };
    TLabel* candidateCaption = gui::Lbl(c, "候補", 8, 659, 40);
    CBCandidate = Named(new TComboBox(c, false), "候補");
    candidateCaption->setBuddy(CBCandidate);
    CBCandidate->SetBounds(50, 656, 518, 24);
    CBCandidate->SetHint("候補が複数ある行：上の一覧で行を選び、ここで市区町村を選ぶ");
    CBCandidate->SetEnabled(false);
    CBCandidate->OnChange = [this](TObject*) {
        const int k = CBCandidate->ItemIndex() - 1;
        if (candidateRow < 0 || k < 0) return;
        for (const StatJoinRow& r : Join.rows)
            if (r.row == candidateRow && k < int(r.candidates.size())) {
                Spec.picks[candidateRow] = r.candidates[size_t(k)];
                ColumnsChanged();
                return;
            }
    };

    BtnApply = Named(new TButton(c, "適用"), "適用");
    BtnApply->SetBounds(580, 506, 80, 28);
    // Enter anywhere in the window applies.
    BtnApply->SetDefault(true);
    BtnApply->OnClick = [this](TObject*) {
        if (CommitClasses(true)) Apply();
    };
    BtnUndo = Named(new TButton(c, "元に戻す"), "元に戻す");
    BtnUndo->SetBounds(668, 506, 80, 28);
    BtnUndo->SetEnabled(false);
    BtnUndo->OnClick = [this](TObject*) { Undo(); };
    CBCounts = Named(new TCheckBox(c, "凡例に件数"), "凡例に件数");
    CBCounts->SetBounds(580, 478, 168, 22);
    CBCounts->SetHint("凡例の各階級に市区町村の数を添える");
    BtnToPaint = Named(new TButton(c, "ペイントに変換"), "ペイントに変換");
    BtnToPaint->SetBounds(580, 540, 168, 28);
    BtnToPaint->SetHint("統計地図をペイントの塗りに変えてペイントファイルに保存できるようにする");
    BtnToPaint->SetEnabled(false);
    BtnToPaint->OnClick = [this](TObject*) { ConvertToPaint(); };
    BtnReport = Named(new TButton(c, "報告を保存"), "報告を保存");
    BtnReport->SetBounds(580, 574, 168, 28);
    BtnReport->SetEnabled(false);
    BtnReport->OnClick = [this](TObject*) {
        if (SaveDialog1->Execute()) SaveReport(SaveDialog1->FileName);
    };
    BtnSaveClasses = Named(new TButton(c, "分類表を保存"), "分類表を保存");
    BtnSaveClasses->SetBounds(580, 608, 168, 28);
    BtnSaveClasses->SetHint("市区町村ごとのコード・名称・値・階級・色を CSV で保存");
    BtnSaveClasses->SetEnabled(false);
    BtnSaveClasses->OnClick = [this](TObject*) {
        if (SaveDialog2->Execute()) SaveClassTable(SaveDialog2->FileName);
    };
    BtnClose = Named(new TButton(c, "閉じる"), "閉じる");
    BtnClose->SetBounds(668, 652, 80, 28);
    BtnClose->OnClick = [this](TObject*) { Close(); };

    OpenDialog1 = new TOpenDialog(this);
    OpenDialog1->Filter = "統計表 (*.csv;*.txt;*.tsv;*.xlsx)|*.csv;*.txt;*.tsv;*.xlsx|すべて (*.*)|*.*";
    BtnOpen->OnClick = [this](TObject*) {
        if (OpenDialog1->Execute()) OpenTable(OpenDialog1->FileName);
    };
    SaveDialog1 = new TSaveDialog(this);
    SaveDialog1->Filter = "CSV ファイル (*.csv)|*.csv|すべて (*.*)|*.*";
    SaveDialog1->DefaultExt = "csv";
    SaveDialog1->OverwritePrompt = true;
    SaveDialog2 = new TSaveDialog(this);
    SaveDialog2->Filter = SaveDialog1->Filter;
    SaveDialog2->DefaultExt = "csv";
    SaveDialog2->OverwritePrompt = true;
    for (TCheckBox* b : {CBThousands, CBOpenEnds}) b->OnClick = [this](TObject*) { ClassesChanged(); };
    for (TComboBox* b : {CBScheme}) b->OnChange = [this](TObject*) { drawHistogram(); };
    SetClientSize(756, 688);
    addSymbolControls(c);
}

int TStatMap::EditionYear() { return StatLayerOnMap ? StatLayerOnMap->MapYear : 0; }

std::vector<int> TStatMap::SelectedAreas() {
    std::vector<int> a;
    for (int i = 0; i < MainDoc().SELECT && i < 100; ++i)
        if (MainDoc().SelectCode[i] >= 1 && MainDoc().SelectCode[i] <= 52) a.push_back(MainDoc().SelectCode[i]);
    return a;
}

bool TStatMap::OpenTable(const std::string& path, int sheet) {
    StatTable t;
    std::string error;
    std::vector<std::string> sheets;
    const bool book = IsStatWorkbook(path);
    if ((book && !ListXlsxSheets(path, sheets, error)) || !ReadStatTable(path, t, error, sheet)) {
        MessageBox(path + "\n" + error, kCaption, MB_OK | MB_ICONEXCLAMATION);
        // The sheet shown stays the one read.
        CBSheet->SetItemIndex(CBSheet->Items()->Count() ? Sheet : -1);
        return false;
    }
    Sheet = sheet;
    guessFor.clear();
    CBSheet->Items()->Clear();
    for (const std::string& s : sheets) CBSheet->Items()->Add(s);
    CBSheet->SetItemIndex(book ? sheet : -1);
    CBSheet->SetEnabled(sheets.size() > 1);
    // The same headings where the last table had them: the same kind of table, its choices kept.
    const bool same = !Table.rows.empty() && Spec.headingRow < int(t.rows.size()) &&
                      t.rows[size_t(Spec.headingRow)] == Table.rows[size_t(Spec.headingRow)];
    Table = std::move(t);
    TablePath = path;
    LblFile->SetCaption(path);
    BtnReload->SetEnabled(true);
    const int cols = int(std::min<size_t>(Table.Width(), StatTable::COL_MAX));
    Grid1->SetColCount(cols + 1);
    Grid1->SetRowCount(kGridRows + 1);
    for (int col = 0; col < cols; ++col) Grid1->SetCells(col + 1, 0, "列" + std::to_string(col + 1));
    for (int r = 0; r < kGridRows; ++r) {
        Grid1->SetCells(0, r + 1, r < int(Table.rows.size()) ? std::to_string(Table.lines[r]) : "");
        for (int col = 0; col < cols; ++col) Grid1->SetCells(col + 1, r + 1, Table.Cell(r, col));
    }
    if (same) {
        ColumnsChanged();
        return true;
    }
    const int heading = FindStatHeading(Table);
    UDHeading->SetPosition(heading + 1);
    Spec = ProposeStatColumns(Table, heading);
    formatFor.clear();
    fillColumnBoxes();
    // The key's own handler joins; without a change of key, join here.
    const int key = Spec.codeCol >= 0 || Spec.nameCol < 0 ? 0 : 1;
    if (RGKey->ItemIndex() != key) RGKey->SetItemIndex(key);
    else ColumnsChanged();
    return true;
}

bool TStatMap::ReloadTable() {
    if (TablePath.empty()) return false;
    return OpenTable(TablePath, Sheet);
}

void TStatMap::fillColumnBoxes() {
    const auto& head = Spec.headingRow < int(Table.rows.size()) ? Table.rows[Spec.headingRow] : std::vector<std::string>{};
    TComboBox* boxes[5] = {CBCode, CBName, CBPref, CBValue, CBDivisor};
    const int chosen[5] = {Spec.codeCol, Spec.nameCol, Spec.prefCol, Spec.valueCol, Spec.divisorCol};
    for (int k = 0; k < 5; ++k) {
        boxes[k]->Items()->Clear();
        boxes[k]->Items()->Add(kNone);
        for (size_t col = 0; col < Table.Width(); ++col)
            boxes[k]->Items()->Add(gui::Format("%zu: ", col + 1) + (col < head.size() ? head[col] : ""));
        boxes[k]->SetItemIndex(chosen[k] + 1);
    }
    // The circles' column: the value column's own, or any of the table's.
    const int sized = CBSizeCol->ItemIndex();
    CBSizeCol->Items()->Assign(*CBValue->Items());
    CBSizeCol->Items()->Delete(0);
    CBSizeCol->Items()->Insert(0, "（値の列）");
    CBSizeCol->SetItemIndex(sized >= 0 && sized < CBSizeCol->Items()->Count() ? sized : 0);
    Spec.picks.clear();
}

bool TStatMap::loadUnits() {
    const std::vector<int> areas = SelectedAreas();
    const int year = EditionYear();
    if (areas == unitsAreas && year == unitsYear) return true;
    Units = LoadStatUnits(MainDoc().AppDir, areas, year);
    unitsAreas = areas;
    unitsYear = year;
    return true;
}

void TStatMap::divideChanged() {
    // The unit follows the division by area: 人 → 人/km².
    const std::string perKm2 = "/km²";
    std::string unit = EdUnit->Text();
    const bool has = unit.size() >= perKm2.size() && unit.compare(unit.size() - perKm2.size(), perKm2.size(), perKm2) == 0;
    if (RGDivide->ItemIndex() == 2 && !has) unit += perKm2;
    if (RGDivide->ItemIndex() != 2 && has) unit.resize(unit.size() - perKm2.size());
    EdUnit->SetText(unit);
    ColumnsChanged();
}

void TStatMap::ColumnsChanged() {
    Spec.headingRow = UDHeading->Position() - 1;
    Spec.codeCol = RGKey->ItemIndex() == 0 ? CBCode->ItemIndex() - 1 : -1;
    Spec.nameCol = CBName->ItemIndex() - 1;
    Spec.prefCol = CBPref->ItemIndex() - 1;
    Spec.valueCol = CBValue->ItemIndex() - 1;
    Spec.divisorCol = RGDivide->ItemIndex() == 1 ? CBDivisor->ItemIndex() - 1 : -1;
    Spec.perArea = RGDivide->ItemIndex() == 2;
    Spec.level = std::clamp(RGLevel->ItemIndex(), 0, 2);
    Join = StatJoin{};
    CarryLines.clear();
    CarriedFrom = unitsYear;
    if (!Table.rows.empty() && Spec.valueCol >= 0 &&
        (Spec.codeCol >= 0 || Spec.nameCol >= 0 || (Spec.level == kLevelPref && Spec.prefCol >= 0))) {
        loadUnits();
        joinTable();
        if (Spec.divisorCol >= 0) Join.valueHeading += "／" + Table.Cell(size_t(Spec.headingRow), size_t(Spec.divisorCol));
    }
    showReport();
    autoFormat();
    ClassesChanged();
}

namespace {
const int kTableYears[7] = {-1, 0, 2009, 2008, 2005, 2003, 2002};
}

int TStatMap::ChosenTableYear() const { return kTableYears[std::clamp(CBTableYear->ItemIndex(), 0, 6)]; }

void TStatMap::joinTable() {
    // Prefectures kept their codes through the mergers: only units and cities move.
    const int chosen = ChosenTableYear();
    // The guess reads every date's codes: once for a table, its code column and the map's date.
    const std::string key = TablePath + gui::Format("/%d/%d/%d/%zu", Spec.codeCol, Spec.headingRow, unitsYear, Table.rows.size());
    if (chosen < 0 && Spec.level != kLevelPref && key != guessFor) {
        guessed = GuessStatTableYear(MainDoc().AppDir, Table, Spec, unitsYear);
        guessFor = key;
    }
    const int year = Spec.level == kLevelPref ? unitsYear : chosen >= 0 ? chosen : guessed;
    CarriedFrom = year;
    if (year == unitsYear) {
        Join = JoinStatTable(Table, Spec, Units);
        return;
    }
    // A unit of the map may have come from land of another area file (山口村 went to 岐阜).
    if (fromUnitsYear != year) {
        std::vector<int> all;
        for (int a = 1; a <= 52; ++a) all.push_back(a);
        FromUnits = LoadStatUnits(MainDoc().AppDir, all, year);
        fromUnitsYear = year;
    }
    std::string error;
    if (walkFrom != year || walkTo != unitsYear) {
        walk = ReadCrosswalk(MainDoc().AppDir, year, unitsYear, error);
        walkFrom = walk.empty() ? -1 : year;
        walkTo = unitsYear;
    }
    Join = JoinStatTable(Table, Spec, FromUnits);
    CarryLines.push_back(gui::Format("表のコードは%sの市区町村のものです。地図（%s）の市区町村に換算しました", StatYearText(year).c_str(),
                                     StatYearText(unitsYear).c_str()));
    if (walk.empty()) {
        // Without the crosswalk nothing can be carried: the map gets no values rather than wrong ones.
        CarryLines.back() = error;
        Join.unitValue.assign(Units.units.size(), std::nan(""));
        Join.values.clear();
        return;
    }
    CarryStatJoin(Join, FromUnits, Units, walk, year, unitsYear, Spec.level, CBCarryRate->Checked(), CarryLines);
}

// A new value column starts with its own format: decimals from the breaks
// (ClassesChanged) and the midpoint 0 where the values have both signs.
void TStatMap::autoFormat() {
    const std::string key = TablePath + gui::Format("/%d/%d/%d/%d", Spec.valueCol, Spec.divisorCol, int(Spec.perArea), Spec.level);
    if (key == formatFor || CBFixClasses->Checked()) return;
    formatFor = key;
    DecimalsByHand = false;
    MidpointByHand = false;
    const auto [lo, hi] = std::minmax_element(Join.values.begin(), Join.values.end());
    settingText = true;
    EdMidpoint->SetText(!Join.values.empty() && *lo < 0 && *hi > 0 ? "0" : "");
    settingText = false;
}

void TStatMap::showReport() {
    LBReport->Items()->Clear();
    const int m = int(Join.rows.size());
    LblJoin->SetCaption(gui::Format("結合 %d / %d 行", Join.joined, m));
    if (Join.textColumn && m > 0)
        LBReport->Items()->Add(gui::Format("値の列（%s）に数値がありません", Join.valueHeading.c_str()));
    for (const std::string& line : StatReportLines(Table, Spec, Join, &JoinUnits())) LBReport->Items()->Add(line);
    for (const std::string& line : CarryLines) LBReport->Items()->Add(line);
    if (!Units.missingAreas.empty())
        LBReport->Items()->Add(gui::Format("塗る点のファイルがない地域：%zu", Units.missingAreas.size()));
    BtnReport->SetEnabled(m > 0);
    BtnSaveClasses->SetEnabled(!Join.values.empty());
    candidateRow = -1;
    CBCandidate->Items()->Clear();
    CBCandidate->SetEnabled(false);
}

// A report line of a row with several candidates offers them in CBCandidate.
void TStatMap::candidateChosen() {
    const int i = LBReport->ItemIndex();
    candidateRow = -1;
    CBCandidate->Items()->Clear();
    CBCandidate->SetEnabled(false);
    if (i < 0 || i >= LBReport->Items()->Count()) return;
    const std::string line = LBReport->Items()->Strings(i);
    const int fileLine = std::atoi(line.c_str());
    for (const StatJoinRow& r : Join.rows) {
        if (r.line != fileLine || r.candidates.empty()) continue;
        candidateRow = r.row;
        CBCandidate->Items()->Add("（選んでください）");
        for (int t : r.candidates) {
            const StatUnits& units = JoinUnits();
            const int area = t >= 0 ? units.units[size_t(t)].area
                                    : units.units[size_t(units.cities[size_t(-t - 1)].wards.at(0))].area;
            CBCandidate->Items()->Add(StatTargetName(units, t) + "（" + MainDoc().AreaName[std::clamp(area, 0, 59)] + "）");
        }
        CBCandidate->SetItemIndex(0);
        CBCandidate->SetEnabled(true);
        return;
    }
}

StatNumberFormat TStatMap::NumberFormat() const {
    return StatNumberFormat{UDDecimals->Position(), CBThousands->Checked()};
}

StatMethod TStatMap::Method() const {
    const StatMethod m[5] = {StatMethod::Equal, StatMethod::Quantile, StatMethod::Jenks, StatMethod::StdDev,
                             StatMethod::Manual};
    return m[std::clamp(RGMethod->ItemIndex(), 0, 4)];
}

int TStatMap::ClassCount() const { return Classes; }

void TStatMap::ClassesChanged() { CommitClasses(false); }

bool TStatMap::CommitClasses(bool loud) {
    if (committing) return false;
    committing = true;
    const auto refuse = [&](const std::string& why) {
        if (loud) MessageBox(why, kCaption, MB_OK | MB_ICONEXCLAMATION);
        LblClasses->SetCaption(why);
        committing = false;
        return false;
    };
    // Fixed classes stay whatever the column: only the picture of the new values changes.
    if (CBFixClasses->Checked() && int(Breaks.size()) == Classes - 1) {
        drawHistogram();
        committing = false;
        return true;
    }
    const std::string typed = FoldWidth(EdCount->Text());
    const bool digits = !typed.empty() && typed.size() <= 3 &&
                        std::all_of(typed.begin(), typed.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
    const int count = digits ? std::atoi(typed.c_str()) : 0;
    if (count < UDCount->Min || count > UDCount->Max) {
        UDCount->SetPosition(Classes);
        return refuse(gui::Format("階級数は %d から %d までの整数で入力してください", UDCount->Min, UDCount->Max));
    }
    std::vector<double> manual;
    if (Method() == StatMethod::Manual) {
        std::string error;
        if (!StatParseBreaks(EdManual->Text(), manual, error)) return refuse(error);
        if (int(manual.size()) != count - 1)
            return refuse(gui::Format("区切りの値が %zu 個です。%d 階級には %d 個（小さい順）が要ります", manual.size(),
                                      count, count - 1));
        for (size_t i = 1; i < manual.size(); ++i)
            if (!(manual[i] > manual[i - 1]))
                return refuse("区切りの値は小さい順に、同じ値を重ねずに入力してください");
    }
    if (!DecimalsByHand) UDDecimals->SetPosition(StatDecimalsNeeded(Join.values, Method(), count, manual));
    Breaks = StatBreaks(Join.values, Method(), count, manual, NumberFormat());
    Classes = count;
    UDCount->SetPosition(count);
    LblClasses->SetCaption("");
    drawHistogram();
    committing = false;
    return true;
}

double TStatMap::Midpoint() const {
    bool noValue = false;
    const auto v = ParseStatNumber(EdMidpoint->Text(), noValue);
    return v ? *v : NAN;
}

// The looks as the layer will draw them: one rule for the window and the map.
std::vector<StatSlot> TStatMap::ClassSlots() const {
    StatMapBlock b = Settings();
    b.breaks = Breaks;
    return b.Slots();
}

std::vector<std::string> TStatMap::ClassLabels() const {
    return StatClassLabels(Breaks, Join.values, NumberFormat(), CBOpenEnds->Checked());
}

void TStatMap::drawHistogram() {
    TCanvas* cv = ImgHist->Canvas();
    const int w = cv->Width(), h = cv->Height();
    cv->Brush->Style = bsSolid;
    cv->Brush->Color = clWhite;
    cv->Pen->Color = clBlack;
    cv->Pen->Width = 1;
    cv->Rectangle(0, 0, w, h);
    if (Join.values.empty()) return;
    const auto [lo, hi] = std::minmax_element(Join.values.begin(), Join.values.end());
    const double min = *lo, max = *hi, span = std::max(max - min, 1e-12);
    // Bars between the class counts on top and the axis with its values below.
    constexpr int kBins = 50, kTop = 14, kBottom = 28, kSide = 6;
    const int x0 = kSide, x1 = w - kSide, base = h - kBottom;
    std::vector<int> bins(kBins, 0);
    for (double v : Join.values) bins[size_t(std::clamp(int((v - min) / span * kBins), 0, kBins - 1))]++;
    const int top = std::max(1, *std::max_element(bins.begin(), bins.end()));
    const double bw = double(x1 - x0) / kBins;
    cv->Brush->Color = 0x808080;
    for (int b = 0; b < kBins; ++b) {
        if (!bins[size_t(b)]) continue;
        const int bar = std::max(1, int(double(bins[size_t(b)]) / top * (base - kTop - 2)));
        cv->FillRect(TRect{x0 + int(b * bw), base - bar, x0 + int((b + 1) * bw), base});
    }
    cv->Pen->Color = clBlack;
    cv->MoveTo(x0, base);
    cv->LineTo(x1, base);
    cv->Font->Size = 7;
    cv->Font->Color = clBlack;
    cv->Brush->Style = bsClear;
    const StatNumberFormat fmt = NumberFormat();
    const int th = cv->TextHeight("0");
    cv->TextOut(x0, base + 2 + th, fmt.Text(min));
    const std::string maxText = fmt.Text(max);
    cv->TextOut(std::max(x0, x1 - cv->TextWidth(maxText)), base + 2 + th, maxText);
    // A break's place, only when it lies on the axis: a break far outside the
    // data, or one that is no number, has no pixel.
    const auto place = [&](double b, int& x) {
        const double px = x0 + (b - min) / span * (x1 - x0);
        if (!std::isfinite(px) || px < x0 || px > x1) return false;
        x = int(px);
        return true;
    };
    std::vector<int> counts(Breaks.size() + 1, 0);
    for (double v : Join.values) counts[size_t(StatClassOf(v, Breaks))]++;
    int from = x0;
    for (size_t k = 0; k <= Breaks.size(); ++k) {
        int to = x1;
        if (k < Breaks.size() && !place(Breaks[k], to)) to = Breaks[k] < min ? x0 : x1;
        const std::string n = std::to_string(counts[k]);
        cv->TextOut(std::clamp((from + to - cv->TextWidth(n)) / 2, 0, std::max(0, w - cv->TextWidth(n))), 1, n);
        from = to;
    }
    cv->Pen->Color = clRed;
    int lastRight = -1000;
    for (double b : Breaks) {
        int x = 0;
        if (!place(b, x)) continue;
        cv->MoveTo(x, kTop);
        cv->LineTo(x, base + 4);
        // The break's value under the axis, where it does not run into the last one.
        const std::string t = fmt.Text(b);
        const int tw = cv->TextWidth(t), tx = std::clamp(x - tw / 2, 0, std::max(0, w - tw));
        if (tx > lastRight + 2) {
            cv->TextOut(tx, base + 2, t);
            lastRight = tx + tw;
        }
    }
    cv->Brush->Style = bsSolid;
}

StatMapBlock TStatMap::Settings() const {
    StatMapBlock b;
    b.table = TablePath;
    b.headingRow = UDHeading->Position() - 1;
    b.key = RGKey->ItemIndex() == 1 ? 1 : 0;
    b.codeCol = CBCode->ItemIndex() - 1, b.nameCol = CBName->ItemIndex() - 1;
    b.prefCol = CBPref->ItemIndex() - 1, b.valueCol = CBValue->ItemIndex() - 1;
    b.method = std::clamp(RGMethod->ItemIndex(), 0, 4);
    b.count = ClassCount();
    b.scheme = std::max(0, CBScheme->ItemIndex());
    b.reversed = CBReverse->Checked();
    b.style = std::clamp(RGStyle->ItemIndex(), 0, 2);
    b.noDataHatch = CBNoDataHatch->Checked();
    b.decimals = UDDecimals->Position();
    b.thousands = CBThousands->Checked();
    b.openEnds = CBOpenEnds->Checked();
    b.counts = CBCounts->Checked();
    b.unit = EdUnit->Text();
    b.heading = Join.valueHeading;
    const double mid = Midpoint();
    b.hasMidpoint = std::isfinite(mid);
    b.midpoint = b.hasMidpoint ? mid : 0;
    b.divide = std::clamp(RGDivide->ItemIndex(), 0, 2);
    b.divisorCol = CBDivisor->ItemIndex() - 1;
    b.level = std::clamp(RGLevel->ItemIndex(), 0, 2);
    b.fixed = CBFixClasses->Checked();
    b.fill = CBFillMap->Checked();
    b.circles = CBCircles->Checked();
    b.sizeCol = CBSizeCol->ItemIndex() - 1;
    b.radius = UDRadius->Position();
    b.circleLook = CBCircleLook->ItemIndex() == 1 ? 1 : 0;
    b.circleColour = CircleColour & 0xFFFFFF;
    b.valueLabels = CBValueLabels->Checked();
    b.labelSize = UDLabelSize->Position();
    b.labelFont = kLabelFonts[std::clamp(CBLabelFont->ItemIndex(), 0, 3)][0];
    const std::string sized = b.sizeCol < 0 ? Join.valueHeading : Table.Cell(size_t(b.headingRow), size_t(b.sizeCol));
    b.sizeHeading = CutCp932(sized + (b.sizeCol < 0 && !b.unit.empty() ? "（" + b.unit + "）" : ""), THanrei::TEXT_MAX);
    b.tableYear = ChosenTableYear();
    b.carryRate = CBCarryRate->Checked();
    b.sheet = Sheet;
    return b;
}

namespace {

// The legend of a statistics map: its classes, and a no-data row only when some unit of the map has none.
ProjectLegend StatLegend(const StatMapBlock& b, const std::vector<double>& unitValues) {
    ProjectLegend g;
    static_cast<LegendBlock&>(g) = Hanrei->FileBlock();
    std::vector<double> values;
    bool noData = false;
    for (double v : unitValues) {
        if (!std::isfinite(v)) noData = true;
        else values.push_back(v);
    }
    const auto looks = b.Slots();
    const int rows = b.count + (noData ? 1 : 0);
    g.numbers[0] = rows;
    g.title = CutCp932(b.heading + (b.unit.empty() ? "" : "（" + b.unit + "）"), THanrei::TEXT_MAX);
    const auto labels = values.empty() ? std::vector<std::string>(size_t(b.count))
                                       : StatClassLabels(b.breaks, values, StatNumberFormat{b.decimals, b.thousands},
                                                         b.openEnds);
    std::vector<int> counts(size_t(b.count) + 1, 0);   // and no data last
    for (double v : unitValues) counts[std::isfinite(v) ? size_t(std::min(StatClassOf(v, b.breaks), b.count - 1)) : size_t(b.count)]++;
    for (int k = 0; k < rows; ++k) {
        const StatSlot& s = k < b.count ? looks[size_t(k)] : looks.back();
        g.rowColours[k] = s.colour;
        g.rowPatterns[k] = s.pattern;
        g.rowTexts[k] = k >= b.count ? "データなし" : size_t(k) < labels.size() ? labels[size_t(k)] : "";
        if (b.counts) g.rowTexts[k] += gui::Format(" (%d)", counts[size_t(std::min(k, b.count))]);
    }
    g.frameBox = Hanrei->CBExpWaku->Checked();
    g.bold = Hanrei->CBBold->Checked();
    g.titleBox = true;
    return g;
}

// The legend shown on the map, with "地図凡例" ticked as the legend is drawn.
void ShowLegend(const ProjectLegend& g, bool on) {
    Hanrei->RestoreLegend(g);
    Hanrei->LegendOn = on;
    if (!on) SetCheckedQuietly(Hanrei->CBExpDisplay, false);
    SetCheckedQuietly(MainUi().CBExp, on);
}

// The years whose codes another table may hold, besides the map's own.
const int kYears[6] = {0, 2002, 2003, 2005, 2008, 2009};

std::string YearText(int year) { return year ? gui::Format("%d年", year) : std::string("2021年"); }

} // namespace

bool TStatMap::Apply() {
    if (Join.values.empty()) {
        MessageBox("地図に結合できた値がありません", kCaption, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    loadUnits();
    if (Join.unitValue.size() != Units.units.size()) ColumnsChanged();
    // The layer and the project hold one break between each two classes.
    if (Breaks.size() != size_t(ClassCount() - 1) ||
        !std::all_of(Breaks.begin(), Breaks.end(), [](double v) { return std::isfinite(v); }) ||
        !std::is_sorted(Breaks.begin(), Breaks.end())) {
        MessageBox("区切りの値が階級数に合っていないため適用できません", kCaption, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    TOpen& o = *Open;
    StatLayer& layer = *StatLayerOnMap;
    // The shapes of the areas shown, read now so that a refused file is told here.
    layer.ForgetRefused();
    layer.SetAreas(SelectedAreas());
    if (const auto errors = layer.TakeErrors(); !errors.empty()) {
        std::string text = "次の市区町村の形のファイルを読めませんでした。その地域は塗りません。";
        for (const std::string& e : errors) text += "\n" + e;
        MessageBox(text, kCaption, MB_OK | MB_ICONEXCLAMATION);
    }
    StatMapBlock b = Settings();
    b.on = true;
    b.breaks = Breaks;
    takeValues(b);
    // Applied again, it replaces: the undo goes back to before the first.
    if (!Last.on) {
        Last.layer = layer.Shown();
        static_cast<LegendBlock&>(Last.legend) = Hanrei->FileBlock();
        Last.legend.frameBox = Hanrei->CBExpWaku->Checked();
        Last.legend.bold = Hanrei->CBBold->Checked();
        Last.legend.titleBox = Hanrei->CBMenuTitle->Checked();
        Last.legendOn = Hanrei->LegendOn && Hanrei->CBExpDisplay->Checked();
        Last.legendTick = UiOf(o).CBExp->Checked();
    }
    const bool ready = GateOf(o).DataReady;
    GateOf(o).DataReady = false;
    // Fixed classes over another column keep the legend's rows as they are: only its title follows the column.
    const StatMapBlock& before = layer.Shown();
    const bool sameClasses = b.fixed && before.on && !b.counts && before.breaks == b.breaks &&
                             before.scheme == b.scheme && before.reversed == b.reversed && before.style == b.style &&
                             before.decimals == b.decimals && before.thousands == b.thousands &&
                             before.openEnds == b.openEnds && Hanrei->LegendOn;
    ProjectLegend legend = StatLegend(b, Join.unitValue);
    if (sameClasses) {
        const std::string title = legend.title;
        static_cast<LegendBlock&>(legend) = Hanrei->FileBlock();
        legend.frameBox = Hanrei->CBExpWaku->Checked();
        legend.bold = Hanrei->CBBold->Checked();
        legend.titleBox = Hanrei->CBMenuTitle->Checked();
        legend.title = title;
    }
    ShowLegend(legend, true);
    GateOf(o).DataReady = ready;
    layer.Show(std::move(b));
    Last.on = true;
    OfferPending = false;
    BtnUndo->SetEnabled(true);
    BtnToPaint->SetEnabled(true);
    noteOtherDate();
    RedrawMap(o);
    return true;
}

bool TStatMap::Undo() {
    if (!Last.on) return false;
    TOpen& o = *Open;
    Last.on = false;
    BtnUndo->SetEnabled(false);
    StatLayerOnMap->Show(Last.layer);
    BtnToPaint->SetEnabled(Last.layer.on);
    const bool ready = GateOf(o).DataReady;
    GateOf(o).DataReady = false;
    restoreLook();
    GateOf(o).DataReady = ready;
    RedrawMap(o);
    return true;
}

// The layer's classes as paint records: a flood at every fill point of every
// unit, as a paint file keeps them; the layer goes, the legend stays.
bool TStatMap::ConvertToPaint() {
    StatLayer& layer = *StatLayerOnMap;
    const StatMapBlock b = layer.Shown();
    if (!b.on) return false;
    TOpen& o = *Open;
    const StatUnits units = LoadStatUnits(DocOf(o).AppDir, SelectedAreas(), layer.MapYear);
    // Under the old borders each unit's old parts get points of their own,
    // ahead of its own points: where a view too coarse for a part puts one of
    // them into a neighbour, the neighbour's own points come after and win.
    const std::vector<Points> parts =
        UiOf(o).CBNTownBorder->Checked() ? OldPartPoints(units) : std::vector<Points>(units.units.size());
    std::vector<Points> points(units.units.size());
    size_t needed = 0;
    for (size_t i = 0; i < units.units.size(); ++i) {
        points[i] = parts[i];
        points[i].insert(points[i].end(), units.units[i].points.begin(), units.units[i].points.end());
        needed += points[i].size();
    }
    if (size_t(std::max(0, PaintStoreOf(o).paint_rep)) + needed > size_t(PaintStore::PAINT_MAX)) {
        MessageBox(gui::Format("ペイントの回数が上限（%d回）を超えるため変換できません", PaintStore::PAINT_MAX), kCaption,
                   MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    const std::vector<StatSlot> looks = b.Slots();
    const size_t noData = looks.size() - 1;
    // The fills go in as the redraw is about to replay, so that the map they are
    // checked against is the one they are drawn on: one redraw.
    const auto fillUnits = [&](const QImage* bare) {
        std::vector<std::vector<char>> sea;
        if (bare) sea = SeaPoints(points, *bare);
        for (bool own : {false, true})
            for (size_t i = 0; i < points.size(); ++i) {
                const double v = b.ValueOf(int32_t(std::stoi(units.units[i].code)));
                const StatSlot& s = looks[std::isnan(v) ? noData : size_t(StatClassOf(v, b.breaks))];
                for (size_t k = own ? parts[i].size() : 0; k < (own ? points[i].size() : parts[i].size()); ++k)
                    if (sea.empty() || !sea[i][k]) AddPaintRecord(o, points[i][k].x, points[i][k].y, s.colour, s.pattern);
            }
    };
    const bool ready = GateOf(o).DataReady;
    GateOf(o).DataReady = false;
    for (size_t k = 0; k < looks.size() && k < 8; ++k) {
        StyleOf(o).PaintColor[k] = looks[k].colour;
        StyleOf(o).PaintPattern[k] = looks[k].pattern;
        MapPaint->ShowSlot(int(k));
    }
    PaintStoreOf(o).PaintDisplay = true;
    MapPaint->CBPaintDisplay->SetChecked(true);
    GateOf(o).DataReady = ready;
    layer.Show(StatMapBlock{});
    Last.on = false;
    BtnUndo->SetEnabled(false);
    BtnToPaint->SetEnabled(false);
    bool filled = false;
    HooksOf(o).BeforePaintReplay = [&](const QImage& bare) {
        fillUnits(&bare);
        filled = true;
    };
    RedrawMap(o);
    HooksOf(o).BeforePaintReplay = nullptr;
    if (!filled) fillUnits(nullptr);   // no map drawn: every point, judged by the next redraw's replay
    MapPaint->ShowCount();
    MapPaint->Button3->SetEnabled(PaintStoreOf(o).paint_rep > 0);
    MapPaint->BtnRepaint->SetEnabled(PaintStoreOf(o).paint_rep > 0);
    return true;
}

bool TStatMap::SaveReport(const std::string& path) {
    auto lines = StatReportLines(Table, Spec, Join, &JoinUnits());
    lines.insert(lines.end(), CarryLines.begin(), CarryLines.end());
    const bool ok = gui::AtomicRewrite(path, [&](gui::TextWriter& w) {
        for (const std::string& l : lines) w.WriteLine(l);
        return !w.Failed();
    });
    if (!ok)
        MessageBox(gui::Format("報告ファイル %s を保存できませんでした", path.c_str()), kCaption,
                   MB_OK | MB_ICONEXCLAMATION);
    return ok;
}

bool TStatMap::SaveClassTable(const std::string& path) {
    const auto fills = ClassSlots();
    const auto line = [&](const std::string& code, const std::string& name, double v) {
        const bool none = std::isnan(v);
        const size_t k = none ? size_t(Classes) : size_t(StatClassOf(v, Breaks));
        std::string n = name;
        if (n.find_first_of(",\"") != std::string::npos) {
            std::string q = "\"";
            for (char ch : n) q += ch == '"' ? std::string("\"\"") : std::string(1, ch);
            n = q + "\"";
        }
        return code + "," + n + "," + (none ? "" : gui::Format("%.16g", v)) + "," +
               (none ? std::string("データなし") : std::to_string(k + 1)) + gui::Format(",0x%08x", unsigned(fills[k].colour));
    };
    // One line for what one value colours: a unit, a designated city taken whole, a prefecture.
    std::vector<std::string> lines{"コード,名称,値,階級,色"};
    std::vector<char> cityDone(Units.cities.size(), 0), prefDone(48, 0);
    for (size_t i = 0; i < Units.units.size() && i < Join.unitValue.size(); ++i) {
        const StatUnit& u = Units.units[i];
        const double v = Join.unitValue[i];
        if (Spec.level == kLevelPref) {
            if (u.pref < 1 || u.pref > 47 || prefDone[size_t(u.pref)]) continue;
            prefDone[size_t(u.pref)] = 1;
            const std::string five = gui::Format("%02d000", u.pref);
            lines.push_back(line(five + CodeCheckDigit(five), PrefName(u.pref), v));
            continue;
        }
        if (Spec.level == kLevelCity && !u.city.empty()) {
            const auto c = std::find_if(Units.cities.begin(), Units.cities.end(), [&](const StatCity& k) {
                return std::find(k.wards.begin(), k.wards.end(), int(i)) != k.wards.end();
            });
            if (c != Units.cities.end()) {
                const size_t ci = size_t(c - Units.cities.begin());
                if (!cityDone[ci]) lines.push_back(line(c->code, c->name, v));
                cityDone[ci] = 1;
                continue;
            }
        }
        lines.push_back(line(u.code, u.city + u.name, v));
    }
    const bool ok = gui::AtomicRewrite(path, [&](gui::TextWriter& w) {
        for (const std::string& l : lines) w.WriteLine(l);
        return !w.Failed();
    });
    if (!ok)
        MessageBox(gui::Format("分類表 %s を保存できませんでした", path.c_str()), kCaption, MB_OK | MB_ICONEXCLAMATION);
    return ok;
}

void TStatMap::restoreLook() {
    ShowLegend(Last.legend, Last.legendOn);
    SetCheckedQuietly(MainUi().CBExp, Last.legendTick);
}

void TStatMap::noteOtherDate() {
    // Only codes that joined nothing: a date of their own shows in another year's files.
    std::vector<std::string> codes;
    for (const StatJoinRow& r : Join.rows)
        if (!r.Joined() && Spec.codeCol >= 0) {
            const std::string c = Table.Cell(r.row, Spec.codeCol);
            if (c.size() == 6 || c.size() == 5) codes.push_back(c.substr(0, 5));
        }
    if (codes.empty()) return;
    std::vector<std::pair<size_t, int>> found;   // codes found, year
    for (int year : kYears) {
        if (year == unitsYear) continue;
        gui::TextReader r(MainDoc().AppDir + "/MAPDATA/Codes" + (year ? "/" + std::to_string(year) : "") + "/Area.csv");
        std::unordered_set<std::string> there;
        for (std::string line; r.ReadLine(line);)
            if (line.size() > 6) there.insert(line.substr(0, 5));
        found.push_back({size_t(std::count_if(codes.begin(), codes.end(), [&](const std::string& c) { return there.count(c); })), year});
    }
    const size_t best = found.empty() ? 0 : std::max_element(found.begin(), found.end())->first;
    // A few strays are rows of totals; most of them, a table of another date (or of several, where the codes lasted).
    if (best == 0 || best * 2 < codes.size()) return;
    std::string years;
    for (const auto& [n, year] : found)
        if (n == best) years += (years.empty() ? "" : "・") + YearText(year);
    LBReport->Items()->Add(gui::Format("結合できなかったコード %zu 件のうち %zu 件は%sの市区町村のものです（地図は%s）",
                                       codes.size(), best, years.c_str(), YearText(unitsYear).c_str()));
}

// Before the redraw of a map loaded again: the layer follows the units of the
// edition now shown, joined again from the table when it is there.
void TStatMap::MapChanging() {
    if (!Table.rows.empty() && (SelectedAreas() != unitsAreas || EditionYear() != unitsYear)) {
        ColumnsChanged();
        if (StatLayerOnMap->Shown().on && !Join.values.empty()) {
            followJoin();
            noteOtherDate();
        }
    }
}

// The layer's values from the join, with its classes as they were.
void TStatMap::followJoin() {
    StatMapBlock b = StatLayerOnMap->Shown();
    takeValues(b);
    StatLayerOnMap->Show(std::move(b));
}

void TStatMap::takeValues(StatMapBlock& b) const {
    b.year = unitsYear;
    const auto byCode = [&](const std::vector<double>& unitValue) {
        std::vector<std::pair<int32_t, double>> v;
        for (size_t i = 0; i < Units.units.size() && i < unitValue.size(); ++i)
            if (std::isfinite(unitValue[i])) v.push_back({int32_t(std::stoi(Units.units[i].code)), unitValue[i]});
        std::sort(v.begin(), v.end());
        v.erase(std::unique(v.begin(), v.end(), [](const auto& x, const auto& y) { return x.first == y.first; }), v.end());
        return v;
    };
    b.values = byCode(Join.unitValue);
    // The circles' own column, joined as the values are but never divided.
    b.sizes.clear();
    if (b.sizeCol >= 0 && !Table.rows.empty()) {
        StatJoinSpec sized = Spec;
        sized.valueCol = b.sizeCol;
        sized.divisorCol = -1;
        sized.perArea = false;
        b.sizes = byCode(JoinStatTable(Table, sized, Units).unitValue);
    }
}

void TStatMap::LeaveMap() {
    if (!StatLayerOnMap->Shown().on) return;
    StatLayerOnMap->Show(StatMapBlock{});
    Last.on = false;
    BtnUndo->SetEnabled(false);
    BtnToPaint->SetEnabled(false);
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

void TStatMap::RestoreSettings(const StatMapBlock& b) {
    Last.on = false;
    OfferPending = false;
    BtnUndo->SetEnabled(false);
    BtnToPaint->SetEnabled(b.on);
    // A project without a statistics map leaves the window's settings as they are.
    if (!b.on) return;
    // The table is read again when it is there; the values drawn stay those of the project.
    const bool found = !b.table.empty() && gui::FileExists(b.table) && OpenTable(b.table, b.sheet);
    if (!found) {   // nothing of a table read before stays to be joined
        Table = StatTable{};
        Join = StatJoin{};
        TablePath = b.table;
        Sheet = b.sheet;   // kept for the next save, as the project has it
        CBSheet->Items()->Clear();
        CBSheet->SetEnabled(false);
        LblFile->SetCaption(b.table.empty() ? "" : b.table + "（見つかりません）");
        LBReport->Items()->Clear();
    } else {
        UDHeading->SetPosition(b.headingRow + 1);
        Spec = ProposeStatColumns(Table, b.headingRow);
        fillColumnBoxes();
        CBCode->SetItemIndex(b.codeCol + 1);
        CBName->SetItemIndex(b.nameCol + 1);
        CBPref->SetItemIndex(b.prefCol + 1);
        CBValue->SetItemIndex(b.valueCol + 1);
        RGKey->SetItemIndex(b.key);
        CBDivisor->SetItemIndex(b.divisorCol + 1);
    }
    // Free classes while the settings go in; the project's own are put back at the end.
    CBFixClasses->SetChecked(false);
    RGLevel->SetItemIndex(b.level);
    CBTableYear->SetItemIndex(int(std::find(std::begin(kTableYears), std::end(kTableYears), b.tableYear) - std::begin(kTableYears)) % 7);
    CBCarryRate->SetChecked(b.carryRate);
    RGDivide->SetItemIndex(b.divide);
    RGMethod->SetItemIndex(b.method);
    UDCount->SetPosition(b.count);
    if (b.method == 4) {
        std::string typed;
        for (double v : b.breaks) typed += (typed.empty() ? "" : ", ") + StatNumberFormat{b.decimals, b.thousands}.Text(v);
        settingText = true;
        EdManual->SetText(typed);
        settingText = false;
    }
    CBScheme->SetItemIndex(b.scheme);
    CBReverse->SetChecked(b.reversed);
    RGStyle->SetItemIndex(b.style);
    CBNoDataHatch->SetChecked(b.noDataHatch);
    UDDecimals->SetPosition(b.decimals);
    CBThousands->SetChecked(b.thousands);
    CBOpenEnds->SetChecked(b.openEnds);
    CBCounts->SetChecked(b.counts);
    EdUnit->SetText(b.unit);
    if (!Table.rows.empty()) ColumnsChanged();
    // The classes drawn win over what the table gives today.
    Classes = b.count;
    Breaks = b.breaks;
    UDCount->SetPosition(b.count);
    UDDecimals->SetPosition(b.decimals);
    DecimalsByHand = true;
    settingText = true;
    EdMidpoint->SetText(b.hasMidpoint ? gui::Format("%.15g", b.midpoint) : std::string());
    settingText = false;
    MidpointByHand = b.hasMidpoint;
    CBFixClasses->SetChecked(b.fixed);
    settingText = true;   // the layer shows the project's circles and labels already
    CBFillMap->SetChecked(b.fill);
    CBCircles->SetChecked(b.circles);
    CBSizeCol->SetItemIndex(b.sizeCol + 1 < CBSizeCol->Items()->Count() ? b.sizeCol + 1 : 0);
    UDRadius->SetPosition(b.radius);
    CBCircleLook->SetItemIndex(b.circleLook);
    CircleColour = b.circleColour;
    CBValueLabels->SetChecked(b.valueLabels);
    for (int k = 0; k < 4; ++k)
        if (b.labelFont == kLabelFonts[k][0]) CBLabelFont->SetItemIndex(k);
    UDLabelSize->SetPosition(b.labelSize);
    settingText = false;
    drawHistogram();
    // Values of another date than the map's: the table, joined to the units shown, wins.
    if (b.year != EditionYear() && !Join.values.empty()) followJoin();
    else if (b.year != EditionYear())
        LBReport->Items()->Add(gui::Format("プロジェクトの値は%sの市区町村のものです（地図は%s）。合併などで変わった市区町村はデータなしになります",
                                           YearText(b.year).c_str(), YearText(EditionYear()).c_str()));
}

void RestoreStatMap(const StatMapBlock& b, const std::string& tablePath) {
    StatMapBlock shown = b;
    shown.table = tablePath;
    if (StatLayerOnMap) StatLayerOnMap->Show(shown);
    // The window is made for a map to show; one made before forgets its undo.
    if (StatMap || b.on) StatMapWindow()->RestoreSettings(shown);
}

void TStatMap::addSymbolControls(QWidget* c) {
    CBFillMap = Named(new TCheckBox(c, "塗り分け"), "塗り分け");
    CBFillMap->SetBounds(8, 694, 80, 22);
    CBFillMap->SetChecked(true);
    CBFillMap->SetHint("市区町村を階級の色で塗る（外すと比例円や数値ラベルだけ）");
    CBCircles = Named(new TCheckBox(c, "比例円"), "比例円");
    CBCircles->SetBounds(92, 694, 70, 22);
    CBCircles->SetHint("値に面積が比例する円を各市区町村に描く（負の値は白抜き）");
    TLabel* sizeCaption = gui::Lbl(c, "大きさの列", 166, 697, 70);
    CBSizeCol = Named(new TComboBox(c, false), "大きさの列");
    sizeCaption->setBuddy(CBSizeCol);
    CBSizeCol->SetBounds(236, 694, 130, 24);
    CBSizeCol->Items()->Add("（値の列）");
    CBSizeCol->SetItemIndex(0);
    CBSizeCol->SetHint("円の大きさを決める列：色は値の列の階級、大きさはこの列");
    gui::Lbl(c, "最大半径", 374, 697, 56);
    UDRadius = NumberBox(c, "最大半径", 430, 694, kStatMinRadius, kStatMaxRadius, 30, EdRadius);
    EdRadius->SetHint("いちばん大きい円の半径（600 ピクセルの地図で。画像の大きさに合わせて拡大）");
    TLabel* lookCaption = gui::Lbl(c, "円の色", 490, 697, 44);
    CBCircleLook = Named(new TComboBox(c, false), "円の色");
    lookCaption->setBuddy(CBCircleLook);
    CBCircleLook->SetBounds(536, 694, 132, 24);
    CBCircleLook->Items()->Add("階級の色");
    CBCircleLook->Items()->Add("一色");
    CBCircleLook->SetItemIndex(0);
    BtnCircleColour = Named(new TButton(c, "色..."), "円の色を選ぶ");
    BtnCircleColour->SetBounds(676, 692, 72, 26);
    ColorDialog1 = new TColorDialog(this);
    BtnCircleColour->OnClick = [this](TObject*) {
        ColorDialog1->Color = CircleColour;
        if (!ColorDialog1->Execute()) return;
        CircleColour = ColorDialog1->Color & 0xFFFFFF;
        CBCircleLook->SetItemIndex(1);
        symbolsChanged();
    };

    CBValueLabels = Named(new TCheckBox(c, "数値ラベル"), "数値ラベル");
    CBValueLabels->SetBounds(8, 728, 90, 22);
    CBValueLabels->SetHint("値を各市区町村に書く（重なるものは大きい値を優先して省く）");
    TLabel* fontCaption = gui::Lbl(c, "フォント", 102, 731, 50);
    CBLabelFont = Named(new TComboBox(c, false), "フォント");
    fontCaption->setBuddy(CBLabelFont);
    CBLabelFont->SetBounds(152, 728, 100, 24);
    for (const auto& f : kLabelFonts) CBLabelFont->Items()->Add(f[1]);
    CBLabelFont->SetItemIndex(0);
    gui::Lbl(c, "文字サイズ", 260, 731, 64);
    UDLabelSize = NumberBox(c, "文字サイズ", 324, 728, kStatMinLabelSize, kStatMaxLabelSize, 8, EdLabelSize);
    LblPlaced = Named(new TLabel(c, ""), "ラベルの表示数");
    LblPlaced->SetBounds(390, 731, 180, 18);
    BtnPrevCol = Named(new TButton(c, "前の列"), "前の列");
    BtnPrevCol->SetBounds(580, 726, 80, 28);
    BtnPrevCol->SetHint("値の列を一つ前に（分類を固定すると区切り・色・凡例はそのまま）");
    BtnPrevCol->OnClick = [this](TObject*) { StepColumn(-1); };
    BtnNextCol = Named(new TButton(c, "次の列"), "次の列");
    BtnNextCol->SetBounds(668, 726, 80, 28);
    BtnNextCol->SetHint("値の列を一つ後に（分類を固定すると区切り・色・凡例はそのまま）");
    BtnNextCol->OnClick = [this](TObject*) { StepColumn(1); };

    for (TCheckBox* b : {CBFillMap, CBCircles, CBValueLabels}) b->OnClick = [this](TObject*) { symbolsChanged(); };
    for (TComboBox* b : {CBSizeCol, CBLabelFont, CBCircleLook}) b->OnChange = [this](TObject*) { symbolsChanged(); };
    for (TUpDown* u : {UDRadius, UDLabelSize}) u->OnClick = [this](TObject*, TUDBtnType) { symbolsChanged(); };
    // A size typed is taken when the typing ends, within the box's range.
    for (auto [e, u] : {std::pair{EdRadius, UDRadius}, std::pair{EdLabelSize, UDLabelSize}})
        QObject::connect(e, &QLineEdit::editingFinished, e, [this, e, u] {
            const std::string typed = FoldWidth(e->Text());
            const bool digits = !typed.empty() && typed.size() <= 4 &&
                                std::all_of(typed.begin(), typed.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
            const int v = digits ? std::atoi(typed.c_str()) : u->Position();
            u->SetPosition(std::clamp(v, u->Min, u->Max));
            e->SetText(std::to_string(u->Position()));
            symbolsChanged();
        });
    SetClientSize(756, 764);
}

// The map shown takes the circles and labels at once; its classes and legend stay.
void TStatMap::symbolsChanged() {
    if (settingText || !StatLayerOnMap || !StatLayerOnMap->Shown().on) return;
    StatMapBlock b = StatLayerOnMap->Shown();
    const StatMapBlock now = Settings();
    b.fill = now.fill, b.circles = now.circles, b.radius = now.radius, b.circleLook = now.circleLook;
    b.circleColour = now.circleColour, b.valueLabels = now.valueLabels, b.labelSize = now.labelSize;
    b.labelFont = now.labelFont;
    // Without the table the circles keep the project's column and its values.
    if (!Table.rows.empty()) {
        b.sizeCol = now.sizeCol, b.sizeHeading = now.sizeHeading;
        takeValues(b);
    }
    if (b == StatLayerOnMap->Shown()) return;
    StatLayerOnMap->Show(std::move(b));
    RedrawMap();
}

bool TStatMap::StepColumn(int step) {
    const int n = CBValue->Items()->Count();
    const auto numeric = [&](int col) {
        // A column of numbers in its first data rows.
        for (size_t r = size_t(Spec.headingRow) + 1; r < Table.rows.size() && r < size_t(Spec.headingRow) + 21; ++r) {
            bool noValue = false;
            if (ParseStatNumber(Table.Cell(r, size_t(col)), noValue)) return true;
        }
        return false;
    };
    int i = CBValue->ItemIndex() + step;
    for (; i >= 1 && i < n; i += step) {
        const int col = i - 1;
        if (col != Spec.codeCol && col != Spec.nameCol && col != Spec.prefCol && numeric(col)) break;
    }
    if (i < 1 || i >= n) return false;   // no column beyond: nothing changes
    return ChooseColumn(i - 1);
}

bool TStatMap::ChooseColumn(int col) {
    if (col < 0 || col + 1 >= CBValue->Items()->Count()) return false;
    CBValue->SetItemIndex(col + 1);
    ColumnsChanged();
    return StatLayerOnMap->Shown().on ? Apply() : true;
}

void TStatMap::ShowPlaced(bool mapDrawn) {
    const StatMapBlock& b = StatLayerOnMap->Shown();
    LblPlaced->SetCaption(mapDrawn && b.on && b.valueLabels && StatValuesOnMap
                              ? gui::Format("ラベル %d / %d 件を表示", StatValuesOnMap->Placed.load(),
                                            StatValuesOnMap->Wanting.load())
                              : std::string());
}
