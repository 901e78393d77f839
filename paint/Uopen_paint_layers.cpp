// The paint folder's layers: the paint replay, the search paint and the legend,
// and the ticks of the legend and paint windows they draw by.
#include "engine/PaintRecord.h"
#include "engine/FeatureHooks.h"
#include "gui/TextFile.h"
#include "paint/MainFormPaint.h"
#include "navigation/Ukeisoku.h"
#include "paint/Ubrush.h"
#include "paint/Uhanrei.h"
#include "paint/PaintTools.h"
#include "paint/SearchPaint.h"
#include "paint/Upaint.h"
#include "paint/StatLayer.h"
#include "paint/StatSymbols.h"
#include "paint/Ustatmap.h"
#include <optional>
#include "engine/MainControls.h"
#include "engine/ToolSlot.h"

void AddPaintLayers(TOpen& o) {
    HooksOf(o).SettingsReaders.push_back([&o](DrawSettings& s) {
        s.MapWrite = Hanrei->CBMapWrite->Checked();
        s.LegendShown = Hanrei->CBExpDisplay->Checked();
        s.PaintDisplay = MapPaint->CBPaintDisplay->Checked();
        s.Painting = ToolsOf(o).ToolAs<PaintTool>() != nullptr;
        s.NamePaint = MapPaint->NamePaint != 0;
        s.LegendTitle = Hanrei->CBMenuTitle->Checked();
        s.LegendBold = Hanrei->CBBold->Checked();
        s.LegendFrame = Hanrei->CBExpWaku->Checked();
        // A ward's fill must not leak through the gaps of dotted ward borders
        // (the display settings are read before this).
        if (s.TownPaint && SearchesWard(o)) s.KuDot = false;
    });
    auto stat = std::make_unique<StatLayer>();
    StatLayerOnMap = stat.get();
    InsetUnitsOf = [](int area) { return StatLayerOnMap->UnitBoxes(area); };
    HooksOf(o).Layers.Add(LayerPlace::StatFill, std::move(stat));
    // The circles and the value labels share their marks, made once per change.
    auto marks = std::make_shared<StatMarks>();
    auto circles = std::make_unique<StatCircleLayer>(marks);
    auto values = std::make_unique<StatValueLayer>(marks, circles.get());
    StatValuesOnMap = values.get();
    HooksOf(o).Layers.Add(LayerPlace::StatCircles, std::move(circles));
    HooksOf(o).Layers.Add(LayerPlace::StatValues, std::move(values));
    // A painting under way is on the map whatever redraws it: its fills are work.
    HooksOf(o).Layers.Add(
        LayerPlace::Paint, [&o](const DrawSettings& s) { return s.Painting || (PaintStoreOf(o).PaintDisplay && s.PaintDisplay); },
        [&o](TCanvas& cv, const MapView& view, const DrawSettings&) {
            if (HooksOf(o).BeforePaintReplay) {
                // Once, with the map as the replay finds it (the statistics map's fill points).
                const auto before = std::move(HooksOf(o).BeforePaintReplay);
                HooksOf(o).BeforePaintReplay = nullptr;
                before(cv.Image());
            }
            const TColor keep = cv.Brush->Color;
            ReplayPaint(o, cv, view);
            cv.Brush->Color = keep;
        });
    // The searched area is counted on the picture the layer draws; its figures
    // (or the next magnification) wait until the whole stack is drawn.
    auto measured = std::make_shared<std::optional<SearchArea>>();
    HooksOf(o).Layers.Add(
        LayerPlace::SearchPaint, [](const DrawSettings& s) { return s.TownPaint; },
        [&o, measured](TCanvas& cv, const MapView& view, const DrawSettings& s) {
            if (s.Menseki)
                *measured = MeasureSearchArea(o, cv, view, s);
            else
                SearchPaint(o, cv, view, s);
        },
        [&o](const DrawSettings& s) {
            if (!s.Menseki) return;
            Keisoku->Label1->SetCaption(gui::Format("%s の面積を計算しています", UiOf(o).EdName->Text().c_str()));
            Keisoku->Show();
            Keisoku->Label1->repaint();
        });
    HooksOf(o).Layers.Add(
        LayerPlace::Legend, [](const DrawSettings& s) { return s.LegendShown; },
        [&o](TCanvas& cv, const MapView& v, const DrawSettings& s) { DrawLegendOnMap(o, cv, v, s); },
        // The text boxes once per redraw; a box that holds no number keeps the record's value.
        [](const DrawSettings&) {
            if (Hanrei->LegendOn) Hanrei->GatherLegend();
        });
    HooksOf(o).AfterRedrawHooks.push_back([&o, measured](const DrawSettings&) {
        if (!*measured) return;
        const SearchArea found = **measured;
        measured->reset();
        ShowSearchArea(o, found);
    });
    HooksOf(o).AfterRedrawHooks.push_back([](const DrawSettings& s) {
        if (s.MapWrite) Keisoku->Close();
        if (StatMap) StatMap->ShowPlaced(s.MapWrite);
    });
    HooksOf(o).ToolWindowClosers.push_back([] { Hanrei->Close(); });
    HooksOf(o).ToolWindowClosers.push_back([] { PBrush->Close(); });
}
