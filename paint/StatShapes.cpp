#include "paint/StatShapes.h"
#include "engine/Coords.h"
#include "gui/Files.h"
#include "gui/TextFile.h"
#include "gui/Types.h"
#include <algorithm>
#include <charconv>
#include <string_view>

namespace {

// The fields of a line, cut at commas; false when there are not exactly n.
bool Cut(std::string_view line, std::string_view* f, int n) {
    int k = 0;
    for (;;) {
        const size_t comma = line.find(',');
        if (k == n) return false;
        f[k++] = line.substr(0, comma);
        if (comma == std::string_view::npos) break;
        line.remove_prefix(comma + 1);
    }
    return k == n;
}

bool Number(std::string_view s, int64_t lo, int64_t hi, int64_t& v) {
    if (s.empty()) return false;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc() && end == s.data() + s.size() && v >= lo && v <= hi;
}

// No area file comes near these (the largest holds about 30,000 points).
constexpr int64_t kMaxRings = 100000, kMaxRingPoints = 1000000, kMaxPoints = 4000000;

} // namespace

size_t StatShapeArea::Bytes() const {
    return blocks.capacity() * sizeof(StatShape) + ringStart.capacity() * sizeof(uint32_t) +
           points.capacity() * sizeof(Point) + sizeof(*this);
}

std::string StatShapePath(const std::string& appDir, int year, int area) {
    return appDir + "/MAPDATA/Codes" + (year ? "/" + std::to_string(year) : "") + gui::Format("/Shapes/%02d.txt", area);
}

bool ReadStatShapes(const std::string& path, StatShapeArea& out, std::string& error) {
    gui::TextReader r;
    if (!r.Open(path)) {
        error = gui::Format("%s を開けません", path.c_str());
        return false;
    }
    StatShapeArea a;
    int line = 0;
    std::string_view text, f[4];
    const auto fail = [&] {
        error = gui::Format("%s の %d 行目が正しくありません", path.c_str(), line);
        return false;
    };
    while (r.ReadLineBytes(text)) {
        ++line;
        int64_t code, part, rings;
        if (!Cut(text, f, 4) || f[0] != "U" || f[1].size() != 6 || !Number(f[1], 10000, 999999, code) ||
            !Number(f[2], 1, 100000, part) || !Number(f[3], 1, kMaxRings, rings))
            return fail();
        StatShape b;
        b.code = int32_t(code);
        b.firstRing = uint32_t(a.ringStart.size());
        b.rings = uint32_t(rings);
        b.x0 = b.y0 = INT32_MAX;
        b.x1 = b.y1 = INT32_MIN;
        for (int64_t k = 0; k < rings; ++k) {
            int64_t n;
            ++line;
            if (!r.ReadLineBytes(text) || !Cut(text, f, 2) || f[0] != "R" || !Number(f[1], 3, kMaxRingPoints, n) ||
                int64_t(a.points.size()) + n > kMaxPoints)
                return fail();
            a.ringStart.push_back(uint32_t(a.points.size()));
            for (int64_t i = 0; i < n; ++i) {
                int64_t x, y;
                ++line;
                if (!r.ReadLineBytes(text) || !Cut(text, f, 2) || !Number(f[0], -MAP_COORD_LIMIT, MAP_COORD_LIMIT, x) ||
                    !Number(f[1], -MAP_COORD_LIMIT, MAP_COORD_LIMIT, y))
                    return fail();
                a.points.push_back({int32_t(x), int32_t(y)});
                b.x0 = std::min(b.x0, int32_t(x)), b.x1 = std::max(b.x1, int32_t(x));
                b.y0 = std::min(b.y0, int32_t(y)), b.y1 = std::max(b.y1, int32_t(y));
            }
        }
        a.blocks.push_back(b);
    }
    if (a.blocks.empty()) {
        line = 1;
        return fail();
    }
    a.ringStart.push_back(uint32_t(a.points.size()));
    a.blocks.shrink_to_fit();
    a.ringStart.shrink_to_fit();
    a.points.shrink_to_fit();
    out = std::move(a);
    return true;
}

const StatShapeArea* StatShapeCache::Area(const std::string& appDir, int year, int area) {
    const auto key = std::make_pair(year, area);
    if (auto it = areas.find(key); it != areas.end()) return it->second.get();
    auto a = std::make_unique<StatShapeArea>();
    std::string error;
    const std::string path = StatShapePath(appDir, year, area);
    // A missing file is told once, as a refused one is; neither is asked for again.
    if (!ReadStatShapes(path, *a, error)) {
        a.reset();
        errors.push_back(error);
    }
    return (areas[key] = std::move(a)).get();
}

std::vector<std::string> StatShapeCache::TakeErrors() { return std::exchange(errors, {}); }

size_t StatShapeCache::Bytes() const {
    size_t n = 0;
    for (const auto& [key, a] : areas)
        if (a) n += a->Bytes();
    return n;
}
