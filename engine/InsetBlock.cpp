#include "engine/InsetBlock.h"
#include "engine/ProjectLines.h"
#include "gui/TextFile.h"
#include <algorithm>

namespace {

constexpr const char* kHeader = "-1,INSETS";

bool Blank(const std::string& l) { return l.find_first_not_of(" \t") == std::string::npos; }

} // namespace

InsetBlock InsetBlock::Take() { return {MapInsets.choice}; }

void InsetBlock::Write(gui::TextWriter& w) const {
    if (*this == InsetBlock{}) return;
    w.Printf("%s\n", kHeader);
    for (int g = 0; g < kInsetGroups; ++g) {
        const InsetChoice& c = choice[size_t(g)];
        w.Printf("%d,%d,%d,%s\n", c.shown ? -1 : 0, int(c.corner), int(c.span), InsetGroupOf(g).tag);
    }
}

bool InsetBlock::Parse(ProjectLines& in) {
    *this = InsetBlock{};
    const auto rest = in.Rest();
    if (std::all_of(rest.begin(), rest.end(), Blank)) return true;
    // A later block's header: no insets before it.
    if (rest.front() != kHeader && rest.front().rfind("-1,", 0) == 0) return true;
    std::string s;
    if (!in.Next(s) || !in.Check(s == kHeader)) return false;
    for (int g = 0; g < kInsetGroups; ++g) {
        std::vector<std::string> f;
        if (!in.Fields(f) || !in.Check(f.size() == 4 && f[3] == InsetGroupOf(g).tag)) return false;
        const auto shown = TryStrToInt(f[0]), corner = TryStrToInt(f[1]), span = TryStrToInt(f[2]);
        // A span is the fitted one (0) or one the window can set.
        if (!in.Check(shown && (*shown == 0 || *shown == -1) && corner && *corner >= 0 && *corner < kInsetCorners &&
                      span && (*span == 0 || (*span >= kInsetMinSpan && *span <= kInsetMaxSpan))))
            return false;
        choice[size_t(g)] = {*shown != 0, InsetCorner(*corner), *span};
    }
    return true;
}

void InsetBlock::Apply() const { MapInsets.choice = choice; }
