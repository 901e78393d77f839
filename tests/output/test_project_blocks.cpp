// Each block of the project file reads back what it wrote, without a window.
#include "gui/TextFile.h"
#include "engine/ProjectLines.h"
#include "output/Uproject.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>

namespace {

// The lines a block writes, as the reader gets them from the file.
template <class Block>
std::vector<std::string> Written(const Block& b) {
    char* buf = nullptr;
    size_t size = 0;
    FILE* f = open_memstream(&buf, &size);
    gui::TextWriter w;
    w.Attach(f);
    b.Write(w);
    EXPECT_TRUE(w.Detach());
    std::fclose(f);
    const std::string bytes(buf, size);
    std::free(buf);
    std::vector<std::string> lines;
    for (size_t p = 0, e; (e = bytes.find("\r\n", p)) != std::string::npos; p = e + 2)
        lines.push_back(gui::Cp932ToUtf8(bytes.substr(p, e - p)));
    return lines;
}

template <class Block>
Block RoundTrip(const Block& b) {
    const auto lines = Written(b);
    ProjectLines in(lines);
    Block back;
    EXPECT_TRUE(back.Parse(in)) << "line " << in.bad;
    ProjectLines rest(lines);
    Block again;
    again.Parse(rest);
    EXPECT_EQ(Written(again), lines);
    return back;
}

LabelRecord Label(const std::string& text, int32_t x, bool shown, bool station) {
    LabelRecord r;
    r.mark = "●";
    r.x = x, r.y = 150000;
    r.text = text;
    r.size = 12;
    r.color = 0x0000C0;
    r.shown = shown;
    r.railway = station, r.jr = station, r.main = station;
    r.fileNo = station ? 3 : 0;
    r.numbered = station;
    return r;
}

} // namespace

TEST(ProjectBlocks, TheMainFormsBlocksComeBackAsWritten) {
    ViewBlock v;
    v.select = 3;
    v.codes[0] = 8, v.codes[1] = 13, v.codes[2] = 14;
    v.cx = 175000, v.cy = -172500, v.ssize = 2, v.copyscale = 3, v.sizeChoice = 2, v.magstep = 7, v.upDown = 7;
    v.magunit = 1.37f, v.scale = 0.0049913f;
    EXPECT_TRUE(RoundTrip(v) == v);

    LayerBoxBlock boxes;
    boxes.layers[0] = boxes.layers[LayerBoxBlock::LABEL] = boxes.layers[12] = true;
    boxes.settei[3] = true;
    EXPECT_TRUE(RoundTrip(boxes) == boxes);

    EXPECT_TRUE(RoundTrip(ScaleBarBlock{true, 172500, -350, 550}) == (ScaleBarBlock{true, 172500, -350, 550}));
    BaseColourBlock colours;
    for (int k = 0; k < 8; ++k) colours.colours[k] = TColor(0x010203 * (k + 1));
    EXPECT_TRUE(RoundTrip(colours) == colours);
    EXPECT_TRUE(RoundTrip(RailBoxBlock{{true, false, true}}) == (RailBoxBlock{{true, false, true}}));
}

TEST(ProjectBlocks, TheWindowsBlocksComeBackAsWritten) {
    PaintBlock paint;
    paint.records = {{150000, 150000, 0x40C0FF, 0}, {-3000, 2000, 0xFF, 6}};
    paint.palette.back = 0xFFFFFF;
    paint.palette.colours[7] = 0x123456;
    paint.palette.patterns[2] = 5;
    EXPECT_TRUE(RoundTrip(paint) == paint);

    ProjectLegendBlock legend;
    EXPECT_TRUE(RoundTrip(legend) == legend);
    legend.onMap = true;
    const int32_t numbers[7] = {2, 40, 20, 10, 350, 50, 10};
    std::copy(numbers, numbers + 7, legend.legend.numbers);
    legend.legend.title = "人口 の 増減";
    legend.legend.rowTexts[0] = "1 割, 以上";
    legend.legend.rowColours[1] = 0xC0C0C0;
    legend.legend.rowPatterns[1] = 3;
    legend.legend.bold = true;
    EXPECT_TRUE(RoundTrip(legend) == legend);

    SymbolBlock symbols;
    symbols.symbols = {{101, 150000, 150000, 255, 14, 1}, {503, 150100, 149000, 0, 18, 0}};
    EXPECT_TRUE(RoundTrip(symbols) == symbols);

    LineFileBlock lines{1, {"/tmp/a b/line,1.adl", "線.adl"}};
    EXPECT_TRUE(RoundTrip(lines) == lines);

    CircleBlock circles;
    circles.circles = {{150000, 150000, 10, 8, 1, 255, 1, 0, 1, 0}, {150500, 149000, 250, 50, 5, 0, 0, 1, 0, 1}};
    EXPECT_TRUE(RoundTrip(circles) == circles);
}

// Hidden labels and station labels keep their state; a text with commas stays
// whole, in today's rows as in rows that carry a state.
TEST(ProjectBlocks, LabelsKeepTheirStateAndTodaysRowsStillRead) {
    LabelBlock labels;
    labels.rows = {Label("横浜,中華街", 150000, true, false), Label("S1", 150010, false, false),
                   Label("水戸,H", 150020, true, true), Label("東京", 150030, false, true)};
    const LabelBlock back = RoundTrip(labels);
    EXPECT_TRUE(back == labels);
    const auto lines = Written(labels);
    EXPECT_EQ(lines[1], "●,150000,150000,横浜,中華街,12,192") << "a shown label of the user's own is today's row";

    LabelRecord r;
    ASSERT_TRUE(ParseProjectLabelRow("○,150000,150000,A,B,C,14,255", r));
    EXPECT_EQ(r.text, "A,B,C");
    EXPECT_TRUE(r.shown);
    EXPECT_FALSE(r.railway);
    for (const char* bad : {"○,150000,150000,A,14,255,S", "○,150000,150000,A,14,255,HX", "○,150000,150000,A,14,255,SJ3",
                            "○,150000,150000,A,14,255,S99999", "○,150000,150000,A,14,255,J"})
        EXPECT_FALSE(ParseProjectLabelRow(bad, r)) << bad;
}

// The layout reads back as written; a value out of its bounds refuses the block.
TEST(ProjectBlocks, ThePageLayoutComesBackAsWrittenAndOutOfBoundsIsRefused) {
    PageLayoutBlock b;
    b.on = true;
    b.layout.paper = 1, b.layout.landscape = true, b.layout.fixedScale = true, b.layout.scale = 25000;
    b.layout.title = "人口, 2021年";
    b.layout.places[output::PAGE_LEGEND] = {false, output::ANCHOR_TOP_RIGHT, -35, 4999};
    EXPECT_TRUE(RoundTrip(b) == b);
    const auto lines = Written(b);
    const std::pair<size_t, std::string> bad[] = {{1, "1,-1,100,-1,999,PAGE"},   {1, "9,-1,100,-1,25000,PAGE"},
                                                  {1, "1,-1,100,-1,25000"},       {2, std::string(201, 'a')},
                                                  {6, "0,6,-35,4999,LEGEND"},     {6, "0,5,-35,5001,LEGEND"},
                                                  {6, "0,5,-35,4999,SCALEBAR"},   {0, "-1,LAYOUTS"}};
    for (const auto& [line, text] : bad) {
        auto changed = lines;
        changed[line] = text;
        ProjectLines in(changed);
        PageLayoutBlock back;
        EXPECT_FALSE(back.Parse(in)) << text;
        EXPECT_EQ(in.bad, int(line) + 1) << text;
    }
}
