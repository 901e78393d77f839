// The main form: the map image, its data stores and view state.
// Its member functions are defined in the folder of the feature they belong to.
#pragma once
#include "components/Mystr.h"
#include "components/Tkbtn.h"
#include "engine/AreaSteps.h"
#include "engine/FeatureParts.h"
#include "engine/MainControls.h"
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

// Capacities of the polyline stores, in 32-bit words.
constexpr int COAST_LINE = 304000;
constexpr int PREF_LINE = 51000;
constexpr int NEW_PREF_LINE = 1000;
constexpr int OLD_PREF_LINE = 1100;
constexpr int TOWN_LINE = 270000;
constexpr int NTOWN_LINE = 60000;
constexpr int OTOWN_LINE = 6000;
constexpr int LAKE_LINE = 2500;
constexpr int HOKKAIDO_LAKE_LINE = 500;
constexpr int LAKE_BORDER_LINE = 1000;
constexpr int LAKE_PREF_LINE = 200;
constexpr int KU_LINE = 8000;

constexpr int TOWN_MAX = 7500, OLDTOWN_MAX = 2500, NEWTOWN_MAX = 2000;
constexpr int OFFICE_MAX = 2500, CITY_MAX = 200, EXTRA_MAX = 100;
constexpr int POLYLINE_POINTS_MAX = 1000;
// CP932 bytes of a search-history entry as read: no name of the data files,
// whose lines are shorter than 100 bytes, is longer.
constexpr size_t HISTORY_NAME_MAX = 99;

// Polylines one after another as n, x1, y1, ..., xn, yn, closed by -999.
// Words holds one word beyond the capacity so the terminator always fits.
struct PolylineStore {
    PolylineStore(int capacity, const char* capName, const char* message, bool testedAgain)
        : Words(capacity + 1, -999), Capacity(capacity), CapacityName(capName), Message(message),
          TestedAgain(testedAgain) {}
    std::vector<int32_t> Words;
    int32_t Fill = 0;        // words in use
    bool Overflowed = false; // a polyline was refused for want of room
    int32_t Capacity;
    const char* CapacityName;
    const char* Message;
    bool TestedAgain;
    const int32_t* Data() const { return Words.data(); }
    // Whoever writes the words says so: the screen points taken from them go.
    void Changed() { Revision = NextRevision(); }
    uint64_t Revision = NextRevision();
    mutable StoreScreen Screen;

private:
    static uint64_t NextRevision() {
        static uint64_t last = 0;
        return ++last;
    }
};

// Mark and name hold at most 7 and 31 bytes in CP932; in UTF-8 a character
// can take up to three times its CP932 bytes, hence the larger arrays.
struct OfficeRecord {
    char mark[7 * 3 + 1];
    int32_t x, y;
    char name[31 * 3 + 1];
    int32_t size;
};

class TOpen : public TForm {
public:
    TOpen();
    ~TOpen() override;
    void FormCreate(TObject* Sender) override;
    // The close box and a desktop log-out end the program as "終　了" does, questions included.
    void FormCloseQuery(TObject* Sender, bool& CanClose) override;

    // The controls, built in the constructor (engine/MainControls.h).
    MainControls ui;

    // ---- Program folder, log ----
    std::string AppDir;
    std::string ProgramDate;   // "%d/%02d/%02d" of the program file
    // Set before the forms are made when a map is drawn from the command line:
    // the data are all it reads, so the folder need not hold the program file.
    static inline bool DataFolderOnly = false;
    gui::TextWriter Log;
    void WriteLog(const std::string& s);

    // ---- Selection and area tables ----
    int32_t SELECT = 0;
    int32_t SelectCode[100] = {};
    std::string AreaName[60];
    float AreaSpanKm[53] = {};
    std::string RegionName[10];
    uint8_t PrefFlag[60] = {};
    int32_t BoundaryDate = 0;  // newest map-file date, (y-1980)*10000 + m*100 + d

