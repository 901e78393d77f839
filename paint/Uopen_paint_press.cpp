// Map presses of the paint and legend windows, and the main-form controls they add.
#include "engine/Uopen.h"
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
    o.PaintAt(e.X, e.Y);
    return false;
}

void TOpen::PaintAt(int X, int Y) {
    if (PaintSlot < 0 || PaintSlot > 7) {
        MessageBox("ペイントカラーもしくはペイントパターンが選択されておりません", "ペイントエラー",
                   MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (paint_rep >= PAINT_MAX) {
        MessageBox(gui::Format("ペイントの回数が上限（%d回）に達しました", PAINT_MAX), "ペイントエラー", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    int32_t x, y;
    PressToData(X, Y, x, y);
    const TColor colour = PaintColor[PaintSlot];
    const uint8_t pattern = PaintPattern[PaintSlot];
    {
        HourGlass wait;
        FillAt(X, Y, colour, pattern);
    }
    AddPaintRecord(x, y, colour, pattern);
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

void TOpen::Undo1Click(TObject* Sender) {
    if (PagesDlg->Visible() && PagesDlg->CancelBtn->Press()) return;
    MapPaint->BtnRepaint->Press();
}

void TOpen::WirePaintHandlers() {
    Undo1->OnClick = [this](TObject* s) { Undo1Click(s); };
    AddPaintLayers();
    BtnPaint->OnClick = [this](TObject* s) { BtnPaintClick(s); };
    menuPaint->OnClick = [this](TObject* s) { menuPaintClick(s); };
    CBTownPaint->SetHint("同一色でペイントする");
    CBTownPaint->OnClick = [this](TObject* s) { CBTownPaintClick(s); };
    CBExp->OnClick = [this](TObject* s) { CBExpClick(s); };
    N6 = new TMenuItem("市町村検索ペイント色");
    Option1->Add(N6);
    N6->OnClick = [this](TObject* s) { N6Click(s); };
    menuExp = new TMenuItem("地図凡例を編集する");
    Window1->Add(menuExp);
    menuExp->OnClick = [this](TObject* s) { menuExpClick(s); };
    menuStatMap = new TMenuItem("統計地図...");
    Window1->Add(menuStatMap);
    menuStatMap->OnClick = [](TObject*) { StatMapWindow()->Show(); };
    AreaChange.On(AreaStep::Discard, [] {
        if (StatMap) StatMap->LeaveMap();
        StatLayerOnMap->Show(StatMapBlock{});
    });
    // The edition the map is drawn from is the one on disk when it was loaded.
    AreaChange.On(AreaStep::Loaded, [] { StatLayerOnMap->MapYear = TickedEditionYear(); });
    AreaChange.Work([] { return StatLayerOnMap->Shown().on; });
    AreaChange.On(AreaStep::Changing, [] {
        if (StatMap) StatMap->MapChanging();
    });
    AreaChange.On(AreaStep::Redrawn, [] {
        if (StatMap) StatMap->MapChanged();
    });
    TownPaintDialog = new TColorDialog(this);
    Label35->SetHint("測定不能領域の数");

    // The fills and the legend shown belong to the old map.
    AreaChange.Work([this] { return paint_rep > 0 || Hanrei->CBExpDisplay->Checked(); });
    AreaChange.On(AreaStep::Discard, [this] {
        MapPaint->Close();
        // Its handler would draw the old map once more.
        SetCheckedQuietly(CBExp, false);
        SetCheckedQuietly(Hanrei->CBExpDisplay, false);
        Hanrei->Close();
        Hanrei->LegendOn = false;
        Hanrei->SaveDialog1->FileName.clear();
        LegendShown = false;
        MapPaint->JustContinued = false;
        paint_rep = 0;
        PaintDisplay = false;
        MapPaint->LblPaint->SetCaption("0");
    });
}
