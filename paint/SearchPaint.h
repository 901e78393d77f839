// The fill of the searched name over the map, and with "面積" ticked the area
// it covers, counted on the picture drawn and shown once the stack is drawn.
#pragma once
#include "engine/MapLayer.h"
#include <cstdint>

class TOpen;

// Whether the name searched is one of the wards on the map.
bool SearchesWard(const TOpen& o);
void SearchPaint(TOpen& o, TCanvas& cv, const MapView& view, const DrawSettings& s);

// What the count of the searched name's regions found on one picture.
struct SearchArea {
    int64_t largest = 0;        // pixels of the largest step (the regions of one kind of name)
    int32_t coastSkips = 0;     // points left out beside the coast
};
// Fills and counts the regions on cv drawn through view.
SearchArea MeasureSearchArea(TOpen& o, TCanvas& cv, const MapView& view, const DrawSettings& s);
// The figures in the main window, or the next magnification when a region was too large to count.
void ShowSearchArea(TOpen& o, const SearchArea& a);
