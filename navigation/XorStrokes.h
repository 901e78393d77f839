// The XOR pen of the rubber bands on the map image, and the strokes drawn with
// it: drawn twice in the same place, a stroke is gone.
#pragma once
#include "gui/Graphics.h"

namespace xorstrokes {

inline void XorPen(TCanvas* cv, TColor colour, int width) {
    cv->Pen->Mode = pmXor;
    cv->Pen->Style = psSolid;
    cv->Pen->Color = colour;
    cv->Pen->Width = width;
}

inline void Line(TCanvas* cv, int x1, int y1, int x2, int y2) {
    cv->MoveTo(x1, y1);
    cv->LineTo(x2, y2);
}

// The centre cross, 20 pixels each way.
inline void Cross(TCanvas* cv, int x, int y) {
    Line(cv, x - 20, y, x + 20, y);
    Line(cv, x, y - 20, x, y + 20);
}

} // namespace xorstrokes
