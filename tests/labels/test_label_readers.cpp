// The label, prefecture-name and symbol readers refuse what they cannot draw
// and leave the tables as they were.
#include "engine/Coords.h"
#include "labels/Upagesdlg.h"
#include "labels/Uprefset.h"
#include "tests/labels/LabelsMap.h"
#include "tests/support/Mutator.h"
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
            if (m.caption == "ラベルデータエラー") ASSERT_EQ(L->LabelCount, labelsBefore) << m.text;
        for (int i = 0; i < L->LabelCount; ++i) ASSERT_TRUE(InMapRange(L->LabelTable[i].x, L->LabelTable[i].y));
        L->LoadPrefTables();
        for (int i = 0; i < L->PrefNameCount; ++i)
            ASSERT_TRUE(InMapRange(L->PrefNameTable[i].x, L->PrefNameTable[i].y));
        LoadSymbols("f.mks", false);
        if (Said("地図記号ファイル")) ASSERT_EQ(PagesDlg->PlacedSymbolCount, symbolsBefore);
        for (int i = 0; i < PagesDlg->PlacedSymbolCount; ++i)
            ASSERT_TRUE(InMapRange(PagesDlg->PlacedSymbols[i].x, PagesDlg->PlacedSymbols[i].y));
        // Pick a prefecture name at the centre: the distances to every name are taken.
        PrefSet->PrefNamePickMode = true;
        o->PressPrefName(17, 300, 300);
        PrefSet->PrefNamePickMode = false;
    }
}
