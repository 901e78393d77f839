// The project file: the whole editing state in one positional text file, as
// the blocks of the windows that own each part of it, in the file's order.
#pragma once
#include "engine/InsetBlock.h"
#include "labels/LabelBlock.h"
#include "labels/SymbolBlock.h"
#include "lines/CircleBlock.h"
#include "lines/LineFileBlock.h"
#include "navigation/ViewBlock.h"
#include "output/LayoutBlock.h"
#include "paint/LegendBlock.h"
#include "paint/PaintBlock.h"
#include "paint/StatMapBlock.h"
#include <string>
#include <vector>

namespace gui { class TextWriter; }

// The name and extension of a path, for captions and dialogs.
std::string ExtractFileNameExt(const std::string& path);

struct ProjectData {
    ViewBlock view;
    LayerBoxBlock boxes;
    PaintBlock paint;
    LabelBlock labels;
    ProjectLegendBlock legend;
    ScaleBarBlock scaleBar;
    SymbolBlock symbols;
    LineFileBlock lines;
    CircleBlock circles;
    BaseColourBlock colours;
    RailBoxBlock rail;
    StatMapBlock statmap;   // a reader that stops before it still has a whole project
    InsetBlock insets;      // the same
    PageLayoutBlock layout; // the same
    bool operator==(const ProjectData&) const = default;
    // What the windows hold now.
    static ProjectData Take();
};

void WriteProject(gui::TextWriter& w, const ProjectData& d);
// 0 when the lines make a sound project, else the number of the first line at fault.
int ParseProject(const std::vector<std::string>& lines, ProjectData& d);
