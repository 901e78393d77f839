// Insets (挿入図): far island groups drawn in framed boxes at a corner of the
// map, each at its own scale, while the main frame shows the rest larger.
// The groups' boxes come from the units' polygons of the map's areas; the
// user's choices are kept in map units, so they hold at every picture size.
#pragma once
#include "engine/Coords.h"
#include "engine/MapLayer.h"
#include "gui/Graphics.h"
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A box in map units; empty until something is added.
struct MapBox {
    int32_t x0 = 1, y0 = 1, x1 = 0, y1 = 0;
    bool Empty() const { return x1 < x0 || y1 < y0; }
    void Add(const MapBox& b);
    bool operator==(const MapBox&) const = default;
};
// The box grown by 3 % of its larger side all round, as the loader grows the data's.
MapBox WithMargin(const MapBox& b);

enum class InsetCorner : int { LowerRight = 0, LowerLeft = 1, UpperLeft = 2, UpperRight = 3 };
constexpr int kInsetCorners = 4;
const char* InsetCornerCaption(InsetCorner c);

enum InsetGroup : int { kInsetOkinawa = 0, kInsetOgasawara, kInsetHoppo, kInsetDaito, kInsetGroups };
struct InsetGroupInfo {
    const char* caption;   // as the window shows it
    const char* tag;       // as the project file keeps it
    int area;              // the area file that holds it
    InsetCorner corner;    // where national maps usually put it
};
const InsetGroupInfo& InsetGroupOf(int g);
// The group of a unit of an area file, or -1.
int InsetGroupOfUnit(int area, int32_t code);

// Span limits of an inset: map units across the 600-pixel picture.
constexpr int32_t kInsetMinSpan = 2000, kInsetMaxSpan = 2000000;

struct InsetChoice {
    bool shown = false;
    InsetCorner corner = InsetCorner::LowerRight;
    int32_t span = 0;   // map units across the 600-pixel picture; 0: fitted to the group
    bool operator==(const InsetChoice&) const = default;
};

// One part of a unit of an area: its code and box.
struct InsetUnit {
    int32_t code = 0;
    MapBox box;
};

// An inset as drawn on one picture: its frame on the picture, the view it is
// drawn in (a square of its own, whose part at crop fills the frame), and the
// same view placed on the picture, which presses inside the frame go through.
struct InsetFrame {
    int group = 0;
    TRect frame;
    MapView view;
    int cropX = 0, cropY = 0;
    MapView press;   // view placed on the picture: its pixel (0, 0) at the crop's corner
};

class InsetSet {
public:
    std::array<InsetChoice, kInsetGroups> choice;
    InsetSet();

    // After a load: the areas drawn, the data's box, and each area's units
    // (unitsOf may return nothing for an area without polygons).
    void SetMap(const std::vector<int>& areas, const MapBox& data,
                const std::function<std::vector<InsetUnit>(int area)>& unitsOf);
    // The box an inset of the group shows; empty when the map does not hold the group.
    const MapBox& Box(int g) const { return boxes[size_t(g)]; }
    bool Offered(int g) const { return !Box(g).Empty(); }
    bool Active(int g) const { return Offered(g) && choice[size_t(g)].shown; }
    bool AnyActive() const;
    // The box the standard view fits: the data's, or with insets on what remains (with its margin).
    MapBox StandardBox() const;
    // The span a group gets unless the user sets one: its box fills a third of the picture's side.
    int32_t FittedSpan(int g, float aspect) const;
    int32_t SpanOf(int g, float aspect) const;
    // The frames on a picture drawn in main, in the corners of the part of it
    // shown (the whole picture when null); none when no inset is on.
    std::vector<InsetFrame> Frames(const MapView& main, const TRect* shown = nullptr) const;
    // The boxes of the groups shown in insets, in the main view's pixels.
    std::vector<TRect> HiddenOn(const MapView& main) const;

private:
    std::vector<int> areas;
    MapBox data;
    std::array<MapBox, kInsetGroups> boxes;    // what the inset shows
    std::array<MapBox, kInsetGroups> wholes;   // every part of the group: what leaves the main frame
    std::function<std::vector<InsetUnit>(int area)> read;
    // Every area's units, read when first wanted; whole when every area has its polygons.
    mutable std::vector<std::pair<int, InsetUnit>> units;   // (area, unit)
    mutable bool unitsRead = false, unitsWhole = false;
};

// The insets of the main window's map.
extern InsetSet MapInsets;
// Registered by the folder that reads the units' polygons.
extern std::function<std::vector<InsetUnit>(int area)> InsetUnitsOf;

// The places that belong to the page rather than to the map: drawn once, on the main frame.
bool PageFurniture(LayerPlace p);
// Draws each inset of frames onto cv: its frame, the stack drawn again in its
// view (the map proper only) and a small scale bar of its own.
void DrawInsets(TCanvas& cv, const std::vector<InsetFrame>& frames, LayerStack& layers, const DrawSettings& s);
