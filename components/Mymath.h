// The program's small maths component.
#pragma once
#include "gui/Types.h"

class TMyMath : public TObject {
public:
    explicit TMyMath(TObject* Owner = nullptr) {}
    // Direction of (dx, dy) in radians, -pi along negative x; pixel y grows
    // downwards, so on the image the angle turns clockwise.
    static long double Angle(float dx, float dy);
};
