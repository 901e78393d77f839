// Whether a position kept from a press is drawn back on the pressed pixel.
#pragma once
#include "engine/Uopen.h"
#include <gtest/gtest.h>

inline ::testing::AssertionResult DrawnAt(int32_t x, int32_t y, int X, int Y) {
    int sx, sy;
    Open->MapToScreen(x, y, sx, sy);
    if (sx == X && sy == Y) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << x << ", " << y << ") is drawn at (" << sx << ", " << sy
                                         << "), pressed at (" << X << ", " << Y << ")";
}
