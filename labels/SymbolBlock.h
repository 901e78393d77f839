// Placed symbols and the project's symbol block.
#pragma once
#include <cstdint>
#include <span>
#include <vector>

class ProjectLines;
namespace gui { class TextWriter; }

struct PlacedSymbol {
    int32_t code = 0;
    int32_t x = 0, y = 0;     // map units
    int32_t color = 0;        // colour of the black pixels
    int32_t size = 16;        // 14, 16 or 18
    uint8_t transparent = 0;  // 1: the map shows through the background
    bool operator==(const PlacedSymbol&) const = default;
};

constexpr int SYMBOL_MAX = 1000;

// The count line "%d,STAMP_CT" when asked, then one line per symbol, as the
// symbol files and the project write them.
void WriteSymbolLines(gui::TextWriter& w, std::span<const PlacedSymbol> symbols, bool countLine);

struct SymbolBlock {
    std::vector<PlacedSymbol> symbols;
    bool operator==(const SymbolBlock&) const = default;
    static SymbolBlock Take();
    void Write(gui::TextWriter& w) const { WriteSymbolLines(w, symbols, true); }
    bool Parse(ProjectLines& in);
    void Apply() const;
};
