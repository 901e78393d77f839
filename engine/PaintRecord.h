// One flood fill, kept in map units (Tokyo datum) so it survives every change of view.
#pragma once
#include "gui/Types.h"
#include <cstdint>

struct PaintRecord {
    int32_t x, y;
    TColor colour;
    uint8_t pattern;
    bool operator==(const PaintRecord&) const = default;
};

// The fills in the order made, replayed on every redraw while PaintDisplay is set.
class TOpen;

struct PaintStore {
    // Room for a statistics map of every municipality of the country at every
    // part, in the edition with the most of them, and hand painting besides.
    static constexpr int PAINT_MAX = 8000;
    PaintRecord PaintRecords[PAINT_MAX] = {};
    int32_t paint_rep = 0;
    bool PaintDisplay = false;
};
// The main form's fills.
PaintStore& MainPaint();
// The fills of the main form o.
PaintStore& PaintStoreOf(TOpen& o);
const PaintStore& PaintStoreOf(const TOpen& o);
