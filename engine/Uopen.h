// The main form: the map image, its view state, and the parts it holds (the
// controls, the document, the style, the tool slot, the redraw's gate, the
// fills and the features' hooks), each declared in a header of its own so that
// a window which needs only a part does not depend on the form.
// Its member functions are defined in the folder of the feature they belong to.
#pragma once
#include "components/Mystr.h"
#include "components/Tkbtn.h"
#include "engine/AreaSteps.h"
#include "engine/FeatureHooks.h"
#include "engine/FeatureParts.h"
#include "engine/MainControls.h"
#include "engine/Redraw.h"
#include "engine/MapDocument.h"
#include "engine/MapStyle.h"
#include "engine/ToolSlot.h"
#include "engine/Coords.h"
#include "engine/Insets.h"
#include "engine/MapLayer.h"
#include "engine/MapTool.h"
#include "engine/PaintRecord.h"
#include "engine/StoreScreen.h"
#include "gui/Dialogs.h"
#include "gui/Forms.h"
#include "gui/TextFile.h"
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QPrinter;
struct MapSnapshot;
namespace gui {
class VectorRecorder;
}

class TOpen : public TForm {
public:
    TOpen();
    ~TOpen() override;
    void FormCreate(TObject* Sender) override;
    // The close box and a desktop log-out end the program as "終　了" does, questions included.
    void FormCloseQuery(TObject* Sender, bool& CanClose) override;

    // The controls, built in the constructor (engine/MainControls.h).
    MainControls ui;

    // ---- The map document: folder, areas, stores and tables (engine/MapDocument.h) ----
    MapDocument doc;

    // ---- Program file, log ----
    std::string ProgramDate;   // "%d/%02d/%02d" of the program file
    // Set before the forms are made when a map is drawn from the command line:
    // the data are all it reads, so the folder need not hold the program file.
    static inline bool DataFolderOnly = false;
    gui::TextWriter Log;
    void WriteLog(const std::string& s);

    // ---- Loader ----
    bool ReadMapData(int count, const int32_t* codes);
    bool IsPrefLayerLoadable(int code) const;
    void LoadCityList();
    void LoadExtraList();
    void ReportBadListLine(const char* file, int lineNo);
    void LoadYomiList(const std::string& path);

    // ---- View state ----
    int32_t CX = 0, CY = 0;        // view centre, map units
    float ScaleX = 0, ScaleY = 0;  // pixels per map unit
    float Aspect = 0;
    float scale = 0;               // pixels per map unit at magnification 1, base size
    int32_t ImageSize = 600;
    int32_t SIZEX = 600, SizeY = 600;
    int32_t COPYSCALE = 1, SSIZE = 1;
    // The image size group offers 1 to this many times the base size (3600 pixels).
    static constexpr int COPYSCALE_MAX = 6;
    int32_t MAGSTEP = 1;
    float MAGUNIT = 1.0f;
    float MoveFactor = 1.0f;
    int32_t MinX = 0, MinY = 0, MaxX = 0, MaxY = 0;
    int32_t DataWidth = 0, DataHeight = 0, StdExtent = 0, BaseSpan = 0;
    float ViewWidthKm = 0, ViewHeightKm = 0;
    bool WgsDisplay = true;

    // The view and datum that drew the image now on screen: DrawMap writes it
    // as it repaints; every conversion to or from the image's pixels reads it.
    MapView DrawnView;
    // The insets it drew: a press inside one's frame goes through its view.
    std::vector<InsetFrame> DrawnInsets;
    // The view a press at this pixel of the image goes through.
    const MapView& ViewAt(int sx, int sy) const;
    // The view the next redraw takes from the state above.
    // The standard extent and scale of the data box round the centre.
    void FitView();
    // After the insets were changed (groupsChanged: which groups leave the main frame).
    void InsetsChanged(bool groupsChanged);
    MapView CurrentView() const;
    // Map units <-> image pixels through the view that drew the image.
    void MapToScreen(int32_t x, int32_t y, int& sx, int& sy) const;
    void ScreenToMap(int sx, int sy, int32_t& x, int32_t& y) const;
    // An image pixel in map units and in degrees, as ScreenToMap gives it.
    struct MapPoint {
        int32_t x, y;
        float lon, lat;
    };
    MapPoint PointAt(int sx, int sy) const;
    // A pressed pixel as a position kept as data: in the Tokyo datum, and put
    // back on that pixel by MapToScreen.
    void PressToData(int X, int Y, int32_t& x, int32_t& y) const;

