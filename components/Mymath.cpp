#include "components/Mymath.h"
#include <cmath>

long double TMyMath::Angle(float dx, float dy) {
    const long double pi = 3.14159265358979323846L;
    if (dx == 0) return dy > 0 ? pi / 2 : dy < 0 ? -pi / 2 : 0;
    if (dx > 0) return std::atan((long double)dy / dx);
    if (dy < 0) return std::atan((long double)dy / dx) - pi;
    if (dy > 0) return pi - std::atan(-(long double)dy / dx);
    return -pi;
}
