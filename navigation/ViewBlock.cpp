// The main form's project blocks, written, read and put back side by side.
#include "navigation/ViewBlock.h"
#include "engine/Uopen.h"
#include "lines/MainFormLines.h"
#include "gui/TextFile.h"
#include "navigation/Usettei.h"
#include "engine/ProjectLines.h"
#include <algorithm>
#include <cmath>

namespace {

std::vector<TCheckBox*> LayerBoxes(TOpen& o) {
    return {UiOf(o).CBPrefBorder, UiOf(o).CBTownBorder, UiOf(o).CBNTownBorder, UiOf(o).CBTownName, UiOf(o).CBOldTown, UiOf(o).CBLabel, UiOf(o).CBMainDoubleName,
            UiOf(o).CBScale,      UiOf(o).CBLake,       UiOf(o).CBLonLat,      UiOf(o).CBDo,       UiOf(o).CB1do,     UiOf(o).CBExp};
}
const char* const kLayerTags[13] = {"CBPrefBorder", "CBTownBorder", "CBNTownBorder", "CBTownName", "CBOldTown",
                                    "CBLabel",      "CBMainDoubleName", "CBScale",    "CBLake",     "CBLonLat",
                                    "CBDo",         "CB1do",        "CBExp"};
std::vector<TCheckBox*> SetteiBoxes() { return {Settei->CBKu, Settei->CBKuDot, Settei->CBCityName, Settei->CBKuName}; }
const char* const kSetteiTags[4] = {"CBKu", "CBKuDot", "CBCityName", "CBKuName"};
std::vector<TColor*> BaseColours(TOpen& o) {
    return {&StyleOf(o).CoastColor, &StyleOf(o).PrefColor, &StyleOf(o).TownColor, &StyleOf(o).BackColor, &StyleOf(o).WakuColor, &StyleOf(o).KuColor, &StyleOf(o).DoColor, &StyleOf(o).FunColor};
}
const char* const kColourTags[8] = {"CoastColor", "PrefColor", "TownColor", "BackColor",
                                    "WakuColor",  "KuColor",   "DoColor",   "FunColor"};
std::vector<TCheckBox*> RailBoxes(TOpen& o) { return {UiOf(o).CBRailLine, UiOf(o).CBEki, RailControlsOf(o).CBMain}; }
const char* const kRailTags[3] = {"CBRailLine", "CBEki", "CBMain"};

} // namespace

ViewBlock ViewBlock::Take() {
    const TOpen& o = *Open;
    ViewBlock v;
    v.select = std::clamp<int32_t>(DocOf(o).SELECT, 0, 52);
    std::copy(DocOf(o).SelectCode, DocOf(o).SelectCode + v.select, v.codes);
    v.cx = o.CX, v.cy = o.CY;
    // Older builds read sizes up to 1800 only; a larger choice is kept as 1800.
    v.sizex = o.SIZEX, v.ssize = o.SSIZE, v.copyscale = std::min(o.COPYSCALE, 3), v.magstep = o.MAGSTEP;
    v.sizeChoice = std::min(UiOf(o).RadioGroup1->ItemIndex(), v.copyscale - 1);
    v.upDown = UiOf(o).UpDown1->Position();
    v.magunit = o.MAGUNIT, v.scale = o.scale;
    return v;
}

void ViewBlock::Write(gui::TextWriter& w) const {
    w.Printf("%d, SELECT\n", select);
    for (int i = 0; i < select; ++i) w.Printf(i + 1 < select ? "%d," : "%d\n", codes[i]);
    w.Printf("%d,%d,CX CY\n", cx, cy);
    w.Printf("%d,SIZEX\n", sizex);
    w.Printf("%d,SSIZE\n", ssize);
    w.Printf("%d,%d,COPYSCALE\n", copyscale, sizeChoice);
    w.Printf("%d,MAGSTEP\n", magstep);
    // Every digit of the float: a view off by a digit is drawn shifted.
    w.Printf("%.9g,MAGUNIT\n", magunit);
    w.Printf("%d,UpDownPosition\n", upDown);
    w.Printf("%.9g,scale\n", scale);
}

bool ViewBlock::Parse(ProjectLines& in) {
    std::vector<std::string> f;
    if (!in.Ranged(select, 1, 52) || !in.Fields(f)) return false;
    for (int i = 0; i < select; ++i) {
        codes[i] = in.Int(f, i);
        if (!in.Check(codes[i] >= 1 && codes[i] <= 52)) return false;
    }
    if (!in.Fields(f) || !in.Position(f, 0, cx, cy)) return false;
    if (!in.Ranged(sizex, 600, 600) || !in.Ranged(ssize, 1, 5) || !in.Fields(f)) return false;
    copyscale = in.Int(f, 0);
    sizeChoice = in.Int(f, 1);
    if (!in.Check(copyscale >= 1 && copyscale <= TOpen::COPYSCALE_MAX)) return false;
    float position = 0;
    if (!in.Ranged(magstep, 1, 10000) || !in.Float(magunit, true) || !in.Float(position, false) ||
        !in.Float(scale, true))
        return false;
    upDown = std::isfinite(position) ? int32_t(std::clamp(std::lround(position), -100000L, 100000L)) : 0;
    return true;
}

