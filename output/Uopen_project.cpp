// TOpen: saving and restoring the project file.
#include "output/Uproject.h"
#include "components/Tkbtn.h"
#include "engine/Uopen.h"
#include "gui/Files.h"
#include "labels/Uletter.h"
#include "labels/Upagesdlg.h"
#include "lines/Ukyori.h"
#include "lines/Ulineadd.h"
#include "navigation/Usettei.h"
#include "paint/SlotPicture.h"
#include "paint/Uhanrei.h"
#include "paint/Upaint.h"

std::string ExtractFileNameExt(const std::string& path) { return gui::ExtractFileName(gui::NativePath(path)); }

void SetCheckedQuietly(TCheckBox* box, bool on) {
    TNotifyEvent click = std::move(box->OnClick);
    box->SetChecked(on);
    box->OnClick = std::move(click);
}

namespace {

int Tick(const TCheckBox* b) { return b && b->Checked() ? -1 : 0; }

// The main-form layer boxes of the file, in its order.
std::vector<TCheckBox*> LayerBoxes(TOpen& o) {
    return {o.CBPrefBorder, o.CBTownBorder, o.CBNTownBorder, o.CBTownName, o.CBOldTown, o.CBLabel, o.CBMainDoubleName,
            o.CBScale,      o.CBLake,       o.CBLonLat,      o.CBDo,       o.CB1do,     o.CBExp};
}
const char* const kLayerTags[13] = {"CBPrefBorder", "CBTownBorder", "CBNTownBorder", "CBTownName", "CBOldTown",
                                    "CBLabel",      "CBMainDoubleName", "CBScale",    "CBLake",     "CBLonLat",
                                    "CBDo",         "CB1do",        "CBExp"};
std::vector<TCheckBox*> SetteiBoxes() { return {Settei->CBKu, Settei->CBKuDot, Settei->CBCityName, Settei->CBKuName}; }
const char* const kSetteiTags[4] = {"CBKu", "CBKuDot", "CBCityName", "CBKuName"};
std::vector<TColor*> BaseColours(TOpen& o) {
    return {&o.CoastColor, &o.PrefColor, &o.TownColor, &o.BackColor, &o.WakuColor, &o.KuColor, &o.DoColor, &o.FunColor};
}
const char* const kColourTags[8] = {"CoastColor", "PrefColor", "TownColor", "BackColor",
                                    "WakuColor",  "KuColor",   "DoColor",   "FunColor"};
std::vector<TCheckBox*> RailBoxes(TOpen& o) { return {o.CBRailLine, o.CBEki, o.CBMain}; }
const char* const kRailTags[3] = {"CBRailLine", "CBEki", "CBMain"};

void WriteLegend(gui::TextWriter& w) {
    THanrei* h = Hanrei;
    h->FileBlock().Write(w);
    w.Printf("%d,CBExpWaku\n", Tick(h->CBExpWaku));
    w.Printf("%d,CBBold\n", Tick(h->CBBold));
    w.Printf("%d,CBMenuTitle\n", Tick(h->CBMenuTitle));
}

} // namespace

