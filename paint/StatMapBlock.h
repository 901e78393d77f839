// The statistics map as the layer draws it and the project keeps it: where
// the values came from, how they were classed and looked, and the values
// themselves, so the picture comes back the same when the table has moved.
#pragma once
#include "paint/StatClass.h"
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class ProjectLines;
namespace gui { class TextWriter; }

// The largest circle's radius (pixels at 600) and the labels' size (points at 600) a map may have.
constexpr int kStatMinRadius = 2, kStatMaxRadius = 200, kStatMinLabelSize = 4, kStatMaxLabelSize = 48;

struct StatMapBlock {
    bool on = false;
    std::string table;   // the table's path; relative to the project's folder when written there
    int headingRow = 0, key = 0, codeCol = -1, nameCol = -1, prefCol = -1, valueCol = -1;
    int method = 2, count = 5, scheme = 0, style = 0, decimals = 0;
    bool reversed = false, noDataHatch = true, thousands = true, openEnds = false, counts = false;
    std::string unit, heading;   // "単位" and the value column's heading
    bool hasMidpoint = false;     // where a diverging scheme turns
    double midpoint = 0;
    int divide = 0, divisorCol = -1, level = 0;   // rates and densities; the unit a row stands for
    bool fixed = false;           // the classes kept for the next column or table
    std::vector<double> breaks;   // count - 1, ascending
    int year = 0;                 // the date of the codes: 0 the data set's own, else the edition's year
    int tableYear = -1;           // the date of the table's codes: -1 found from the codes
    bool carryRate = false;       // a table of another date carried as a rate, not a count
    int sheet = 0;                // the sheet of a workbook
    std::vector<std::pair<int32_t, double>> values;   // unit code and value, by code; units without are no data
    // Circles and value labels over the map.
    bool fill = true;             // the units filled by class ("塗り分け")
    bool circles = false;         // "比例円"
    int sizeCol = -1;             // the circles' column; -1 the value column itself
    int radius = 30;              // the largest circle's radius, pixels at 600
    int circleLook = 0;           // 0 the class colours, 1 circleColour
    uint32_t circleColour = 0x3060E0;
    bool valueLabels = false;     // "数値ラベル"
    int labelSize = 8;            // points at 600
    std::string labelFont = "IPAGothic", sizeHeading;
    std::vector<std::pair<int32_t, double>> sizes;   // by code, as values; empty: the circles take the values
    bool operator==(const StatMapBlock&) const = default;

    // The classes' looks, then the no-data look.
    std::vector<StatSlot> Slots() const;
    // The value of a code, or NaN.
    double ValueOf(int32_t code) const;
    // What the circles stand for.
    const std::vector<std::pair<int32_t, double>>& SizeValues() const { return sizeCol >= 0 ? sizes : values; }

    static StatMapBlock Take();
    // Written only when a statistics map is on, after every other block: a
    // reader that knows nothing of it stops before it and draws the rest.
    void Write(gui::TextWriter& w) const;
    // No lines left: no statistics map.
    bool Parse(ProjectLines& in);
    // The table's path as the project at projectPath writes it, and back.
    void RelativeTo(const std::string& projectPath);
    void Apply(const std::string& projectPath) const;
};

// The edition year whose codes the table holds: 0 for the data set's own.
bool StatYearKnown(int year);
