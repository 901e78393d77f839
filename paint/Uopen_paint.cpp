// TOpen: paint records, their replay, paint mode and the legend on the map.
#include "components/Tkbtn.h"
#include "engine/Uopen.h"
#include "paint/MainFormPaint.h"
#include "paint/HourGlass.h"
#include "paint/PaintTools.h"
#include "labels/Uletter.h"
#include "navigation/Usettei.h"
#include "paint/SlotPicture.h"
#include "paint/Uhanrei.h"
#include "paint/Upaint.h"
#include <algorithm>
#include <cmath>

namespace {

int nint(double v) { return int(std::nearbyint(v)); }

} // namespace

bool AddPaintRecord(TOpen& o, int32_t x, int32_t y, TColor colour, uint8_t pattern) {
    if (PaintStoreOf(o).paint_rep < 0) PaintStoreOf(o).paint_rep = 0;
    if (PaintStoreOf(o).paint_rep >= PaintStoreOf(o).PAINT_MAX) return false;
    PaintStoreOf(o).PaintRecords[PaintStoreOf(o).paint_rep] = PaintRecord{x, y, colour, pattern};
    PaintStoreOf(o).paint_rep++;
    return true;
}

// A pixel on a line or a name, or outside the image, gives the background
// colour, so the flood starts only where that colour lies.
void FillAt(const TOpen& o, int sx, int sy, TColor colour, uint8_t pattern) { FillAt(o, *UiOf(o).Image1->Canvas(), sx, sy, colour, pattern); }

void FillAt(const TOpen& o, TCanvas& cv, int sx, int sy, TColor colour, uint8_t pattern) {
    cv.Brush->Color = colour;
    cv.Brush->Style = PatternBrush(pattern);
    const TColor over = o.PickTextBackground(cv, sx, sy);
    cv.FloodFill(sx, sy, over, fsSurface);
}

void ReplayPaint(const TOpen& o) { ReplayPaint(o, *UiOf(o).Image1->Canvas(), o.DrawnView); }

void ReplayPaint(const TOpen& o, TCanvas& cv, const MapView& view) {
    HourGlass wait;
    const int n = std::min<int>(PaintStoreOf(o).paint_rep, PaintStoreOf(o).PAINT_MAX);
    for (int i = 0; i < n; ++i) {
        const PaintRecord& r = PaintStoreOf(o).PaintRecords[i];
        int sx, sy;
        view.ToScreen(r.x, r.y, sx, sy);
        FillAt(o, cv, sx, sy, r.colour, r.pattern);
    }
}

std::vector<TCheckBox*> SavedCheckBoxes(const TOpen& o) {
    return {UiOf(o).CBPrefBorder, UiOf(o).CBTownBorder, UiOf(o).CBTownName, UiOf(o).CBLabel, UiOf(o).CBScale, UiOf(o).CBLonLat, UiOf(o).CBFun,       UiOf(o).CBDo,
            UiOf(o).CB1do,        UiOf(o).CBOldTown,    UiOf(o).CBMainDoubleName, UiOf(o).CBLake, UiOf(o).CBCenter, UiOf(o).CBExp, UiOf(o).CBTownPaint};
}

void SaveCheckStates(TOpen& o) {
    if (PaintOf(o).CheckStatesSaved) return;
    const auto boxes = SavedCheckBoxes(o);
    for (size_t i = 0; i < boxes.size(); ++i) PaintOf(o).SavedCheckStates[i] = boxes[i]->Checked();
    PaintOf(o).CheckStatesSaved = true;
}

// Without an entry into painting there is nothing to put back (a project
// restore or a paint file ends a painting that never began).
void RestoreCheckStates(TOpen& o) {
    if (!PaintOf(o).CheckStatesSaved) return;
    PaintOf(o).CheckStatesSaved = false;
    const auto boxes = SavedCheckBoxes(o);
    for (size_t i = 0; i < boxes.size(); ++i) boxes[i]->SetChecked(PaintOf(o).SavedCheckStates[i] != 0);
}

void BtnPaintClick(TOpen& o, TObject*) {
    if (PaintStoreOf(o).paint_rep > 0 &&
        MessageBox("ペイント作業を新規に開始しますか？　　　　　", "ペイント作業の開始",
                   MB_OKCANCEL | MB_ICONQUESTION) != IDOK) {
        MapPaint->BtnPaintAdd->SetEnabled(true);
        return;
    }
    ToolsOf(o).ArmTool<PaintTool>(o);
    PaintStoreOf(o).paint_rep = 0;
    PaintOf(o).PaintSlot = -1;
    UiOf(o).Keido->SetChecked(false);
    PaintStoreOf(o).PaintDisplay = false;
    {
        RedrawOff off;
        PreparePaintMode(o);
        UiOf(o).ken_name->SetChecked(false);
        UiOf(o).kokudo->SetChecked(false);
    }
    UiOf(o).CBCenter->SetChecked(false);
    RedrawMap(o);

    MapPaint->Show();
    MapPaint->ShowCount();

    UiOf(o).BtnPaint->SetEnabled(false);
    UiOf(o).BtnMark->SetEnabled(false);
    MapPaint->Button1->SetEnabled(false);
    Hanrei->Button3->SetEnabled(false);
    MapPaint->JustContinued = false;
    MapPaint->CBPaintDisplay->SetEnabled(false);
    MapPaint->CBAllPaint->SetChecked(false);
    MapPaint->CBAllPaint->SetEnabled(true);
    MapPaint->ComboBox1->SetEnabled(false);
}

