// The area count: the pixels of one colour region counted and repainted on a
// picture, shared by the area tool, the count of the whole view and the area
// of the searched name.
#pragma once
#include "gui/Graphics.h"
#include <cstdint>
#include <vector>

class TOpen;

struct AreaCount {
    static constexpr int VISIT_SIZE = 600;   // the visit map is VISIT_SIZE x VISIT_SIZE
    int32_t FillCount = 0, EdgeCount = 0;
    bool OpenRegion = false;   // a region reached the picture's edge
    float AreaKm2 = 0;         // the area tool's last figure
    std::vector<uint8_t> VisitMap = std::vector<uint8_t>(VISIT_SIZE * VISIT_SIZE);   // x * 600 + y
    void Clear() {
        FillCount = EdgeCount = 0;
        std::fill(VisitMap.begin(), VisitMap.end(), 0);
    }
};

AreaCount& AreaCountOf(TOpen& o);
// The pixel counts cover a 600-pixel image: false for a larger one (after telling the user).
bool AreaImageFits(const TOpen& o);
// Counts the 4-connected region of colour c from (x, y) on cv and repaints it;
// false when the picture is beyond the visit map.
bool CountAreaPixels(TOpen& o, TCanvas& cv, TColor c, int x, int y);
