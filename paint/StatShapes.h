// The polygons of the municipalities and wards, one block per part, as the
// statistics layer fills them: MAPDATA/Codes/Shapes/%02d.txt, or
// Codes/<year>/Shapes while an earlier edition is on the map.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// One part of a unit: its rings (the outline, then its holes) and the box round them.
struct StatShape {
    int32_t code = 0;   // the six-digit code as a number
    int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    uint32_t firstRing = 0, rings = 0;
};

struct StatShapeArea {
    struct Point { int32_t x, y; };
    std::vector<StatShape> blocks;
    std::vector<uint32_t> ringStart;   // where each ring's points begin; one more at the end
    std::vector<Point> points;
    size_t Bytes() const;
};

// Reads one area's file whole; on a malformed block returns false with the
// file and line named in error, and area is left as it was.
bool ReadStatShapes(const std::string& path, StatShapeArea& area, std::string& error);

// Each file read once per edition, when an area is first drawn.
class StatShapeCache {
public:
    // The area's polygons, or null when its file is missing or refused (error tells which).
    const StatShapeArea* Area(const std::string& appDir, int year, int area);
    // Errors met since the last call, each once.
    std::vector<std::string> TakeErrors();
    size_t Bytes() const;
    // The files refused or missing are asked for again (the user may have mended them).
    void ForgetRefused() { std::erase_if(areas, [](const auto& a) { return !a.second; }); }

private:
    std::map<std::pair<int, int>, std::unique_ptr<StatShapeArea>> areas;   // (year, area); null: no file
    std::vector<std::string> errors;
};

std::string StatShapePath(const std::string& appDir, int year, int area);
