// Where the title, the map and the credit line go on a printed page.
#pragma once
#include <QRect>
#include <QSize>

namespace output {

struct PrintPage {
    // In the printer's dots, from the printable area's top-left corner.
    QRect title, map, credit;
    int dotsPerPixel = 0;   // dots of one map pixel when whole (0: the map is shrunk to fit)
};

// The map of side mapSide pixels fitted into the printable area (its corner
// at origin on the paper), the title above it and the credit below, each
// of the given height (0: none).
PrintPage LayOutPrint(const QSize& area, const QPoint& origin, int mapSide, int titleHeight, int creditHeight);

} // namespace output