    // ---- Flags ----
    bool RangeDrag = false, RangeZoom = false;
    bool LonLatShown = false, LegendShown = false, ScaleShown = false;
    bool ClipboardUsed = false;
    bool SetteiShown = false, LetterShown = false;
    bool RouteDone = false, MainStations = false;
    int32_t DistanceMode = 0;
    int32_t DistStartX = -100, DistStartY = -100;
    int32_t RailSetCount = 0;
    int32_t RoutePointCount = 0;

    // ---- Colours, widths, sizes (engine/MapStyle.h) ----
    MapStyle style;
    int32_t TimeOrder = 1;

    // ---- Redraw ----
    int32_t MappingCount = 0, ThumbnailCount = 0, RedrawCount = 0;
    int32_t LabelLayerCount = 0;   // whole label layers drawn: one per redraw at most
    // While held (gate.RedrawHeld), a redraw is only noted; it happens once when the hold ends.
    bool DrawMap();
    // Whether and when the map may be drawn (engine/Redraw.h).
    RedrawGate gate;

    // ---- Layers and hooks: each feature folder registers its own as it wires its handlers (engine/FeatureHooks.h) ----
    FeatureHooks hooks;
    // Each feature's own state, reached through its folder's header.
    FeatureParts Parts;
    // The figures of the view just computed, for the read-outs (also of a refused range).
    struct ViewReadout {
        int32_t centreX = 0, centreY = 0;
        float middleKm = 0, topKm = 0, bottomKm = 0;
    } Readout;
    // Hooks up the feature folders' handlers, layers and steps; set by forms/
    // before the main form is made, so that engine/ calls none of them.
    static inline std::function<void(TOpen&)> FeatureWiring;
    DrawSettings ReadDrawSettings();
    // The map as an output draws it at the chosen size (engine/RenderJob.h).
    MapSnapshot OutputSnapshot();
    void AfterRedraw(const DrawSettings& s);
    void ShowViewReadouts();

    // ---- Start-up, area choice, loader ----
    static constexpr int YOMI_MAX = 4000;
    std::string ExtraMarkFolder;   // custom symbol folder kept in config.ini
    void Button2Click(TObject* Sender);   // "終　了"
    void Exit1Click(TObject* Sender);
    bool ExitAgreed = false;   // the exit's questions are answered: the close goes through
    void Button3Click(TObject* Sender);   // loads the selection, sets the standard view
    void Button5Click(TObject* Sender);   // "県 指 定"
    void Open1Click(TObject* Sender);
    void About1Click(TObject* Sender);
    void Tutorial1Click(TObject* Sender);
    // The view settings back to their start, before a new area choice is loaded.
    void ResetViewState();
    void config_read(const std::string& path);
    void config_write(const std::string& path);
    void ShowBoundaryDataDate();
    void ShowRailDataDate(int count, const std::string* names);

