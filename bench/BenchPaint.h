// The paint of the benchmarks: all areas, names off, 1,300 records at the
// first 1,300 current-name points, slot colours in turn, every fifth cross-hatched.
#pragma once
#include "bench/BenchProgram.h"
#include "paint/MainFormPaint.h"
#include "paint/Upaint.h"

namespace benchutil {

// The records of the benchmarks' paint: what a whole map of hand painting holds.
constexpr int kBenchRecords = 1300;

// A record as its flood: the pixel, the colour it fills over on the map at hand, and the brush.
struct Seed {
    int x, y;
    TColor over, colour;
    TBrushStyle style;
};
inline Seed SeedOf(const PaintRecord& r) {
    Seed s{0, 0, 0, r.colour, TBrushStyle(r.pattern)};
    Open->MapToScreen(r.x, r.y, s.x, s.y);
    s.over = Open->PickTextBackground(s.x, s.y);
    return s;
}

inline void LoadAllAreasWithPaint() {
    LoadAllAreas();
    Open->ui.CBTownName->SetChecked(false);
    Open->paint.paint_rep = 0;
    for (int i = 0; i < kBenchRecords && i < Open->doc.TownCount; ++i)
        AddPaintRecord(*Open, Open->doc.TownX[i], Open->doc.TownY[i], Open->style.PaintColor[i % 8], i % 5 == 4 ? 6 : 0);
    MapPaint->CBPaintDisplay->SetChecked(true);
}

} // namespace benchutil
