// The real data set: prefecture names, capitals, mountains, islands, stations and
// symbols, with pictures left in the build folder for a person to look at.
#include "engine/Uken.h"
#include "engine/Uopen.h"
#include "labels/MainFormLabels.h"
#include "gui/Testing.h"
#include "labels/Uletter.h"
#include "labels/Upagesdlg.h"
#include "navigation/Usettei.h"
#include "tests/support/FormsFixture.h"
#include <filesystem>

namespace {

namespace fs = std::filesystem;

fs::path BuildFolder() { return fs::read_symlink("/proc/self/exe").parent_path(); }

void ChooseAreas(const std::vector<int>& codes) {
    for (int code = 1; code <= 52; ++code) Ken->AreaBox(code)->SetChecked(false);
    for (int code : codes) Ken->AreaBox(code)->SetChecked(true);
    Ken->Button1Click(Ken);
}

int CountColour(TColor c) {
    TCanvas* cv = Open->ui.Image1->Canvas();
    int n = 0;
    for (int y = 0; y < cv->Height(); ++y)
        for (int x = 0; x < cv->Width(); ++x) n += cv->Pixels(x, y) == c;
    return n;
}

void Save(const char* name) {
    EXPECT_TRUE(Open->ui.Image1->Picture()->Bitmap()->Image().save(QString::fromStdString((BuildFolder() / name).string())));
}

} // namespace

class RealLabels : public JapanFormsTest {};

TEST_F(RealLabels, HokkaidoWithSubPrefecturesCapitalsMountainsAndIslands) {
    EXPECT_EQ(Letter->PrefNameCount, 61);
    EXPECT_EQ(Letter->PrefSeatCount, 60);
    ChooseAreas({47, 48, 49});
    ASSERT_TRUE(Open->gate.DataReady);
    Open->style.DefPrefColor = 0x8000FF;
    Open->style.DefPrefSeatColor = 0xFF0080;
    Open->style.MountainColor = 0x0080FF;
    Open->style.IslandsColor = 0x00A000;
    Open->COPYSCALE = 2;
    Open->ui.CBPrefBorder->SetChecked(true);
    for (TCheckBox* b : {Settei->CBHokkaido, Settei->CBKenName, Settei->CBKenOffice, Settei->CBMountain,
                         Settei->CBMtYomi, Settei->CBMtHeight, Settei->CBIslands})
        b->SetChecked(true);
    ASSERT_TRUE(Open->DrawMap());
    ASSERT_EQ(Open->ImageSize, 1200);
    EXPECT_GT(CountColour(0x8000FF), 500) << "fourteen sub-prefecture names";
    EXPECT_GT(CountColour(0xFF0080), 300);
    EXPECT_GT(CountColour(0x0080FF), 1000);
    EXPECT_GT(CountColour(0x00A000), 300);
    EXPECT_TRUE(gui::testing::Messages().empty());
    Save("labels-hokkaido-1200.png");

    // Every area's island file opens for editing, the empty ones too.
    for (int code = 1; code <= 52; ++code) {
        Open->doc.SELECT = 1;
        Open->doc.SelectCode[0] = code;
        LoadIslandEditList(*Open);
        EXPECT_EQ(IslandsOf(*Open).IslandFilePath.find(gui::Format("/%02d", code)) != std::string::npos, true) << code;
    }
    EXPECT_TRUE(gui::testing::Messages().empty());
}

TEST_F(RealLabels, StationFilesAndTokyoWithMainStationsAndEverySymbol) {
    Open->ui.CBEki->SetChecked(true);
    std::vector<std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(programDir / "鉄道路線"))
        if (e.is_regular_file() && e.path().extension() == ".lbl") files.push_back(e.path().string());
    EXPECT_EQ(files.size(), 215u);
    Letter->LabelCount = 0;
    for (const auto& f : files) ASSERT_TRUE(Letter->ReadLabelFile(f));
    EXPECT_EQ(Letter->LabelCount, 9768);

    ChooseAreas({12});
    Letter->LabelCount = 0;
    for (const char* f : {"鉄道路線/主要駅名/2関東主要駅名.lbl", "鉄道路線/主要駅名/2関東JR主要駅名.lbl"})
        ASSERT_TRUE(Letter->ReadLabelFile((programDir / f).string()));
    ASSERT_GT(Letter->LabelCount, 20);
    EXPECT_EQ(Letter->StringGrid1->Cells(7, 0), "●");
    for (int i = 0; i < Letter->LabelCount; ++i) Letter->LabelTable[i].color = 0x4000C0;
    Open->COPYSCALE = 2;
    Open->ui.CBLabel->SetChecked(true);

    // Every symbol at the three sizes, transparent and opaque, in rows across the map.
    TPagesDlg* P = PagesDlg;
    std::vector<int> codes;
    for (int c = 100; c <= 120; ++c) codes.push_back(c);
    for (int c = 200; c <= 220; ++c) codes.push_back(c);
    for (int c = 501; c <= 507; ++c) codes.push_back(c);
    ASSERT_TRUE(Open->DrawMap());
    int row = 0;
    for (int size : {14, 16, 18})
        for (int transparent : {1, 0}) {
            for (size_t k = 0; k < codes.size(); ++k) {
                int32_t x, y;
                Open->ScreenToMap(20 + int(k % 49) * 24, 900 + row * 40, x, y);
                P->PlacedSymbols[P->PlacedSymbolCount++] = {codes[k], x, y, 0x0000C0, size, uint8_t(transparent)};
            }
            ++row;
        }
    ASSERT_TRUE(Open->DrawMap());
    EXPECT_GT(CountColour(0x4000C0), 500);
    EXPECT_GT(CountColour(0x0000C0), 2000);
    EXPECT_TRUE(gui::testing::Messages().empty()) << "every picture of the data set is there";
    Save("labels-tokyo-1200.png");
}
