// The label, prefecture-name and symbol readers refuse what they cannot draw
// and leave the tables as they were.
#include "tests/support/ToolPress.h"
#include "engine/Coords.h"
#include "labels/Upagesdlg.h"
#include "labels/Uprefset.h"
#include "tests/labels/LabelsMap.h"
#include "labels/Uinlabel.h"
#include "tests/support/Mutator.h"
#include <chrono>
#include <sys/stat.h>

namespace {

bool Said(const std::string& part) {
    for (const auto& m : gui::testing::Messages())
        if (m.text.find(part) != std::string::npos) return true;
    return false;
}

} // namespace

class LabelReaders : public LabelsMap {
protected:
    std::string P(const std::string& rel) { return (programDir / rel).string(); }
    void Load(const std::string& rel) {
        gui::testing::Messages().clear();
        gui::testing::QueueFileName(P(rel));
        L->Button7Click(nullptr);
    }
    void LoadSymbols(const std::string& rel, bool countLine) {
        gui::testing::Messages().clear();
        gui::testing::QueueFileName(P(rel));
        if (countLine)
            PagesDlg->Button8Click(nullptr);
        else
            PagesDlg->Button11Click(nullptr);
    }
};

TEST_F(LabelReaders, AFileTheyCannotUseLeavesTheLabelsNamesAndSymbolsAsTheyWere) {
    Write("a.lbl", "○,150100,150100,東町,9\n");
    Load("a.lbl");
    ASSERT_EQ(L->LabelCount, 1);

    // A position past any map: refused with the file and the line named.
    Write("far.lbl", "○,150200,150200,西町,9\n○,2147483647,150000,遠い,9\n");
    Load("far.lbl");
    EXPECT_TRUE(Said(P("far.lbl") + " の 2 行目"));
    // Readable but without a label (a file of another kind).
    Write("none.lbl", "not,a,label\n\n");
    Load("none.lbl");
    EXPECT_TRUE(Said("ラベルデータはありませんでした"));
    ASSERT_EQ(L->LabelCount, 1);
    EXPECT_EQ(Cell(3, 0), "東町");
    EXPECT_EQ(L->LabelFileCount, 1);

    // The prefecture names keep their positions when a line is past any map.
    L->LoadPrefTables();
    const int names = L->PrefNameCount;
    ASSERT_GT(names, 0);
    const int32_t x0 = L->PrefNameTable[0].x;
    Write("MAPDATA/prefname.lbl", "△,150000,150000,県\n△,-2147483648,0,遠県\n");
    gui::testing::Messages().clear();
    L->LoadPrefTables();
    EXPECT_TRUE(Said("prefname.lbl の 2 行目"));
    EXPECT_EQ(L->PrefNameCount, names);
    EXPECT_EQ(L->PrefNameTable[0].x, x0);

    // A symbol file without a symbol line, or with one past any map, keeps the symbols.
    Write("s.mks", "100,150100,150100,255,16,1\n");
    LoadSymbols("s.mks", false);
    ASSERT_EQ(PagesDlg->PlacedSymbolCount, 1);
    Write("paint.pnt", "3\n150000 150000 255 0\n");
    LoadSymbols("paint.pnt", true);
    EXPECT_TRUE(Said("地図記号のデータがありません"));
    Write("far.mks", "100,1,2147483647,255,16,1\n");
    LoadSymbols("far.mks", false);
    EXPECT_TRUE(Said(P("far.mks") + " の 1 行目"));
    EXPECT_EQ(PagesDlg->PlacedSymbolCount, 1);
    // Our own file of no symbol still empties the list.
    Write("empty.mrk", "0,STAMP_CT\n");
    LoadSymbols("empty.mrk", true);
    EXPECT_EQ(PagesDlg->PlacedSymbolCount, 0);
}

TEST_F(LabelReaders, ANamedPipeChosenInTheDialogIsRefusedAtOnce) {
    ASSERT_EQ(mkfifo(P("pipe.lbl").c_str(), 0600), 0);
    Load("pipe.lbl");   // would wait for a writer for ever
    EXPECT_TRUE(Said("読み込むことができません"));
    EXPECT_EQ(L->LabelCount, 0);
    LoadSymbols("pipe.lbl", true);
    EXPECT_TRUE(Said("読み込むことができません"));
}

TEST_F(LabelReaders, SeededMutationsKeepEveryPositionOnTheMap) {
    const std::string labels = gui::Utf8ToCp932("○,150100,150100,東町,9,255\n□,150300,150200,旧村,12\n");
    const std::string names = gui::Utf8ToCp932("△,150000,150000,県\n△,151000,151000,道\n");
    const std::string symbols = "100,150100,150100,255,16,1\n200,150300,150300,0,18,0\n";
    testsupport::Mutator mutate(1410);
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE(round);
        testsupport::WriteBytes(programDir / "f.lbl", mutate(labels));
        testsupport::WriteBytes(programDir / "MAPDATA/prefname.lbl", mutate(names));
        testsupport::WriteBytes(programDir / "f.mks", mutate(symbols));
        const int labelsBefore = L->LabelCount, symbolsBefore = PagesDlg->PlacedSymbolCount;
        Load("f.lbl");
        // A refused file changes nothing; a taken one replaces the table.
        for (const auto& m : gui::testing::Messages())
            if (m.caption == "ラベルデータエラー") {
                ASSERT_EQ(L->LabelCount, labelsBefore) << m.text;
            }
        for (int i = 0; i < L->LabelCount; ++i) ASSERT_TRUE(InMapRange(L->LabelTable[i].x, L->LabelTable[i].y));
        L->LoadPrefTables();
        for (int i = 0; i < L->PrefNameCount; ++i)
            ASSERT_TRUE(InMapRange(L->PrefNameTable[i].x, L->PrefNameTable[i].y));
        LoadSymbols("f.mks", false);
        if (Said("地図記号ファイル")) {
            ASSERT_EQ(PagesDlg->PlacedSymbolCount, symbolsBefore);
        }
        for (int i = 0; i < PagesDlg->PlacedSymbolCount; ++i)
            ASSERT_TRUE(InMapRange(PagesDlg->PlacedSymbols[i].x, PagesDlg->PlacedSymbols[i].y));
        // Pick a prefecture name at the centre: the distances to every name are taken.
        PrefSet->Button5Click(PrefSet);
        ToolPress(300, 300);
        o->tools.EndActiveTool();
    }
}

