// The project, legend and line-editor readers refuse what the windows cannot
// draw: a legend of black blocks, a circle that takes seconds to draw, a
// scale bar or a point past any map, a text a NUL would cut.
#include "engine/Coords.h"
#include "gui/Testing.h"
#include "labels/Upagesdlg.h"
#include "labels/Uletter.h"
#include "lines/Ukyori.h"
#include "lines/Ulineadd.h"
#include "paint/Uhanrei.h"
#include "paint/Upaint.h"
#include "tests/engine/AreaFiles.h"
#include "tests/engine/HandMap.h"
#include "tests/support/Mutator.h"
#include <algorithm>
#include <fstream>

using gui::testing::Messages;
using gui::testing::QueueFileName;

class ProjectReaders : public HandMap {
protected:
    void SetUp() override {
        HandMap::SetUp();
        areafiles::WriteMap(programDir, 12, areafiles::Square('C', 149000, 149000, 2000) + "A,150000,150000,東町\n");
        areafiles::WriteOffice(programDir, 12, "◎,150000,150000,東町役場,8\n");
    }
    std::string File(const std::string& name) { return (programDir / name).string(); }
    void Put(const std::string& name, const std::string& bytes) { std::ofstream(File(name), std::ios::binary) << bytes; }
    void Restore(const std::string& name) {
        Messages().clear();
        QueueFileName(File(name));
        o->Button10Click(o);
    }
    // A project with a legend, a circle and the scale bar, as saved.
    std::string Saved() {
        MapPaint->Button4Click(MapPaint);
        Hanrei->UpDown1->SetPosition(2);
        Hanrei->UpdateRows();
        Hanrei->Edit9->SetText("凡例");
        Hanrei->Button3Click(Hanrei);
        o->ui.CBExp->SetChecked(true);
        o->ui.CBScale->SetChecked(true);
        EXPECT_TRUE(Kyori->AddCircle(150000, 150000));
        QueueFileName(File("a.rvx"));
        o->Button1Click(o);
        return testsupport::ReadBytes(File("a.rvx"));
    }
    static std::string Sjis(const std::string& s) { return gui::Utf8ToCp932(s); }
    static std::string Replaced(std::string s, const std::string& from, const std::string& to) {
        const size_t at = s.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        if (at != std::string::npos) s.replace(at, from.size(), to);
        return s;
    }
};

