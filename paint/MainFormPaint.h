// The main form's painting, paint files and legend steps: the paint folder's steps over the form.
#pragma once
#include "engine/MainForm.h"
#include "gui/Dialogs.h"
#include "gui/Forms.h"
#include <cstdint>
#include <string>
#include <vector>

struct DrawSettings;
struct MapView;

std::vector<TCheckBox*> SavedCheckBoxes(const TOpen& o);
bool AddPaintRecord(TOpen& o, int32_t x, int32_t y, TColor colour, uint8_t pattern);
void FillAt(const TOpen& o, int sx, int sy, TColor colour, uint8_t pattern);
void FillAt(const TOpen& o, TCanvas& cv, int sx, int sy, TColor colour, uint8_t pattern);
void ReplayPaint(const TOpen& o);
void ReplayPaint(const TOpen& o, TCanvas& cv, const MapView& view);
void BtnPaintClick(TOpen& o, TObject* Sender);
void menuPaintClick(TOpen& o, TObject* Sender);
void PreparePaintMode(TOpen& o);
void SaveCheckStates(TOpen& o);
void RestoreCheckStates(TOpen& o);
void CBTownPaintClick(TOpen& o, TObject* Sender);
void N6Click(TOpen& o, TObject* Sender);
void menuExpClick(TOpen& o, TObject* Sender);
void CBExpClick(TOpen& o, TObject* Sender);
void AddPaintLayers(TOpen& o);
// The legend onto the canvas through the view; on the screen its box is kept for a press.
void DrawLegendOnMap(TOpen& o, TCanvas& cv, const MapView& view, const DrawSettings& s);
// Ctrl+Z: the symbol window's step back while it is shown, else the paint's.
void Undo1Click(TOpen& o, TObject* Sender);
void PaintAt(TOpen& o, int X, int Y);      // paint/: the paint tool's fill at a pressed pixel
void WirePaintHandlers(TOpen& o);
bool WritePaintList(TOpen& o);
bool SplitParenName(const std::string& text, std::string& name, std::string& group);
void PaintByName(TOpen& o, const std::string& name);
bool PaintAtPoint(TOpen& o, int32_t x, int32_t y);   // false when the records are full

// The paint tool's slot and the ticks it put aside while painting.
struct PaintState {
    int32_t PaintSlot = -1; // palette slot of the next fill, -1 none
    uint8_t SavedCheckStates[15] = {};
    bool CheckStatesSaved = false;
};
PaintState& PaintOf(TOpen& o);
const PaintState& PaintOf(const TOpen& o);

// The paint folder's own menu items of the main form and its colour dialog.
struct PaintControls {
    // The user's ticks from the entry into painting, until its end puts them back;
    // a second entry while painting keeps them.
    TMenuItem *N6, *menuExp; // "市町村検索ペイント色", "地図凡例を編集する"
    TMenuItem* menuStatMap = nullptr; // "統計地図"
    TColorDialog* TownPaintDialog;
};
PaintControls& PaintControlsOf(TOpen& o);
const PaintControls& PaintControlsOf(const TOpen& o);
