// The insets of the project file: written, read and put back side by side.
#pragma once
#include "engine/Insets.h"
#include <array>

class ProjectLines;
namespace gui { class TextWriter; }

struct InsetBlock {
    std::array<InsetChoice, kInsetGroups> choice = InsetSet{}.choice;
    bool operator==(const InsetBlock&) const = default;

    static InsetBlock Take();
    // Written only when the insets differ from a new map's, after every other
    // block: a reader that knows nothing of it stops before it.
    void Write(gui::TextWriter& w) const;
    // No lines left: the insets of a new map.
    bool Parse(ProjectLines& in);
    void Apply() const;
};
