// TOpen: map units <-> image pixels through the view centre and scales.
#include "engine/Coords.h"
#include "engine/Uopen.h"
#include "labels/Upagesdlg.h"
#include "lines/Ulineadd.h"

// While a line point or a symbol is being placed everything is drawn in the
// stored datum, so that the click and the drawn point agree.
void TOpen::MapToScreen(int32_t x, int32_t y, int& sx, int& sy) const {
    bool placing = (LineAdd && LineAdd->PointMode != 0) || (PagesDlg && PagesDlg->StampMode == 1);
    if (WgsDisplay && !placing) TokyoToWgs(x, y, x, y);
    int half = ImageSize / 2;
    sx = TruncToInt((x - CX) * ScaleX + half);
    sy = TruncToInt(-ScaleY * (y - CY) + half);
}

// No datum conversion: a point taken from a WGS map is in WGS map units.
void TOpen::ScreenToMap(int sx, int sy, int32_t& x, int32_t& y) const {
    int half = ImageSize / 2;
    x = TruncToInt((sx - half) / ScaleX + CX);
    y = TruncToInt((half - sy) / ScaleY + CY);
}
