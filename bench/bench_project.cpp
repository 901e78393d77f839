// Restoring a project of all 52 areas with full tables against loading the
// 52 areas and drawing that state once.
#include "bench/BenchMain.h"
#include "bench/BenchPaint.h"
#include "bench/BenchProgram.h"
#include "gui/Files.h"
#include "gui/TextFile.h"
#include "labels/Uletter.h"
#include "labels/Upagesdlg.h"
#include "lines/Ukyori.h"
#include "lines/Ulineadd.h"
#include <filesystem>
#include <fstream>

namespace {

// The project: 1300 paint records, 5000 labels, 500 symbols, 50 line files, 50 circles.
void MakeProject() {
    benchutil::LoadAllAreasWithPaint();
    Open->MapShown = true;
    const int32_t x0 = Open->CX - 20000, y0 = Open->CY - 20000;
    std::string labels;
    for (int i = 0; i < 5000; ++i)
        labels += gui::Format("●,%d,%d,L%d,10,%d\r\n", x0 + i % 100 * 400, y0 + i / 100 * 800, i, i * 97 % 0xFFFFFF);
    std::ofstream("labels.lbl", std::ios::binary) << labels;
    Letter->ReadLabelFile("labels.lbl");
    // The labels are on the map, so the restore draws them as it did before the file kept "ラベル".
    Open->CBLabel->SetChecked(true);
    for (int i = 0; i < 500; ++i) {
        PagesDlg->SymbolCode = 101 + i % 20;
        PagesDlg->AddPlacedSymbol(x0 + i % 25 * 1600, y0 + i / 25 * 2000);
    }
    std::string names;
    for (int k = 0; k < 50; ++k) {
        const std::string name = gui::Format("line%02d.adl", k);
        std::string text = gui::Format("K,%5d,%5d,%d,%d,%d,%d,%d,%d//K/1/Points/Color/LineType/Size/Arrow/Asize/Step\r\n",
                                       1, 20, 0x0000C0 + k, 0, 1, k % 2, 12, 0);
        for (int p = 0; p < 20; ++p) text += gui::Format("%7d,%7d\r\n", x0 + k * 800 + p * 300, y0 + p * 900);
        std::ofstream(name, std::ios::binary) << text;
        names += (names.empty() ? "" : "\n") + gui::CurrentDirectory() + "/" + name;
    }
    gui::testing::QueueFileName(names);
    LineAdd->BtnFileClick(nullptr);
    Kyori->CheckBox6->SetChecked(true);
    for (int k = 0; k < 50; ++k) Kyori->AddCircle(x0 + k * 800, y0 + k * 800);
    Open->DrawMap();
    gui::testing::QueueFileName("all.rvx");
    Open->Button1Click(Open);
    std::printf("project: %d paint, %d labels, %d symbols, %d line files, %d circles\n", Open->paint_rep,
                Letter->LabelCount, PagesDlg->PlacedSymbolCount, LineAdd->LineFileCount, Kyori->CircleCount);
}

void ProjectRestore52(benchmark::State& state) {
    int redraws = 0, runs = 0;
    for (auto _ : state) {
        const int before = Open->RedrawCount;
        gui::testing::QueueFileName("all.rvx");
        Open->Button10Click(Open);
        redraws += Open->RedrawCount - before;
        ++runs;
    }
    if (!gui::testing::Messages().empty()) state.SkipWithError(gui::testing::Messages()[0].text.c_str());
    state.counters["redraws"] = double(redraws) / runs;
}

void LoadAndDraw52(benchmark::State& state) {
    for (auto _ : state) {
        Open->ReadMapData(Open->SELECT, Open->SelectCode);
        Open->DrawMap();
    }
}

BENCHMARK(ProjectRestore52)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadAndDraw52)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchutil::ProgramFolder folder(argc, argv, "rovana-bench-project", false);
    // The symbols are drawn from the data set's bitmaps.
    std::filesystem::create_directory_symlink(std::filesystem::path(ROVANA_JAPAN_DATA) / "mark", "mark");
    MakeProject();
    return benchutil::Main(argc, argv, {{"ProjectRestore52", "LoadAndDraw52"}});
}