    // ---- Redraw and display ----
    bool MapDrawable() const { return gate.DataReady && !gate.ProjectLoading; }
    void AddMapLayers();   // the engine's own layers (engine/Uredraw.cpp)
    void DrawPolylineLayers(TCanvas& cv, const MapView& view, const DrawSettings& s);
    static void DrawStore(TCanvas& cv, const MapView& view, const PolylineStore& store, bool closing);
    // The no-argument painters draw the image on screen with the settings as they are now.
    void DrawCentreCross();
    static void DrawCentreCross(TCanvas& cv, const MapView& view);
    // Names (engine/Unames.cpp).
    TColor PickTextBackground(int x, int y);
    TColor PickTextBackground(TCanvas& cv, int x, int y) const;
    void DrawTownNames();
    void DrawTownNames(TCanvas& cv, const MapView& view, const DrawSettings& s);
    void DrawDuplicateNames();
    void DrawDuplicateNames(TCanvas& cv, const MapView& view, const DrawSettings& s);
    void DrawCityNames();
    void DrawCityNames(TCanvas& cv, const MapView& view, const DrawSettings& s);
    void DrawNameText(TCanvas& cv, const MapView& view, int32_t x, int32_t y, const std::string& name, bool white,
                      gui::TextSlot& slot) const;
    // The laid-out texts of the name and label layers, one slot per row of their tables.
    mutable std::vector<gui::TextSlot> TownSlots, OtherTownSlots, ExtraSlots, CitySlots, LabelSlots;
    bool IsDuplicateName(const std::string& name) const;
    // Overlays (engine/Uoverlay.cpp).
    // The overlays draw onto the canvas through the view given; the forms
    // without them draw onto the screen's image at the view drawn last.
    void DrawLonLatGrid(TCanvas& cv, const MapView& view, const DrawSettings& s);
    void DrawMeshGrid(TCanvas& cv, const MapView& view, const DrawSettings& s);
    void DrawMeshNames(int level);
    void DrawMeshNames(TCanvas& cv, const MapView& view, int level);
    void DrawScaleBar(int32_t cy);
    void DrawScaleBar(TCanvas& cv, const MapView& view, bool keepPlace);
    void DrawMapFrame(TCanvas& cv, const MapView& view, const DrawSettings& s);
    void DrawPrefCaption();
    void DrawPrefCaption(TCanvas& cv, const MapView& view, const DrawSettings& s);
    void DrawApprovalNotice();
    void DrawApprovalNotice(TCanvas& cv, const MapView& view, const DrawSettings& s);
    void Disp_Office(TCanvas& cv, const MapView& view, const DrawSettings& s);

    // ---- Mouse, measurement (navigation/) ----
    int32_t DistAnchorX = 0, DistAnchorY = 0;   // fixed end of the distance line
    float PointerLon = 0, PointerLat = 0;
    float RangeEndLon = 0, RangeEndLat = 0, RangeWidthKm = 0;
    bool LegendDrag = false, ScaleDrag = false;
    bool ReadingDrawn = false;
    void Image1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void Image1MouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void Image1MouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void BtnCenterClick(TObject* Sender);    // "+": the next press sets the view centre
    // A press no tool takes starts a two-point distance.
    void PressDistanceStart(int X, int Y);
    void Button11Click(TObject* Sender);
    void OpenWebMapAt(int X, int Y);
    void ShowPointerReadout(int32_t x, int32_t y);
    void ShowReadingAt(int X, int Y);
    static std::string FormatDms(const std::string& prefix, float degrees);
    bool IsListedDuplicateName(int index) const;
    void MeasureAreaAt(int X, int Y);
    // Read-outs: areas and lengths in km with fewer decimals as they grow, a
    // distance always with two, and the magnification.
    static std::string AreaText(float km2);
    static std::string LengthText(float km);
    static std::string DistanceText(float km);
    static std::string MagnificationText(float m);
    // The controls that move, scale or redraw the view rest while a tool holds
    // the map; a measurement also rests the other tools.
    void SetViewControlsEnabled(bool on);
    void SetBorderDependents(bool on);
    void DisableMapControls();
    void EnableMapControls();
    void SetMapControlsEnabled(bool on);

    // ---- View control, display settings, read-out (navigation/) ----
    void StartNotice(int x, int y, const std::string& text);

    // ---- Painting and legend (paint/) ----
    // The user's fills (engine/PaintRecord.h).
    PaintStore paint;
    // Runs AreaStep::Changing before a switch of the old borders is drawn (the area choice runs its own).
    void RunMapChangingHooks();
    // Runs AreaStep::Redrawn after a new choice of areas or a switch of the old borders has been drawn.
    void RunMapChangeHooks();

