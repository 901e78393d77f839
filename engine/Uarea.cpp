// TOpen: loading the chosen areas with their standard view, and the way back
// to the area choice.
#include "engine/Coords.h"
#include "engine/Uken.h"
#include "engine/Uopen.h"
#include "gui/TextFile.h"
#include <algorithm>

void TOpen::Button3Click(TObject* Sender) {
    if (RangeDrag) return;
    AreaChange.Run(AreaStep::Loading);

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
    {
        std::vector<int> areas;
        for (int i = 0; i < SELECT && i < 100; ++i) areas.push_back(SelectCode[i]);
        MapInsets.SetMap(areas, {MinX, MinY, MaxX, MaxY}, InsetUnitsOf);
    }

    if (!ProjectLoading) {
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
        Label6->SetCaption(MagnificationText(MAGSTEP * MAGUNIT));
    }
    FitView();

    Button6->SetEnabled(true);
    UDVer->SetEnabled(true);
    UDHor->SetEnabled(true);
    BtnCenter->SetEnabled(true);
    UpDown1->SetEnabled(true);
    CBLabel->SetChecked(false);
    for (TCheckBox* c : {CBPrefBorder, CBLonLat, CBCenter}) c->SetEnabled(true);
    SetBorderDependents(true);
    // Tools that work on a drawn map wake up with the first one.
    for (QWidget* w : std::initializer_list<QWidget*>{CBLabel, BtnLetter, CBInfo, Button11}) w->setEnabled(true);
    RadioGroup1->SetEnabled(true);
    RadioGroup2->SetEnabled(true);
    Button4->SetEnabled(true);
    Button8->SetEnabled(true);
    BtnPrint->SetEnabled(true);
    CBScale->SetEnabled(true);

    if (SELECT < 2) {
        // Names only with their borders: ticked without them, the redraw would untick them again.
        if (CBTownBorder->Checked()) CBTownName->SetChecked(true);
        CBMainDoubleName->SetEnabled(true);
        CBMainDoubleName->SetChecked(false);
    } else {
        CBTownName->SetChecked(false);
        CBMainDoubleName->SetEnabled(false);
    }

    RangeZoom = false;
    TkBtn2->SetColor(clBtnFace);
    TkBtn2->Font.Color = clGray;
    TkBtn2->Invalidate();
    Label21->Show();

    AreaChange.Run(AreaStep::Loaded);
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

    if (!ProjectLoading) {
        // Pixels per map unit at the base size, whatever the image size is.
        scale = float(SIZEX) / float(StdExtent);
        UpDown1->SetPosition(1);
        Label6->SetCaption("1.00");
    }
    Aspect = float(DegreeLengthRatio(CY) * 2 * (1.0 / 3));
    ScaleX = scale;
    ScaleY = ScaleX * Aspect;
}

// The insets changed: the map is drawn again, and when the groups taken out
// of the main frame changed, at the standard view of what remains.
void TOpen::InsetsChanged(bool groupsChanged) {
    if (!MapShown) return;
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
    DataReady = false;

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
    AreaChange.Run(AreaStep::Reset);

    // The handlers run above may have set them again.
    DataReady = false;
    MapShown = false;
}

// The area window only opens: the map and its work stay until a choice is made.
void TOpen::Button5Click(TObject* Sender) { Ken->Show(); }
