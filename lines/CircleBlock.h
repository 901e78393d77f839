// Distance circles and the project's circle block.
#pragma once
#include <cstdint>
#include <vector>

class ProjectLines;
namespace gui { class TextWriter; }

constexpr int CIRCLE_MAX = 250;
constexpr int kMaxRadiusKm = 20000;   // half the earth's circumference

// One distance circle: centre in map units, radius (or ring step) in km.
struct kyorien {
    int32_t cx, cy;
    int32_t radius;
    int32_t textSize;
    int32_t width;
    int32_t color;
    uint8_t concentric, showDistance, showCentre, fixedSize;
    bool operator==(const kyorien&) const = default;
};

struct CircleBlock {
    std::vector<kyorien> circles;
    bool operator==(const CircleBlock&) const = default;
    static CircleBlock Take();
    void Write(gui::TextWriter& w) const;
    bool Parse(ProjectLines& in);
    void Apply() const;
};
