// TOpen: loading the chosen areas with their standard view, and the way back
// to the area choice.
#include "engine/Coords.h"
#include "engine/Uken.h"
#include "engine/Uopen.h"
#include "gui/TextFile.h"
#include "labels/Uletter.h"
#include "labels/Upagesdlg.h"
#include "labels/Uprefset.h"
#include "lines/Ulineadd.h"
#include "names/Usearch.h"
#include "names/Uyomilist.h"
#include "navigation/Usettei.h"
#include "paint/Uhanrei.h"
#include "paint/Upaint.h"
#include <algorithm>

void TOpen::Button3Click(TObject* Sender) {
    if (RangeDrag) return;
    AreaChanged();

    MapShown = false;
    ImageSize = SIZEX / SSIZE * COPYSCALE;
    Image1->SetImageSize(ImageSize, ImageSize);

    if (!ReadMapData(SELECT, SelectCode)) {
        Application->MessageBox("地図データファイルが見つかりません", "ファイルオープンエラー", MB_OK | MB_ICONEXCLAMATION);
        Application->Terminate();
    }
    WriteLog("Area_checkの実行\n");
    WriteLog(gui::Format("指定された県の数：%d\n", SELECT));
    N16->SetEnabled(true);
    BtnLine->SetEnabled(true);

    if (!ProjectLoading) {
        CX = MidOf(MaxX, MinX);
        CY = MidOf(MaxY, MinY);
    } else {
        // A restored view keeps its centre and scale; the box follows from them.
        const int32_t half = TruncToInt((SIZEX / scale) * 0.5);
        // A restored scale far too small must not wrap the box: it is held at the int range.
        auto held = [](int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
        MinX = held(int64_t(CX) - half);
        MinY = held(int64_t(CY) - half);
        MaxX = held(int64_t(CX) + half);
        MaxY = held(int64_t(CY) + half);
        Label6->SetCaption(MagnificationText(MAGSTEP * MAGUNIT));
    }
    Aspect = float(DegreeLengthRatio(CY) * 2 * (1.0 / 3));

    // A far coordinate can make a span beyond 32 bits: it is held at the int range.
    DataWidth = TruncToInt(double(int64_t(MaxX) - MinX));
    DataHeight = TruncToInt(double(int64_t(MaxY) - MinY));
    const float tall = DataHeight * Aspect;
    StdExtent = tall >= float(DataWidth) ? TruncToInt(tall) : DataWidth;
    // A map of one point (or of none) has no extent: it gets a view of about a
    // kilometre round its centre, so that the scale stays finite.
    if (StdExtent <= 0) {
        const float lat = LatOf(CY);
        StdExtent = std::max(1, TruncToInt(10000 / GreatCircleKm(lat, 0, lat, 1)));
    }
    BaseSpan = StdExtent;

    if (!ProjectLoading) {
        // Pixels per map unit at the base size, whatever the image size is.
        scale = float(SIZEX) / float(StdExtent);
        UpDown1->SetPosition(1);
        Label6->SetCaption("1.00");
    }
    Aspect = float(DegreeLengthRatio(CY) * 2 * (1.0 / 3));
    ScaleX = scale;
    ScaleY = ScaleX * Aspect;

    Button6->SetEnabled(true);
    UDVer->SetEnabled(true);
    UDHor->SetEnabled(true);
    BtnCenter->SetEnabled(true);
    UpDown1->SetEnabled(true);
    CBLabel->SetChecked(false);
    for (TCheckBox* c : {CBTownBorder, CBNTownBorder, CBPrefBorder, CBLonLat, CBTownName, CBCenter}) c->SetEnabled(true);
    RadioGroup1->SetEnabled(true);
    RadioGroup2->SetEnabled(true);
    Button4->SetEnabled(true);
    Button8->SetEnabled(true);
    BtnPrint->SetEnabled(true);
    CBScale->SetEnabled(true);

    if (SELECT < 2) {
        CBTownName->SetChecked(true);
        CBMainDoubleName->SetEnabled(true);
        CBMainDoubleName->SetChecked(false);
    } else {
        CBTownName->SetChecked(false);
        CBMainDoubleName->SetEnabled(false);
    }

    RangeZoom = false;
    RangeMode = false;
    TkBtn2->SetColor(clBtnFace);
    TkBtn2->Font.Color = clGray;
    TkBtn2->Invalidate();
    Label21->Show();

    PrefSet->Button6->SetEnabled(false);
    Letter->FormCreate(Letter);
    IslandAreaLoaded();
    PrefSet->Label6->SetCaption("");
}

void TOpen::ResetViewState() {
    DataReady = false;
    LegendShown = false;
    Hanrei->LegendOn = false;

    N101->SetChecked(true);
    N051->SetChecked(false);
    N021->SetChecked(false);
    N011->SetChecked(false);
    MakeLabel->SetEnabled(true);

    // The pan-step tick follows the factor in force, which is left as it is.
    N202->SetChecked(MoveFactor == 2.0f);
    N102->SetChecked(MoveFactor == 1.0f);
    N052->SetChecked(MoveFactor == 0.5f);

    UpDown1->SetPosition(1);
    MAGUNIT = 1.0f;
    MAGSTEP = 1;
    Label6->SetCaption("1.00");
    MAG1->Click();

    Settei->RadioGroup3->SetItemIndex(0);
    RadioGroup1->SetItemIndex(0);
    CBScale->SetChecked(false);

    CBLabel->SetEnabled(true);
    BtnLetter->SetEnabled(true);
    CBOldTown->SetEnabled(false);
    UDHor->SetPosition(500);
    UDVer->SetPosition(500);
    menuPaint->SetEnabled(true);
    Keido->SetChecked(true);
    CBLonLat->SetChecked(false);

    DataReady = false;
    Settei->SetWhiteBackground(false);
    Hanrei->SaveDialog1->FileName.clear();

    LineAdd->LineFileCount = 0;
    MapPaint->JustContinued = false;
    paint_rep = 0;
    PaintDisplay = false;
    PagesDlg->PlacedSymbolCount = 0;
    LineAdd->Label18->SetCaption("ファイル　なし");

    // The handlers run above may have set it again.
    DataReady = false;
    Settei->SetWhiteBackground(false);
    TCanvas* swatch = Settei->Image5->Canvas();
    swatch->Brush->Color = BackColor;
    swatch->Brush->Style = bsSolid;
    swatch->FillRect(Rect(0, 0, swatch->Width(), swatch->Height()));
    MapShown = false;
}

void TOpen::Button5Click(TObject* Sender) {
    YomiList->Close();
    ResetViewState();
    MapPaint->Close();
    Letter->Close();
    Ken->Show();
    Ken->NameListMode = 0;
    CBExp->SetChecked(false);
    Hanrei->Close();
    Search->SearchHighlight = false;
    PaintDisplay = false;
    DataReady = false;
}
