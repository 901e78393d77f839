// The project's line-file block: the user's line files and whether they are drawn under the paint.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class ProjectLines;
namespace gui { class TextWriter; }

struct LineFileBlock {
    int32_t paintLine = 0;
    std::vector<std::string> paths;
    bool operator==(const LineFileBlock&) const = default;
    static LineFileBlock Take();
    void Write(gui::TextWriter& w) const;
    bool Parse(ProjectLines& in);
    void Apply() const;
};
