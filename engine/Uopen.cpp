#include "engine/Uopen.h"
#include "engine/Uinset.h"
#include <cstdarg>

TOpen* Open = nullptr;

TOpen::TOpen() : TForm("白地図 Rovana Ver 9.3") {
    doc.TownX.resize(TOWN_MAX);
    doc.TownY.resize(TOWN_MAX);
    doc.TownName.resize(TOWN_MAX);
    doc.TownDup.resize(TOWN_MAX);
    doc.OldTownX.resize(OLDTOWN_MAX);
    doc.OldTownY.resize(OLDTOWN_MAX);
    doc.OldTownName.resize(OLDTOWN_MAX);
    doc.OldTownDup.resize(OLDTOWN_MAX);
    doc.NewTownX.resize(NEWTOWN_MAX);
    doc.NewTownY.resize(NEWTOWN_MAX);
    doc.NewTownName.resize(NEWTOWN_MAX);
    doc.NewTownDup.resize(NEWTOWN_MAX);
    doc.OfficeRecords.resize(OFFICE_MAX);
    doc.CityName.resize(CITY_MAX);
    doc.CityX.resize(CITY_MAX);
    doc.CityY.resize(CITY_MAX);
    doc.CityPref.resize(CITY_MAX);
    doc.CityFlag.resize(CITY_MAX);
    doc.ExtraPref.resize(EXTRA_MAX);
    doc.ExtraX.resize(EXTRA_MAX);
    doc.ExtraY.resize(EXTRA_MAX);
    doc.ExtraTownName.resize(EXTRA_MAX);
    doc.ExtraGroupName.resize(EXTRA_MAX);
    doc.ExtraKind.resize(EXTRA_MAX);

    CreateControls();
    AddMapLayers();
    WireStartupHandlers();
    if (FeatureWiring) FeatureWiring(*this);
    // A new main window starts without insets (the map's choices are its own).
    MapInsets = InsetSet{};
    ui.menuInsets = new TMenuItem("挿入図...");
    ui.Window1->Add(ui.menuInsets);
    ui.menuInsets->OnClick = [](TObject*) { InsetWindow()->Show(); };
}

// The splitter has no owner of its own; the dialogs go with the form.
TOpen::~TOpen() { delete ui.MyStr1; }

void TOpen::WriteLog(const std::string& s) {
    if (Log.IsOpen()) {
        Log.Write(s);
        Log.Flush();
    }
}

MainControls& MainUi() { return Open->ui; }
MapDocument& MainDoc() { return Open->doc; }
MapStyle& MainStyle() { return Open->style; }
MapToolSlot& MainTools() { return Open->tools; }
bool RedrawMap() { return Open->DrawMap(); }
const MapView& DrawnMapView() { return Open->DrawnView; }
void WriteMainLog(const std::string& s) { Open->WriteLog(s); }
RedrawGate& MainGate() { return Open->gate; }
PaintStore& MainPaint() { return Open->paint; }
FeatureHooks& HooksOf(TOpen& o) { return o.hooks; }
const std::string& MainProgramDate() { return Open->ProgramDate; }
void MainInsetsChanged(bool groupsChanged) { Open->InsetsChanged(groupsChanged); }
MainControls& UiOf(TOpen& o) { return o.ui; }
const MainControls& UiOf(const TOpen& o) { return o.ui; }
MapDocument& DocOf(TOpen& o) { return o.doc; }
const MapDocument& DocOf(const TOpen& o) { return o.doc; }
MapStyle& StyleOf(TOpen& o) { return o.style; }
const MapStyle& StyleOf(const TOpen& o) { return o.style; }
MapToolSlot& ToolsOf(TOpen& o) { return o.tools; }
const MapToolSlot& ToolsOf(const TOpen& o) { return o.tools; }
RedrawGate& GateOf(TOpen& o) { return o.gate; }
const RedrawGate& GateOf(const TOpen& o) { return o.gate; }
PaintStore& PaintStoreOf(TOpen& o) { return o.paint; }
const PaintStore& PaintStoreOf(const TOpen& o) { return o.paint; }
const FeatureHooks& HooksOf(const TOpen& o) { return o.hooks; }
TForm& FormOf(TOpen& o) { return o; }
FeatureParts& PartsOf(TOpen& o) { return o.Parts; }
const FeatureParts& PartsOf(const TOpen& o) { return o.Parts; }
bool RedrawMap(TOpen& o) { return o.DrawMap(); }
