// The one drawing of the map: a snapshot of the view, the output's size, the
// settings read once and the layer stack, drawn onto any canvas. The screen,
// every image, the vector files, printing and the command line go through it;
// none of them touches the screen's map image.
#pragma once
#include "engine/Insets.h"
#include "engine/MapLayer.h"
#include <functional>
#include <vector>

struct MapSnapshot {
    MapView view;            // its size is the output's side in pixels
    DrawSettings settings;   // what differs per device is in here too
    LayerStack* layers = nullptr;
    // The insets drawn over the map; their groups are left out of the main frame.
    const InsetSet* insets = nullptr;
    // The part of the picture the output shows (a page's frame), whose corners
    // the insets take; empty: the whole picture.
    TRect shown;
};

// Prepares the stack once and draws it onto cv (a bitmap of at least the
// view's size; with a recorder attached, the shapes are kept too). between,
// when given, sees the canvas once the map proper and its circles are drawn,
// before what lies above them (the screen's thumbnail). Returns the insets
// drawn, with the views their presses go through.
std::vector<InsetFrame> RenderMap(TCanvas& cv, const MapSnapshot& job,
                                  const std::function<void(TCanvas&)>& between = {});
