// How the map is drawn: the colours, widths and sizes that the settings
// window and config.ini set, and the paint palette. The main form holds it;
// a window that needs only these reaches them through MainStyle().
#pragma once
#include "gui/Types.h"
#include <cstdint>

class TOpen;

struct MapStyle {
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
    TColor PaintColor[8] = {}, DefPaintColor[8] = {};
    uint8_t PaintPattern[8] = {};
    uint8_t PaintSlotFlag[8] = {};
};

class TCanvas;
// The colour behind a text at an image pixel: the pixel's, or the background
// where the pixel lies outside the image or carries a line or text colour.
TColor PickTextBackground(const MapStyle& st, TCanvas& cv, int x, int y);

// The main form's style.
MapStyle& MainStyle();
// The style of the main form o.
MapStyle& StyleOf(TOpen& o);
const MapStyle& StyleOf(const TOpen& o);
