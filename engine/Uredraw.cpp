// The full redraw of the map image: view, read-outs, background, the polyline
// layers and the order in which every other layer is put on top.
#include "engine/Coords.h"
#include "engine/Uopen.h"
#include <exception>
#include "engine/Uprocess.h"
#include "labels/Upagesdlg.h"
#include "lines/Ukyori.h"
#include "lines/Ulineadd.h"
#include "names/Uyomi.h"
#include "navigation/Ukeisoku.h"
#include "navigation/Usclist.h"
#include "navigation/Usettei.h"
#include "paint/Uhanrei.h"
#include "paint/Upaint.h"
#include <vector>

namespace {

// Screen points of the polyline being drawn; reused so a redraw allocates nothing.
std::vector<TPoint> polylinePoints;

std::string Km(float km) { return gui::Format("%.1f km", km); }

// "%3d゜%02d´": whole degrees and whole minutes, both truncated.
std::string DegreesMinutes(float v) {
    int deg = TruncToInt(v);
    int min = TruncToInt((v - deg) * 60);
    return gui::Format("%3d゜%02d´", deg, min);
}

} // namespace

// Not while a load or a restore is under way: they run it at their end.
void TOpen::RunMapChangeHooks() {
    if (RedrawHeld > 0 || ProjectLoading) return;
    for (const auto& hook : MapChangeHooks) hook();
}

RedrawOnce::RedrawOnce() : unwinding(std::uncaught_exceptions()) { Open->RedrawHeld++; }

RedrawOnce::~RedrawOnce() noexcept(false) {
    if (--Open->RedrawHeld > 0 || !Open->RedrawWanted) return;
    Open->RedrawWanted = false;
    // A handler that failed half-way leaves the map as it was.
    if (std::uncaught_exceptions() == unwinding) Open->DrawMap();
}

