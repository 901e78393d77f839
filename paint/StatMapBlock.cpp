// The statistics map block of the project file, written, read and put back side by side.
#include "paint/StatMapBlock.h"
#include "gui/TextFile.h"
#include "engine/ProjectLines.h"
#include "paint/StatLayer.h"
#include "paint/Ustatmap.h"
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace {

constexpr const char* kHeader = "-1,STATMAP";
constexpr int kMaxValues = 100000;   // far above the units of any date (3,363 in 2002)

// The numbers of a line "a,b,...,TAG": exactly n of them, each within its range.
bool Numbers(ProjectLines& in, int* v, const int (*range)[2], int n) {
    std::vector<std::string> f;
    if (!in.Fields(f) || !in.Check(int(f.size()) == n + 1)) return false;
    for (int k = 0; k < n; ++k) {
        const auto x = TryStrToInt(f[size_t(k)]);
        if (!in.Check(x && *x >= range[k][0] && *x <= range[k][1])) return false;
        v[k] = *x;
    }
    return true;
}

bool Real(const std::string& s, double& v) {
    if (s.empty()) return false;
    char* end = nullptr;
    v = std::strtod(s.c_str(), &end);
    return *end == '\0' && std::isfinite(v);
}

// n lines "code,value", codes ascending.
bool Values(ProjectLines& in, int n, std::vector<std::pair<int32_t, double>>& out) {
    for (int k = 0; k < n; ++k) {
        std::vector<std::string> f;
        double v;
        const auto code = in.Fields(f) && f.size() == 2 && f[0].size() == 6 ? TryStrToInt(f[0]) : std::nullopt;
        if (!in.Check(code && *code >= 10000 && Real(f[1], v) && (out.empty() || *code > out.back().first)))
            return false;
        out.push_back({*code, v});
    }
    return true;
}

} // namespace

bool StatYearKnown(int year) {
    for (int y : {0, 2002, 2003, 2005, 2008, 2009})
        if (year == y) return true;
    return false;
}

std::vector<StatSlot> StatMapBlock::Slots() const {
    double centre = NAN;
    if (hasMidpoint) {
        const int k = StatClassOf(midpoint, breaks);
        centre = k > 0 && breaks[size_t(k) - 1] == midpoint ? k - 0.5 : k;
    }
    std::vector<StatSlot> s = StatClassSlots(scheme, count, reversed, StatStyle(std::clamp(style, 0, 2)), centre);
    s.push_back(noDataHatch ? kNoDataSlot : StatSlot{0xFFFFFF, 0});
    return s;
}

double StatMapBlock::ValueOf(int32_t code) const {
    const auto it = std::lower_bound(values.begin(), values.end(), code,
                                     [](const std::pair<int32_t, double>& p, int32_t c) { return p.first < c; });
    return it != values.end() && it->first == code ? it->second : NAN;
}

StatMapBlock StatMapBlock::Take() { return StatLayerOnMap ? StatLayerOnMap->Shown() : StatMapBlock{}; }

void StatMapBlock::Write(gui::TextWriter& w) const {
    if (!on) return;
    w.Printf("%s\n%s\n", kHeader, table.c_str());
    w.Printf("%d,%d,%d,%d,%d,%d,JOIN\n", headingRow, key, codeCol, nameCol, prefCol, valueCol);
    w.Printf("%d,%d,%d,%d,%d,%d,CLASSES\n", method, count, scheme, reversed ? -1 : 0, style, noDataHatch ? -1 : 0);
    w.Printf("%d,%d,%d,%d,FORMAT\n", decimals, thousands ? -1 : 0, openEnds ? -1 : 0, counts ? -1 : 0);
    w.Printf("%d,%.17g,%d,%d,%d,%d,OPTIONS\n", hasMidpoint ? -1 : 0, hasMidpoint ? midpoint : 0.0, divide, divisorCol,
             level, fixed ? -1 : 0);
    w.Printf("%d,%d,%d,SOURCE\n", tableYear, carryRate ? -1 : 0, sheet);
    w.Printf("%s\n%s\n", unit.c_str(), heading.c_str());
    w.Printf("%d,%d,%d,%d,%d,%d,%d,%d,SYMBOLS\n", fill ? -1 : 0, circles ? -1 : 0, sizeCol, radius, circleLook,
             int(circleColour & 0xFFFFFF), valueLabels ? -1 : 0, labelSize);
    w.Printf("%s\n%s\n", labelFont.c_str(), sizeHeading.c_str());
    w.Printf("%d,BREAKS\n", int(breaks.size()));
    for (double b : breaks) w.Printf("%.17g\n", b);
    w.Printf("%d,%d,VALUES\n", year, int(values.size()));
    for (const auto& [code, v] : values) w.Printf("%06d,%.17g\n", code, v);
    w.Printf("%d,SIZES\n", int(sizes.size()));
    for (const auto& [code, v] : sizes) w.Printf("%06d,%.17g\n", code, v);
}

