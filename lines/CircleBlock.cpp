// The circle block of the project file, written, read and put back side by side.
#include "lines/CircleBlock.h"
#include "gui/TextFile.h"
#include "lines/Ukyori.h"
#include "engine/ProjectLines.h"
#include <algorithm>

CircleBlock CircleBlock::Take() {
    const TKyori* k = Kyori;
    const int n = std::clamp<int>(k->CircleCount, 0, CIRCLE_MAX);
    return {std::vector<kyorien>(k->Circles, k->Circles + n)};
}

void CircleBlock::Write(gui::TextWriter& w) const {
    w.Printf("%d,//Kyorien nummber\n", int(circles.size()));
    for (const kyorien& c : circles) {
        w.Printf("%d,%d,%d,%d,%d,", c.cx, c.cy, c.radius, c.textSize, c.width);
        w.Printf("%d,%d,%d,%d,%d,//struct kyorien\n", c.color, c.concentric, c.showDistance, c.showCentre,
                 c.fixedSize);
    }
}

bool CircleBlock::Parse(ProjectLines& in) {
    int n;
    if (!in.Ranged(n, 0, CIRCLE_MAX)) return false;
    circles.resize(n);
    std::vector<std::string> f;
    for (kyorien& c : circles) {
        if (!in.Fields(f)) return false;
        // The flags are written 0 or 1: anything else is a damaged line, not a byte to cut.
        for (size_t k = 6; k < 10; ++k)
            if (!in.Check(in.Int(f, k) == 0 || in.Int(f, k) == 1)) return false;
        c = {in.Int(f, 0), in.Int(f, 1), in.Int(f, 2), in.Int(f, 3), in.Int(f, 4), in.Int(f, 5),
             uint8_t(in.Int(f, 6)), uint8_t(in.Int(f, 7)), uint8_t(in.Int(f, 8)), uint8_t(in.Int(f, 9))};
        // Radius, text size and pen width as the circle window allows them.
        if (!in.Position(f, 0, c.cx, c.cy) || !in.Check(c.radius >= 1 && c.radius <= kMaxRadiusKm) ||
            !in.Check(c.textSize >= 6 && c.textSize <= 50) || !in.Check(c.width >= 1 && c.width <= 5))
            return false;
    }
    return true;
}

void CircleBlock::Apply() const { Kyori->RestoreCircles(circles); }
