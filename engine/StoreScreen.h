// The screen points of one polyline store under one view. A redraw that keeps
// the view (a box ticked, a station layer switched) converts no point again;
// a new view converts only the polylines whose box can reach the image.
#pragma once
#include "engine/Coords.h"
#include "gui/Graphics.h"
#include <cstdint>
#include <vector>

class TCanvas;

class StoreScreen {
public:
    // Draws the store's polylines (n, x1, y1, ..., xn, yn up to the first count
    // that is not positive) as the canvas's polylines; with closing, each one's
    // last segment again backwards, which sets the last point's pixel.
    void Draw(TCanvas& cv, const MapView& view, const int32_t* words, size_t size, int32_t fill, uint64_t revision,
              bool closing);

private:
    struct Line {
        size_t at;              // first point, in points
        int32_t n;
        int32_t x0, y0, x1, y1; // box of the points as drawn (datum applied)
        int sx0, sy0, sx1, sy1; // the box on the screen of the current view
        bool converted;         // points taken for the current view
    };
    void take(const int32_t* words, size_t size, bool wgs);
    void aim(const MapView& view);

    bool built = false, wgs = false, aimed = false;
    uint64_t revision = 0;
    int32_t fill = -1;
    const int32_t* words = nullptr;
    MapView view;
    std::vector<Line> lines;
    std::vector<int32_t> points;   // x, y per point in the drawn datum
    std::vector<TPoint> screen;    // per point, valid where its line is converted
    std::vector<TPointF> exact;    // one line's points for a vector device
};