    // ---- Map data (loader) ----
    PolylineStore CoastLine{COAST_LINE, "COAST_LINE", "海岸線データが多すぎます", true};
    PolylineStore PrefLine{PREF_LINE, "PREF_LINE", "都府県界線データが多すぎます", true};
    PolylineStore NewPrefLine{NEW_PREF_LINE, "NEW_PREF_LINE", "新都府県界線データが多すぎます", true};
    PolylineStore OldPrefLine{OLD_PREF_LINE, "OLD_PREF_LINE", "旧都府県界線データが多すぎます", true};
    PolylineStore TownLine{TOWN_LINE, "TOWN_LINE", "市町村境界線データが多すぎます", true};
    PolylineStore NTownLine{NTOWN_LINE, "NTOWN_LINE", "旧市町村境界線データが多すぎます", true};
    PolylineStore OTownLine{OTOWN_LINE, "OTOWN_LINE", "旧市町村境界線データが多すぎます", true};
    PolylineStore LakeLine{LAKE_LINE, "LAKE_LINE", "湖水線データが多すぎます", false};
    PolylineStore HokkaidoLakeLine{HOKKAIDO_LAKE_LINE, "HOKKAIDO_LAKE_LINE", "北海道湖水線データが多すぎます", false};
    PolylineStore LakeBorderLine{LAKE_BORDER_LINE, "LAKE_BORDER_LINE", "湖水境界線データが多すぎます", false};
    PolylineStore LakePrefLine{LAKE_PREF_LINE, "LAKE_PREF_LINE", "湖水県境界線データが多すぎます", false};
    PolylineStore KuLine{KU_LINE, "KU_LINE", "行政区データが多すぎます", true};

    std::vector<int32_t> TownX, TownY, OldTownX, OldTownY, NewTownX, NewTownY;
    std::vector<std::string> TownName, OldTownName, NewTownName;
    std::vector<char> TownDup, OldTownDup, NewTownDup;
    int32_t TownCount = 0, OldTownCount = 0, NewTownCount = 0;

    std::vector<OfficeRecord> OfficeRecords;
    int32_t OfficeCount = 0;

    std::vector<std::string> CityName;
    std::vector<int32_t> CityX, CityY, CityPref;
    std::vector<uint8_t> CityFlag;
    int32_t CityCount = 0;

    std::vector<int32_t> ExtraPref, ExtraX, ExtraY;
    std::vector<std::string> ExtraTownName, ExtraGroupName;
    std::vector<char> ExtraKind;
    int32_t ExtraCount = 0;

    struct YomiRecord { int32_t x, y; std::string name, yomi; };
    std::vector<YomiRecord> YomiRecords;
    int32_t YomiCount = 0;

    bool WLinesAsBorder = true;

    bool ReadMapData(int count, const int32_t* codes);
    bool IsPrefLayerLoadable(int code) const;
    void LoadCityList();
    void LoadExtraList();
    // False when a line of the list was left out on reading: writing the
    // table back would lose it.
    bool CityListWhole = true, ExtraListWhole = true;
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
    bool DataReady = false, MapShown = false, ProjectLoading = false;
    bool RangeDrag = false, RangeZoom = false;
    bool PaintDisplay = false;
    bool LonLatShown = false, LegendShown = false, ScaleShown = false;
    bool ClipboardUsed = false, AltYear = false;
    bool SetteiShown = false, LetterShown = false;
    bool RouteDone = false, MainStations = false;
    int32_t DistanceMode = 0;
    int32_t DistStartX = -100, DistStartY = -100;
    int32_t RailSetCount = 0;
    int32_t paint_rep = 0;
    int32_t RoutePointCount = 0;

