// The main form's line editor, railways and distance circles: the lines folder's steps over the form.
#pragma once
#include "engine/MainForm.h"
#include "gui/Dialogs.h"
#include "gui/Forms.h"
#include <cstdint>
#include <string>
#include <vector>

struct DrawSettings;
struct MapView;

void Button13Click(TOpen& o, TObject* Sender);   // "円"
void NCircleClick(TOpen& o, TObject* Sender);
void DrawDistanceCircles(TOpen& o);
void DrawDistanceCircles(TOpen& o, TCanvas& cv, const MapView& view);
// Each folder's layers and hooks, added as it wires its handlers.
void AddLinesLayers(TOpen& o);
void N16Click(TOpen& o, TObject* Sender);
void WireLinesHandlers(TOpen& o);

// What the last railway load took.
struct RailLoad {
    bool MainStationsLoaded = false; // the last railway load took the main-station files
    int32_t RailLabelCount = 0; // station label files of the last railway load
};
RailLoad& RailOf(TOpen& o);
const RailLoad& RailOf(const TOpen& o);

// The railway boxes and menu item the lines folder adds to the main form.
struct RailControls {
    TCheckBox *CBMain = nullptr, *CBRailSet = nullptr; // "主要駅", "詳細"
    TMenuItem* RailInfo = nullptr; // "鉄道路線情報": shows TRail after each railway load
};
RailControls& RailControlsOf(TOpen& o);
const RailControls& RailControlsOf(const TOpen& o);
