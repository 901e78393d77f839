// The page layout block of the project file, written, read and put back side by side.
#include "output/LayoutBlock.h"
#include "engine/ProjectLines.h"
#include "gui/TextFile.h"
#include "output/Updfpage.h"
#include <algorithm>

namespace {

constexpr const char* kHeader = "-1,LAYOUT";
const char* const kItemTags[output::PAGE_ITEMS] = {"TITLE", "SUBTITLE", "LEGEND", "SCALEBAR", "CREDIT", "NORTH"};

// The numbers of a line "a,b,...,TAG": exactly n of them, each within its range.
bool Numbers(ProjectLines& in, const char* tag, int* v, const int (*range)[2], int n) {
    std::vector<std::string> f;
    if (!in.Fields(f) || !in.Check(int(f.size()) == n + 1 && f[size_t(n)] == tag)) return false;
    for (int k = 0; k < n; ++k) {
        const auto x = TryStrToInt(f[size_t(k)]);
        if (!in.Check(x && *x >= range[k][0] && *x <= range[k][1])) return false;
        v[k] = *x;
    }
    return true;
}

// A text of the page: a whole line, not too long to set on it.
bool PageText(ProjectLines& in, std::string& s) { return in.Next(s) && in.Check(s.size() <= output::kMaxPageText); }

} // namespace

PageLayoutBlock PageLayoutBlock::Take() {
    PageLayoutBlock b;
    if (!PdfPage) return b;
    b.layout = PdfPage->Layout();
    // A scale typed out of bounds is not kept: the one the window starts with is.
    if (b.layout.scale == 0) b.layout.scale = output::PageLayout{}.scale;
    b.on = !(b.layout == output::PageLayout{});
    return b;
}

void PageLayoutBlock::Write(gui::TextWriter& w) const {
    if (!on) return;
    const output::PageLayout& l = layout;
    w.Printf("%s\n", kHeader);
    w.Printf("%d,%d,%d,%d,%d,PAGE\n", l.paper, l.landscape ? -1 : 0, l.dpi, l.fixedScale ? -1 : 0, l.scale);
    w.Printf("%s\n%s\n", l.title.c_str(), l.subtitle.c_str());
    for (int k = 0; k < output::PAGE_ITEMS; ++k) {
        const output::PagePlace& p = l.places[k];
        w.Printf("%d,%d,%d,%d,%s\n", p.shown ? -1 : 0, p.anchor, p.dx, p.dy, kItemTags[k]);
    }
}

bool PageLayoutBlock::Parse(ProjectLines& in) {
    *this = PageLayoutBlock{};
    const auto rest = in.Rest();
    if (std::all_of(rest.begin(), rest.end(),
                    [](const std::string& l) { return l.find_first_not_of(" \t") == std::string::npos; }))
        return true;
    std::string s;
    if (!in.Next(s) || !in.Check(s == kHeader)) return false;
    output::PageLayout& l = layout;
    int page[5];
    const int pageRange[5][2] = {{0, int(output::PaperNames().size()) - 1}, {-1, 0}, {50, 1200}, {-1, 0},
                                 {output::kMinPageScale, output::kMaxPageScale}};
    if (!Numbers(in, "PAGE", page, pageRange, 5)) return false;
    l.paper = page[0], l.landscape = page[1] != 0, l.dpi = page[2], l.fixedScale = page[3] != 0, l.scale = page[4];
    if (!PageText(in, l.title) || !PageText(in, l.subtitle)) return false;
    static const int placeRange[4][2] = {{-1, 0},
                                         {0, output::ANCHORS - 1},
                                         {-output::kMaxPageOffset, output::kMaxPageOffset},
                                         {-output::kMaxPageOffset, output::kMaxPageOffset}};
    for (int k = 0; k < output::PAGE_ITEMS; ++k) {
        int v[4];
        if (!Numbers(in, kItemTags[k], v, placeRange, 4)) return false;
        l.places[k] = {v[0] != 0, v[1], v[2], v[3]};
    }
    on = true;
    return true;
}

void PageLayoutBlock::Apply() const {
    if (on) PdfPageWindow()->SetLayout(layout);
}