    // ---- Colours, widths, sizes ----
    TColor CoastColor = 0xFF0000, PrefColor = 0x0000FF, TownColor = 2672688, NTownColor = 0xF7F700,
           DefNTownColor = 0xF7F700, KuColor = 9421963, TownFontColor = 0, BackColor = 0xFFFFE1,
           ChosenBackColor = 0xFFFFE1, TownPaintColor = 0x00FFFF, WakuColor = 0xFF8080, DoColor = 0,
           FunColor = 0xC0C0C0, IslandsColor = 0x008000, DefIslandsColor = 0x008000,
           MountainColor = 0xFF0000, DefMountainColor = 0xFF0000, AreaFillColor = 9803263,
           DefAreaFillColor = 9803263, SelectColor = 0x0000FF, DefSelectColor = 0x0000FF,
           DefPrefColor = 0x0000FF, DefPrefSeatColor = 0xFF0000, LabelColor = 0x800000, KanaFontColor = 0;
    int32_t DefPrefSize = 10, DefPrefSeatSize = 8;
    int32_t CoastWidth = 1, PrefWidth = 1, TownWidth = 1;
    int32_t NameFontBase = 8, NameFontSize = 8;
    int32_t scl_x1 = 350, scly1 = 550, ScaleRight = 0, ScaleBottom = 0;
    bool SameColor = false;
    int32_t TimeOrder = 1;
    TColor PaintColor[8] = {}, DefPaintColor[8] = {};
    uint8_t PaintPattern[8] = {};
    uint8_t PaintSlotFlag[8] = {};

    // ---- Redraw ----
    int32_t MappingCount = 0, ThumbnailCount = 0, RedrawCount = 0;
    int32_t LabelLayerCount = 0;   // whole label layers drawn: one per redraw at most
    // While held, a redraw is only noted; it happens once when the hold ends.
    bool DrawMap();
    int RedrawHeld = 0;
    bool RedrawWanted = false;

    // ---- Layers and hooks: each feature folder registers its own as it wires its handlers ----
    LayerStack Layers;
    // Each feature's own state, reached through its folder's header.
    FeatureParts Parts;
    // Each fills the part of the record that its windows own.
    std::vector<std::function<void(DrawSettings&)>> SettingsReaders;
    // The figures of the view just computed, for the read-outs (also of a refused range).
    struct ViewReadout {
        int32_t centreX = 0, centreY = 0;
        float middleKm = 0, topKm = 0, bottomKm = 0;
    } Readout;
    std::vector<std::function<void()>> ReadoutHooks;
    // Control states and read-outs once the stack is drawn.
    std::vector<std::function<void(const DrawSettings&)>> AfterRedrawHooks;
    // Put the tool windows away on a click beside the map (the forms come after the main one).
    std::vector<std::function<void()>> ToolWindowClosers;
    // False stops the exit (unsaved work the user keeps).
    std::vector<std::function<bool()>> ExitChecks;
    // Run as the program starts (before the lists load) and as it ends.
    std::vector<std::function<void()>> StartHooks;
    std::vector<std::function<void()>> ExitHooks;
    // Hooks up the feature folders' handlers, layers and steps; set by forms/
    // before the main form is made, so that engine/ calls none of them.
    static inline std::function<void(TOpen&)> FeatureWiring;
    // The line editor's colour, written to config.ini.
    std::function<TColor()> EditLineColour;
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
    // What each feature does with its own state when the areas change.
    AreaSteps AreaChange;
    void config_read(const std::string& path);
    void config_write(const std::string& path);
    void ShowBoundaryDataDate();
    void ShowRailDataDate(int count, const std::string* names);

    // ---- Redraw and display ----
    bool MapDrawable() const { return DataReady && !ProjectLoading; }
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
    static bool ContainsWard(const std::string& name);
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
    static std::string SplitReadingSuffix(const std::string& reading);
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

    // ---- Search, readings, office data, name correction (names/) ----
    // Readings.

    // ---- Painting and legend (paint/) ----
    using PaintRecord = ::PaintRecord;
    // Room for a statistics map of every municipality of the country at every
    // part, in the edition with the most of them, and hand painting besides.
    static constexpr int PAINT_MAX = 8000;
    PaintRecord PaintRecords[PAINT_MAX] = {};
    // Runs AreaStep::Changing before a switch of the old borders is drawn (the area choice runs its own).
    void RunMapChangingHooks();
    // Runs AreaStep::Redrawn after a new choice of areas or a switch of the old borders has been drawn.
    void RunMapChangeHooks();
    // Run once by the next redraw just before the replay, with the map as the replay finds it.
    std::function<void(const QImage&)> BeforePaintReplay;
    void DrawLegendOnMap(TCanvas& cv, const MapView& view, const DrawSettings& s);

