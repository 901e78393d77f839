// The project's paint block: the fills, then the background and the palette.
#pragma once
#include "engine/PaintRecord.h"
#include "gui/Types.h"
#include <cstdint>
#include <span>
#include <string>
#include <vector>

class ProjectLines;
namespace gui { class TextWriter; }

// The background and the eight slots as paint files and projects both keep
// them: 17 lines of "0x%08x".
struct PaintPalette {
    static constexpr size_t LINES = 17;
    TColor back = 0;
    TColor colours[8] = {};
    uint8_t patterns[8] = {};
    bool operator==(const PaintPalette&) const = default;
    void Write(gui::TextWriter& w) const;
    // 0 when the first 17 lines hold a palette, else the number (from 1) of the first line at fault.
    int Parse(std::span<const std::string> lines);
};

struct PaintBlock {
    std::vector<PaintRecord> records;
    PaintPalette palette;
    bool operator==(const PaintBlock&) const = default;
    static PaintBlock Take();
    void Write(gui::TextWriter& w) const;
    bool Parse(ProjectLines& in);
    void Apply() const;
};
