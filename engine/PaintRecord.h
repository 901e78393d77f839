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