bool TOpen::DrawMap() {
    if (RedrawHeld > 0) {
        RedrawWanted = true;
        return MapDrawable();
    }
    if (!MapDrawable()) return false;

    if (RangeDrag) {
        // The redraw that ends a range drag: the square just chosen fills the image.
        const int64_t span = int64_t(MaxX) - MinX;
        if (span <= 0) return false;
        float g = float(BaseSpan) / float(span);
        ScaleX = BaseSpan * scale / float(span) * COPYSCALE / SSIZE;
        ScaleY = ScaleX * Aspect;
        MAGUNIT = g * 0.1;
        MAGSTEP = 10;
        Label6->SetCaption(MagnificationText(g));
        UpDown1->SetPosition(10);
    } else {
        Aspect = DegreeLengthRatio(CY) * 2.0 * (1.0 / 3);
        ScaleX = scale * MAGUNIT * MAGSTEP * COPYSCALE / SSIZE;
        ScaleY = ScaleX * Aspect;
        ImageSize = SIZEX * COPYSCALE / SSIZE;
    }

    const int s = ImageSize, h = s / 2;
    Image1->SetImageSize(s, s);
    TCanvas* cv = Image1->Canvas();
    const MapView view = CurrentView();

    // Read-out and the corners of the image in map units.
    int32_t centreX, centreY;
    view.CornerToMap(h, h, centreX, centreY);
    view.CornerToMap(0, s, MinX, MinY);
    view.CornerToMap(s, 0, MaxX, MaxY);
    SCList->Label11->SetCaption(std::to_string(ImageSize));
    SCList->Label35->SetCaption(std::to_string(UpDown1->Position()));
    SCList->Label13->SetCaption(gui::Format("%.4f", MAGUNIT));
    SCList->Label46->SetCaption(std::to_string(BaseSpan));
    SCList->ShowCentre(centreX, centreY);
    SCList->ShowCorners(MinX, MinY, MaxX, MaxY);
    SCList->ShowMagnification(MAGSTEP * MAGUNIT);
    SCList->Label32->SetCaption(gui::Format("%.4f", ScaleX));
    SCList->Label33->SetCaption(gui::Format("%.4f", ScaleY));
    SCList->Label34->SetCaption(gui::Format("%.4f", Aspect));
    SCList->Label38->SetCaption(std::to_string(UDHor->Position()));
    SCList->Label39->SetCaption(std::to_string(UDVer->Position()));

    // East-west length of a pixel row, at the latitude of its left end.
    auto rowKm = [&](int r) {
        int32_t x1, y1, x2, y2;
        view.CornerToMap(0, r, x1, y1);
        view.CornerToMap(s, r, x2, y2);
        float lat = LatOf(y1);
        return GreatCircleKm(lat, 0, lat, double(int64_t(x2) - x1) * 0.0001);
    };
    const float middleKm = rowKm(h);
    ViewWidthKm = middleKm;
    Label28->SetCaption(Km(middleKm));

    SCList->Label36->SetCaption(Km(middleKm));
    SCList->Label40->SetCaption(DegreesMinutes(LonOf(centreX)));
    SCList->Label14->SetCaption(DegreesMinutes(LatOf(centreY)));
    SCList->Label31->SetCaption(Km(rowKm(0)));
    SCList->Label12->SetCaption(Km(rowKm(s)));
    {
        int32_t x1, y1, x2, y2;
        view.CornerToMap(0, 0, x1, y1);
        view.CornerToMap(0, s, x2, y2);
        ViewHeightKm = GreatCircleKm(LatOf(y1), 0, LatOf(y2), 0);
        SCList->Label37->SetCaption(Km(ViewHeightKm));
    }

    // A refused range keeps the picture; the read-outs above already tell its size.
    if (RangeZoom && middleKm < 4.0) {
        Label15->SetCaption("指定エラー");
        Timer1->SetEnabled(true);
        return false;
    }
    // From here on the image is this view's, and so is every press on it.
    DrawnView = view;

    // Background. An outline left in XOR by a drag must not turn the map into XOR.
    cv->Pen->Mode = pmCopy;
    cv->Brush->Style = bsSolid;
    if (Settei->WhiteBackground()) BackColor = 0xFFFFFF;
    cv->Brush->Color = BackColor;
    cv->FillRect(Rect(0, 0, s, s));

    if (Hanrei->CBMapWrite->Checked()) {
        if (SELECT > 30 && Wait->Checked()) {
            Process->Label1->SetCaption("地図を描いています");
            Process->Show();
            // Painted at once without running the event loop: no timer or close
            // request may run in the middle of the redraw.
            Process->repaint();
        }

        cv->Pen->Style = psSolid;
        if (LonLatShown && Keido->Checked() && !Settei->CBMesh->Checked()) DrawLonLatGrid();
        if (Settei->CBMesh->Checked()) DrawMeshGrid();

        DrawPolylineLayers();
        cv->Pen->Color = TownColor;
        if (LineAdd->PaintLine && LineAdd->LineFileCount > 0) LineAdd->DrawLineFiles();
        DrawPaintLayer();
        DrawSearchPaintLayer();

        if (MapPaint->NamePaint == 0 && !Yomi->CBKana->Checked()) {
            if (CBTownName->Checked()) DrawTownNames();
            DrawDuplicateNames();
            DrawCityNames();
        }
        if (!PaintMode && Settei->CBIslands->Checked()) DrawIslands();
        if (Settei->CBMountain->Checked()) DrawMountains();

        if (ken_name->Checked() && ImageSize >= 300) DrawPrefCaption();
        if (CBCenter->Checked() && !CBTownPaint->Checked()) DrawCentreCross();
        if (kokudo->Checked() && ImageSize >= 200) DrawApprovalNotice();
        if (LonLatShown && !Keido->Checked()) DrawLonLatGrid();
        if (Settei->CBMeshName->Checked()) DrawMeshNames(1);
        if (Settei->CBMeshName2->Checked()) DrawMeshNames(2);
        if (CBScale->Checked()) {
            DrawScaleBar(CY);
            ScaleShown = true;
        } else {
            ScaleShown = false;
        }
        MappingCount++;
        Label23->SetCaption("Mapping " + std::to_string(MappingCount));
    }

    DrawLegendLayer();
    DrawMapFrame();

    if (Kyori->CheckBox4->Checked()) DrawDistanceCircles();
    else Kyori->Label6->SetCaption("距離円は非表示です");

    // Thumbnail, every fifth redraw.
    ThumbnailCount++;
    if (ThumbnailCount % 5 == 0) {
        Image4->Stretch = false;
        TBitmap* thumb = Image4->Picture()->Bitmap();
        if (thumb->Width() != 64 || thumb->Height() != 64) Image4->SetImageSize(64, 64);
        Image4->Canvas()->CopyRect(Rect(0, 0, 64, 64), cv, Rect(0, 0, s, s));
    }

    Process->Hide();
    BtnPaint->SetEnabled(true);
    CBExp->SetEnabled(true);
    CBLake->SetEnabled(CBTownBorder->Checked());
    const bool names = CBTownName->Checked();
    N9->SetEnabled(names);
    N17->SetEnabled(names);
    Settei->Button13->SetEnabled(names);

    if (!PaintMode) LineAdd->DrawLineFiles();
    if (PagesDlg->SymbolsShown) PagesDlg->DrawPlacedSymbols();
    if (CBLabel->Checked()) label_write();

    BtnMark->SetEnabled(true);
    N18->SetEnabled(true);
    Yomi->Label3->SetCaption(SELECT == 1 && SelectCode[0] >= 0 && SelectCode[0] < 60 ? AreaName[SelectCode[0]]
                                                                                      : std::string());
    if (LineAdd->EditLineRedraw) {
        LineAdd->DrawEditLine();
        LineAdd->EditLineRedraw = false;
    }

    // Capitals and offices are never shown together; the capitals take precedence.
    const bool pref = CBPrefBorder->Checked();
    if (pref && Settei->CBKenName->Checked()) DrawPrefNames();
    if (pref && Settei->CBKenOffice->Checked())
        DrawPrefSeats();
    else if (pref && Settei->CBOffice->Checked())
        Disp_Office();

    TkBtn2->SetEnabled(true);
    TkBtn2->Font.Color = 0x800000;
    TkBtn2->Invalidate();
    for (QWidget* w : std::initializer_list<QWidget*>{Button7, Button13, CBKenName1, CBCopy, BtnMulti, CBTimer, Label34,
                                                      CBNokori, CBChiri, Label36, CBRailLine, Button14})
        w->setEnabled(true);
    RoutePointCount = 0;

    RedrawCount++;
    Label37->SetCaption(std::to_string(RedrawCount));
    if (LineAdd->CheckBox3->Checked() && LineAdd->EditLineShown) LineAdd->DrawEditLine();
    return true;
}

