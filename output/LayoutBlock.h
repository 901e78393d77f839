// The page layout as the project keeps it: written after every other block,
// only when it is not the layout a new window starts with, so that a project
// without one is written as before and a reader that knows nothing of it
// stops before it.
#pragma once
#include "output/PageLayout.h"

class ProjectLines;
namespace gui { class TextWriter; }

struct PageLayoutBlock {
    bool on = false;
    output::PageLayout layout;
    bool operator==(const PageLayoutBlock&) const = default;
    static PageLayoutBlock Take();
    void Write(gui::TextWriter& w) const;
    // No lines left: no layout kept.
    bool Parse(ProjectLines& in);
    // Without a block the window keeps what it holds.
    void Apply() const;
};
