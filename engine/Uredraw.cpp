// The full redraw of the map image: view, read-outs, background, the polyline
// layers and the order in which every other layer is put on top.
#include "engine/Coords.h"
#include "engine/Uopen.h"
#include "engine/RenderJob.h"
#include "engine/Uprocess.h"
#include <exception>
#include <vector>

// Not while a load or a restore is under way: they run it at their end.
void TOpen::RunMapChangingHooks() {
    if (gate.RedrawHeld > 0 || gate.ProjectLoading) return;
    hooks.AreaChange.Run(AreaStep::Changing);
}

void TOpen::RunMapChangeHooks() {
    if (gate.RedrawHeld > 0 || gate.ProjectLoading) return;
    hooks.AreaChange.Run(AreaStep::Redrawn);
}

RedrawOnce::RedrawOnce() : unwinding(std::uncaught_exceptions()) { MainGate().RedrawHeld++; }

RedrawOnce::~RedrawOnce() noexcept(false) {
    if (--MainGate().RedrawHeld > 0 || !MainGate().RedrawWanted) return;
    MainGate().RedrawWanted = false;
    // A handler that failed half-way leaves the map as it was.
    if (std::uncaught_exceptions() == unwinding) RedrawMap();
}

RedrawOff::RedrawOff() : was(MainGate().DataReady) { MainGate().DataReady = false; }
RedrawOff::~RedrawOff() { MainGate().DataReady = was; }

bool TOpen::DrawMap() {
    if (gate.RedrawHeld > 0) {
        gate.RedrawWanted = true;
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
        ui.Label6->SetCaption(MagnificationText(g));
        ui.UpDown1->SetPosition(10);
    } else {
        Aspect = DegreeLengthRatio(CY) * 2.0 * (1.0 / 3);
        ScaleX = scale * MAGUNIT * MAGSTEP * COPYSCALE / SSIZE;
        ScaleY = ScaleX * Aspect;
        ImageSize = SIZEX * COPYSCALE / SSIZE;
    }

    const int s = ImageSize, h = s / 2;
    ui.Image1->SetImageSize(s, s);
    const MapView view = CurrentView();

    // The corners of the image in map units and the lengths the read-outs show.
    view.CornerToMap(h, h, Readout.centreX, Readout.centreY);
    view.CornerToMap(0, s, MinX, MinY);
    view.CornerToMap(s, 0, MaxX, MaxY);
    Readout.middleKm = view.RowKm(h);
    Readout.topKm = view.RowKm(0);
    Readout.bottomKm = view.RowKm(s);
    ViewWidthKm = Readout.middleKm;
    {
        int32_t x1, y1, x2, y2;
        view.CornerToMap(0, 0, x1, y1);
        view.CornerToMap(0, s, x2, y2);
        ViewHeightKm = GreatCircleKm(LatOf(y1), 0, LatOf(y2), 0);
    }

    // A refused range keeps the picture; the read-outs tell its size.
    if (RangeZoom && Readout.middleKm < 4.0) {
        ShowViewReadouts();
        ui.Label15->SetCaption("指定エラー");
        ui.Timer1->SetEnabled(true);
        return false;
    }
    // From here on the image is this view's, and so is every press on it.
    DrawnView = view;

    DrawSettings settings = ReadDrawSettings();
    if (settings.MapWrite && !settings.TownBorder && settings.TownName) {
        // Names never show without the municipality borders (this redraws, nested).
        ui.CBTownName->SetChecked(false);
        settings.TownName = false;
    }
    if (settings.WhiteBackground) style.BackColor = 0xFFFFFF;
    if (settings.MapWrite) ScaleShown = settings.ScaleBar;
    LegendShown = settings.LegendShown;
    if (settings.MapWrite && doc.SELECT > 30 && settings.WaitWindow) {
        Process->Label1->SetCaption("地図を描いています");
        Process->Show();
        // Painted at once without running the event loop: no timer or close
        // request may run in the middle of the redraw.
        Process->repaint();
    }

    settings.KeepsPlaces = true;
    TCanvas* cv = ui.Image1->Canvas();
    DrawnInsets = RenderMap(*cv, {view, settings, &hooks.Layers, &MapInsets}, [&](TCanvas& map) {
        // Thumbnail, every fifth redraw, of the map without what lies above the circles.
        ThumbnailCount++;
        if (ThumbnailCount % 5 != 0) return;
        ui.Image4->Stretch = false;
        TBitmap* thumb = ui.Image4->Picture()->Bitmap();
        if (thumb->Width() != 64 || thumb->Height() != 64) ui.Image4->SetImageSize(64, 64);
        ui.Image4->Canvas()->CopyRect(Rect(0, 0, 64, 64), &map, Rect(0, 0, s, s));
    });
    AfterRedraw(settings);
    return true;
}

