// A map tool: one mode of the map image (painting, placing a label, a
// measurement ...). The main form holds at most one and hands it every press,
// move, release, double-click and key on the map; what a tool has armed is its
// own members, so a tool runs alone on a bitmap and a view.
#pragma once
#include "engine/Coords.h"
#include "gui/Controls.h"

class TForm;
class TOpen;

// One mouse event on the map image, with the image and the view that drew it.
struct MapEvent {
    TMouseButton button = mbLeft;
    int X = 0, Y = 0;
    TCanvas* canvas = nullptr;
    MapView view;
};

class MapTool {
public:
    virtual ~MapTool() = default;
    // The press; true when it goes on to what the map does with a press of no
    // tool (the legend and scale-bar grabs, then a distance).
    virtual bool Press(const MapEvent& e) = 0;
    // True when the tool took the move (else the pointer's read-out follows it).
    virtual bool Move(const MapEvent&) { return false; }
    // True when the tool took the release (else the map's own drags end).
    virtual bool Release(const MapEvent&) { return false; }
    // True when the tool took the double-click (else it arms the centre).
    virtual bool DoubleClick() { return false; }
    // True when the tool used the key.
    virtual bool Key(int&) { return false; }
    // Gives back what the tool switched on: captions, cursor, boxes, buttons.
    // Called once, by the main form, after the tool has stopped being active.
    virtual void End() {}
    // The window whose close box takes the tool with it.
    virtual TForm* Owner() const = 0;
    // Takes the press before the legend and scale-bar grabs.
    virtual bool BeforeGrabs() const { return false; }
    // The view stays as it is (no wheel) while the tool counts on its pixels.
    virtual bool HoldsView() const { return false; }
    // Points are placed in the stored datum: the map is drawn unshifted.
    virtual bool Placing() const { return false; }
    // A tool that waits in front of another (the one-press web map) gives
    // that one here; it is armed again after the press.
    virtual MapTool* Suspended() const { return nullptr; }
    // The map is drawn for painting: the fills show, and what would bound a
    // fill that the user cannot see (islands, line files) stays off.
    virtual bool Paints() const { return false; }
    // Set by a tool whose own last press finished its work, before it is
    // ended: its end then only gives the map back, with nothing to call off.
    bool Finished = false;
};

// A tool armed on the main form's map, which its handlers work on.
class OpenTool : public MapTool {
public:
    explicit OpenTool(TOpen& o) : o(o) {}

protected:
    TOpen& o;
};