TEST_F(ProjectReaders, ValuesNoWindowAllowsAreRefusedWithTheirLine) {
    const std::string saved = Saved();
    const int circles = Kyori->CircleCount, width = Kyori->Circles[0].width;
    const std::string legendTitle = Hanrei->LegendTitle;
    const kyorien& c = Kyori->Circles[0];
    const std::string centre = gui::Format("%d,%d,", c.cx, c.cy);
    const std::string fixedFlag = gui::Format(",%d,//struct kyorien", int(c.fixedSize));
    const std::string circleLine = centre + gui::Format("%d,%d,%d,", c.radius, c.textSize, width);
    const std::string bad[] = {
        // A circle 1000 pixels wide took seconds to draw on every redraw.
        Replaced(saved, circleLine, centre + gui::Format("%d,%d,1000,", c.radius, c.textSize)),
        Replaced(saved, circleLine, "2147483647,150000,10,8,1,"),
        // The swatch width of the legend.
        Replaced(saved, "-1,hanrei\r\n         2\r\n", "-1,hanrei\r\n         2\r\n2147483647\r\n"),
        Replaced(saved, Sjis("凡例"), Sjis("凡") + '\0' + Sjis("例")),
        Replaced(saved, "150000,150000,CX CY", "-2147483648,150000,CX CY"),
        // A flag of 256 was cut to a byte and read as 0.
        Replaced(saved, fixedFlag, ",256,//struct kyorien"),
        Replaced(saved, fixedFlag, ",-1,//struct kyorien"),
    };
    // The scale bar's place: the last number of its line.
    std::string scale = saved;
    const size_t tag = scale.find(",Scale CY scl_x1 scly1");
    const size_t last = scale.rfind(',', tag - 1);
    scale.replace(last + 1, tag - last - 1, "-2147483648");
    int k = 0;
    for (const std::string& text : {bad[0], bad[1], bad[2], bad[3], bad[4], bad[5], bad[6], scale}) {
        SCOPED_TRACE(k < 7 ? gui::Format("bad[%d]", k++) : "the scale bar's place");
        Put("bad.rvx", text);
        Restore("bad.rvx");
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_NE(Messages()[0].text.find("bad.rvx の "), std::string::npos) << Messages()[0].text;
        EXPECT_EQ(Kyori->CircleCount, circles);
        EXPECT_EQ(Kyori->Circles[0].width, width);
        EXPECT_EQ(Hanrei->LegendTitle, legendTitle);
    }

    // The circle's own line is named.
    const size_t flagAt = bad[5].find(",256,//struct kyorien");
    const int flagLine = 1 + int(std::count(bad[5].begin(), bad[5].begin() + flagAt, '\n'));
    Put("bad.rvx", bad[5]);
    Restore("bad.rvx");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].text.find(gui::Format("の %d 行目", flagLine)), std::string::npos) << Messages()[0].text;

    // The legend file: a number out of the window's range or a NUL in a text.
    QueueFileName(File("a.exp"));
    Hanrei->Button2Click(Hanrei);
    const std::string legend = testsupport::ReadBytes(File("a.exp"));
    for (const std::string& text : {Replaced(legend, "        40\r\n", "2147483647\r\n"),
                                    Replaced(legend, Sjis("凡例"), Sjis("凡") + '\0' + Sjis("例"))}) {
        Put("bad.exp", text);
        Messages().clear();
        QueueFileName(File("bad.exp"));
        Hanrei->Button1Click(Hanrei);
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_NE(Messages()[0].text.find("bad.exp の "), std::string::npos) << Messages()[0].text;
        EXPECT_EQ(Hanrei->LegendTitle, legendTitle);
        EXPECT_EQ(Hanrei->LegendW, 40);
    }

    // A line file for the editor with a point past any map.
    Put("far.adl", "K,    1,    2,255,0,1,0,12,0//K/1/Points/Color/LineType/Size/Arrow/Asize/Step\r\n"
                   "150000,150000\r\n2147483647,150000\r\n");
    Messages().clear();
    QueueFileName(File("far.adl"));
    LineAdd->Button1Click(LineAdd);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].text.find("3 行目"), std::string::npos) << Messages()[0].text;
    EXPECT_EQ(LineAdd->PointCount(), 0);
}

// The project's symbol and legend lines are read as the symbol and legend files read them.
TEST_F(ProjectReaders, BlocksAreReadAsTheirOwnFilesReadThem) {
    PagesDlg->SymbolCode = 101;
    ASSERT_TRUE(PagesDlg->AddPlacedSymbol(150000, 150000));
    const std::string saved = Saved();
    const PlacedSymbol s = PagesDlg->PlacedSymbols[0];
    const std::string symbol = gui::Format("\r\n%d,%d,%d,%d,%d,", s.code, s.x, s.y, s.color, s.size);
    // Any flag but 0 is transparent; a byte of 256 was read as opaque.
    Put("t.rvx", Replaced(saved, symbol + std::to_string(s.transparent) + "\r\n", symbol + "256\r\n"));
    PagesDlg->PlacedSymbols[0].transparent = 0;
    Restore("t.rvx");
    for (const auto& m : Messages()) ASSERT_EQ(m.text.find("t.rvx"), std::string::npos) << m.text;   // no picture here
    EXPECT_EQ(PagesDlg->PlacedSymbols[0].transparent, 1);
    // A legend pattern code past a byte is refused, not cut to another pattern.
    Put("p.rvx", Replaced(saved, Sjis(",0x00000000,　説　明　１"), Sjis(",0x0000012c,　説　明　１")));
    Restore("p.rvx");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].text.find("p.rvx の "), std::string::npos) << Messages()[0].text;
}

// The legend's boxes come back as saved without their handlers ticking "地図凡例",
// which the file has unticked: saving again gives the same file.
TEST_F(ProjectReaders, ALegendWithoutItsMapBoxComesBackAsSaved) {
    MapPaint->Button4Click(MapPaint);
    Hanrei->CBMenuTitle->Click();
    o->ui.CBExp->Click();
    MapPaint->Button4Click(MapPaint);
    ASSERT_FALSE(o->ui.CBExp->Checked());
    ASSERT_FALSE(Hanrei->CBMenuTitle->Checked());
    QueueFileName(File("a.rvx"));
    o->Button1Click(o);
    const std::string saved = testsupport::ReadBytes(File("a.rvx"));
    ASSERT_NE(saved.find("-1,hanrei\r\n"), std::string::npos);

    Hanrei->CBMenuTitle->Click();
    Restore("a.rvx");
    EXPECT_FALSE(o->ui.CBExp->Checked());
    EXPECT_TRUE(Hanrei->LegendOn);
    QueueFileName(File("b.rvx"));
    o->Button1Click(o);
    EXPECT_EQ(testsupport::ReadBytes(File("b.rvx")), saved);
}