// The map as the screen would draw it now at the chosen size, for an output:
// the view on screen when it has that size, else the view the redraw takes.
MapSnapshot TOpen::OutputSnapshot() {
    MapSnapshot job;
    const int size = SIZEX * COPYSCALE / SSIZE;
    if (DrawnView.size == size) {
        job.view = DrawnView;
    } else {
        job.view = CurrentView();
        const float aspect = DegreeLengthRatio(CY) * 2.0 * (1.0 / 3);
        const float scaleX = scale * MAGUNIT * MAGSTEP * COPYSCALE / SSIZE;
        job.view.scaleX = scaleX;
        job.view.scaleY = scaleX * aspect;
        job.view.size = size;
    }
    job.settings = ReadDrawSettings();
    DrawSettings& s = job.settings;
    if (s.MapWrite && !s.TownBorder) s.TownName = false;
    if (s.WhiteBackground) style.BackColor = 0xFFFFFF;
    s.Menseki = false;
    job.layers = &hooks.Layers;
    job.insets = &MapInsets;
    return job;
}

DrawSettings TOpen::ReadDrawSettings() {
    DrawSettings s;
    s.TownBorder = ui.CBTownBorder->Checked();
    s.TownName = ui.CBTownName->Checked();
    s.PrefBorder = ui.CBPrefBorder->Checked();
    s.NTownBorder = ui.CBNTownBorder->Checked();
    s.Lake = ui.CBLake->Checked();
    s.TownPaint = ui.CBTownPaint->Checked();
    s.Menseki = ui.CBMenseki->Checked();
    s.Centre = ui.CBCenter->Checked();
    s.ScaleBar = ui.CBScale->Checked();
    s.Labels = ui.CBLabel->Checked();
    s.MainDoubleName = ui.CBMainDoubleName->Checked();
    s.OldTownNames = ui.CBOldTown->Checked();
    s.RailLines = ui.CBRailLine->Checked();
    s.PrefCaption = ui.ken_name->Checked();
    s.Notice = ui.kokudo->Checked();
    s.GridUnderMap = ui.Keido->Checked();
    s.WaitWindow = ui.Wait->Checked();
    s.TenMinutes = ui.CBFun->Checked();
    s.DegreeLabels = ui.CBDo->Checked();
    s.EveryOtherDegree = ui.CB1do->Checked();
    for (auto& read : hooks.SettingsReaders) read(s);
    return s;
}

void TOpen::ShowViewReadouts() {
    ui.Label28->SetCaption(gui::Format("%.1f km", Readout.middleKm));
    for (auto& show : hooks.ReadoutHooks) show();
}

// Read-outs and the controls that need a drawn map, once the stack is drawn.
void TOpen::AfterRedraw(const DrawSettings& s) {
    ShowViewReadouts();
    if (s.MapWrite) {
        MappingCount++;
        ui.Label23->SetCaption("Mapping " + std::to_string(MappingCount));
    }
    Process->Hide();
    ui.BtnPaint->SetEnabled(true);
    ui.CBExp->SetEnabled(true);
    ui.CBLake->SetEnabled(ui.CBTownBorder->Checked());
    const bool names = ui.CBTownName->Checked();
    ui.N9->SetEnabled(names);
    ui.N17->SetEnabled(names);
    ui.BtnMark->SetEnabled(true);
    ui.N18->SetEnabled(true);
    ui.TkBtn2->SetEnabled(true);
    ui.TkBtn2->Font.Color = 0x800000;
    ui.TkBtn2->Invalidate();
    for (QWidget* w : std::initializer_list<QWidget*>{ui.Button7, ui.Button13, ui.CBKenName1, ui.CBCopy, ui.BtnMulti, ui.CBTimer, ui.Label34,
                                                      ui.CBNokori, ui.CBChiri, ui.Label36, ui.CBRailLine, ui.Button14})
        w->setEnabled(true);
    RoutePointCount = 0;
    RedrawCount++;
    ui.Label37->SetCaption(std::to_string(RedrawCount));
    for (auto& after : hooks.AfterRedrawHooks) after(s);
}