// Coast, lakes and borders, each layer with the pen its settings select.
void TOpen::DrawPolylineLayers() {
    TPen* pen = Image1->Canvas()->Pen;
    pen->Style = psSolid;
    // The gaps of a dotted border must not wipe the lines below it: a dotted
    // lake boundary would open the shore it ends on.
    TBrush* brush = Image1->Canvas()->Brush;
    const TBrushStyle brushStyle = brush->Style;
    brush->Style = bsClear;
    struct Restore {
        TBrush* b;
        TBrushStyle s;
        ~Restore() { b->Style = s; }
    } restore{brush, brushStyle};
    const bool same = Settei->CBColor->Checked();

    if (Settei->CBCoast->Checked()) {
        pen->Color = CoastColor;
        pen->Width = CoastWidth;
        pen->Style = psSolid;
        DrawStore(CoastLine, false);
        DrawStore(HokkaidoLakeLine, false);
        DrawStore(LakeLine, false);
    }

    if (CBPrefBorder->Checked()) {
        pen->Color = same ? CoastColor : PrefColor;
        pen->Width = PrefWidth;
        pen->Style = Settei->CBPrefDot->Checked() ? psDot : psSolid;
        DrawStore(PrefLine, true);
        DrawStore(CBNTownBorder->Checked() ? OldPrefLine : NewPrefLine, true);
        if (CBLake->Checked()) {
            pen->Style = psDot;
            DrawStore(LakePrefLine, true);
        }
    }

    if (!CBTownBorder->Checked()) {
        // Names never show without the municipality borders (this redraws, nested).
        CBTownName->SetChecked(false);
        return;
    }

    if (Settei->CBKu->Checked()) {
        pen->Color = same ? CoastColor : KuColor;
        pen->Width = Settei->TownLineWidth();
        pen->Style = Settei->CBKuDot->Checked() ? psDot : psSolid;
        DrawStore(KuLine, false);
    }

    const bool asBackground = Settei->TownsInBackColour();
    TColor town = TownColor;
    if (same) town = CoastColor;
    if (asBackground) town = BackColor;
    pen->Color = town;
    pen->Width = TownWidth;
    pen->Style = Settei->CBTownDot->Checked() ? psDot : psSolid;
    DrawStore(TownLine, false);

    // The old-municipality pen is set even when those borders are off: the lake boundaries keep it.
    TColor old = NTownColor;
    if (Settei->OldTownsInTownColour()) old = TownColor;
    if (same) old = CoastColor;
    if (asBackground) old = BackColor;
    pen->Color = old;
    pen->Style = Settei->CBNTownDot->Checked() && !CBTownPaint->Checked() ? psDot : psSolid;
    if (CBNTownBorder->Checked()) {
        DrawStore(NTownLine, false);
        DrawStore(OTownLine, false);
    }

    if (CBLake->Checked()) {
        pen->Style = Settei->CBLakeDot->Checked() ? psDot : psSolid;
        DrawStore(LakeBorderLine, false);
    }
}

// One store: n, x1, y1, ..., xn, yn per polyline up to the first count that is
// not positive. A closing segment runs from the last point back to the one
// before it, which sets the last point's pixel that a line leaves out.
void TOpen::DrawStore(const PolylineStore& store, bool closing) {
    TCanvas* cv = Image1->Canvas();
    const int32_t* w = store.Data();
    const size_t size = store.Words.size();
    size_t i = 0;
    while (i < size && w[i] > 0) {
        const size_t n = size_t(w[i]);
        if (i + 1 + 2 * n > size) break;   // a count that runs past the store
        polylinePoints.resize(n);
        const int32_t* p = w + i + 1;
        for (size_t k = 0; k < n; ++k) MapToScreen(p[2 * k], p[2 * k + 1], polylinePoints[k].x, polylinePoints[k].y);
        cv->Polyline(polylinePoints.data(), int(n));
        if (closing && n >= 2) {
            cv->MoveTo(polylinePoints[n - 1].x, polylinePoints[n - 1].y);
            cv->LineTo(polylinePoints[n - 2].x, polylinePoints[n - 2].y);
        }
        i += 2 * n + 1;
    }
}

void TOpen::DrawCentreCross() {
    TCanvas* cv = Image1->Canvas();
    const int c = ImageSize / 2;
    cv->Pen->Color = 0x0000FF;
    cv->Pen->Width = 1;
    cv->Pen->Style = psSolid;
    cv->MoveTo(c - 20, c);
    cv->LineTo(c + 20, c);
    cv->MoveTo(c, c - 20);
    cv->LineTo(c, c + 20);
}
