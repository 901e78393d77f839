// The legend block of the project file, written, read and put back side by side.
#include "paint/LegendBlock.h"
#include "gui/TextFile.h"
#include "engine/ProjectLines.h"
#include "paint/Uhanrei.h"

ProjectLegendBlock ProjectLegendBlock::Take() {
    const THanrei* h = Hanrei;
    ProjectLegendBlock b;
    // The legend that is on the map, however it was made ("凡例編集" leaves "地図凡例" unticked).
    b.onMap = h->LegendOn && h->CBExpDisplay->Checked();
    if (!b.onMap) return b;
    static_cast<LegendBlock&>(b.legend) = h->FileBlock();
    b.legend.frameBox = h->CBExpWaku->Checked();
    b.legend.bold = h->CBBold->Checked();
    b.legend.titleBox = h->CBMenuTitle->Checked();
    return b;
}

void ProjectLegendBlock::Write(gui::TextWriter& w) const {
    if (!onMap) {
        w.Printf("0,hanrei\n");
        return;
    }
    w.Printf("-1,hanrei\n");
    legend.LegendBlock::Write(w);
    w.Printf("%d,CBExpWaku\n", legend.frameBox ? -1 : 0);
    w.Printf("%d,CBBold\n", legend.bold ? -1 : 0);
    w.Printf("%d,CBMenuTitle\n", legend.titleBox ? -1 : 0);
}

bool ProjectLegendBlock::Parse(ProjectLines& in) {
    std::string s;
    if (!in.Next(s)) return false;
    const size_t first = s.find_first_not_of(' ');
    onMap = first != std::string::npos && s[first] == '-';
    if (!onMap) return true;
    // The block as the legend file has it, the texts whole, then its three boxes.
    const int bad = legend.LegendBlock::Parse(in.Rest());
    if (!in.Took(bad, legend.LineCount())) return false;
    return in.Box(legend.frameBox) && in.Box(legend.bold) && in.Box(legend.titleBox);
}

void ProjectLegendBlock::Apply() const {
    // Without a legend in the file none is drawn, whatever "地図凡例" did.
    if (onMap) Hanrei->RestoreLegend(legend);
    else Hanrei->LegendOn = false;
}
