// The paint block of the project file, written, read and put back side by side.
#include "paint/PaintBlock.h"
#include "engine/PaintRecord.h"
#include "engine/MainForm.h"
#include "gui/TextFile.h"
#include "engine/ProjectLines.h"
#include "paint/Upaint.h"
#include <algorithm>

PaintBlock PaintBlock::Take() {
    const TOpen& o = *Open;
    PaintBlock b;
    const int n = std::clamp<int>(PaintStoreOf(o).paint_rep, 0, PaintStore::PAINT_MAX);
    b.records.assign(PaintStoreOf(o).PaintRecords, PaintStoreOf(o).PaintRecords + n);
    b.palette = MapPaint->FilePalette();
    return b;
}

void PaintBlock::Write(gui::TextWriter& w) const {
    w.Printf("%d,paint_rep\n", int(records.size()));
    for (size_t i = 0; i < records.size(); ++i) {
        const PaintRecord& r = records[i];
        w.Printf("%d,%d,%d,%d,%d\n", r.x, r.y, int(r.colour), r.pattern, int(i + 1));
    }
    palette.Write(w);
}

bool PaintBlock::Parse(ProjectLines& in) {
    int n;
    if (!in.Ranged(n, 0, PaintStore::PAINT_MAX)) return false;
    records.resize(n);
    std::vector<std::string> f;
    for (PaintRecord& p : records)
        if (!in.Fields(f) || !in.Check(ParsePaintRow(f, 2, 3, true, p) == PaintRow::Record)) return false;
    return in.Took(palette.Parse(in.Rest()), PaintPalette::LINES);
}

void PaintBlock::Apply() const {
    MapPaint->RestorePaint(records, palette);
    WriteMainLog(gui::Format("ペイント数：%d\n", int(records.size())));
}
