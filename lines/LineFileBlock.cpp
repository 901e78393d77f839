// The line-file block of the project file, written, read and put back side by side.
#include "lines/LineFileBlock.h"
#include "gui/TextFile.h"
#include "lines/Ulineadd.h"
#include "engine/ProjectLines.h"

LineFileBlock LineFileBlock::Take() {
    const TLineAdd* l = LineAdd;
    return {l->PaintLine, std::vector<std::string>(l->LineFiles.begin(), l->LineFiles.begin() + l->UserFileCount())};
}

void LineFileBlock::Write(gui::TextWriter& w) const {
    w.Printf("%d,//addline file number\n", int(paths.size()));
    w.Printf("%d,//addline paintline\n", paintLine);
    for (const std::string& p : paths) w.Printf("%s\n", p.c_str());
}

bool LineFileBlock::Parse(ProjectLines& in) {
    int n;
    if (!in.Ranged(n, 0, LINE_FILE_MAX) || !in.Lenient(paintLine)) return false;
    paths.resize(n);
    for (std::string& path : paths)
        if (!in.Next(path)) return false;
    return true;
}

void LineFileBlock::Apply() const { LineAdd->RestoreProjectLines(paintLine, paths); }
