// TOpen: paint records, their replay, paint mode and the legend on the map.
#include "components/Tkbtn.h"
#include "engine/Uopen.h"
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

bool TOpen::AddPaintRecord(int32_t x, int32_t y, TColor colour, uint8_t pattern) {
    if (paint_rep < 0) paint_rep = 0;
    if (paint_rep >= PAINT_MAX) return false;
    PaintRecords[paint_rep] = PaintRecord{x, y, colour, pattern};
    paint_rep++;
    return true;
}

// A pixel on a line or a name, or outside the image, gives the background
// colour, so the flood starts only where that colour lies.
void TOpen::FillAt(int sx, int sy, TColor colour, uint8_t pattern) { FillAt(*Image1->Canvas(), sx, sy, colour, pattern); }

void TOpen::FillAt(TCanvas& cv, int sx, int sy, TColor colour, uint8_t pattern) const {
    cv.Brush->Color = colour;
    cv.Brush->Style = PatternBrush(pattern);
    const TColor over = PickTextBackground(cv, sx, sy);
    cv.FloodFill(sx, sy, over, fsSurface);
}

void TOpen::ReplayPaint() { ReplayPaint(*Image1->Canvas(), DrawnView); }

void TOpen::ReplayPaint(TCanvas& cv, const MapView& view) const {
    HourGlass wait;
    const int n = std::min<int>(paint_rep, PAINT_MAX);
    for (int i = 0; i < n; ++i) {
        const PaintRecord& r = PaintRecords[i];
        int sx, sy;
        view.ToScreen(r.x, r.y, sx, sy);
        FillAt(cv, sx, sy, r.colour, r.pattern);
    }
}

std::vector<TCheckBox*> TOpen::SavedCheckBoxes() const {
    return {CBPrefBorder, CBTownBorder, CBTownName, CBLabel, CBScale, CBLonLat, CBFun,       CBDo,
            CB1do,        CBOldTown,    CBMainDoubleName, CBLake, CBCenter, CBExp, CBTownPaint};
}

void TOpen::SaveCheckStates() {
    if (CheckStatesSaved) return;
    const auto boxes = SavedCheckBoxes();
    for (size_t i = 0; i < boxes.size(); ++i) SavedCheckStates[i] = boxes[i]->Checked();
    CheckStatesSaved = true;
}

// Without an entry into painting there is nothing to put back (a project
// restore or a paint file ends a painting that never began).
void TOpen::RestoreCheckStates() {
    if (!CheckStatesSaved) return;
    CheckStatesSaved = false;
    const auto boxes = SavedCheckBoxes();
    for (size_t i = 0; i < boxes.size(); ++i) boxes[i]->SetChecked(SavedCheckStates[i] != 0);
}

void TOpen::BtnPaintClick(TObject*) {
    if (paint_rep > 0 &&
        MessageBox("ペイント作業を新規に開始しますか？　　　　　", "ペイント作業の開始",
                   MB_OKCANCEL | MB_ICONQUESTION) != IDOK) {
        MapPaint->BtnPaintAdd->SetEnabled(true);
        return;
    }
    ArmTool<PaintTool>(*this);
    paint_rep = 0;
    PaintSlot = -1;
    Keido->SetChecked(false);
    PaintDisplay = false;
    {
        RedrawOff off;
        PreparePaintMode();
        ken_name->SetChecked(false);
        kokudo->SetChecked(false);
    }
    CBCenter->SetChecked(false);
    DrawMap();

    MapPaint->Show();
    MapPaint->ShowCount();

    BtnPaint->SetEnabled(false);
    BtnMark->SetEnabled(false);
    MapPaint->Button1->SetEnabled(false);
    Hanrei->Button3->SetEnabled(false);
    MapPaint->JustContinued = false;
    MapPaint->CBPaintDisplay->SetEnabled(false);
    MapPaint->CBAllPaint->SetChecked(false);
    MapPaint->CBAllPaint->SetEnabled(true);
    MapPaint->ComboBox1->SetEnabled(false);
}

void TOpen::menuPaintClick(TObject* Sender) { BtnPaintClick(Sender); }

void TOpen::PreparePaintMode() {
    if (!ProjectLoading) SaveCheckStates();
    DisableMapControls();
    // Names, grid lines, labels and the scale bar would split the regions to fill.
    CBTownName->SetChecked(false);
    CBLonLat->SetChecked(false);
    CBLabel->SetChecked(false);
    CBScale->SetChecked(false);
    for (int i = 0; i < 8; ++i) MapPaint->SlotButton(i)->SetEnabled(true);
    MapPaint->RaiseSlotButtons();
    MapPaint->Button9->SetEnabled(false);
    MapPaint->BtnPaintAdd->SetEnabled(false);
    MapPaint->BtnRepaint->SetEnabled(false);
    MapPaint->Button1->SetEnabled(false);
    MapPaint->Button19->SetEnabled(true);
    Settei->SetWhiteBackground(true);
    if (SetteiShown) Settei->Close();
    if (LetterShown) Letter->Close();
}

void TOpen::CBTownPaintClick(TObject*) {
    if (!CBTownPaint->Checked()) CBMenseki->SetChecked(false);
}

void TOpen::N6Click(TObject*) {
    TownPaintDialog->Color = TownPaintColor;
    if (!TownPaintDialog->Execute()) return;
    TownPaintColor = TownPaintDialog->Color;
    CBTownPaint->SetColor(TownPaintColor);
    DrawMap();
}

// ---- legend ----

// Drawn from the legend record, which the layer's preparation fills from the boxes.
void TOpen::DrawLegendOnMap(TCanvas& canvas, const MapView& view, const DrawSettings& st) {
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
    if (st.KeepsPlaces) LegendLeft = left, LegendTop = top, LegendRight = right, LegendBottom = bottom;

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

void TOpen::menuExpClick(TObject*) {
    Hanrei->CBExpDisplay->SetChecked(true);
    MapPaint->Button4Click(MapPaint);
    Hanrei->Show();
}

void TOpen::CBExpClick(TObject*) {
    {
        RedrawOff off;
        Hanrei->CBExpDisplay->SetChecked(CBExp->Checked());
        Hanrei->LegendOn = CBExp->Checked();
        Hanrei->Show();
    }
    DrawMap();
}
