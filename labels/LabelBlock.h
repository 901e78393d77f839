// The project's label block: every label with its shown state and station marks.
#pragma once
#include "labels/LabelRecord.h"
#include <string>
#include <vector>

class ProjectLines;
namespace gui { class TextWriter; }

struct LabelBlock {
    std::vector<LabelRecord> rows;
    bool operator==(const LabelBlock&) const = default;
    static LabelBlock Take();
    void Write(gui::TextWriter& w) const;
    bool Parse(ProjectLines& in);
    // Before the railway load, which writes station labels, and after it; shown is the label box.
    void ApplyBeforeRailways() const;
    void ApplyAfterRailways(bool shown) const;
};

// A label line of the project file; false when it is no sound label.
bool ParseProjectLabelRow(const std::string& line, LabelRecord& row);
