// TOpen: loading the chosen areas with their standard view, and the way back
// to the area choice.
#include "engine/Coords.h"
#include "engine/Uken.h"
#include "engine/Uopen.h"
#include "gui/TextFile.h"
#include <algorithm>

void TOpen::Button3Click(TObject* Sender) {
    if (RangeDrag) return;
    hooks.AreaChange.Run(AreaStep::Loading);

    gate.MapShown = false;
    ImageSize = SIZEX / SSIZE * COPYSCALE;
    ui.Image1->SetImageSize(ImageSize, ImageSize);

    if (!ReadMapData(doc.SELECT, doc.SelectCode)) {
        Application->MessageBox("地図データファイルが見つかりません", "ファイルオープンエラー", MB_OK | MB_ICONEXCLAMATION);
        Application->Terminate();
    }
    WriteLog("Area_checkの実行\n");
    WriteLog(gui::Format("指定された県の数：%d\n", doc.SELECT));
    ui.N16->SetEnabled(true);
    ui.BtnLine->SetEnabled(true);
    {
        std::vector<int> areas;
        for (int i = 0; i < doc.SELECT && i < 100; ++i) areas.push_back(doc.SelectCode[i]);
        MapInsets.SetMap(areas, {MinX, MinY, MaxX, MaxY}, InsetUnitsOf);
    }

    if (!gate.ProjectLoading) {
        // With insets on, the view fits what they leave.
        const MapBox box = MapInsets.StandardBox();
        MinX = box.x0, MinY = box.y0, MaxX = box.x1, MaxY = box.y1;
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
        ui.Label6->SetCaption(MagnificationText(MAGSTEP * MAGUNIT));
    }
    FitView();

    ui.Button6->SetEnabled(true);
    ui.UDVer->SetEnabled(true);
    ui.UDHor->SetEnabled(true);
    ui.BtnCenter->SetEnabled(true);
    ui.UpDown1->SetEnabled(true);
    ui.CBLabel->SetChecked(false);
    for (TCheckBox* c : {ui.CBPrefBorder, ui.CBLonLat, ui.CBCenter}) c->SetEnabled(true);
    SetBorderDependents(true);
    // Tools that work on a drawn map wake up with the first one.
    for (QWidget* w : std::initializer_list<QWidget*>{ui.CBLabel, ui.BtnLetter, ui.CBInfo, ui.Button11}) w->setEnabled(true);
    ui.RadioGroup1->SetEnabled(true);
    ui.RadioGroup2->SetEnabled(true);
    ui.Button4->SetEnabled(true);
    ui.Button8->SetEnabled(true);
    ui.BtnPrint->SetEnabled(true);
    ui.CBScale->SetEnabled(true);

    if (doc.SELECT < 2) {
        // Names only with their borders: ticked without them, the redraw would untick them again.
        if (ui.CBTownBorder->Checked()) ui.CBTownName->SetChecked(true);
        ui.CBMainDoubleName->SetEnabled(true);
        ui.CBMainDoubleName->SetChecked(false);
    } else {
        ui.CBTownName->SetChecked(false);
        ui.CBMainDoubleName->SetEnabled(false);
    }

    RangeZoom = false;
    ui.TkBtn2->SetColor(clBtnFace);
    ui.TkBtn2->Font.Color = clGray;
    ui.TkBtn2->Invalidate();
    ui.Label21->Show();

    hooks.AreaChange.Run(AreaStep::Loaded);
}

// The standard extent and scale of the box MinX..MaxY round the centre CX, CY
// (a restored view keeps its scale).
void TOpen::FitView() {
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

    if (!gate.ProjectLoading) {
        // Pixels per map unit at the base size, whatever the image size is.
        scale = float(SIZEX) / float(StdExtent);
        ui.UpDown1->SetPosition(1);
        ui.Label6->SetCaption("1.00");
    }
    Aspect = float(DegreeLengthRatio(CY) * 2 * (1.0 / 3));
    ScaleX = scale;
    ScaleY = ScaleX * Aspect;
}

// The insets changed: the map is drawn again, and when the groups taken out
// of the main frame changed, at the standard view of what remains.
void TOpen::InsetsChanged(bool groupsChanged) {
    if (!gate.MapShown) return;
    if (groupsChanged && !RangeDrag) {
        const MapBox box = MapInsets.StandardBox();
        MinX = box.x0, MinY = box.y0, MaxX = box.x1, MaxY = box.y1;
        CX = MidOf(MaxX, MinX);
        CY = MidOf(MaxY, MinY);
        MAGSTEP = 1;
        RangeZoom = false;
        FitView();
    }
    DrawMap();
}

void TOpen::ResetViewState() {
    gate.DataReady = false;

    ui.N101->SetChecked(true);
    ui.N051->SetChecked(false);
    ui.N021->SetChecked(false);
    ui.N011->SetChecked(false);
    ui.MakeLabel->SetEnabled(true);

    // The pan-step tick follows the factor in force, which is left as it is.
    ui.N202->SetChecked(MoveFactor == 2.0f);
    ui.N102->SetChecked(MoveFactor == 1.0f);
    ui.N052->SetChecked(MoveFactor == 0.5f);

    ui.UpDown1->SetPosition(1);
    MAGUNIT = 1.0f;
    MAGSTEP = 1;
    ui.Label6->SetCaption("1.00");
    ui.MAG1->Click();

    ui.RadioGroup1->SetItemIndex(0);
    ui.CBScale->SetChecked(false);

    ui.CBLabel->SetEnabled(true);
    ui.BtnLetter->SetEnabled(true);
    ui.CBOldTown->SetEnabled(false);
    ui.UDHor->SetPosition(500);
    ui.UDVer->SetPosition(500);
    ui.menuPaint->SetEnabled(true);
    ui.Keido->SetChecked(true);
    ui.CBLonLat->SetChecked(false);
    hooks.AreaChange.Run(AreaStep::Reset);

    // The handlers run above may have set them again.
    gate.DataReady = false;
    gate.MapShown = false;
}

// The area window only opens: the map and its work stay until a choice is made.
void TOpen::Button5Click(TObject* Sender) { Ken->Show(); }
