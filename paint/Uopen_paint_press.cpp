// Map presses of the paint and legend windows, and the main-form controls they add.
#include "engine/Uopen.h"
#include "paint/MainFormPaint.h"
#include "labels/Upagesdlg.h"
#include "paint/HourGlass.h"
#include "paint/PaintTools.h"
#include "paint/Uhanrei.h"
#include "paint/Upaint.h"
#include "paint/StatLayer.h"
#include "paint/Ustatmap.h"
#include <cmath>

// A fill keeps the Tokyo datum: where the map is drawn shifted to WGS, the
// pressed position is shifted back, so the replay lands where the user pressed.
TForm* PaintTool::Owner() const { return MapPaint; }

void PaintTool::End() { MapPaint->Button19Click(MapPaint); }

bool PaintTool::Press(const MapEvent& e) {
    PaintAt(o, e.X, e.Y);
    return false;
}

void PaintAt(TOpen& o, int X, int Y) {
    if (PaintOf(o).PaintSlot < 0 || PaintOf(o).PaintSlot > 7) {
        MessageBox("ペイントカラーもしくはペイントパターンが選択されておりません", "ペイントエラー",
                   MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (PaintStoreOf(o).paint_rep >= PaintStoreOf(o).PAINT_MAX) {
        MessageBox(gui::Format("ペイントの回数が上限（%d回）に達しました", PaintStoreOf(o).PAINT_MAX), "ペイントエラー", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    int32_t x, y;
    o.PressToData(X, Y, x, y);
    const TColor colour = StyleOf(o).PaintColor[PaintOf(o).PaintSlot];
    const uint8_t pattern = StyleOf(o).PaintPattern[PaintOf(o).PaintSlot];
    {
        HourGlass wait;
        FillAt(o, X, Y, colour, pattern);
    }
    AddPaintRecord(o, x, y, colour, pattern);
    MapPaint->BtnRepaint->SetEnabled(true);
    MapPaint->ShowCount();
}

// The end of a legend drag: the box's corner becomes the legend's position
// in units of the 600-pixel image.
void TOpen::DropLegend(int X, int Y) {
    const double k = ImageSize > 0 ? ImageSize / 600.0 : 1.0;
    Hanrei->UpDown3->SetPosition(int(std::trunc(X / k + 5)));
    Hanrei->UpDown4->SetPosition(int(std::trunc(Y / k + 5)));
    Hanrei->Button3Click(Hanrei);
}

void Undo1Click(TOpen& o, TObject* Sender) {
    if (PagesDlg->Visible() && PagesDlg->CancelBtn->Press()) return;
    MapPaint->BtnRepaint->Press();
}

void WirePaintHandlers(TOpen& o) {
    UiOf(o).Undo1->OnClick = [&o](TObject* s) { Undo1Click(o, s); };
    AddPaintLayers(o);
    UiOf(o).BtnPaint->OnClick = [&o](TObject* s) { BtnPaintClick(o, s); };
    UiOf(o).menuPaint->OnClick = [&o](TObject* s) { menuPaintClick(o, s); };
    UiOf(o).CBTownPaint->SetHint("同一色でペイントする");
    UiOf(o).CBTownPaint->OnClick = [&o](TObject* s) { CBTownPaintClick(o, s); };
    UiOf(o).CBExp->OnClick = [&o](TObject* s) { CBExpClick(o, s); };
    PaintControlsOf(o).N6 = new TMenuItem("市町村検索ペイント色");
    UiOf(o).Option1->Add(PaintControlsOf(o).N6);
    PaintControlsOf(o).N6->OnClick = [&o](TObject* s) { N6Click(o, s); };
    PaintControlsOf(o).menuExp = new TMenuItem("地図凡例を編集する");
    UiOf(o).Window1->Add(PaintControlsOf(o).menuExp);
    PaintControlsOf(o).menuExp->OnClick = [&o](TObject* s) { menuExpClick(o, s); };
    PaintControlsOf(o).menuStatMap = new TMenuItem("統計地図...");
    UiOf(o).Window1->Add(PaintControlsOf(o).menuStatMap);
    PaintControlsOf(o).menuStatMap->OnClick = [](TObject*) { StatMapWindow()->Show(); };
    HooksOf(o).AreaChange.On(AreaStep::Discard, [] {
        if (StatMap) StatMap->LeaveMap();
        StatLayerOnMap->Show(StatMapBlock{});
    });
    // The edition the map is drawn from is the one on disk when it was loaded.
    HooksOf(o).AreaChange.On(AreaStep::Loaded, [] { StatLayerOnMap->MapYear = TickedEditionYear(); });
    HooksOf(o).AreaChange.Work([] { return StatLayerOnMap->Shown().on; });
    HooksOf(o).AreaChange.On(AreaStep::Changing, [] {
        if (StatMap) StatMap->MapChanging();
    });
    HooksOf(o).AreaChange.On(AreaStep::Redrawn, [] {
        if (StatMap) StatMap->MapChanged();
    });
    PaintControlsOf(o).TownPaintDialog = new TColorDialog(&o);
    UiOf(o).Label35->SetHint("測定不能領域の数");

    // The fills and the legend shown belong to the old map.
    HooksOf(o).AreaChange.Work([&o] { return PaintStoreOf(o).paint_rep > 0 || Hanrei->CBExpDisplay->Checked(); });
    HooksOf(o).AreaChange.On(AreaStep::Discard, [&o] {
        MapPaint->Close();
        // Its handler would draw the old map once more.
        SetCheckedQuietly(UiOf(o).CBExp, false);
        SetCheckedQuietly(Hanrei->CBExpDisplay, false);
        Hanrei->Close();
        Hanrei->LegendOn = false;
        Hanrei->SaveDialog1->FileName.clear();
        o.LegendShown = false;
        MapPaint->JustContinued = false;
        PaintStoreOf(o).paint_rep = 0;
        PaintStoreOf(o).PaintDisplay = false;
        MapPaint->LblPaint->SetCaption("0");
    });
}
