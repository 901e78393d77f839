// The symbol block of the project file, written, read and put back side by side.
#include "labels/SymbolBlock.h"
#include "engine/Coords.h"
#include "gui/TextFile.h"
#include "labels/Upagesdlg.h"
#include "engine/ProjectLines.h"
#include <algorithm>

void WriteSymbolLines(gui::TextWriter& w, std::span<const PlacedSymbol> symbols, bool countLine) {
    if (countLine) w.Printf("%d,STAMP_CT\n", int(symbols.size()));
    for (const PlacedSymbol& s : symbols)
        w.Printf("%d,%d,%d,%d,%d,%d\n", s.code, s.x, s.y, s.color, s.size, s.transparent);
}

SymbolBlock SymbolBlock::Take() {
    const TPagesDlg* p = PagesDlg;
    const int n = std::clamp<int>(p->PlacedSymbolCount, 0, int(p->PlacedSymbols.size()));
    return {std::vector<PlacedSymbol>(p->PlacedSymbols.begin(), p->PlacedSymbols.begin() + n)};
}

bool SymbolBlock::Parse(ProjectLines& in) {
    int n;
    if (!in.Ranged(n, 0, SYMBOL_MAX)) return false;
    symbols.resize(n);
    std::string s;
    for (PlacedSymbol& m : symbols)
        if (!in.Next(s) || !in.Check(TPagesDlg::ParseSymbolLine(s, m) && InMapRange(m.x, m.y))) return false;
    return true;
}

void SymbolBlock::Apply() const { PagesDlg->RestoreSymbols(symbols); }
