// The map as a stack of layers: each feature folder adds its own when it wires
// its handlers; the redraw reads the settings once, prepares the layers, draws
// them in order onto a canvas, then sets the read-outs and control states.
#pragma once
#include "engine/Coords.h"
#include "gui/Graphics.h"
#include <functional>
#include <memory>
#include <vector>

// Every tick and value a layer draws by, read once per redraw from the windows
// that own them (each folder registers the reader of its own windows).
struct DrawSettings {
    // Main window.
    bool TownBorder = false, TownName = false, PrefBorder = false, NTownBorder = false, Lake = false;
    bool TownPaint = false, Menseki = false, Centre = false, ScaleBar = false, Labels = false;
    bool MainDoubleName = false, OldTownNames = false, RailLines = false;
    bool PrefCaption = false, Notice = false, GridUnderMap = false, WaitWindow = false;
    bool TenMinutes = false, DegreeLabels = false, EveryOtherDegree = false;
    // Display settings window.
    bool WhiteBackground = false, Mesh = false, Islands = false, Mountains = false;
    bool MeshNames = false, MeshNames2 = false, KenName = false, KenOffice = false, Office = false;
    bool SameColour = false, Coast = false, PrefDot = false, Ku = false, KuDot = false;
    bool TownsInBackColour = false, TownDot = false, OldTownsInTownColour = false, NTownDot = false;
    bool LakeDot = false, WhiteNameBoxes = false, FixedSize = false, DoubleNames = false, KuNames = false;
    bool CityNames = false, FunDot = false, Frame = false, OfficeNames = false, Hokkaido = false;
    bool MtYomi = false, MtHeight = false;
    // Prefecture names window: the names and capitals with their suffixes.
    bool PrefNameSuffix = false, PrefSeatSuffix = false;
    int TownLineWidth = 1, NameSize = 8, FrameWidth = 1;
    // Legend, paint and readings windows.
    bool MapWrite = true, LegendShown = false, PaintDisplay = false, NamePaint = false, KanaOnly = false;
    bool Painting = false;   // the paint tool is armed
    // Line editor, circles and symbols windows.
    bool LineFilesShown = false, LinesUnderPaint = false, EditLineOnce = false, EditLineShown = false;
    bool Circles = false, Symbols = false;
    int RailColourRule = 0;
    // The edited line's look in the line editor.
    int EditLineWidth = 1, EditPenStyle = 0, EditArrowStep = 0, EditArrowSize = 12;
    bool EditArrow = false, EditTriangle = false;
    // Label window, and the railway boxes that pick the station labels.
    float LabelScale = 1.0f;
    bool LabelSizeFixed = false, LabelWhiteBack = false, LabelMarks = false, LabelTexts = false;
    bool MainStationsOnly = false, StationKindShown = false, StationCaption = false;
    int StationKind = 0;   // 1 JR only, 2 the others only
    // Legend window boxes.
    bool LegendTitle = false, LegendBold = false, LegendFrame = false;
    // What differs per drawing: only the picture presses land on keeps where
    // the legend and the scale bar went, and only it measures the searched area.
    bool KeepsPlaces = false;
    // Drawn again inside an inset's frame: the map proper only, no key or other furniture.
    bool Inset = false;
};

// The order of the map, bottom first. Places before Legend belong to the map
// proper and are left out while the legend window's "地図" box is unticked.
enum class LayerPlace {
    Background,
    StatFill,   // the statistics map: under every line and grid
    GridUnder,
    MeshGrid,
    Polylines,
    LinesUnder,
    Paint,
    SearchPaint,
    TownNames,
    Islands,
    Mountains,
    PrefCaption,
    CentreCross,
    Notice,
    GridOver,
    MeshNames,
    StatCircles,   // the statistics map's circles and their key: over the lines and names
    StatValues,    // its values written at the units, over the circles
    ScaleBar,
    Legend,
    Frame,
    Circles,
    Thumbnail,   // the screen's thumbnail copies the map up to here
    LinesOver,
    Symbols,
    Labels,
    EditLineOnce,
    PrefNames,
    PrefSeats,
    Offices,
    EditLineShown,
    End
};

class MapLayer {
public:
    virtual ~MapLayer() = default;
    // Whether the layer draws in this redraw.
    virtual bool Wanted(const DrawSettings& s) const = 0;
    // Once per redraw, before anything is drawn: what the layer takes from files or stores.
    virtual void Prepare(const DrawSettings& s) {}
    // Onto any canvas of the view's size; pen, brush and font are left as the layer likes.
    virtual void Draw(TCanvas& cv, const MapView& view, const DrawSettings& s) = 0;
};

// A layer made of three functions, for the folders' one-line layers.
class FunctionLayer : public MapLayer {
public:
    using Test = std::function<bool(const DrawSettings&)>;
    using Paint = std::function<void(TCanvas&, const MapView&, const DrawSettings&)>;
    using Step = std::function<void(const DrawSettings&)>;
    FunctionLayer(Test wanted, Paint draw, Step prepare = {})
        : wanted(std::move(wanted)), draw(std::move(draw)), prepare(std::move(prepare)) {}
    bool Wanted(const DrawSettings& s) const override { return wanted(s); }
    void Prepare(const DrawSettings& s) override {
        if (prepare) prepare(s);
    }
    void Draw(TCanvas& cv, const MapView& view, const DrawSettings& s) override { draw(cv, view, s); }

private:
    Test wanted;
    Paint draw;
    Step prepare;
};

class LayerStack {
public:
    void Add(LayerPlace place, std::unique_ptr<MapLayer> layer);
    void Add(LayerPlace place, FunctionLayer::Test wanted, FunctionLayer::Paint draw, FunctionLayer::Step prepare = {});
    // Prepares every layer of places [from, to) that will draw, once.
    void Prepare(const DrawSettings& s, LayerPlace from = LayerPlace::Background, LayerPlace to = LayerPlace::End);
    // Draws the layers of places [from, to) that are wanted.
    void Draw(TCanvas& cv, const MapView& view, const DrawSettings& s, LayerPlace from = LayerPlace::Background,
              LayerPlace to = LayerPlace::End) const;

private:
    struct Entry {
        LayerPlace place;
        std::unique_ptr<MapLayer> layer;
    };
    bool Drawn(const Entry& e, const DrawSettings& s) const;
    std::vector<Entry> layers;   // kept in place order, then in the order added
};