void ViewBlock::Apply() const {
    TOpen& o = *Open;
    DocOf(o).SELECT = select;
    std::copy(codes, codes + select, DocOf(o).SelectCode);
    o.CX = cx, o.CY = cy;
    o.SIZEX = sizex, o.SSIZE = ssize, o.COPYSCALE = copyscale, o.MAGSTEP = magstep;
    o.MAGUNIT = magunit;
    o.scale = scale;
    o.ScaleX = o.scale * o.MAGUNIT * o.MAGSTEP * o.COPYSCALE / o.SSIZE;
    o.ImageSize = o.SIZEX * o.COPYSCALE / o.SSIZE;
    // The size choice is the copy scale and the up-down shows the magnification
    // step: the file's second copies of both are not taken.
    UiOf(o).RadioGroup1->SetItemIndex(o.COPYSCALE - 1);
    Settei->RadioGroup1->SetItemIndex(o.SSIZE - 1);
    UiOf(o).UpDown1->SetPosition(o.MAGSTEP);
    // While a project is restored the area load keeps this view.
    o.Button3Click(&o);
}

LayerBoxBlock LayerBoxBlock::Take() {
    LayerBoxBlock b;
    const auto layers = LayerBoxes(*Open);
    for (int k = 0; k < 13; ++k) b.layers[k] = layers[k]->Checked();
    const auto settei = SetteiBoxes();
    for (int k = 0; k < 4; ++k) b.settei[k] = settei[k]->Checked();
    return b;
}

void LayerBoxBlock::Write(gui::TextWriter& w) const {
    for (int k = 0; k < 13; ++k) w.Printf("%d,%s\n", layers[k] ? -1 : 0, kLayerTags[k]);
    for (int k = 0; k < 4; ++k) w.Printf("%d,%s\n", settei[k] ? -1 : 0, kSetteiTags[k]);
}

bool LayerBoxBlock::Parse(ProjectLines& in) {
    for (bool& b : layers)
        if (!in.Box(b)) return false;
    for (bool& b : settei)
        if (!in.Box(b)) return false;
    return true;
}

void LayerBoxBlock::Apply() const {
    TOpen& o = *Open;
    const auto boxes = LayerBoxes(o);
    for (int k = 0; k < 13; ++k) {
        boxes[k]->SetChecked(layers[k]);
        if (boxes[k] == UiOf(o).CBLonLat) UiOf(o).Keido->SetChecked(!layers[k]);
    }
    const auto twins = SetteiBoxes();
    for (int k = 0; k < 4; ++k) twins[k]->SetChecked(settei[k]);
}

ScaleBarBlock ScaleBarBlock::Take() {
    const TOpen& o = *Open;
    return {UiOf(o).CBScale->Checked(), o.CY, StyleOf(o).scl_x1, StyleOf(o).scly1};
}

void ScaleBarBlock::Write(gui::TextWriter& w) const {
    w.Printf("%d,%d,%d,%d,Scale CY scl_x1 scly1\n", shown ? -1 : 0, cy, x, y);
}

bool ScaleBarBlock::Parse(ProjectLines& in) {
    std::vector<std::string> f;
    if (!in.Fields(f)) return false;
    shown = in.Int(f, 0) != 0;
    cy = in.Int(f, 1);
    x = in.Int(f, 2), y = in.Int(f, 3);
    return in.Check(std::abs(x) <= 600 && std::abs(y) <= 600);
}

void ScaleBarBlock::Apply() const {
    TOpen& o = *Open;
    StyleOf(o).scl_x1 = x;
    StyleOf(o).scly1 = y;
    UiOf(o).CBScale->SetChecked(shown);
}

BaseColourBlock BaseColourBlock::Take() {
    BaseColourBlock b;
    const auto colours = BaseColours(*Open);
    for (int k = 0; k < 8; ++k) b.colours[k] = *colours[k];
    return b;
}

void BaseColourBlock::Write(gui::TextWriter& w) const {
    for (int k = 0; k < 8; ++k) w.Printf("%d,%s\n", int(colours[k]), kColourTags[k]);
}

bool BaseColourBlock::Parse(ProjectLines& in) {
    for (TColor& c : colours) {
        int v;
        if (!in.Lenient(v)) return false;
        c = TColor(v);
    }
    return true;
}

void BaseColourBlock::Apply() const {
    const auto targets = BaseColours(*Open);
    for (int k = 0; k < 8; ++k) *targets[k] = colours[k];
}

RailBoxBlock RailBoxBlock::Take() {
    RailBoxBlock b;
    const auto rail = RailBoxes(*Open);
    for (int k = 0; k < 3; ++k) b.boxes[k] = rail[k] && rail[k]->Checked();
    return b;
}

void RailBoxBlock::Write(gui::TextWriter& w) const {
    for (int k = 0; k < 3; ++k) w.Printf("%d,%s\n", boxes[k] ? -1 : 0, kRailTags[k]);
}

bool RailBoxBlock::Parse(ProjectLines& in) {
    for (bool& b : boxes)
        if (!in.Box(b)) return false;
    return true;
}

// From unticked, so that what the railway load reads does not hang on how the
// boxes stood before the restore.
void RailBoxBlock::Apply() const {
    TOpen& o = *Open;
    UiOf(o).CBRailLine->SetChecked(false);
    RailControlsOf(o).CBMain->SetChecked(false);
    const auto rail = RailBoxes(o);
    for (int k = 0; k < 3; ++k) {
        rail[k]->SetChecked(boxes[k]);
        o.WriteLog(gui::Format("%s->Checked=%s\n", kRailTags[k], rail[k]->Checked() ? "true" : "false"));
    }
}