    // ---- Labels, prefecture names, mountains, islands, symbols (labels/) ----
    // Every label, or only row `only` over the map as it is (the find marks one hit).
    void label_write(int only = -1);   // onto the screen at the view drawn last
    // The label table, or its row only, onto the canvas through the view.
    void DrawLabels(TCanvas& cv, const MapView& view, const DrawSettings& s, int only = -1);
    // The railway window's 駅名 line: the last station label drawn.
    void ShowLastStation(const DrawSettings& s);

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
    int32_t EditIndex = 0;        // next row of the correction or island grid

    // ---- The active map tool (navigation/Uopen_tools.cpp) ----
    // At most one tool is armed; the map image hands it every event. A window
    // asks the tool, never a flag, what is armed.
    MapTool* ActiveTool() const { return Tool.get(); }
    // The armed T, also when it waits behind a one-press tool.
    template <class T> T* ToolAs() const {
        for (MapTool* t = Tool.get(); t; t = t->Suspended())
            if (T* found = dynamic_cast<T*>(t)) return found;
        return nullptr;
    }
    // Ends the armed tool (its End gives back what it switched on), then arms t.
    void SetTool(std::unique_ptr<MapTool> t);
    // Esc, a window's close box, an area change and a tool's own finish end it this way.
    void EndActiveTool();
    // The armed tool handed over without its end, to be armed again later.
    std::unique_ptr<MapTool> SuspendTool() { return std::move(Tool); }
    template <class T> void EndTool() {
        if (ToolAs<T>()) EndActiveTool();
    }
    // A T that did its work ends without calling anything off.
    template <class T> void FinishTool() {
        if (T* t = ToolAs<T>()) {
            t->Finished = true;
            EndActiveTool();
        }
    }
    // Arms a T unless one is armed already, which then goes on as it is.
    template <class T, class... Args> T& ArmTool(Args&&... args) {
        if (T* t = ToolAs<T>()) return *t;
        SetTool(std::make_unique<T>(std::forward<Args>(args)...));
        return *ToolAs<T>();
    }
    // An area load: no tool of the old map survives, nor the way back to its views.
    void AreaChanged();
    // The user closed f: the tool it armed ends with it.
    void EndToolOf(TForm* f);
    void EscapePressed() override;
    // What the map does with a move that no tool takes: the pointer's read-out
    // (hot is where the cursor's point lies right of and below the pointer).
    void PointerMoved(int X, int Y, int hot = 0);
    // The event a tool gets for a press, move or release at (X, Y); the tools
    // ended by the event before are freed here.
    MapEvent EventAt(TMouseButton button, int X, int Y);
    void DropLegend(int X, int Y);   // paint/: the end of the map's legend drag

private:
    std::unique_ptr<MapTool> Tool;
    // Tools ended while one of their own handlers runs; freed at the next event.
    std::vector<std::unique_ptr<MapTool>> EndedTools;

public:

private:
    // The constructor builds the controls, then each feature hooks up its handlers.
    void CreateControls();
    void WireStartupHandlers();   // area choice, start-up, exit (engine/Ustartup.cpp)

public:
    // Each feature folder builds its own extra controls of the main form and hooks up its handlers.
    void WireOutputHandlers();
};

extern TOpen* Open;

// One user action, one redraw: a handler that ticks boxes for their side
// effects holds the redraws their handlers ask for and draws once at its end.
class RedrawOnce {
public:
    RedrawOnce();
    ~RedrawOnce() noexcept(false);
    RedrawOnce(const RedrawOnce&) = delete;
    RedrawOnce& operator=(const RedrawOnce&) = delete;
private:
    int unwinding;
};

// Every redraw does nothing while one is alive (a handler whose ticks would
// each redraw half-way); the gate comes back as it was, however it ends.
class RedrawOff {
public:
    RedrawOff();
    ~RedrawOff();
    RedrawOff(const RedrawOff&) = delete;
    RedrawOff& operator=(const RedrawOff&) = delete;
private:
    bool was;
};

// A box set to what a restore holds without running its OnClick, for a box
// whose handler would undo what was restored before it.
void SetCheckedQuietly(TCheckBox* box, bool on);