void menuPaintClick(TOpen& o, TObject* Sender) { BtnPaintClick(o, Sender); }

void PreparePaintMode(TOpen& o) {
    if (!GateOf(o).ProjectLoading) SaveCheckStates(o);
    o.DisableMapControls();
    // Names, grid lines, labels and the scale bar would split the regions to fill.
    UiOf(o).CBTownName->SetChecked(false);
    UiOf(o).CBLonLat->SetChecked(false);
    UiOf(o).CBLabel->SetChecked(false);
    UiOf(o).CBScale->SetChecked(false);
    for (int i = 0; i < 8; ++i) MapPaint->SlotButton(i)->SetEnabled(true);
    MapPaint->RaiseSlotButtons();
    MapPaint->Button9->SetEnabled(false);
    MapPaint->BtnPaintAdd->SetEnabled(false);
    MapPaint->BtnRepaint->SetEnabled(false);
    MapPaint->Button1->SetEnabled(false);
    MapPaint->Button19->SetEnabled(true);
    Settei->SetWhiteBackground(true);
    if (o.SetteiShown) Settei->Close();
    if (o.LetterShown) Letter->Close();
}

void CBTownPaintClick(TOpen& o, TObject*) {
    if (!UiOf(o).CBTownPaint->Checked()) UiOf(o).CBMenseki->SetChecked(false);
}

void N6Click(TOpen& o, TObject*) {
    PaintControlsOf(o).TownPaintDialog->Color = StyleOf(o).TownPaintColor;
    if (!PaintControlsOf(o).TownPaintDialog->Execute()) return;
    StyleOf(o).TownPaintColor = PaintControlsOf(o).TownPaintDialog->Color;
    UiOf(o).CBTownPaint->SetColor(StyleOf(o).TownPaintColor);
    RedrawMap(o);
}

// ---- legend ----

// Drawn from the legend record, which the layer's preparation fills from the boxes.
void DrawLegendOnMap(TOpen& o, TCanvas& canvas, const MapView& view, const DrawSettings& st) {
    const THanrei* L = Hanrei;
    if (!L->LegendOn) return;
    const double f = view.size / 600.0;
    const int w = nint(L->LegendW * f), h = nint(L->LegendH * f), d = nint(L->LegendGap * f);
    const int x = nint(L->LegendX * f), y = nint(L->LegendY * f), s = nint(L->LegendTextSize * f);
    const int n = L->LegendCount;
    const bool title = st.LegendTitle;
    const std::string& titleText = L->LegendTitle;
    const int rows = n >= 1 && n <= 8 ? n : 0;

    TCanvas* cv = &canvas;
    cv->Font->Size = s;
    cv->Font->Color = L->LegendTextColor;
    cv->Brush->Style = bsSolid;
    cv->Pen->Style = psSolid;

    // Without a title the first row takes the title's place.
    const int R = title ? y : y - (h + d);
    const int H = (h + d) * n - d / 2 + (title ? h + d : 0);
    int M = title ? nint(cv->TextWidth(titleText) * 0.7) : 0;
    for (int i = 0; i < rows; ++i) M = std::max(M, cv->TextWidth(L->LegendTexts[i]));
    const int B = nint(w + 10 * f + M);
    cv->Pen->Width = st.LegendBold ? 2 : 1;
    cv->Pen->Color = st.LegendFrame ? L->LegendFrameColor : L->LegendFillColor;
    cv->Brush->Color = L->LegendFillColor;
    const int left = nint(x - 5 * f), top = nint(y - 5 * f), right = nint(x + B + 5 * f), bottom = nint(y + H + 5 * f);
    cv->Rectangle(left, top, right, bottom);
    // A press finds the legend on the screen's image only.
    if (st.KeepsPlaces) o.LegendLeft = left, o.LegendTop = top, o.LegendRight = right, o.LegendBottom = bottom;

    const int tx = nint(x + w + 10 * f);
    cv->Pen->Width = 1;
    if (title) cv->TextOut(x, y, titleText);
    for (int i = 0; i < rows; ++i) {
        const int top = (h + d) * (i + 1) + R;
        cv->Pen->Color = clBlack;
        cv->Brush->Color = L->LegendColors[i];
        cv->Brush->Style = PatternBrush(L->LegendPatterns[i]);
        cv->Rectangle(x, top, x + w, top + h);
        cv->Brush->Color = L->LegendFillColor;
        cv->TextOut(tx, top, L->LegendTexts[i]);
    }
}

void menuExpClick(TOpen& o, TObject*) {
    Hanrei->CBExpDisplay->SetChecked(true);
    MapPaint->Button4Click(MapPaint);
    Hanrei->Show();
}

void CBExpClick(TOpen& o, TObject*) {
    {
        RedrawOff off;
        Hanrei->CBExpDisplay->SetChecked(UiOf(o).CBExp->Checked());
        Hanrei->LegendOn = UiOf(o).CBExp->Checked();
        Hanrei->Show();
    }
    RedrawMap(o);
}

PaintState& PaintOf(TOpen& o) { return PartsOf(o).Get<PaintState>(); }
const PaintState& PaintOf(const TOpen& o) { return PartsOf(o).Get<PaintState>(); }

PaintControls& PaintControlsOf(TOpen& o) { return PartsOf(o).Get<PaintControls>(); }
const PaintControls& PaintControlsOf(const TOpen& o) { return PartsOf(o).Get<PaintControls>(); }
