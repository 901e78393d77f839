// The main form's labels, prefecture names, mountains, islands and symbols: the labels folder's steps over the form.
#pragma once
#include "engine/MainForm.h"
#include "gui/Dialogs.h"
#include "gui/Forms.h"
#include <cstdint>
#include <string>
#include <vector>

struct DrawSettings;
struct MapView;

// The label window's and railway boxes' part of the settings.
void ReadLabelSettings(const TOpen& o, DrawSettings& s);
void BtnLetterClick(TOpen& o, TObject* Sender);
void CBLabelClick(TOpen& o, TObject* Sender);
void MakeLabelClick(TOpen& o, TObject* Sender);
void N15Click(TOpen& o, TObject* Sender);
void TownNameClick(TOpen& o, TObject* Sender);
void OldTownNameClick(TOpen& o, TObject* Sender);
void WriteNameLabels(TOpen& o, bool oldNames);
void LoadIslandEditList(TOpen& o);
bool WriteIslandFile(TOpen& o);
std::string IslandEditPath(const TOpen& o);   // island file of the single shown area, "" with several
void EndIslandEdit(TOpen& o);                 // both island modes off, no records, no file to write
void IslandAreaLoaded(TOpen& o);              // an area load: an edit of another area's file ends
void BtnMarkClick(TOpen& o, TObject* Sender);
void N23Click(TOpen& o, TObject* Sender);
void N161Click(TOpen& o, TObject* Sender);
void N141Click(TOpen& o, TObject* Sender);
void N181Click(TOpen& o, TObject* Sender);
void N19Click(TOpen& o, TObject* Sender);
void N20Click(TOpen& o, TObject* Sender);
void N21Click(TOpen& o, TObject* Sender);
void WireLabelsHandlers(TOpen& o);
void DrawPrefLayer(TOpen& o, TCanvas& cv, const MapView& view, const DrawSettings& s, bool seats);
void DrawMountains(TOpen& o, TCanvas& cv, const MapView& view, const DrawSettings& s);
void DrawIslands(TOpen& o, TCanvas& cv, const MapView& view, const DrawSettings& s);
void AddLabelsLayers(TOpen& o);
// The railway window's 駅名 line: the last station label drawn.
void ShowLastStation(const DrawSettings& s);
// The label table, or its row only, onto the canvas through the view.
void DrawLabels(TOpen& o, TCanvas& cv, const MapView& view, const DrawSettings& s, int only = -1);

// The island records of the single area being edited, and the row picked.
struct IslandEdit {
    // Island records of the single area being edited.
    struct IslandRecord { std::string mark; int32_t x = 0, y = 0; std::string text; int32_t a = 0, b = 0; };
    static constexpr int ISLAND_MAX = 1000;
    std::vector<IslandRecord> IslandRecords;
    int32_t IslandCount = 0;
    std::string IslandFilePath; // the file the records came from
    int32_t IslandIndex = 0; // picked island record
};
IslandEdit& IslandsOf(TOpen& o);
const IslandEdit& IslandsOf(const TOpen& o);

// The labels folder's own menu items of the main form (the symbol menu) and its label-file dialog.
struct LabelControls {
    TMenuItem *N23, *N161, *N141, *N181, *N19, *N20, *N21; // menu "記号"
    TSaveDialog* SaveDialog2 = nullptr; // label files of the displayed names
};
LabelControls& LabelControlsOf(TOpen& o);
const LabelControls& LabelControlsOf(const TOpen& o);