    // ---- Labels, prefecture names, mountains, islands, symbols (labels/) ----
    // Every label, or only row `only` over the map as it is (the find marks one hit).
    void label_write(int only = -1);   // onto the screen at the view drawn last

    // ---- Lines, railways, distance circles (lines/) ----
    void RailRoadSet();
    // The ordinary files "*.ext" of a folder, names sorted without regard to
    // ASCII case, else in code order; at most 512 (RAIL_LIST_MAX). Returns the count.
    static constexpr int RAIL_LIST_MAX = 512;
    static int ListFilesSorted(const std::string& folder, const std::string& ext, std::vector<std::string>& names);
    void CBRailLineClick(TObject* Sender);
    void CBEkiClick(TObject* Sender);
    void CBMainClick(TObject* Sender);
    void CBRailSetClick(TObject* Sender);
    void RailInfoClick(TObject* Sender);
    // Station files of a railway load into the label table (steps of the label window).
    void LoadStationFiles(const std::vector<std::string>& paths);
    void ShowStationLabels(bool on);   // the label window's "表示" box
    void OpenLabelWindow();

    // ---- Image output and project file (output/) ----
    void Button1Click(TObject* Sender);   // "ﾌｧｲﾙ保存"
    void Button10Click(TObject* Sender);  // "ﾌｧｲﾙ読込"
    bool SaveProjectFile(const std::string& path);
    // The restore behind "ﾌｧｲﾙ読込"; false when the file was refused (and said so).
    bool RestoreProjectFile(const std::string& path);
    uint8_t SaveFormat = 3;              // 1 JPEG, 2 BMP, 3 PNG, 4 PDF, 5 SVG
    void RadioGroup1Click(TObject* Sender);
    void Button4Click(TObject* Sender);   // "画像コピー"
    void Button8Click(TObject* Sender);   // "画像保存"
    void PNG1Click(TObject* Sender);
    void JPEG1Click(TObject* Sender);
    void BITMAP1Click(TObject* Sender);
    void SaveMapImage();
    // The output's drawing onto any canvas, readings included while the
    // readings box is ticked; false when they were refused.
    bool RenderOutput(TCanvas& cv);
    // Draws the map at the chosen size and writes it in SaveFormat; false on failure (said so).
    bool WriteMapImage(const std::string& name);
    int OutputPixelsPerMetre() const;   // recorded in the saved image
    // The map at ImageSize drawn once more with its lines, fills and texts kept
    // as shapes (PDF, SVG, print). False when the readings were refused.
    bool RenderMapVector(gui::VectorRecorder& shapes);
    // Printing ("印刷…", "印刷プレビュー…"): the map fitted to the paper.
    void Print1Click(TObject* Sender);
    void PrintPreview1Click(TObject* Sender);
    // Draws the page; false when nothing was drawn (no map, stopped).
    bool PrintMap(QPrinter* printer);

    int32_t LegendLeft = 0, LegendTop = 0, LegendRight = 0, LegendBottom = 0;  // legend box drawn last

    // ---- The active map tool (engine/ToolSlot.h; the main form's own in navigation/Uopen_tools.cpp) ----
    MapToolSlot tools;
    // An area load: no tool of the old map survives, nor the way back to its views.
    void AreaChanged();
    void EscapePressed() override;
    // What the map does with a move that no tool takes: the pointer's read-out
    // (hot is where the cursor's point lies right of and below the pointer).
    void PointerMoved(int X, int Y, int hot = 0);
    // The event a tool gets for a press, move or release at (X, Y); the tools
    // ended by the event before are freed here.
    MapEvent EventAt(TMouseButton button, int X, int Y);
    void DropLegend(int X, int Y);   // paint/: the end of the map's legend drag

private:
    // The constructor builds the controls, then each feature hooks up its handlers.
    void CreateControls();
    void WireStartupHandlers();   // area choice, start-up, exit (engine/Ustartup.cpp)

public:
    // Each feature folder builds its own extra controls of the main form and hooks up its handlers.
    void WireOutputHandlers();
};

extern TOpen* Open;

