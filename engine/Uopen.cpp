#include "engine/Uopen.h"
#include "engine/Uinset.h"
#include <cstdarg>

TOpen* Open = nullptr;

TOpen::TOpen() : TForm("白地図 Rovana Ver 9.3") {
    TownX.resize(TOWN_MAX);
    TownY.resize(TOWN_MAX);
    TownName.resize(TOWN_MAX);
    TownDup.resize(TOWN_MAX);
    OldTownX.resize(OLDTOWN_MAX);
    OldTownY.resize(OLDTOWN_MAX);
    OldTownName.resize(OLDTOWN_MAX);
    OldTownDup.resize(OLDTOWN_MAX);
    NewTownX.resize(NEWTOWN_MAX);
    NewTownY.resize(NEWTOWN_MAX);
    NewTownName.resize(NEWTOWN_MAX);
    NewTownDup.resize(NEWTOWN_MAX);
    OfficeRecords.resize(OFFICE_MAX);
    CityName.resize(CITY_MAX);
    CityX.resize(CITY_MAX);
    CityY.resize(CITY_MAX);
    CityPref.resize(CITY_MAX);
    CityFlag.resize(CITY_MAX);
    ExtraPref.resize(EXTRA_MAX);
    ExtraX.resize(EXTRA_MAX);
    ExtraY.resize(EXTRA_MAX);
    ExtraTownName.resize(EXTRA_MAX);
    ExtraGroupName.resize(EXTRA_MAX);
    ExtraKind.resize(EXTRA_MAX);

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
