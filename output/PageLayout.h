// A page to hand out: the paper, the map's frame on it at a fitted or an exact
// scale, and the title, legend, scale bar, credit and north arrow, each put
// where the user placed it. Pure: sizes in millimetres, no windows.
#pragma once
#include "engine/Coords.h"
#include <QRectF>
#include <QSizeF>
#include <string>
#include <vector>

namespace output {

enum PageItem { PAGE_TITLE, PAGE_SUBTITLE, PAGE_LEGEND, PAGE_SCALEBAR, PAGE_CREDIT, PAGE_NORTH, PAGE_ITEMS };
// Where an item is held: a corner or the middle of the top or bottom edge of
// the printable area, its offset running inward from there.
enum PageAnchor { ANCHOR_TOP_LEFT, ANCHOR_TOP, ANCHOR_TOP_RIGHT, ANCHOR_BOTTOM_LEFT, ANCHOR_BOTTOM, ANCHOR_BOTTOM_RIGHT, ANCHORS };

const char* PageItemName(int item);   // "表題", "副題", ...
const char* AnchorName(int anchor);   // "左上", "上", ...

// Offsets are kept in tenths of a millimetre: they go back and forth through
// the project file unchanged.
constexpr int kMaxPageOffset = 5000;
constexpr int kMinPageScale = 1000, kMaxPageScale = 50000000;
constexpr int kMaxPageText = 200;   // bytes of a title or subtitle
// The map's pixels on paper: the screen's 600 pixels on 152.4 mm, the density
// its names and lines are drawn for.
constexpr double kPageDotsPerMm = 100 / 25.4;

struct PagePlace {
    bool shown = true;
    int anchor = ANCHOR_TOP_LEFT;
    int dx = 0, dy = 0;   // tenths of a millimetre, inward from the anchor (across for the middle ones)
    bool operator==(const PagePlace&) const = default;
};

struct PageLayout {
    int paper = 0;            // index into PaperNames(); the last is the map alone on a page of its size
    bool landscape = false;
    int dpi = 100;            // the map alone: its pixels per inch
    bool fixedScale = false;  // 1:scale, else the map fitted to the frame
    int scale = 1000000;
    std::string title, subtitle;
    PagePlace places[PAGE_ITEMS] = {
        {true, ANCHOR_TOP, 0, 30},          {true, ANCHOR_TOP, 0, 120},        {true, ANCHOR_BOTTOM_RIGHT, 30, 140},
        {true, ANCHOR_BOTTOM_RIGHT, 30, 30}, {true, ANCHOR_BOTTOM_LEFT, 20, 20}, {false, ANCHOR_TOP_RIGHT, 50, 50},
    };
    bool operator==(const PageLayout&) const = default;
};

// The paper in millimetres, the way up applied, and its printable area.
struct PageSheet {
    QSizeF paper;
    QRectF printable;
    int paperIndex = -1;   // of PaperNames(), -1 for a printer's own paper
    bool landscape = false;
};

struct PageComposition {
    bool ok = false;
    std::string message;   // why nothing is drawn, or (with ok) what the user should know
    QRectF frame;          // the map's frame: the printable area
    MapView view;          // the square the render job draws; it covers the frame
    QPointF mapOrigin;     // the square's top-left corner on the paper
    double mmPerPixel = 0;
    double scale = 0;      // 1:scale at the map's centre
    bool drawn[PAGE_ITEMS] = {};
    QRectF boxes[PAGE_ITEMS];
};

// Kilometres on the ground of one map unit across and up at map row y.
double KmPerMapX(int32_t y);
double KmPerMapY();

// The page: the screen's map (its square view in the datum drawn) fitted into
// the frame, or at 1:scale around the same centre. sizes are the items' sizes
// in mm; an empty size, or an item not shown, is not drawn.
PageComposition ComposePage(const PageLayout& layout, const PageSheet& sheet, const MapView& screen,
                            const QSizeF (&sizes)[PAGE_ITEMS]);
// The box of an item of the given size placed as told, and the place that puts it at topLeft.
QRectF PlaceBox(const QRectF& printable, const PagePlace& place, QSizeF size);
PagePlace PlaceAt(const QRectF& printable, int anchor, QSizeF size, QPointF topLeft);

// A scale bar for 1:scale: its segments, each segmentMm long, and the labels at their ends.
struct ScaleBarPlan {
    int segments = 0;
    double segmentMm = 0;
    std::vector<std::string> labels;   // segments + 1; the last with its unit
};
ScaleBarPlan PlanScaleBar(double scale);

// The credit line: the sources of what the map shows, as the data's terms ask.
std::string PageCredit(bool lakes, bool railways, bool mountains, bool oldTowns);
// 1234567 as "1,234,567".
std::string Thousands(int64_t n);

} // namespace output
