// The rings of the distance circles as the redraw strokes them: their
// vertices worked out once, in screen pixels of the current view.
#pragma once
#include "engine/Uopen.h"
#include "lines/Ukyori.h"
#include <vector>

namespace benchutil {

inline std::vector<std::vector<TPoint>> CircleRings() {
    std::vector<std::vector<TPoint>> rings;
    for (int n = 0; n < Kyori->CircleCount; n++) {
        const kyorien& k = Kyori->Circles[n];
        for (int32_t d = k.radius; d <= 20000; d += k.radius) {
            std::vector<TPoint>& r = rings.emplace_back();
            bool visible = false;
            for (int i = 0; i <= 100; i++) {
                int32_t vx, vy;
                RingVertex(k.cx, k.cy, d, i, vx, vy);
                int X, Y;
                Open->MapToScreen(vx, vy, X, Y);
                visible = visible || (X > 0 && X < Open->ImageSize && Y >= 1 && Y < Open->ImageSize);
                r.push_back(TPoint(X, Y));
            }
            if (!k.concentric || !visible) break;
        }
    }
    return rings;
}

} // namespace benchutil