TEST_F(ProjectReaders, SeededMutationsOfAProjectAndALegend) {
    const std::string saved = Saved();
    QueueFileName(File("a.exp"));
    Hanrei->Button2Click(Hanrei);
    const std::string legend = testsupport::ReadBytes(File("a.exp"));
    testsupport::Mutator mutate(1420);
    for (int round = 0; round < 150; ++round) {
        SCOPED_TRACE(round);
        Put("f.rvx", mutate(saved));
        Restore("f.rvx");
        gui::testing::Terminated() = false;
        Put("f.exp", mutate(legend));
        Messages().clear();
        QueueFileName(File("f.exp"));
        Hanrei->Button1Click(Hanrei);
        for (int i = 0; i < Kyori->CircleCount; ++i) {
            const kyorien& c = Kyori->Circles[i];
            ASSERT_TRUE(c.width >= 1 && c.width <= 5) << c.width;
            ASSERT_TRUE(InMapRange(c.cx, c.cy));
        }
        const int32_t numbers[7] = {Hanrei->LegendCount, Hanrei->LegendW, Hanrei->LegendH, Hanrei->LegendGap,
                                    Hanrei->LegendX,     Hanrei->LegendY, Hanrei->LegendTextSize};
        for (int k = 0; k < 7; ++k)
            ASSERT_TRUE(numbers[k] >= THanrei::NUMBER_MIN[k] && numbers[k] <= THanrei::NUMBER_MAX[k]) << k;
        ASSERT_EQ(Hanrei->LegendTitle.find('\0'), std::string::npos);
        for (const std::string& t : Hanrei->LegendTexts) ASSERT_EQ(t.find('\0'), std::string::npos);
        ASSERT_TRUE(std::abs(o->style.scl_x1) <= 1800 && std::abs(o->style.scly1) <= 1800);
        ASSERT_TRUE(InMapRange(o->CX, o->CY));
    }
}

TEST_F(ProjectReaders, ALabelTextPastTheWindowsBoundIsRefusedWithItsLineAndMutationsStayBounded) {
    const std::string saved = Saved();
    const std::string row = "○,150000,150000,東町,10,255\r\n";
    const std::string good = Replaced(saved, "0,ROWCOUNT\r\n", "1,ROWCOUNT\r\n" + Sjis(row));
    Put("good.rvx", good);
    Restore("good.rvx");
    ASSERT_EQ(Letter->LabelCount, 1);
    // A text of 2 MB made every redraw take seconds.
    Put("bad.rvx", Replaced(good, Sjis("東町"), std::string(2 << 20, 'x')));
    Restore("bad.rvx");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].text.find("bad.rvx の "), std::string::npos) << Messages()[0].text;
    ASSERT_EQ(Letter->LabelCount, 1);
    EXPECT_EQ(Letter->LabelTable[0].text, "東町");

    // Seeded mutations of the label rows: what is taken is bounded and shows no byte that decoded to nothing.
    const std::string labelled =
        Replaced(saved, "0,ROWCOUNT\r\n", "2,ROWCOUNT\r\n" + Sjis(row) + Sjis("□,150100,150100,旧") + "\x8F,\x81" + Sjis("村,12,0\r\n"));
    const size_t from = labelled.find("ROWCOUNT"), to = labelled.find("\r\n", labelled.find(Sjis("村,12,0")));
    testsupport::Mutator mutate(1440);
    for (int round = 0; round < 150; ++round) {
        SCOPED_TRACE(round);
        std::string text = labelled;
        text.replace(from, to - from, mutate(labelled.substr(from, to - from)));
        Put("f.rvx", text);
        Restore("f.rvx");
        gui::testing::Terminated() = false;
        for (int i = 0; i < Letter->LabelCount; ++i) {
            const LabelRecord& r = Letter->LabelTable[i];
            ASSERT_LE(gui::Cp932Length(r.text), size_t(LABEL_TEXT_BYTES));
            ASSERT_LE(gui::Cp932Length(r.mark), size_t(LABEL_TEXT_BYTES));
            ASSERT_EQ(r.text, VisibleText(r.text));
        }
    }
}
