// TOpen: map units <-> image pixels through the view centre and scales.
#include "engine/Coords.h"
#include "engine/Uopen.h"
#include "labels/Upagesdlg.h"
#include "lines/Ulineadd.h"
#include <algorithm>

namespace {

// A far point (a bogus coordinate in a file, or a deep zoom) stays far: the
// pixel is held to a range that the canvas still clips exactly.
constexpr double kPixelLimit = 1 << 28;

int ClampPixel(float v) { return TruncToInt(std::clamp<double>(v, -kPixelLimit, kPixelLimit)); }

} // namespace

// While a line point or a symbol is being placed everything is drawn in the
// stored datum, so that the click and the drawn point agree.
void TOpen::MapToScreen(int32_t x, int32_t y, int& sx, int& sy) const {
    bool placing = (LineAdd && LineAdd->PointMode != 0) || (PagesDlg && PagesDlg->StampMode == 1);
    if (WgsDisplay && !placing) TokyoToWgs(x, y, x, y);
    int half = ImageSize / 2;
    // The offsets from the centre are taken in 64 bits: two far points must not wrap.
    sx = ClampPixel(float(int64_t(x) - CX) * ScaleX + half);
    sy = ClampPixel(-ScaleY * float(int64_t(y) - CY) + half);
}

// No datum conversion: a point taken from a WGS map is in WGS map units.
void TOpen::ScreenToMap(int sx, int sy, int32_t& x, int32_t& y) const {
    int half = ImageSize / 2;
    x = TruncToInt((sx - half) / ScaleX + CX);
    y = TruncToInt((half - sy) / ScaleY + CY);
}