bool TOpen::SaveProjectFile(const std::string& path) {
    TOpen& o = *this;
    const bool ok = gui::AtomicRewrite(path, [&](gui::TextWriter& w) {
        w.Printf("%d, SELECT\n", SELECT);
        for (int i = 0; i < SELECT; ++i) w.Printf(i + 1 < SELECT ? "%d," : "%d\n", SelectCode[i]);
        w.Printf("%d,%d,CX CY\n", CX, CY);
        w.Printf("%d,SIZEX\n", SIZEX);
        w.Printf("%d,SSIZE\n", SSIZE);
        // Older builds read sizes up to 1800 only; a larger choice is kept as 1800.
        const int copyScale = std::min(COPYSCALE, 3);
        w.Printf("%d,%d,COPYSCALE\n", copyScale, std::min(RadioGroup1->ItemIndex(), copyScale - 1));
        w.Printf("%d,MAGSTEP\n", MAGSTEP);
        // Every digit of the float: a view off by a digit is drawn shifted.
        w.Printf("%.9g,MAGUNIT\n", MAGUNIT);
        w.Printf("%d,UpDownPosition\n", UpDown1->Position());
        w.Printf("%.9g,scale\n", scale);
        const auto layers = LayerBoxes(o);
        for (int k = 0; k < 13; ++k) w.Printf("%d,%s\n", Tick(layers[k]), kLayerTags[k]);
        const auto settei = SetteiBoxes();
        for (int k = 0; k < 4; ++k) w.Printf("%d,%s\n", Tick(settei[k]), kSetteiTags[k]);

        const int n = std::clamp<int>(paint_rep, 0, PAINT_MAX);
        w.Printf("%d,paint_rep\n", n);
        for (int i = 0; i < n; ++i) {
            const PaintRecord& r = PaintRecords[i];
            w.Printf("%d,%d,%d,%d,%d\n", r.x, r.y, int(r.colour), r.pattern, i + 1);
        }
        MapPaint->FilePalette().Write(w);

        Letter->WriteProjectLabels(w);

        // The legend that is on the map, however it was made ("凡例編集" leaves "地図凡例" unticked).
        if (Hanrei->LegendOn && Hanrei->CBExpDisplay->Checked()) {
            w.Printf("-1,hanrei\n");
            WriteLegend(w);
        } else {
            w.Printf("0,hanrei\n");
        }
        w.Printf("%d,%d,%d,%d,Scale CY scl_x1 scly1\n", Tick(CBScale), CY, scl_x1, scly1);

        PagesDlg->WriteSymbolLines(w, true);
        LineAdd->WriteProjectLines(w);
        TKyori* K = Kyori;
        w.Printf("%d,//Kyorien nummber\n", K->CircleCount);
        for (int i = 0; i < K->CircleCount; ++i) {
            const kyorien& c = K->Circles[i];
            w.Printf("%d,%d,%d,%d,%d,", c.cx, c.cy, c.radius, c.textSize, c.width);
            w.Printf("%d,%d,%d,%d,%d,//struct kyorien\n", c.color, c.concentric, c.showDistance, c.showCentre,
                     c.fixedSize);
        }
        const auto colours = BaseColours(o);
        for (int k = 0; k < 8; ++k) w.Printf("%d,%s\n", int(*colours[k]), kColourTags[k]);
        const auto rail = RailBoxes(o);
        for (int k = 0; k < 3; ++k) w.Printf("%d,%s\n", Tick(rail[k]), kRailTags[k]);
        return !w.Failed();
    });
    if (!ok) {
        MessageBox("RVXファイルを書き込めません　　　", "ファイル書き込みエラー　", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    Label19->SetCaption(ExtractFileNameExt(path));
    return true;
}

void TOpen::Button1Click(TObject*) {
    if (SaveDialog3->Execute()) SaveProjectFile(SaveDialog3->FileName);
}

void TOpen::RestoreView(const ProjectData& d) {
    SELECT = d.select;
    std::copy(d.codes, d.codes + d.select, SelectCode);
    CX = d.cx, CY = d.cy;
    SIZEX = d.sizex, SSIZE = d.ssize, COPYSCALE = d.copyscale, MAGSTEP = d.magstep;
    MAGUNIT = d.magunit;
    scale = d.scale;
    ScaleX = scale * MAGUNIT * MAGSTEP * COPYSCALE / SSIZE;
    ImageSize = SIZEX * COPYSCALE / SSIZE;
    // The size choice is the copy scale: the file's second copy of it is not taken.
    RadioGroup1->SetItemIndex(COPYSCALE - 1);
    Settei->RadioGroup1->SetItemIndex(SSIZE - 1);
    UpDown1->SetPosition(MAGSTEP);
    // While a project is restored the area load keeps this view.
    Button3Click(this);
}

// After the area load, which ticks the name boxes by the number of areas.
void TOpen::RestoreLayerBoxes(const ProjectData& d) {
    const auto layers = LayerBoxes(*this);
    for (int k = 0; k < 13; ++k) {
        layers[k]->SetChecked(d.boxes[k]);
        if (layers[k] == CBLonLat) Keido->SetChecked(!d.boxes[k]);
    }
    const auto settei = SetteiBoxes();
    for (int k = 0; k < 4; ++k) settei[k]->SetChecked(d.setteiBoxes[k]);
}

void TOpen::Button10Click(TObject*) {
    if (OpenDialog1->Execute()) RestoreProjectFile(OpenDialog1->FileName);
}

bool TOpen::RestoreProjectFile(const std::string& path) {
    // The whole file is read and checked before anything changes.
    std::vector<std::string> lines;
    {
        gui::TextReader r;
        if (!r.Open(path)) {
            MessageBox("RVXファイルを読み込めません　　　", "ファイル読み込みエラー　", MB_OK | MB_ICONEXCLAMATION);
            return false;
        }
        std::string line;
        while (r.ReadLine(line)) lines.push_back(line);
    }
    ProjectData d;
    if (const int bad = ParseProject(lines, d)) {
        MessageBox(gui::Format("RVXファイル %s の %d 行目が正しくありません", path.c_str(), bad),
                   "ファイル読み込みエラー　", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }

    // The map is drawn once, when everything is back; until then the area load
    // keeps the restored view and nothing is drawn on the map shown now.
    RedrawOnce once;
    struct Loading {
        bool& flag;
        explicit Loading(bool& f) : flag(f) { flag = true; }
        ~Loading() { flag = false; }
    } loading(ProjectLoading);
    // A painting under way ends first, putting back the user's ticks; the file's come after.
    if (PaintMode) MapPaint->Button19Click(MapPaint);
    // The settings twin of "重複可" follows the main box, but the file holds only the main one.
    const bool doubleNames = Settei->CBDoubleName->Checked();
    Label19->SetCaption(ExtractFileNameExt(path));
    SaveDialog3->FileName = path;
    WriteLog("\nファイル読み込み\n");
    WriteLog(gui::Format("RVXファイル名：%s\n", path.c_str()));

    RestoreView(d);
    RestoreLayerBoxes(d);
    // Its handler would tick the main box back: the twin alone goes back.
    SetCheckedQuietly(Settei->CBDoubleName, doubleNames);

    MapPaint->RestorePaint(d.paint, d.palette);
    WriteLog(gui::Format("ペイント数：%d\n", int(d.paint.size())));

    // Labels, shown when there are some.
    Letter->BeginProjectRestore(d.labels);
    CBLabel->SetChecked(!d.labels.empty());
    WriteLog(gui::Format("ラベル数：%d\n", int(d.labels.size())));

    // Without a legend in the file none is drawn, whatever "地図凡例" did.
    if (d.legend) Hanrei->RestoreLegend(d.legendBlock);
    else Hanrei->LegendOn = false;
    scl_x1 = d.scaleX;
    scly1 = d.scaleY;
    CBScale->SetChecked(d.scaleBar);

    // Symbols, then the railways as their boxes stand.
    PagesDlg->RestoreSymbols(d.symbols);
    RailRoadSet();

    LineAdd->RestoreProjectLines(d.paintLine, d.lineFiles);

    Kyori->RestoreCircles(d.circles);

    const auto colours = BaseColours(*this);
    for (int k = 0; k < 8; ++k) *colours[k] = d.baseColours[k];
    const auto rail = RailBoxes(*this);
    for (int k = 0; k < 3; ++k) {
        if (!rail[k]) continue;
        rail[k]->SetChecked(d.rail[k]);
        WriteLog(gui::Format("%s->Checked=%s\n", kRailTags[k], rail[k]->Checked() ? "true" : "false"));
    }

    Settei->FormCreate(Settei);
    WriteLog(ProjectLoading ? "FROMFILE：true\n" : "FROMFILE：false\n");
    Letter->EndProjectRestore(d.labels);
    Button1->SetEnabled(true);
    N161Click(this);
    LineAdd->ShowRestoredFiles();
    CBRailLine->SetEnabled(true);

    MapShown = true;
    DataReady = true;
    BtnLetter->SetEnabled(true);
    DUMMY->SetCaption(std::to_string(PagesDlg->PlacedSymbolCount));
    Hanrei->Close();
    // The redraw draws the circles in their own layer, under the lines, symbols and labels.
    DrawMap();
    return true;
}
