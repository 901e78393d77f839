// The redraw of the main form's map, for a window that asks for it without
// depending on the form.
#pragma once
#include "engine/Coords.h"

class TCheckBox;
class TOpen;

// Whether and when the main form's map may be drawn.
struct RedrawGate {
    // DataReady: the redraw draws only while set; MapShown: presses on the map
    // are ignored while clear; ProjectLoading: set only while a project file is restored.
    bool DataReady = false, MapShown = false, ProjectLoading = false;
    // While held, a redraw is only noted; it happens once when the hold ends.
    int RedrawHeld = 0;
    bool RedrawWanted = false;
};
// The main form's gate.
RedrawGate& MainGate();
// The gate of the main form o.
RedrawGate& GateOf(TOpen& o);
const RedrawGate& GateOf(const TOpen& o);

// The main form's DrawMap: false when nothing was drawn.
bool RedrawMap();
// o's DrawMap.
bool RedrawMap(TOpen& o);
// The view and datum that drew the image now on screen.
const MapView& DrawnMapView();

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
