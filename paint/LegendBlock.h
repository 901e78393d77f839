// The legend as its file and the project keep it.
#pragma once
#include "gui/Types.h"
#include <cstdint>
#include <span>
#include <string>

class ProjectLines;
namespace gui { class TextWriter; }

// The legend as its file and the project both keep it.
struct LegendBlock {
    int32_t numbers[7] = {};   // count, swatch width and height, gap, x, y, text size
    TColor text = 0, frame = 0, fill = 0;
    std::string title;
    TColor rowColours[8] = {};
    uint8_t rowPatterns[8] = {};
    std::string rowTexts[8];
    bool operator==(const LegendBlock&) const = default;
    size_t LineCount() const { return 11 + size_t(numbers[0]); }
    void Write(gui::TextWriter& w) const;
    // 0 when the lines hold a block, else the number (from 1) of the first line
    // at fault. The title and the descriptions are the whole rest of their lines.
    int Parse(std::span<const std::string> lines);
};

// The project's legend: the block and the boxes of frame, bold frame and title.
struct ProjectLegend : LegendBlock {
    bool frameBox = false, bold = false, titleBox = false;
    bool operator==(const ProjectLegend&) const = default;
};

// The project's legend block: written only while the legend is on the map.
struct ProjectLegendBlock {
    bool onMap = false;
    ProjectLegend legend;
    bool operator==(const ProjectLegendBlock&) const = default;
    static ProjectLegendBlock Take();
    void Write(gui::TextWriter& w) const;
    bool Parse(ProjectLines& in);
    void Apply() const;
};

