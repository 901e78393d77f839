// The order of the project file's blocks: each block writes and reads its own
// lines; a file is read whole and checked before anything is applied.
#include "output/Uproject.h"
#include "gui/TextFile.h"
#include "engine/ProjectLines.h"
#include <algorithm>

ProjectData ProjectData::Take() {
    return {ViewBlock::Take(),   LayerBoxBlock::Take(), PaintBlock::Take(),  LabelBlock::Take(),
            ProjectLegendBlock::Take(), ScaleBarBlock::Take(), SymbolBlock::Take(), LineFileBlock::Take(),
            CircleBlock::Take(), BaseColourBlock::Take(), RailBoxBlock::Take(), StatMapBlock::Take(),
            InsetBlock::Take(), PageLayoutBlock::Take()};
}

void WriteProject(gui::TextWriter& w, const ProjectData& d) {
    d.view.Write(w);
    d.boxes.Write(w);
    d.paint.Write(w);
    d.labels.Write(w);
    d.legend.Write(w);
    d.scaleBar.Write(w);
    d.symbols.Write(w);
    d.lines.Write(w);
    d.circles.Write(w);
    d.colours.Write(w);
    d.rail.Write(w);
    d.statmap.Write(w);
    d.insets.Write(w);
    d.layout.Write(w);
}

int ParseProject(const std::vector<std::string>& lines, ProjectData& d) {
    ProjectLines in(lines);
    // The first block at fault stops the reading; the line it read is the one named.
    const bool ok = (d.view.Parse(in) && d.boxes.Parse(in) && d.paint.Parse(in) && d.labels.Parse(in) && d.legend.Parse(in) &&
           d.scaleBar.Parse(in) && d.symbols.Parse(in) && d.lines.Parse(in) && d.circles.Parse(in) &&
           d.colours.Parse(in) && d.rail.Parse(in) && d.statmap.Parse(in) && d.insets.Parse(in) &&
           d.layout.Parse(in));
    return ok ? 0 : std::max(in.bad, 1);
}