TEST_F(LabelReaders, LongTextsAreCutOrRefusedAndABadByteNeverPairsWithTheNextCharacter) {
    // A lead byte that decodes to nothing, before a comma of the text: once
    // written as "AB" 8F then the full-width comma, it read back as "AB潤CD".
    testsupport::WriteBytes(programDir / "bad.lbl", "\x81\x9B,150100,150100,AB\x8F,CD,9,255\r\n");
    Load("bad.lbl");
    ASSERT_EQ(L->LabelCount, 1);
    EXPECT_EQ(L->LabelTable[0].text, "AB?,CD");
    // Saved under a name of 255 bytes, the most a folder takes.
    const std::string out = std::string(251, 'o') + ".lbl";
    gui::testing::QueueFileName(P(out));
    L->Button3Click(nullptr);
    EXPECT_EQ(Bytes(out), Sjis("○,150100,150100,AB?，CD,9,255\r\n"));
    Load(out);
    EXPECT_EQ(L->LabelTable[0].text, "AB?，CD");

    // A text of 2 MB is cut where it enters, said once with the file and its first such line.
    const std::string huge(2 << 20, 'x');
    Write("long.lbl", "○,150100,150100,短,9,255\n○,150100,150100," + huge + ",9,255\n○,150100,150100," + huge + ",9\n");
    Load("long.lbl");
    ASSERT_EQ(L->LabelCount, 3);
    EXPECT_EQ(L->LabelTable[1].text, huge.substr(0, LABEL_TEXT_BYTES));
    ASSERT_EQ(gui::testing::Messages().size(), 1u);
    EXPECT_NE(gui::testing::Messages()[0].text.find(P("long.lbl") + " の 2 行目"), std::string::npos);
    // A double-byte character is not cut in half.
    Write("kanji.lbl", "○,150100,150100," + std::string(LABEL_TEXT_BYTES - 1, 'x') + "東,9,255\n");
    Load("kanji.lbl");
    EXPECT_EQ(L->LabelTable[0].text, std::string(LABEL_TEXT_BYTES - 1, 'x'));

    // Typed into the shown-label list: refused, the text stays.
    L->Button15->Click();
    ASSERT_GT(InLabel->InLabelCount, 0);
    gui::testing::Messages().clear();
    InLabel->StringGrid1->SetCells(3, 0, std::string(LABEL_TEXT_BYTES + 1, 'y'));
    ASSERT_EQ(gui::testing::Messages().size(), 1u);
    EXPECT_EQ(L->LabelTable[0].text, std::string(LABEL_TEXT_BYTES - 1, 'x'));

    // Saving a text of a million commas takes no time worth the name (it once took 50 s).
    LabelRecord r;
    r.text = std::string(1000000, ',');
    const auto start = std::chrono::steady_clock::now();
    const std::string line = LabelLine(r);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(line.find(','), line.find(",0,0,"));
}

TEST_F(LabelReaders, SeededMutationsOfLabelTextsSaveAndReadBackTheSame) {
    // Texts of lead bytes, commas and long runs: whatever is taken is bounded,
    // and a save reads back as the labels it saved.
    const std::string labels = Sjis("○,150100,150100,東,町,9,255\n□,150300,150200,旧") + "\x8F,\x81" + Sjis("村,12\n");
    testsupport::Mutator mutate(1430);
    for (int round = 0; round < 150; ++round) {
        SCOPED_TRACE(round);
        testsupport::WriteBytes(programDir / "f.lbl", mutate(labels));
        Load("f.lbl");
        std::vector<std::string> texts;
        for (int i = 0; i < L->LabelCount; ++i) {
            const LabelRecord& r = L->LabelTable[i];
            ASSERT_LE(gui::Cp932Length(r.text), size_t(LABEL_TEXT_BYTES));
            ASSERT_LE(gui::Cp932Length(r.mark), size_t(LABEL_TEXT_BYTES));
            texts.push_back(WithoutCommas(r.mark) + "|" + WithoutCommas(r.text));
        }
        if (texts.empty()) continue;
        gui::testing::QueueFileName(P("g.lbl"));
        L->Button3Click(nullptr);
        Load("g.lbl");
        ASSERT_EQ(L->LabelCount, int(texts.size()));
        for (int i = 0; i < L->LabelCount; ++i)
            ASSERT_EQ(L->LabelTable[i].mark + "|" + L->LabelTable[i].text, texts[size_t(i)]);
    }
}