// The layers the engine draws itself, at their places in the order.
void TOpen::AddMapLayers() {
    auto always = [](const DrawSettings&) { return true; };
    hooks.Layers.Add(LayerPlace::Background, always, [this](TCanvas& cv, const MapView& v, const DrawSettings& s) {
        // An outline left in XOR by a drag must not turn the map into XOR.
        cv.Pen->Mode = pmCopy;
        cv.Brush->Style = bsSolid;
        cv.Brush->Color = style.BackColor;
        cv.FillRect(Rect(0, 0, v.size, v.size));
        if (s.MapWrite) cv.Pen->Style = psSolid;
    });
    hooks.Layers.Add(
        LayerPlace::GridUnder, [this](const DrawSettings& s) { return LonLatShown && s.GridUnderMap && !s.Mesh; },
        [this](TCanvas& cv, const MapView& v, const DrawSettings& s) { DrawLonLatGrid(cv, v, s); });
    hooks.Layers.Add(
        LayerPlace::MeshGrid, [](const DrawSettings& s) { return s.Mesh; },
        [this](TCanvas& cv, const MapView& v, const DrawSettings& s) { DrawMeshGrid(cv, v, s); });
    hooks.Layers.Add(LayerPlace::Polylines, always, [this](TCanvas& cv, const MapView& v, const DrawSettings& s) {
        DrawPolylineLayers(cv, v, s);
    });
    hooks.Layers.Add(
        LayerPlace::TownNames, [](const DrawSettings& s) { return !s.NamePaint && !s.KanaOnly; },
        [this](TCanvas& cv, const MapView& v, const DrawSettings& s) {
            if (s.TownName) DrawTownNames(cv, v, s);
            DrawDuplicateNames(cv, v, s);
            DrawCityNames(cv, v, s);
        });
    hooks.Layers.Add(
        LayerPlace::PrefCaption, [](const DrawSettings& s) { return s.PrefCaption; },
        [this](TCanvas& cv, const MapView& v, const DrawSettings& s) {
            if (v.size >= 300) DrawPrefCaption(cv, v, s);
        });
    hooks.Layers.Add(
        LayerPlace::CentreCross, [](const DrawSettings& s) { return s.Centre && !s.TownPaint; },
        [](TCanvas& cv, const MapView& v, const DrawSettings&) { DrawCentreCross(cv, v); });
    hooks.Layers.Add(
        LayerPlace::Notice, [](const DrawSettings& s) { return s.Notice; },
        [this](TCanvas& cv, const MapView& v, const DrawSettings& s) {
            if (v.size >= 200) DrawApprovalNotice(cv, v, s);
        });
    hooks.Layers.Add(
        LayerPlace::GridOver, [this](const DrawSettings& s) { return LonLatShown && !s.GridUnderMap; },
        [this](TCanvas& cv, const MapView& v, const DrawSettings& s) { DrawLonLatGrid(cv, v, s); });
    hooks.Layers.Add(
        LayerPlace::MeshNames, [](const DrawSettings& s) { return s.MeshNames || s.MeshNames2; },
        [this](TCanvas& cv, const MapView& v, const DrawSettings& s) {
            if (s.MeshNames) DrawMeshNames(cv, v, 1);
            if (s.MeshNames2) DrawMeshNames(cv, v, 2);
        });
    hooks.Layers.Add(
        LayerPlace::ScaleBar, [](const DrawSettings& s) { return s.ScaleBar; },
        [this](TCanvas& cv, const MapView& v, const DrawSettings& s) { DrawScaleBar(cv, v, s.KeepsPlaces); });
    hooks.Layers.Add(LayerPlace::Frame, always,
               [this](TCanvas& cv, const MapView& v, const DrawSettings& s) { DrawMapFrame(cv, v, s); });
    // Capitals and offices are never shown together; the capitals take precedence.
    hooks.Layers.Add(
        LayerPlace::Offices, [](const DrawSettings& s) { return s.PrefBorder && !s.KenOffice && s.Office; },
        [this](TCanvas& cv, const MapView& v, const DrawSettings& s) { Disp_Office(cv, v, s); });
}