bool StatMapBlock::Parse(ProjectLines& in) {
    *this = StatMapBlock{};
    // Blank lines after the last block were read as nothing before, and still are.
    const auto rest = in.Rest();
    if (std::all_of(rest.begin(), rest.end(),
                    [](const std::string& l) { return l.find_first_not_of(" \t") == std::string::npos; }))
        return true;
    // A later block's header: no statistics map before it.
    if (rest.front() != kHeader && rest.front().rfind("-1,", 0) == 0) return true;
    std::string s;
    if (!in.Next(s) || !in.Check(s == kHeader) || !in.Next(table)) return false;
    int join[6], classes[6], format[4];
    static const int joinRange[6][2] = {{0, 1000000}, {0, 1}, {-1, 1000}, {-1, 1000}, {-1, 1000}, {-1, 1000}};
    static const int classRange[6][2] = {{0, 4}, {2, 7}, {0, 1000}, {-1, 0}, {0, 2}, {-1, 0}};
    static const int formatRange[4][2] = {{0, 4}, {-1, 0}, {-1, 0}, {-1, 0}};
    if (!Numbers(in, join, joinRange, 6) || !Numbers(in, classes, classRange, 6) || !Numbers(in, format, formatRange, 4))
        return false;
    headingRow = join[0], key = join[1], codeCol = join[2], nameCol = join[3], prefCol = join[4], valueCol = join[5];
    method = classes[0], count = classes[1], scheme = classes[2], reversed = classes[3] != 0, style = classes[4];
    noDataHatch = classes[5] != 0;
    decimals = format[0], thousands = format[1] != 0, openEnds = format[2] != 0, counts = format[3] != 0;
    {
        std::vector<std::string> f;
        double mid = 0;
        if (!in.Fields(f) || !in.Check(f.size() == 7 && f[6] == "OPTIONS" && Real(f[1], mid))) return false;
        int o[5];
        static const int optionRange[5][2] = {{-1, 0}, {0, 2}, {-1, 1000}, {0, 2}, {-1, 0}};
        for (int k = 0; k < 5; ++k) {
            const auto x = TryStrToInt(f[size_t(k == 0 ? 0 : k + 1)]);
            if (!in.Check(x && *x >= optionRange[k][0] && *x <= optionRange[k][1])) return false;
            o[k] = *x;
        }
        hasMidpoint = o[0] != 0, midpoint = hasMidpoint ? mid : 0;
        divide = o[1], divisorCol = o[2], level = o[3], fixed = o[4] != 0;
    }
    {
        std::vector<std::string> f;
        if (!in.Fields(f) || !in.Check(f.size() == 4 && f[3] == "SOURCE")) return false;
        const auto y = TryStrToInt(f[0]), r = TryStrToInt(f[1]), k = TryStrToInt(f[2]);
        if (!in.Check(y && (*y == -1 || StatYearKnown(*y)) && r && (*r == 0 || *r == -1) && k && *k >= 0 && *k < 10000))
            return false;
        tableYear = *y, carryRate = *r != 0, sheet = *k;
    }
    if (!in.Next(unit) || !in.Next(heading)) return false;
    {
        int y[8];
        static const int symbolRange[8][2] = {{-1, 0},     {-1, 0}, {-1, 1000}, {kStatMinRadius, kStatMaxRadius},
                                              {0, 1},      {0, 0xFFFFFF}, {-1, 0}, {kStatMinLabelSize, kStatMaxLabelSize}};
        if (!Numbers(in, y, symbolRange, 8)) return false;
        fill = y[0] != 0, circles = y[1] != 0, sizeCol = y[2], radius = y[3], circleLook = y[4];
        circleColour = uint32_t(y[5]), valueLabels = y[6] != 0, labelSize = y[7];
        if (!in.Next(labelFont) || !in.Check(!labelFont.empty() && labelFont.size() <= 64) || !in.Next(sizeHeading))
            return false;
    }
    int n[2];
    static const int breakRange[1][2] = {{0, 6}};
    if (!Numbers(in, n, breakRange, 1) || !in.Check(n[0] == count - 1)) return false;
    for (int k = 0; k < n[0]; ++k) {
        double b;
        if (!in.Next(s) || !in.Check(Real(s, b) && (breaks.empty() || b >= breaks.back()))) return false;
        breaks.push_back(b);
    }
    static const int valueRange[2][2] = {{0, 2009}, {0, kMaxValues}};
    if (!Numbers(in, n, valueRange, 2) || !in.Check(StatYearKnown(n[0]))) return false;
    year = n[0];
    if (!Values(in, n[1], values)) return false;
    static const int sizeRange[1][2] = {{0, kMaxValues}};
    if (!Numbers(in, n, sizeRange, 1) || !Values(in, n[0], sizes)) return false;
    on = true;
    return true;
}

void StatMapBlock::RelativeTo(const std::string& projectPath) {
    namespace fs = std::filesystem;
    if (table.empty() || !fs::path(table).is_absolute()) return;
    const fs::path rel = fs::path(table).lexically_relative(fs::absolute(projectPath).parent_path());
    // Beside the project or below it: the two move together.
    if (!rel.empty() && *rel.begin() != "..") table = rel.generic_string();
}

void StatMapBlock::Apply(const std::string& projectPath) const {
    namespace fs = std::filesystem;
    std::string path = table;
    if (!path.empty() && fs::path(path).is_relative()) path = (fs::absolute(projectPath).parent_path() / path).generic_string();
    RestoreStatMap(*this, path);
}