// Coast, lakes and borders, each layer with the pen its settings select.
void TOpen::DrawPolylineLayers(TCanvas& cv, const MapView& view, const DrawSettings& s) {
    TPen* pen = cv.Pen;
    pen->Style = psSolid;
    // The gaps of a dotted border must not wipe the lines below it: a dotted
    // lake boundary would open the shore it ends on.
    TBrush* brush = cv.Brush;
    const TBrushStyle brushStyle = brush->Style;
    brush->Style = bsClear;
    struct Restore {
        TBrush* b;
        TBrushStyle s;
        ~Restore() { b->Style = s; }
    } restore{brush, brushStyle};
    const bool same = s.SameColour;
    auto draw = [&](const PolylineStore& store, bool closing) { DrawStore(cv, view, store, closing); };

    if (s.Coast) {
        pen->Color = style.CoastColor;
        pen->Width = style.CoastWidth;
        pen->Style = psSolid;
        draw(doc.CoastLine, false);
        draw(doc.HokkaidoLakeLine, false);
        draw(doc.LakeLine, false);
    }

    if (s.PrefBorder) {
        pen->Color = same ? style.CoastColor : style.PrefColor;
        pen->Width = style.PrefWidth;
        pen->Style = s.PrefDot ? psDot : psSolid;
        draw(doc.PrefLine, true);
        draw(s.NTownBorder ? doc.OldPrefLine : doc.NewPrefLine, true);
        if (s.Lake) {
            pen->Style = psDot;
            draw(doc.LakePrefLine, true);
        }
    }

    // The layers after these take the town colour.
    struct TownPen {
        TPen* p;
        TColor c;
        ~TownPen() { p->Color = c; }
    } townPen{pen, style.TownColor};
    if (!s.TownBorder) return;

    if (s.Ku) {
        pen->Color = same ? style.CoastColor : style.KuColor;
        pen->Width = s.TownLineWidth;
        pen->Style = s.KuDot ? psDot : psSolid;
        draw(doc.KuLine, false);
    }

    const bool asBackground = s.TownsInBackColour;
    TColor town = style.TownColor;
    if (same) town = style.CoastColor;
    if (asBackground) town = style.BackColor;
    pen->Color = town;
    pen->Width = style.TownWidth;
    pen->Style = s.TownDot ? psDot : psSolid;
    draw(doc.TownLine, false);

    // The old-municipality pen is set even when those borders are off: the lake boundaries keep it.
    TColor old = style.NTownColor;
    if (s.OldTownsInTownColour) old = style.TownColor;
    if (same) old = style.CoastColor;
    if (asBackground) old = style.BackColor;
    pen->Color = old;
    pen->Style = s.NTownDot && !s.TownPaint ? psDot : psSolid;
    if (s.NTownBorder) {
        draw(doc.NTownLine, false);
        draw(doc.OTownLine, false);
    }

    if (s.Lake) {
        pen->Style = s.LakeDot ? psDot : psSolid;
        draw(doc.LakeBorderLine, false);
    }
}

// One store: n, x1, y1, ..., xn, yn per polyline up to the first count that is
// not positive. A closing segment runs from the last point back to the one
// before it, which sets the last point's pixel that a line leaves out.
void TOpen::DrawStore(TCanvas& cv, const MapView& view, const PolylineStore& store, bool closing) {
    store.Screen.Draw(cv, view, store.Data(), store.Words.size(), store.Fill, store.Revision, closing);
}

void TOpen::DrawCentreCross() { DrawCentreCross(*ui.Image1->Canvas(), DrawnView); }

void TOpen::DrawCentreCross(TCanvas& cv, const MapView& view) {
    const int c = view.size / 2;
    cv.Pen->Color = 0x0000FF;
    cv.Pen->Width = 1;
    cv.Pen->Style = psSolid;
    cv.MoveTo(c - 20, c);
    cv.LineTo(c + 20, c);
    cv.MoveTo(c, c - 20);
    cv.LineTo(c, c + 20);
}
